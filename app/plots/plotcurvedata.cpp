#include "plotcurvedata.h"

#include <cmath>

tcPlotCurveData::tcPlotCurveData(const QString& arKey, const QString& arTitle)
    : QwtPlotCurve(arTitle), msKey(arKey)
{
    setRenderHint(QwtPlotItem::RenderAntialiased);
}

tcPlotCurveData::~tcPlotCurveData() = default;

QString tcPlotCurveData::getKey() const
{
    return msKey;
}

void tcPlotCurveData::setKey(const QString& arKey)
{
    msKey = arKey;
}

void tcPlotCurveData::setData(const QVarLengthArray<double, 256>& arX,
                              const QVarLengthArray<double, 256>& arY)
{
    setData(arX.constData(), arY.constData(), qMin(arX.size(), arY.size()));
}

void tcPlotCurveData::setData(const double* apX, const double* apY, int anCount)
{
    // The bounds are worked out here once rather than by the plot library,
    // whose bounds would turn to NaN with the first gap.
    mbHasGaps = false;
    double ldMinX = 0, ldMaxX = -1, ldMinY = 0, ldMaxY = -1;
    bool lbFirst = true;
    for (int lnIndex = 0; lnIndex < anCount; ++lnIndex)
    {
        if (!std::isfinite(apX[lnIndex]) || !std::isfinite(apY[lnIndex]))
        {
            mbHasGaps = true;
            continue;
        }
        if (lbFirst)
        {
            ldMinX = ldMaxX = apX[lnIndex];
            ldMinY = ldMaxY = apY[lnIndex];
            lbFirst = false;
            continue;
        }
        ldMinX = qMin(ldMinX, apX[lnIndex]);
        ldMaxX = qMax(ldMaxX, apX[lnIndex]);
        ldMinY = qMin(ldMinY, apY[lnIndex]);
        ldMaxY = qMax(ldMaxY, apY[lnIndex]);
    }
    mcBounds =
        lbFirst ? QRectF(1.0, 1.0, -2.0, -2.0) : QRectF(QPointF(ldMinX, ldMinY), QPointF(ldMaxX, ldMaxY));
    setSamples(apX, apY, anCount);
}

QRectF tcPlotCurveData::boundingRect() const
{
    return mcBounds;
}

bool tcPlotCurveData::isFinite(int anIndex) const
{
    const QPointF lcSample = sample(static_cast<size_t>(anIndex));
    return std::isfinite(lcSample.x()) && std::isfinite(lcSample.y());
}

void tcPlotCurveData::drawSeries(QPainter* apPainter, const QwtScaleMap& arXMap, const QwtScaleMap& arYMap,
                                 const QRectF& arCanvasRect, int anFrom, int anTo) const
{
    if (anTo < 0)
        anTo = static_cast<int>(dataSize()) - 1;
    if (!mbHasGaps)
    {
        QwtPlotCurve::drawSeries(apPainter, arXMap, arYMap, arCanvasRect, anFrom, anTo);
        return;
    }
    // Each run of finite samples is drawn on its own.
    int lnStart = -1;
    for (int lnIndex = anFrom; lnIndex <= anTo; ++lnIndex)
    {
        const bool lbFinite = isFinite(lnIndex);
        if (lbFinite && lnStart < 0)
            lnStart = lnIndex;
        if (!lbFinite && lnStart >= 0)
        {
            QwtPlotCurve::drawSeries(apPainter, arXMap, arYMap, arCanvasRect, lnStart, lnIndex - 1);
            lnStart = -1;
        }
    }
    if (lnStart >= 0)
        QwtPlotCurve::drawSeries(apPainter, arXMap, arYMap, arCanvasRect, lnStart, anTo);
}
