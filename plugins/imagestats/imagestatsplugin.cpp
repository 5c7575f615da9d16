#include "imagestatsplugin.h"

#include "imagestatssink.h"
#include "imagestatssource.h"
#include "profiletool.h"

#include "camerainterface.h"

#include <QLabel>

tcImageStatsPlugin::tcImageStatsPlugin()
    : tcGenTLPlugin(QStringLiteral("ImageStats")), mpSource(new tcImageStatsSource(this))
{
    setObjectName(QStringLiteral("Image Statistics Plugin"));
    addInterface(mpSource);
    addInterface(new tcImageStatsSink(mpSource, this));
    addInterface(new tcProfileTool(mpSource, this));
    connect(mpSource, &tcImageStatsSource::countsChanged, this, &tcImageStatsPlugin::onCounts);
}

// The indicator belongs to the status bar that took it.
tcImageStatsPlugin::~tcImageStatsPlugin() = default;

QString tcImageStatsPlugin::version() const
{
    return QStringLiteral("1.0.0");
}

QString tcImageStatsPlugin::title() const
{
    return tr("Image statistics");
}

QList<QWidget*> tcImageStatsPlugin::getIndicators()
{
    if (!mpIndicator)
    {
        mpIndicator = new QLabel();
        mpIndicator->setToolTip(
            tr("Frames received, frames lost (gaps in the frame ids) and frames that arrived incomplete"));
        onCounts(mpSource->integrity().frames(), mpSource->integrity().lost(),
                 mpSource->integrity().incomplete());
    }
    return {mpIndicator.data()};
}

void tcImageStatsPlugin::onCounts(quint64 anFrames, quint64 anLost, quint64 anIncomplete)
{
    if (mpIndicator)
        mpIndicator->setText(
            tr("Frames %1, lost %2, incomplete %3").arg(anFrames).arg(anLost).arg(anIncomplete));
}

void tcImageStatsPlugin::setCamera(tcCameraInterface* apCamera)
{
    tcGenTLPlugin::setCamera(apCamera);
    disconnect(mcIncompleteConnection);
    if (apCamera)
        mcIncompleteConnection = connect(apCamera, &tcCameraInterface::IncompleteFrame, mpSource,
                                         &tcImageStatsSource::takeIncomplete);
}
