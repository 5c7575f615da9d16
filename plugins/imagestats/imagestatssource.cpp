#include "imagestatssource.h"

#include "imagestats.h"
#include "imagestatschooser.h"
#include "lineprofile.h"

#include <QElapsedTimer>
#include <QRect>

#include <limits>
#include <memory>

namespace
{
// Curves remembered at most; the one asked for longest ago goes first.
const int kMaxCurves = 64;
const int kPollInterval = 1000;
const qint64 kLongAgo = std::numeric_limits<qint64>::min() / 2;
} // namespace

tcImageStatsSource::tcImageStatsSource(QObject* apParent)
    : tcPlottableInterface(QStringLiteral("ImageStatsSource"), apParent), mnLastUpdate(kLongAgo),
      mnLastPoll(kLongAgo)
{
    setObjectName(QStringLiteral("Image Statistics"));
    auto lpTimer = std::make_shared<QElapsedTimer>();
    lpTimer->start();
    mcClock = [lpTimer] { return lpTimer->elapsed(); };
}

tcImageStatsSource::~tcImageStatsSource() = default;

int tcImageStatsSource::autoBinCount(int anBitsPerChannel)
{
    // A bin per value up to 8 bits; deeper frames in 1024 bins, as many as
    // a plot shows distinctly.
    return 1 << qBound(1, anBitsPerChannel, 10);
}

tcPlotChooserWidget* tcImageStatsSource::createChooserWidget(const QString& arKey)
{
    return new tcImageStatsChooser(tcImageStatsKey::parse(arKey), mnChannels, mcFrameSize, selection());
}

bool tcImageStatsSource::getData(const QString& arKey, tcPlotArray& arX, tcPlotArray& arY)
{
    const tcImageStatsKey lcKey = tcImageStatsKey::parse(arKey);
    if (!lcKey.isValid())
        return false;
    if (!mhCurves.contains(arKey) && mhCurves.size() >= kMaxCurves)
        forgetOldest();
    tsCurve& lrCurve = mhCurves[arKey];
    lrCurve.mnLastAsked = mcClock();

    switch (lcKey.kind())
    {
    case tcImageStatsKey::FrameIdGap:
        mcIntegrity.gaps(arX, arY);
        return mcIntegrity.frames() > 0;
    case tcImageStatsKey::FrameInterval:
        mcIntegrity.intervals(arX, arY);
        return mcIntegrity.frames() > 0;
    case tcImageStatsKey::LostFrames:
        mcIntegrity.lostSoFar(arX, arY);
        return mcIntegrity.frames() > 0;
    case tcImageStatsKey::IncompleteFrames:
        mcIntegrity.incompleteSoFar(arX, arY);
        return mcIntegrity.frames() > 0;
    default:
        if (!lrCurve.mbValid)
            return false;
        arX = lrCurve.mcX;
        arY = lrCurve.mcY;
        return true;
    }
}

void tcImageStatsSource::forgetOldest()
{
    auto lcOldest = mhCurves.begin();
    for (auto lcIt = mhCurves.begin(); lcIt != mhCurves.end(); ++lcIt)
        if (lcIt->mnLastAsked < lcOldest->mnLastAsked)
            lcOldest = lcIt;
    if (lcOldest != mhCurves.end())
        mhCurves.erase(lcOldest);
}

void tcImageStatsSource::takeFrame(const tpImageBuffer& apFrame)
{
    if (!apFrame || apFrame->isNull())
    {
        mcIntegrity.endSequence();
        return;
    }
    mcIntegrity.addFrame(apFrame->getFrameId(), apFrame->getAcquireTime());
    mcFrameSize = apFrame->getSize();
    emit countsChanged(mcIntegrity.frames(), mcIntegrity.lost(), mcIntegrity.incomplete());

    const qint64 lnNow = mcClock();
    if (lnNow - mnLastUpdate < mnMinimumInterval)
        return;
    mnLastUpdate = lnNow;
    const bool lbPoll = lnNow - mnLastPoll >= kPollInterval;
    if (lbPoll)
        mnLastPoll = lnNow;

    // Announced only after the loop: the plots call getData() right away.
    QStringList lsReady;
    for (auto lcIt = mhCurves.begin(); lcIt != mhCurves.end(); ++lcIt)
    {
        const bool lbWatched = lnNow - lcIt->mnLastAsked <= mnWatchTime;
        if (!lbWatched)
        {
            if (lbPoll)
                lsReady << lcIt.key();
            continue;
        }
        const tcImageStatsKey lcKey = tcImageStatsKey::parse(lcIt.key());
        if (lcKey.needsPixels())
            compute(lcKey, apFrame, *lcIt);
        lsReady << lcIt.key();
    }
    for (const QString& lrKey : qAsConst(lsReady))
        emit PlotReady(this, lrKey);
}

void tcImageStatsSource::compute(const tcImageStatsKey& arKey, const tpImageBuffer& apFrame, tsCurve& arCurve)
{
    ++mnComputations;
    const cv::Mat& lcMatrix = apFrame->getFilteredData(false);
    mnChannels = qMax(1, lcMatrix.channels());
    bool lbOk = false;
    if (arKey.kind() == tcImageStatsKey::Histogram)
    {
        const int lnBins = arKey.bins() > 0 ? arKey.bins() : autoBinCount(apFrame->bitsPerChannel());
        lbOk = tcImageStats(apFrame).ComputeHistogram(lnBins, arKey.channel(), arCurve.mcX, arCurve.mcY) > 0;
    }
    else
    {
        const QPoint lcSelected = selection();
        const bool lbRow = arKey.kind() == tcImageStatsKey::HorizontalProfile;
        const int lnLine = arKey.line() >= 0 ? arKey.line() : (lbRow ? lcSelected.y() : lcSelected.x());
        lbOk = tcLineProfile::extract(lcMatrix, lbRow ? tcLineProfile::Horizontal : tcLineProfile::Vertical,
                                      lnLine, arKey.channel(), arCurve.mcX, arCurve.mcY);
    }
    // A key that does not fit the frame (a row below a smaller region, a
    // channel a mono frame lacks) gets an empty curve rather than keeping
    // the curve of an earlier frame.
    if (!lbOk)
    {
        arCurve.mcX.clear();
        arCurve.mcY.clear();
    }
    arCurve.mbValid = true;
}

void tcImageStatsSource::takeIncomplete(quint64 anFrameId)
{
    mcIntegrity.addIncomplete(anFrameId);
    emit countsChanged(mcIntegrity.frames(), mcIntegrity.lost(), mcIntegrity.incomplete());
}

void tcImageStatsSource::setSelection(const QRect& arRect)
{
    mcSelection = arRect.isValid() ? arRect.center() : QPoint(-1, -1);
}

QPoint tcImageStatsSource::selection() const
{
    if (mcSelection.x() >= 0)
        return mcSelection;
    // Without a choice: the middle of the frame.
    return QPoint(qMax(0, mcFrameSize.width() / 2), qMax(0, mcFrameSize.height() / 2));
}

void tcImageStatsSource::resetIntegrity()
{
    mcIntegrity.reset();
    emit countsChanged(0, 0, 0);
}
