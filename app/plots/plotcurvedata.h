#pragma once

#include <qwt_plot_curve.h>

#include <QString>
#include <QVarLengthArray>

// One curve of a plot window: a plot curve that also knows which key of its
// source it shows. Samples that are not finite numbers (NaN from an import
// field that was no number, or a frame without time stamp) are left out: the
// line breaks there and the axes ignore them.
class tcPlotCurveData : public QwtPlotCurve
{
public:
    explicit tcPlotCurveData(const QString& arKey = QString(), const QString& arTitle = QString());
    ~tcPlotCurveData() override;

    virtual QString getKey() const;
    virtual void setKey(const QString& arKey);

    void setData(const double* apX, const double* apY, int anCount);
    void setData(const QVarLengthArray<double, 256>& arX, const QVarLengthArray<double, 256>& arY);

    QRectF boundingRect() const override;

protected:
    void drawSeries(QPainter* apPainter, const QwtScaleMap& arXMap, const QwtScaleMap& arYMap,
                    const QRectF& arCanvasRect, int anFrom, int anTo) const override;

private:
    bool isFinite(int anIndex) const;

    QString msKey;
    bool mbHasGaps = false;
    QRectF mcBounds{1.0, 1.0, -2.0, -2.0}; // invalid until there are samples
};
