#include "imagestatssink.h"

#include "imagestatssource.h"

tcImageStatsSink::tcImageStatsSink(tcImageStatsSource* apSource, QObject* apParent)
    : tcImageSinkInterface(QStringLiteral("ImageStatsSink"), apParent), mpSource(apSource)
{
    setObjectName(QStringLiteral("Image Statistics Sink"));
}

void tcImageStatsSink::NewFrame(tpImageBuffer apImage)
{
    if (mpSource)
        mpSource->takeFrame(apImage);
}
