#include "histogramcounter.h"

#include <QtEndian>

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <mutex>

namespace
{
// Tables a stripe spreads its samples over. Each table is followed by a
// cache line of padding so that equal values in neighbouring tables never
// share the low address bits the processor uses to match a load with an
// earlier store.
constexpr int scTables = 4;
constexpr size_t scPadding = 16;

// The stripes' tables, added up under a lock as each stripe finishes.
class tcTotals
{
public:
    explicit tcTotals(size_t anLength) : msTotal(anLength, 0) {}

    size_t stride() const { return msTotal.size() + scPadding; }
    std::vector<quint32> newTables() const { return std::vector<quint32>(scTables * stride(), 0); }

    void add(const std::vector<quint32>& arTables)
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        for (size_t lnValue = 0; lnValue < msTotal.size(); ++lnValue)
        {
            quint64 lnSum = 0;
            for (int lnTable = 0; lnTable < scTables; ++lnTable)
                lnSum += arTables[lnTable * stride() + lnValue];
            msTotal[lnValue] += lnSum;
        }
    }

    std::vector<quint64> take() { return std::move(msTotal); }

private:
    std::mutex mcLock;
    std::vector<quint64> msTotal;
};

// Counts per value added up into counts per value >> shift.
std::vector<quint64> shiftedDown(std::vector<quint64> asValues, int anShift)
{
    if (anShift == 0)
        return asValues;
    std::vector<quint64> lsShifted(asValues.size() >> anShift, 0);
    for (size_t lnValue = 0; lnValue < asValues.size(); ++lnValue)
        lsShifted[lnValue >> anShift] += asValues[lnValue];
    return lsShifted;
}
// A few large stripes: each brings tables of its own to clear and add up.
// A stripe's 32-bit counters hold any frame of less than 2^32 samples per
// stripe; larger frames get more stripes.
int stripeCount(qint64 anUnits, qint64 anSamplesPerUnit)
{
    const qint64 lnNeeded = anUnits * anSamplesPerUnit / (qint64(1) << 32) + 1;
    const qint64 lnWanted = std::max<qint64>(lnNeeded, 2 * std::max(1, cv::getNumThreads()));
    return static_cast<int>(std::max<qint64>(1, std::min(anUnits, lnWanted)));
}

// anCount samples anStep apart, counted per whole value (a shift by a
// variable amount costs more than the increment); the four tables take turns.
template <typename tSample>
void countRun(const tSample* apSample, qint64 anCount, qint64 anStep, quint32* apTables, size_t anStride)
{
    quint32* const lp0 = apTables;
    quint32* const lp1 = lp0 + anStride;
    quint32* const lp2 = lp1 + anStride;
    quint32* const lp3 = lp2 + anStride;
    qint64 lnIndex = 0;
    for (; lnIndex + 4 <= anCount; lnIndex += 4, apSample += 4 * anStep)
    {
        ++lp0[apSample[0]];
        ++lp1[apSample[anStep]];
        ++lp2[apSample[2 * anStep]];
        ++lp3[apSample[3 * anStep]];
    }
    for (; lnIndex < anCount; ++lnIndex, apSample += anStep)
        ++lp0[*apSample];
}

template <typename tSample> std::vector<quint64> countSamples(const cv::Mat& arMatrix, int anChannel)
{
    tcTotals lcTotals(size_t(1) << (8 * sizeof(tSample)));
    const qint64 lnStep = arMatrix.channels();
    const bool lbContinuous = arMatrix.isContinuous();
    cv::parallel_for_(
        cv::Range(0, arMatrix.rows),
        [&](const cv::Range& arRows)
        {
            std::vector<quint32> lsTables = lcTotals.newTables();
            // Rows without gaps between them are one run.
            const int lnRuns = lbContinuous ? 1 : arRows.size();
            const qint64 lnRunLength = qint64(arMatrix.cols) * (lbContinuous ? arRows.size() : 1);
            for (int lnRun = 0; lnRun < lnRuns; ++lnRun)
                countRun(arMatrix.ptr<tSample>(arRows.start + lnRun) + anChannel, lnRunLength, lnStep,
                         lsTables.data(), lcTotals.stride());
            lcTotals.add(lsTables);
        },
        stripeCount(arMatrix.rows, arMatrix.cols));
    return lcTotals.take();
}

// Samples [anFirst, anEnd) of a packed run, anFirst even, counted per
// whole value. The bits of the samples follow each other from the lowest bit
// of the first byte up, so that sample k is bits 12k .. 12k + 11 of the run
// read as one little-endian number: two overlapping 64-bit reads give eight
// samples per twelve bytes. Fixed shifts let the compiler keep every shift in
// the instruction instead of a register.
void countPackedRange(const uchar* apData, qint64 anFirst, qint64 anEnd, quint32* apTables, size_t anStride)
{
    quint32* const lp0 = apTables;
    quint32* const lp1 = lp0 + anStride;
    quint32* const lp2 = lp1 + anStride;
    quint32* const lp3 = lp2 + anStride;
    const uchar* lpByte = apData + anFirst / 2 * 3;
    qint64 lnIndex = anFirst;
    for (; lnIndex + 8 <= anEnd; lnIndex += 8, lpByte += 12)
    {
        const quint64 lnLow = qFromLittleEndian<quint64>(lpByte);
        const quint64 lnHigh = qFromLittleEndian<quint64>(lpByte + 4);
        ++lp0[lnLow & 0xFFF];
        ++lp1[(lnLow >> 12) & 0xFFF];
        ++lp2[(lnLow >> 24) & 0xFFF];
        ++lp3[(lnLow >> 36) & 0xFFF];
        ++lp0[(lnHigh >> 16) & 0xFFF];
        ++lp1[(lnHigh >> 28) & 0xFFF];
        ++lp2[(lnHigh >> 40) & 0xFFF];
        ++lp3[lnHigh >> 52];
    }
    for (; lnIndex + 2 <= anEnd; lnIndex += 2, lpByte += 3)
    {
        const quint32 lnPair = quint32(lpByte[0]) | quint32(lpByte[1]) << 8 | quint32(lpByte[2]) << 16;
        ++lp0[lnPair & 0xFFF];
        ++lp1[lnPair >> 12];
    }
    // An odd last sample has its byte and the low half of the next only.
    if (lnIndex < anEnd)
        ++lp0[quint32(lpByte[0]) | quint32(lpByte[1] & 0x0F) << 8];
}

} // namespace

std::vector<quint64> tcHistogramCounter::countMatrix(const cv::Mat& arMatrix, int anChannel, int anShift)
{
    if (arMatrix.dims != 2 || anChannel < 0 || anChannel >= arMatrix.channels() || anShift < 0)
        return {};
    switch (arMatrix.depth())
    {
    case CV_8U:
        return anShift <= 8 ? shiftedDown(countSamples<uchar>(arMatrix, anChannel), anShift)
                            : std::vector<quint64>();
    case CV_16U:
        return anShift <= 16 ? shiftedDown(countSamples<ushort>(arMatrix, anChannel), anShift)
                             : std::vector<quint64>();
    default:
        return {};
    }
}

std::vector<quint64> tcHistogramCounter::countPacked12(const uchar* apData, qint64 anSamples, int anShift)
{
    if (!apData || anSamples < 0 || anShift < 0 || anShift > 12)
        return {};
    tcTotals lcTotals(4096);
    // Stripes of whole sample pairs, so that every stripe starts on a whole
    // byte.
    const qint64 lnPairs = (anSamples + 1) / 2;
    const int lnStripes = stripeCount(lnPairs, 2);
    cv::parallel_for_(cv::Range(0, lnStripes),
                      [&](const cv::Range& arStripes)
                      {
                          std::vector<quint32> lsTables = lcTotals.newTables();
                          const qint64 lnFirst = 2 * (lnPairs * arStripes.start / lnStripes);
                          const qint64 lnEnd = std::min(anSamples, 2 * (lnPairs * arStripes.end / lnStripes));
                          countPackedRange(apData, lnFirst, lnEnd, lsTables.data(), lcTotals.stride());
                          lcTotals.add(lsTables);
                      });
    return shiftedDown(lcTotals.take(), anShift);
}
