#pragma once

#include "imgrectinterface.h"

class tcSensorboard;

// The "ROI" tool of the video display: a dragged rectangle becomes the
// camera's region of interest (Width, OffsetX, Height, OffsetY), snapped down
// to the increments of Width and Height. Acquisition is stopped first, as the
// size cannot change while it runs, and is not restarted.
class tcRoiImgRectSelector : public tcImgRectInterface
{
    Q_OBJECT
    Q_INTERFACES(tcImgRectInterface)

public:
    explicit tcRoiImgRectSelector(tcSensorboard* apPlugin);

    QString name() const override;
    QAction* selectionAction() override;
    QRect selectRect(QWidget* apView, const GenApi::CNodeMapRef* apNodeMap, const QRect& arRect) override;

private:
    tcSensorboard* mpPlugin;
    QAction* mpAction;
};
