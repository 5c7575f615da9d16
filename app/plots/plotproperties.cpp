#include "plotproperties.h"

#include "plotcurvedata.h"

#include <qwt_curve_fitter.h>
#include <qwt_symbol.h>

tcPlotProperties::tcPlotProperties(QObject* apParent) : QObject(apParent) {}

tcPlotProperties::tcPlotProperties(const tcPlotCurveData& arCurve, int anIndex, QObject* apParent)
    : QObject(apParent), mnIndex(anIndex), msKey(arCurve.getKey()), mcLinePen(arCurve.pen()),
      mcBrush(arCurve.brush()), mnCurveStyle(static_cast<int>(arCurve.style()))
{
    if (arCurve.testCurveAttribute(QwtPlotCurve::Fitted))
        if (const auto* lpFitter = dynamic_cast<const QwtSplineCurveFitter*>(arCurve.curveFitter()))
            mnFitterMode = static_cast<int>(lpFitter->fitMode());
    if (const QwtSymbol* lpSymbol = arCurve.symbol())
    {
        mnSymbolStyle = static_cast<int>(lpSymbol->style());
        mcSymbolPen = lpSymbol->pen();
        mnSymbolSize = lpSymbol->size().width();
        mbSymbolFill = lpSymbol->brush().style() != Qt::NoBrush && lpSymbol->brush().color().alpha() > 0;
    }
    mhAttributes.insert(QStringLiteral("title"), arCurve.title().text());
}

void tcPlotProperties::copyFrom(const tcPlotProperties& arOther)
{
    mnIndex = arOther.mnIndex;
    msKey = arOther.msKey;
    mhAttributes = arOther.mhAttributes;
    mcLinePen = arOther.mcLinePen;
    mcBrush = arOther.mcBrush;
    mnFitterMode = arOther.mnFitterMode;
    mnCurveStyle = arOther.mnCurveStyle;
    mnSymbolStyle = arOther.mnSymbolStyle;
    mcSymbolPen = arOther.mcSymbolPen;
    mbSymbolFill = arOther.mbSymbolFill;
    mnSymbolSize = arOther.mnSymbolSize;
}

void tcPlotProperties::applyTo(tcPlotCurveData& arCurve) const
{
    arCurve.setKey(msKey);
    arCurve.setTitle(title());
    arCurve.setPen(mcLinePen);
    arCurve.setBrush(mcBrush);
    arCurve.setStyle(static_cast<QwtPlotCurve::CurveStyle>(qBound(-1, mnCurveStyle, 3)));
    if (mnFitterMode < 0)
    {
        arCurve.setCurveFitter(nullptr);
        arCurve.setCurveAttribute(QwtPlotCurve::Fitted, false);
    }
    else
    {
        auto* lpFitter = new QwtSplineCurveFitter();
        lpFitter->setFitMode(static_cast<QwtSplineCurveFitter::FitMode>(qBound(0, mnFitterMode, 2)));
        arCurve.setCurveFitter(lpFitter);
        arCurve.setCurveAttribute(QwtPlotCurve::Fitted, true);
    }
    const QBrush lcSymbolBrush = mbSymbolFill ? QBrush(mcSymbolPen.color()) : QBrush(Qt::NoBrush);
    arCurve.setSymbol(new QwtSymbol(static_cast<QwtSymbol::Style>(qBound(-1, mnSymbolStyle, 14)),
                                    lcSymbolBrush, mcSymbolPen, QSize(mnSymbolSize, mnSymbolSize)));
}
