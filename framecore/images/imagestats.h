#pragma once

#include "framecore_export.h"
#include "imagebuffer.h"

#include <QVarLengthArray>

#include <vector>

// Histogram, minimum and maximum of one frame. A small value: copies share
// the frame. Minimum and maximum are computed on the first request after the
// frame is set and then kept.
class FRAMECORE_EXPORT tcImageStats
{
public:
    tcImageStats() = default;
    explicit tcImageStats(tpImageBuffer apImage);

    void setImage(const tpImageBuffer& apImage);
    tpImageBuffer getImage() const { return mpImage; }

    // Histogram of channel 0 of the frame's filtered matrix in anBinCount
    // uniform bins over the frame's per-channel range [0, 2^bits). Fills the
    // bin centres and counts and returns the number of bins, or 0 (arrays
    // untouched) without a frame, for a frame without a valid size, or for a
    // bin count below 1. Counts are exact. A frame whose filtered matrix is
    // a plain copy of its samples and has not been built yet is counted
    // from the samples (packed ones from their bytes) without building it.
    int ComputeHistogram(int anBinCount, QVarLengthArray<double, 256>& arCentres,
                         QVarLengthArray<double, 256>& arCounts);
    // The same for any channel of the filtered matrix; 0 (arrays untouched)
    // for a channel the matrix does not have.
    int ComputeHistogram(int anBinCount, int anChannel, QVarLengthArray<double, 256>& arCentres,
                         QVarLengthArray<double, 256>& arCounts);

    // Smallest and largest sample of the frame's raw matrix (over all
    // channels); 0 without a frame or pixels.
    int minValue() const;
    int maxValue() const;
    // Whether minimum and maximum have been computed for the current frame.
    bool isComputed() const { return mbComputed; }

private:
    void computeBaseStats() const;
    // Counts of the bins; an empty matrix stands for the frame's packed
    // bytes.
    std::vector<double> countBins(const cv::Mat& arSamples, int anChannel, int anBinCount, int anBits,
                                  float afRangeEnd) const;

    tpImageBuffer mpImage;
    // The getters are logically read-only; they fill this cache on demand.
    mutable bool mbComputed = false;
    mutable int mnMinimum = 0;
    mutable int mnMaximum = 0;
};
