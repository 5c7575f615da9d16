#pragma once

#include "gentlplugin.h"

class QLabel;
class tcImageStatsSource;

// Image statistics for the plot windows: per-channel histograms, line
// profiles and a frame-integrity monitor, for any camera. Its pieces are the
// frame sink, the plottable source and the profile tool of the video display;
// a status-bar indicator shows the frames seen, lost and incomplete.
class tcImageStatsPlugin : public tcGenTLPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)

public:
    tcImageStatsPlugin();
    ~tcImageStatsPlugin() override;

    QString version() const override;
    QString title() const override;
    QList<QWidget*> getIndicators() override;
    // Incomplete frames never reach the sink; the camera reports them.
    void setCamera(tcCameraInterface* apCamera) override;

    tcImageStatsSource* source() const { return mpSource; }

private slots:
    void onCounts(quint64 anFrames, quint64 anLost, quint64 anIncomplete);

private:
    tcImageStatsSource* mpSource;
    QPointer<QLabel> mpIndicator;
    QMetaObject::Connection mcIncompleteConnection;
};
