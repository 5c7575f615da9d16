#pragma once

#include <GenApi/GenApi.h>

#include <QMetaType>

// Node pointers travel through item models and widget properties inside
// QVariants; they are registered under their GenApi names.
Q_DECLARE_METATYPE(GenApi::CNodePtr)
Q_DECLARE_METATYPE(GenApi::CCommandPtr)
