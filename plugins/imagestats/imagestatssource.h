#pragma once

#include "frameintegrity.h"
#include "imagestatskey.h"
#include "plottableinterface.h"

#include <QHash>
#include <QPoint>
#include <QSize>

#include <functional>

// The plottable side of the image statistics: histograms of each channel,
// line profiles and the frame-integrity monitor, computed from the frames the
// sink hands over.
//
// The video must never wait for a plot. Frame ids and time stamps are noted
// for every frame (constant work), but pixels are only looked at for the
// curves some plot window asked for lately (getData within the watch time),
// and at most once per minimum interval (100 ms by default), which also
// bounds PlotReady to ten announcements per second. Curves nobody asked for
// lately are still announced once per second, so that a paused window that
// resumes gets fresh data again.
class tcImageStatsSource : public tcPlottableInterface
{
    Q_OBJECT

public:
    explicit tcImageStatsSource(QObject* apParent = nullptr);
    ~tcImageStatsSource() override;

    tcPlotChooserWidget* createChooserWidget(const QString& arKey) override;
    bool getData(const QString& arKey, tcPlotArray& arX, tcPlotArray& arY) override;

    // Called with every frame after the filters; a null or empty frame
    // (the stream ended) ends the frame-id sequence.
    void takeFrame(const tpImageBuffer& apFrame);
    // The camera received the frame with this id incomplete and dropped it.
    void takeIncomplete(quint64 anFrameId);
    // The rectangle tool's choice: its centre row and column follow.
    void setSelection(const QRect& arRect);
    QPoint selection() const;

    const tcFrameIntegrity& integrity() const { return mcIntegrity; }
    void resetIntegrity();
    // How often pixels were looked at, for checking that idle curves cost
    // nothing.
    int computations() const { return mnComputations; }

    void setMinimumInterval(int anMs) { mnMinimumInterval = anMs; }
    void setWatchTime(int anMs) { mnWatchTime = anMs; }
    // Milliseconds of a monotonic clock; replaced by tests.
    void setClock(std::function<qint64()> acClock) { mcClock = std::move(acClock); }

    static int autoBinCount(int anBitsPerChannel);

signals:
    // After every frame whose integrity was noted: frames seen, lost and
    // incomplete.
    void countsChanged(quint64 anFrames, quint64 anLost, quint64 anIncomplete);

private:
    struct tsCurve
    {
        tcPlotArray mcX;
        tcPlotArray mcY;
        bool mbValid = false;
        qint64 mnLastAsked = 0;
    };

    void compute(const tcImageStatsKey& arKey, const tpImageBuffer& apFrame, tsCurve& arCurve);
    void forgetOldest();

    tcFrameIntegrity mcIntegrity;
    QHash<QString, tsCurve> mhCurves;
    std::function<qint64()> mcClock;
    qint64 mnLastUpdate;
    qint64 mnLastPoll;
    int mnMinimumInterval = 100;
    int mnWatchTime = 2000;
    int mnComputations = 0;
    QPoint mcSelection{-1, -1};
    QSize mcFrameSize;
    int mnChannels = 1;
};
