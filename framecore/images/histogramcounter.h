#pragma once

#include <QtGlobal>

#include <opencv2/core/mat.hpp>

#include <vector>

// Counts the samples of a frame per value at a power-of-two resolution:
// entry v of the result is the number of samples s with s >> shift == v.
// Finer bins are made from these counts by the caller.
//
// The work is that of reading every sample once. Row stripes are counted in
// parallel, each into tables of its own that are added up at the end, and
// every stripe spreads its samples over several tables in turn: neighbouring
// samples of a flat image would otherwise wait on the same counter, each
// increment for the store of the one before.
class tcHistogramCounter
{
public:
    // One channel of an 8- or 16-bit matrix; the result has
    // (2^(8 or 16)) >> shift entries. Empty for any other depth or a
    // channel the matrix does not have.
    static std::vector<quint64> countMatrix(const cv::Mat& arMatrix, int anChannel, int anShift);

    // 12-bit packed samples (two in three bytes, running on across lines)
    // straight from the packed bytes, without unpacking them: anSamples
    // samples from apData, which must hold ceil(12 × anSamples / 8) bytes.
    // The result has 4096 >> shift entries.
    static std::vector<quint64> countPacked12(const uchar* apData, qint64 anSamples, int anShift);

    tcHistogramCounter() = delete;
};
