#include "imagestats.h"

#include "histogramcounter.h"
#include "pixelformat.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

namespace
{
const quint32 kMono12p = 0x010C0047u;

// Formats whose filtered matrix starts as a plain copy of their samples
// (no demosaicing): until something builds it, the samples are what the
// histogram counts.
bool filteredIsCopy(quint32 anCode)
{
    const quint32 lsCodes[] = {0x01080001u /* Mono8 */, kMono12p, 0x01100007u /* Mono16 */,
                               0x02180014u /* RGB8 */};
    return std::find(std::begin(lsCodes), std::end(lsCodes), anCode) != std::end(lsCodes);
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

// The general histogram of one channel: OpenCV's, with its single-precision
// counts.
std::vector<double> generalHistogram(const cv::Mat& arMatrix, int anChannel, int anBins, float afRangeEnd)
{
    const float lfRange[] = {0.0f, afRangeEnd};
    const float* lpRanges[] = {lfRange};
    const int lnChannels[] = {anChannel};
    const int lnBins[] = {anBins};
    cv::Mat lcHistogram;
    cv::calcHist(&arMatrix, 1, lnChannels, cv::Mat(), lcHistogram, 1, lnBins, lpRanges, true, false);
    std::vector<double> lsCounts(static_cast<size_t>(anBins));
    for (int lnBin = 0; lnBin < anBins; ++lnBin)
        lsCounts[static_cast<size_t>(lnBin)] = lcHistogram.at<float>(lnBin);
    return lsCounts;
}

// Adds counts per value up into bins that are not a power of two, exactly
// as the general histogram bins them. That histogram puts rising values into
// rising bins and leaves out the values past its range, so every bin holds a
// run of consecutive values: the general histogram of one sample of every
// value gives the length of each run.
std::vector<double> binsFromValues(const std::vector<quint64>& arValues, int anDepth, int anBins,
                                   float afRangeEnd)
{
    cv::Mat lcEveryValue(1, static_cast<int>(arValues.size()), anDepth);
    for (int lnValue = 0; lnValue < lcEveryValue.cols; ++lnValue)
    {
        if (anDepth == CV_8U)
            lcEveryValue.at<uchar>(lnValue) = static_cast<uchar>(lnValue);
        else
            lcEveryValue.at<ushort>(lnValue) = static_cast<ushort>(lnValue);
    }
    const std::vector<double> lsRunLengths = generalHistogram(lcEveryValue, 0, anBins, afRangeEnd);
    std::vector<double> lsCounts(static_cast<size_t>(anBins), 0.0);
    size_t lnValue = 0;
    for (size_t lnBin = 0; lnBin < lsCounts.size(); ++lnBin)
    {
        quint64 lnSum = 0;
        for (size_t lnEnd = lnValue + static_cast<size_t>(lsRunLengths[lnBin]); lnValue < lnEnd; ++lnValue)
            lnSum += arValues[lnValue];
        lsCounts[lnBin] = static_cast<double>(lnSum);
    }
    return lsCounts;
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
    // A frame fresh from the camera is counted without building its filtered
    // matrix: a copy of its samples is not made for the histogram, and a
    // packed frame is counted straight from its bytes without unpacking.
    const quint32 lnCode = mpImage->getPixelFormat()->getCode();
    const bool lbFresh = filteredIsCopy(lnCode) && !mpImage->hasFilteredData();
    const bool lbPacked = lbFresh && lnCode == kMono12p && mpImage->data();
    static const cv::Mat scPackedBytes;
    const cv::Mat& lcSamples = lbPacked  ? scPackedBytes
                               : lbFresh ? mpImage->getRawData()
                                         : mpImage->getFilteredData(false);
    if (!lbPacked && (lcSamples.empty() || anChannel >= lcSamples.channels()))
        return 0;
    if (lbPacked && anChannel > 0)
        return 0;
    arCentres.resize(anBinCount);
    arCounts.resize(anBinCount);

    // The range is per colour component: 8 bits for RGB8, not its 24.
    const int lnBits = mpImage->bitsPerChannel();
    const float lfRangeEnd = static_cast<float>(1u << lnBits);
    const std::vector<double> lsCounts = countBins(lcSamples, anChannel, anBinCount, lnBits, lfRangeEnd);

    for (int lnBin = 0; lnBin < anBinCount; ++lnBin)
    {
        arCentres[lnBin] = lfRangeEnd * (static_cast<float>(lnBin) + 0.5f) / static_cast<float>(anBinCount);
        arCounts[lnBin] = lsCounts[static_cast<size_t>(lnBin)];
    }
    return arCentres.size();
}

std::vector<double> tcImageStats::countBins(const cv::Mat& arSamples, int anChannel, int anBinCount,
                                            int anBits, float afRangeEnd) const
{
    // Bins that split the range into powers of two are whole values shifted
    // down; other bin counts are made from the count of every value.
    const int lnShift = binShift(anBits, anBinCount);
    const int lnCountShift = std::max(lnShift, 0);
    std::vector<quint64> lsValues;
    int lnDepth = CV_16U;
    if (arSamples.empty())
    {
        lsValues = tcHistogramCounter::countPacked12(
            mpImage->data(), qint64(mpImage->width()) * mpImage->height(), lnCountShift);
    }
    else if ((arSamples.depth() == CV_8U && anBits <= 8) || (arSamples.depth() == CV_16U && anBits <= 16))
    {
        lnDepth = arSamples.depth();
        lsValues = tcHistogramCounter::countMatrix(arSamples, anChannel, lnCountShift);
    }
    if (lsValues.empty())
        return generalHistogram(arSamples, anChannel, anBinCount, afRangeEnd);
    if (lnShift < 0)
        return binsFromValues(lsValues, lnDepth, anBinCount, afRangeEnd);
    // Values past the frame's bit depth (left by a gain filter in a wider
    // sample) lie beyond the last bin and are left out.
    return std::vector<double>(lsValues.begin(), lsValues.begin() + anBinCount);
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
