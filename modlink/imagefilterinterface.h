#pragma once

#include "viewerinterface.h"

// A piece that corrects each frame before it is shown. The main window passes
// every new frame through the active filters in plugin order; each returns
// the frame the next one gets (usually the same frame, its filtered matrix
// corrected in place).
class MODLINK_EXPORT tcImageFilterInterface : public tcViewerInterface
{
    Q_OBJECT

public:
    ~tcImageFilterInterface() override;

    // By default the frame passes unchanged.
    virtual tpImageBuffer filterImage(tpImageBuffer apImage);

signals:
    // The correction changed: the shown frame should be filtered again.
    void SettingsChanged();

protected:
    explicit tcImageFilterInterface(const QString& arDebugName, QObject* apParent = nullptr);
};
