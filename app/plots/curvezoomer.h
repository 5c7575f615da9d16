#pragma once

#include <qwt_plot_zoomer.h>

// The zoomer of a plot window. Its tracker text stays empty; instead every
// position it tracks is announced, so that the window can name the nearest
// sample in its own read-out.
class CurveZoomer : public QwtPlotZoomer
{
    Q_OBJECT

public:
    explicit CurveZoomer(QWidget* apCanvas);

signals:
    void TrackerMoved(QPointF acPosition);

protected:
    QwtText trackerTextF(const QPointF& arPosition) const override;
};
