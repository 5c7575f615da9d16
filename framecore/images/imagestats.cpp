#include "imagestats.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace
{
// Counts the samples of one channel of an 8- or 16-bit matrix into the bins
// sample >> shift, for bin counts that split the range into powers of two;
// samples past the last bin are left out, as the general histogram does.
// This gives the same counts as the general histogram at about the cost of
// reading the samples once: row stripes are counted in parallel into
// integer bins of their own and added up at the end.
template <typename tSample>
std::vector<double> countShifted(const cv::Mat& arMatrix, int anChannel, int anShift, int anBins)
{
    const int lnTable = (int(sizeof(tSample)) == 1 ? 256 : 65536) >> anShift;
    const int lnChannels = arMatrix.channels();
    const int lnColumns = arMatrix.cols;
    std::vector<double> lsTotal(static_cast<size_t>(anBins), 0.0);
    std::mutex lcTotalLock;
    // A few large stripes: each brings tables of its own to fill and add.
    const double ldStripes = std::min(arMatrix.rows, 2 * std::max(1, cv::getNumThreads()));
    cv::parallel_for_(
        cv::Range(0, arMatrix.rows),
        [&](const cv::Range& arRows)
        {
            // Two tables take turns so that runs of equal
            // samples do not wait on the same counter.
            std::vector<quint32> lsCounts(static_cast<size_t>(2 * lnTable), 0);
            quint32* lpEven = lsCounts.data();
            quint32* lpOdd = lpEven + lnTable;
            for (int lnRow = arRows.start; lnRow < arRows.end; ++lnRow)
            {
                const tSample* lpSample = arMatrix.ptr<tSample>(lnRow) + anChannel;
                int lnColumn = 0;
                for (; lnColumn + 1 < lnColumns; lnColumn += 2, lpSample += 2 * lnChannels)
                {
                    ++lpEven[lpSample[0] >> anShift];
                    ++lpOdd[lpSample[lnChannels] >> anShift];
                }
                if (lnColumn < lnColumns)
                    ++lpEven[lpSample[0] >> anShift];
            }
            std::lock_guard<std::mutex> lcGuard(lcTotalLock);
            for (int lnBin = 0; lnBin < anBins && lnBin < lnTable; ++lnBin)
                lsTotal[static_cast<size_t>(lnBin)] += double(lpEven[lnBin]) + double(lpOdd[lnBin]);
        },
        ldStripes);
    return lsTotal;
}

// The shift that maps samples of the given bits to the bins, or -1 when the
// bin count is no power of two within the range.
int binShift(int anBits, int anBins)
{
    for (int lnShift = 0; lnShift <= anBits; ++lnShift)
        if ((1 << (anBits - lnShift)) == anBins)
            return lnShift;
    return -1;
}
} // namespace

tcImageStats::tcImageStats(tpImageBuffer apImage) : mpImage(std::move(apImage)) {}

void tcImageStats::setImage(const tpImageBuffer& apImage)
{
    mpImage = apImage;
    mbComputed = false;
    mnMinimum = 0;
    mnMaximum = 0;
}

int tcImageStats::ComputeHistogram(int anBinCount, QVarLengthArray<double, 256>& arCentres,
                                   QVarLengthArray<double, 256>& arCounts)
{
    return ComputeHistogram(anBinCount, 0, arCentres, arCounts);
}

int tcImageStats::ComputeHistogram(int anBinCount, int anChannel, QVarLengthArray<double, 256>& arCentres,
                                   QVarLengthArray<double, 256>& arCounts)
{
    if (!mpImage || !mpImage->getSize().isValid() || anBinCount < 1 || anChannel < 0)
        return 0;
    const cv::Mat& lcFiltered = mpImage->getFilteredData(false);
    if (lcFiltered.empty() || anChannel >= lcFiltered.channels())
        return 0;
    arCentres.resize(anBinCount);
    arCounts.resize(anBinCount);

    // The range is per colour component: 8 bits for RGB8, not its 24.
    const int lnBits = mpImage->bitsPerChannel();
    const float lfRangeEnd = static_cast<float>(1u << lnBits);
    const float lfRange[] = {0.0f, lfRangeEnd};
    const float* lpRanges[] = {lfRange};
    const int lnChannels[] = {anChannel};
    const int lnBins[] = {anBinCount};
    const int lnDepth = lcFiltered.depth();
    const int lnShift = binShift(lnBits, anBinCount);
    const bool lbFast = lnShift >= 0 && lcFiltered.dims == 2 &&
                        ((lnDepth == CV_8U && lnBits <= 8) || (lnDepth == CV_16U && lnBits <= 16));
    std::vector<double> lsCounts;
    if (lbFast)
    {
        lsCounts = lnDepth == CV_8U ? countShifted<uchar>(lcFiltered, anChannel, lnShift, anBinCount)
                                    : countShifted<ushort>(lcFiltered, anChannel, lnShift, anBinCount);
    }
    else
    {
        cv::Mat lcHistogram;
        cv::calcHist(&lcFiltered, 1, lnChannels, cv::Mat(), lcHistogram, 1, lnBins, lpRanges, true, false);
        lsCounts.resize(static_cast<size_t>(anBinCount));
        for (int lnBin = 0; lnBin < anBinCount; ++lnBin)
            lsCounts[static_cast<size_t>(lnBin)] = lcHistogram.at<float>(lnBin);
    }

    for (int lnBin = 0; lnBin < anBinCount; ++lnBin)
    {
        arCentres[lnBin] = lfRangeEnd * (static_cast<float>(lnBin) + 0.5f) / static_cast<float>(anBinCount);
        arCounts[lnBin] = lsCounts[static_cast<size_t>(lnBin)];
    }
    return arCentres.size();
}

int tcImageStats::minValue() const
{
    computeBaseStats();
    return mnMinimum;
}

int tcImageStats::maxValue() const
{
    computeBaseStats();
    return mnMaximum;
}

void tcImageStats::computeBaseStats() const
{
    if (mbComputed || !mpImage)
        return;
    const cv::Mat& lcRaw = mpImage->getRawData();
    if (!lcRaw.empty())
    {
        double ldMinimum = 0.0;
        double ldMaximum = 0.0;
        // Seen as one channel, colour frames give their extremes over all
        // components.
        cv::minMaxIdx(lcRaw.reshape(1), &ldMinimum, &ldMaximum);
        mnMinimum = static_cast<int>(ldMinimum);
        mnMaximum = static_cast<int>(ldMaximum);
    }
    mbComputed = true;
}
