#include "imagestats.h"

#include <opencv2/imgproc.hpp>

#include <utility>

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
    cv::Mat lcHistogram;
    cv::calcHist(&lcFiltered, 1, lnChannels, cv::Mat(), lcHistogram, 1, lnBins, lpRanges, true, false);

    for (int lnBin = 0; lnBin < anBinCount; ++lnBin)
    {
        arCentres[lnBin] = lfRangeEnd * (static_cast<float>(lnBin) + 0.5f) / static_cast<float>(anBinCount);
        arCounts[lnBin] = lcHistogram.at<float>(lnBin);
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
