#include "frameintegrity.h"

#include <algorithm>
#include <limits>

tcFrameIntegrity::tcFrameIntegrity(int anHistory) : mnHistory(static_cast<size_t>(qMax(1, anHistory))) {}

void tcFrameIntegrity::addFrame(quint64 anFrameId, const QDateTime& arTime)
{
    tsRecord lcRecord{anFrameId, 0, std::numeric_limits<double>::quiet_NaN(), 0, 0};
    if (mbInSequence && anFrameId > mnLastId)
    {
        // Ids in the gap that arrived incomplete were not lost.
        const quint64 lnLastId = mnLastId;
        const auto lnIncompleteInGap =
            std::count_if(msPendingIncomplete.begin(), msPendingIncomplete.end(),
                          [&](quint64 anId) { return anId > lnLastId && anId < anFrameId; });
        lcRecord.mnGap = anFrameId - mnLastId - 1 - static_cast<quint64>(lnIncompleteInGap);
        if (mcLastTime.isValid() && arTime.isValid())
            lcRecord.mdIntervalMs = static_cast<double>(mcLastTime.msecsTo(arTime));
    }
    else
    {
        ++mnSequences;
    }
    msPendingIncomplete.clear();
    mbInSequence = true;
    mnLastId = anFrameId;
    mcLastTime = arTime;
    ++mnFrames;
    mnLost += lcRecord.mnGap;
    lcRecord.mnLostSoFar = mnLost;
    lcRecord.mnIncompleteSoFar = mnIncomplete;

    mcHistory.push_back(lcRecord);
    if (mcHistory.size() > mnHistory)
        mcHistory.pop_front();
}

void tcFrameIntegrity::addIncomplete(quint64 anFrameId)
{
    ++mnIncomplete;
    // Bounded: a stream of nothing but incomplete frames has no gap to close.
    if (anFrameId != ~quint64(0) && msPendingIncomplete.size() < 4096)
        msPendingIncomplete.push_back(anFrameId);
}

void tcFrameIntegrity::endSequence()
{
    mbInSequence = false;
    msPendingIncomplete.clear();
}

void tcFrameIntegrity::reset()
{
    mcHistory.clear();
    mbInSequence = false;
    mnFrames = 0;
    mnLost = 0;
    mnIncomplete = 0;
    mnSequences = 0;
    msPendingIncomplete.clear();
}

template <typename tValue>
void tcFrameIntegrity::curve(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY,
                             tValue&& arValue) const
{
    arX.resize(static_cast<int>(mcHistory.size()));
    arY.resize(static_cast<int>(mcHistory.size()));
    int lnIndex = 0;
    for (const tsRecord& lrRecord : mcHistory)
    {
        arX[lnIndex] = static_cast<double>(lrRecord.mnFrameId);
        arY[lnIndex] = arValue(lrRecord);
        ++lnIndex;
    }
}

void tcFrameIntegrity::gaps(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY) const
{
    curve(arX, arY, [](const tsRecord& arRecord) { return static_cast<double>(arRecord.mnGap); });
}

void tcFrameIntegrity::intervals(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY) const
{
    curve(arX, arY, [](const tsRecord& arRecord) { return arRecord.mdIntervalMs; });
}

void tcFrameIntegrity::lostSoFar(QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY) const
{
    curve(arX, arY, [](const tsRecord& arRecord) { return static_cast<double>(arRecord.mnLostSoFar); });
}

void tcFrameIntegrity::incompleteSoFar(QVarLengthArray<double, 256>& arX,
                                       QVarLengthArray<double, 256>& arY) const
{
    curve(arX, arY, [](const tsRecord& arRecord) { return static_cast<double>(arRecord.mnIncompleteSoFar); });
}
