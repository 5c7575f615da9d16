#include "frameintegrity.h"

#include <limits>

tcFrameIntegrity::tcFrameIntegrity(int anHistory) : mnHistory(static_cast<size_t>(qMax(1, anHistory))) {}

void tcFrameIntegrity::addFrame(quint64 anFrameId, const QDateTime& arTime)
{
    tsRecord lcRecord{anFrameId, 0, std::numeric_limits<double>::quiet_NaN(), 0};
    if (mbInSequence && anFrameId > mnLastId)
    {
        lcRecord.mnGap = anFrameId - mnLastId - 1;
        if (mcLastTime.isValid() && arTime.isValid())
            lcRecord.mdIntervalMs = static_cast<double>(mcLastTime.msecsTo(arTime));
    }
    else
    {
        ++mnSequences;
    }
    mbInSequence = true;
    mnLastId = anFrameId;
    mcLastTime = arTime;
    ++mnFrames;
    mnLost += lcRecord.mnGap;
    lcRecord.mnLostSoFar = mnLost;

    mcHistory.push_back(lcRecord);
    if (mcHistory.size() > mnHistory)
        mcHistory.pop_front();
}

void tcFrameIntegrity::endSequence()
{
    mbInSequence = false;
}

void tcFrameIntegrity::reset()
{
    mcHistory.clear();
    mbInSequence = false;
    mnFrames = 0;
    mnLost = 0;
    mnSequences = 0;
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
