#pragma once

#include <QBrush>
#include <QMap>
#include <QObject>
#include <QPen>
#include <QString>
#include <QVariant>

class tcPlotCurveData;

// How one curve looks and what it shows, as the chooser dialog edits it and
// the plot window applies it.
class tcPlotProperties : public QObject
{
    Q_OBJECT

public:
    explicit tcPlotProperties(QObject* apParent = nullptr);
    // Read from an existing curve at the given position of the curve list.
    tcPlotProperties(const tcPlotCurveData& arCurve, int anIndex, QObject* apParent = nullptr);

    void copyFrom(const tcPlotProperties& arOther);
    void applyTo(tcPlotCurveData& arCurve) const;
    QString title() const { return mhAttributes.value(QStringLiteral("title")).toString(); }

    int mnIndex = -1; // -1: a curve still to be created
    QString msKey;
    QMap<QString, QVariant> mhAttributes; // "title", "x-label", "y-label"
    QPen mcLinePen{QColor(Qt::green), 1};
    QBrush mcBrush;
    int mnFitterMode = -1;  // -1 none, else the spline fitter's mode
    int mnCurveStyle = 0;   // the curve's style, -1 no curve
    int mnSymbolStyle = -1; // -1 no symbol
    QPen mcSymbolPen{QColor(Qt::green)};
    bool mbSymbolFill = false;
    int mnSymbolSize = 5;
};
