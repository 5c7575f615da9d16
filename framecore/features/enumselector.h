#pragma once

#include "debugsource.h"
#include "framecore_export.h"

#include <GenApi/GenApi.h>

#include <QComboBox>

// A combo box of an enumeration's available entries. Its user property
// "value" is the integer value of the selected entry, so item views read and
// write it like any other editor.
class FRAMECORE_EXPORT tcEnumSelector : public QComboBox, public tcDebugSource
{
    Q_OBJECT
    Q_PROPERTY(qlonglong value READ value WRITE setValue USER true)

public:
    explicit tcEnumSelector(QWidget* apParent = nullptr);

    qlonglong value() const;
    void setValue(qlonglong anValue);

    void populate(GenApi::CPointer<GenApi::IEnumeration> apEnumeration);

private:
    void selectCurrentEntry(GenApi::CPointer<GenApi::IEnumeration> apEnumeration);
};
