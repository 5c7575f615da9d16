#pragma once

#include "imgdecoratorinterface.h"

#include <QPointer>

class tcHdmiImgRectSelector;
class tcSensorboard;

// Outlines the camera's HDMI region in red on the video, while the HDMI tool
// is chosen and the decorator's own "HDMI" switch is on.
class tcHdmiDecorator : public tcImgDecoratorInterface
{
    Q_OBJECT

public:
    tcHdmiDecorator(tcHdmiImgRectSelector* apSelector, tcSensorboard* apPlugin);

    QString name() const override;
    void paintDecoration(QWidget* apView, QPainter* apPainter, const QImage* apImage) override;

private:
    QPointer<tcHdmiImgRectSelector> mpSelector;
    QAction* mpAction;
};
