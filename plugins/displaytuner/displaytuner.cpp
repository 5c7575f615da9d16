#include "displaytuner.h"

#include "displayfilter.h"
#include "videosettingscontrolwidget.h"

tcDisplaytuner::tcDisplaytuner() : tcGenTLPlugin(QStringLiteral("tcDisplaytuner"))
{
    setObjectName(QStringLiteral("Video Settings"));
    debugMinLevel(1);
    mpControlWidget = new tcVideoSettingsControlWidget(this);
    addInterface(mpControlWidget->displayFilter());
    connect(mpControlWidget, &tcVideoSettingsControlWidget::Message, this, &tcViewerInterface::Message);
    connect(mpControlWidget, &tcVideoSettingsControlWidget::Error, this, &tcViewerInterface::Error);
}

tcDisplaytuner::~tcDisplaytuner()
{
    delete mpControlWidget.data();
}

QString tcDisplaytuner::name() const
{
    return QStringLiteral("Video Settings");
}

QWidget* tcDisplaytuner::controlWidget()
{
    return mpControlWidget;
}

void tcDisplaytuner::setCamera(tcCameraInterface* apCamera)
{
    tcGenTLPlugin::setCamera(apCamera);
    if (mpControlWidget)
        mpControlWidget->setCamera(apCamera);
}

QString tcDisplaytuner::version() const
{
    return QStringLiteral("version 0.0.1");
}

QString tcDisplaytuner::title() const
{
    return tr("Video settings and display corrections, Tarnwick LLC");
}

bool tcDisplaytuner::isDefaultEnabled() const
{
    return true;
}
