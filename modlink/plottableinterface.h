#pragma once

#include "viewerinterface.h"

#include <QVarLengthArray>
#include <memory>

class QwtScaleDraw;
class tcPlotChooserWidget;

// The samples of one curve.
using tcPlotArray = QVarLengthArray<double, 256>;

// How a source wants the x axis of its plots drawn.
struct MODLINK_EXPORT tcPlotAxisDescription
{
    int mnAxisId = 2; // the plot library's bottom axis
    QString msTitle;  // applied only when not empty
    // Ownership passes to the plot that installs it; null means a plain scale.
    QwtScaleDraw* mpScaleDraw = nullptr;
    double mnLabelRotation = 0.0;
    Qt::Alignment mnLabelAlignment = Qt::AlignCenter;
};

// A source of curves computed from the images (profiles, histograms...). The
// source announces new data for a key with PlotReady; plot windows then pull
// it with getData(). The object name is the source's display name.
class MODLINK_EXPORT tcPlottableInterface : public tcViewerInterface
{
    Q_OBJECT

public:
    ~tcPlottableInterface() override;

    // A chooser preset to the key (empty for a new plot), owned by the
    // caller; null when the source has nothing to offer.
    virtual tcPlotChooserWidget* createChooserWidget(const QString& arKey);
    // Fills both arrays for the key; false when there is no data for it.
    virtual bool getData(const QString& arKey, tcPlotArray& arX, tcPlotArray& arY);
    // Null for a plain axis.
    virtual std::unique_ptr<tcPlotAxisDescription> xAxisDescription();

signals:
    void PlotReady(tcPlottableInterface* apSource, const QString& arKey);

protected:
    explicit tcPlottableInterface(const QString& arDebugName, QObject* apParent = nullptr);
};
