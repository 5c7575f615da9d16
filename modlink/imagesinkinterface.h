#pragma once

#include "viewerinterface.h"

// A piece that receives every frame after the filters, for recording,
// measuring or forwarding. It runs in the GUI thread and must return quickly;
// keeping the frame keeps its camera buffer (at most four per camera).
class MODLINK_EXPORT tcImageSinkInterface : public tcViewerInterface
{
    Q_OBJECT

public:
    ~tcImageSinkInterface() override;

    // By default the frame is ignored.
    virtual void NewFrame(tpImageBuffer apImage);

protected:
    explicit tcImageSinkInterface(const QString& arDebugName, QObject* apParent = nullptr);
};
