#pragma once

#include "imgrectinterface.h"

#include <QPointer>
#include <QRect>

class QMenu;
class tcSensorboard;

// The "HDMI" tool of the video display: a dragged rectangle becomes the
// region the camera sends to its HDMI output (HdmiWidth, HdmiOffsetX,
// HdmiHeight, HdmiOffsetY), snapped down to the increments of the image
// geometry; the output is stopped for the change and started again. The
// applied rectangle is kept for the HDMI outline.
class tcHdmiImgRectSelector : public tcImgRectInterface
{
    Q_OBJECT
    Q_INTERFACES(tcImgRectInterface)

public:
    explicit tcHdmiImgRectSelector(tcSensorboard* apPlugin);
    ~tcHdmiImgRectSelector() override;

    QString name() const override;
    QAction* selectionAction() override;
    QRect selectRect(QWidget* apView, const GenApi::CNodeMapRef* apNodeMap, const QRect& arRect) override;
    bool isCompatible(const GenApi::CNodeMapRef* apNodeMap) override;
    QMenu* contextMenu(tpImageBuffer apImage) override;

    // The rectangle last applied, null when none or when the tool was off.
    QRect hdmiRect() const { return mcHdmiRect; }

private slots:
    void setFullRoi();

private:
    tcSensorboard* mpPlugin;
    QAction* mpAction;
    QPointer<QMenu> mpMenu;
    QRect mcHdmiRect;
};
