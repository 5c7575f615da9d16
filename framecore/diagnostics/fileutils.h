#pragma once

#include "framecore_export.h"

#include <QString>

class QWidget;

namespace tnFileUtils
{
// Shows a file (or folder) in the platform's file manager. On Windows the
// explorer opens with the file selected; elsewhere the folder holding the
// file (or the folder itself) opens in the desktop's default application.
// Returns false, after telling the user where it makes sense, when nothing
// could be shown.
FRAMECORE_EXPORT bool showInGraphicalShell(QWidget* apParent, const QString& arPath);
} // namespace tnFileUtils
