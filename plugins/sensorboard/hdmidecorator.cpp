#include "hdmidecorator.h"

#include "hdmiimgrectselector.h"
#include "sensorboard.h"

#include <QAction>
#include <QPainter>
#include <QPen>

tcHdmiDecorator::tcHdmiDecorator(tcHdmiImgRectSelector* apSelector, tcSensorboard* apPlugin)
    : tcImgDecoratorInterface(QStringLiteral("tcHdmiDecorator"), apPlugin), mpSelector(apSelector),
      mpAction(new QAction(QStringLiteral("HDMI"), this))
{
    setObjectName(name());
    mpAction->setCheckable(true);
    mpAction->setChecked(true);
}

QString tcHdmiDecorator::name() const
{
    return QStringLiteral("HDMI Indicator");
}

void tcHdmiDecorator::paintDecoration(QWidget* apView, QPainter* apPainter, const QImage* apImage)
{
    if (!apPainter || !mpSelector || !mpSelector->selectionAction()->isChecked() || !mpAction->isChecked())
        return;
    apPainter->setPen(QPen(Qt::red, 1));
    apPainter->drawRect(imageToDisplay(apView, apPainter, apImage).mapRect(mpSelector->hdmiRect()));
}
