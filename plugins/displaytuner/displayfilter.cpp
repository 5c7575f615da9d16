#include "displayfilter.h"

#include <QDebug>

tcDisplayFilter::tcDisplayFilter(QObject* apParent)
    : tcImageFilterInterface(QStringLiteral("display filter"), apParent)
{
    setObjectName(QStringLiteral("Brightness And Gain Filter"));
}

tcDisplayFilter::~tcDisplayFilter() = default;

tpImageBuffer tcDisplayFilter::filterImage(tpImageBuffer apImage)
{
    if (!mcCorrection.anyEnabled() || !apImage || apImage->isNull())
        return apImage;
    // Per component: an RGB8 pixel has 24 bits, but each channel tops at 255.
    const int lnBits = apImage->bitsPerChannel();
    try
    {
        cv::Mat& lrMatrix = apImage->getFilteredData(false);
        if (lrMatrix.empty())
            return apImage;
        if (tcCorrectionTable::supports(lrMatrix.type()))
        {
            mcTable.prepare(mcCorrection, lrMatrix.type(), lnBits);
            mcTable.apply(lrMatrix);
        }
        else
        {
            mcCorrection.applyInSteps(lrMatrix, lnBits);
        }
    }
    catch (const std::exception& arError)
    {
        qWarning() << "tcDisplayFilter::filterImage" << arError.what();
        emit Error(tr("Display correction failed: %1").arg(QString::fromLocal8Bit(arError.what())));
    }
    return apImage;
}
