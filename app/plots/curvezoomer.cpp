#include "curvezoomer.h"

#include <QColor>

CurveZoomer::CurveZoomer(QWidget* apCanvas) : QwtPlotZoomer(apCanvas) {}

QwtText CurveZoomer::trackerTextF(const QPointF& arPosition) const
{
    // Signals are not const; announcing does not change the zoomer.
    emit const_cast<CurveZoomer*>(this)->TrackerMoved(arPosition);
    QColor lcBackground(Qt::white);
    lcBackground.setAlpha(180);
    QwtText lcText;
    lcText.setBackgroundBrush(lcBackground);
    return lcText;
}
