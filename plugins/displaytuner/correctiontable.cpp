#include "correctiontable.h"

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <limits>

namespace
{
// Every value of the sample type T once, in every channel.
template <class T> cv::Mat ramp(int anChannels)
{
    const int lnEntries = std::numeric_limits<T>::max() + 1;
    cv::Mat lcRamp(1, lnEntries, CV_MAKETYPE(cv::DataType<T>::depth, anChannels));
    T* lpSample = lcRamp.ptr<T>();
    for (int lnValue = 0; lnValue < lnEntries; ++lnValue)
        for (int lnChannel = 0; lnChannel < anChannels; ++lnChannel)
            *lpSample++ = static_cast<T>(lnValue);
    return lcRamp;
}

// Rows per task: enough work per task to hide the scheduling.
constexpr int kRowsPerStripe = 64;

void correctRows16(const ushort* apTable, cv::Mat& arMatrix, int anFirstRow, int anEndRow)
{
    const int lnChannels = arMatrix.channels();
    const int lnSamplesPerRow = arMatrix.cols * lnChannels;
    for (int lnRow = anFirstRow; lnRow < anEndRow; ++lnRow)
    {
        ushort* lpSample = arMatrix.ptr<ushort>(lnRow);
        ushort* const lpEnd = lpSample + lnSamplesPerRow;
        if (lnChannels == 1)
        {
            // Four lookups before four stores: nothing makes the loads wait
            // for a store that might have changed the table.
            for (; lpEnd - lpSample >= 4; lpSample += 4)
            {
                const ushort lnFirst = apTable[lpSample[0]];
                const ushort lnSecond = apTable[lpSample[1]];
                const ushort lnThird = apTable[lpSample[2]];
                const ushort lnFourth = apTable[lpSample[3]];
                lpSample[0] = lnFirst;
                lpSample[1] = lnSecond;
                lpSample[2] = lnThird;
                lpSample[3] = lnFourth;
            }
            for (; lpSample != lpEnd; ++lpSample)
                *lpSample = apTable[*lpSample];
            continue;
        }
        // Channel k of sample v sits at 3v + k of the table.
        for (; lpSample != lpEnd; lpSample += 3)
        {
            const ushort lnRed = apTable[3 * lpSample[0]];
            const ushort lnGreen = apTable[3 * lpSample[1] + 1];
            const ushort lnBlue = apTable[3 * lpSample[2] + 2];
            lpSample[0] = lnRed;
            lpSample[1] = lnGreen;
            lpSample[2] = lnBlue;
        }
    }
}
} // namespace

bool tcCorrectionTable::supports(int anType)
{
    const int lnDepth = CV_MAT_DEPTH(anType);
    const int lnChannels = CV_MAT_CN(anType);
    return (lnDepth == CV_8U || lnDepth == CV_16U) && (lnChannels == 1 || lnChannels == 3);
}

void tcCorrectionTable::prepare(const tcDisplayCorrection& arCorrection, int anType, int anBits)
{
    if (isPrepared() && mnType == anType && mnBits == anBits && mcCorrection == arCorrection)
        return;
    const int lnChannels = CV_MAT_CN(anType);
    mcTable = CV_MAT_DEPTH(anType) == CV_8U ? ramp<uchar>(lnChannels) : ramp<ushort>(lnChannels);
    arCorrection.applyInSteps(mcTable, anBits);
    mcCorrection = arCorrection;
    mnType = anType;
    mnBits = anBits;
}

void tcCorrectionTable::apply(cv::Mat& arMatrix) const
{
    CV_Assert(arMatrix.type() == mnType);
    if (arMatrix.depth() == CV_8U)
        cv::LUT(arMatrix, mcTable, arMatrix);
    else
        apply16(arMatrix);
}

void tcCorrectionTable::apply16(cv::Mat& arMatrix) const
{
    const int lnStripes = (arMatrix.rows + kRowsPerStripe - 1) / kRowsPerStripe;
    cv::parallel_for_(cv::Range(0, lnStripes),
                      [&](const cv::Range& arStripes)
                      {
                          correctRows16(mcTable.ptr<ushort>(), arMatrix, arStripes.start * kRowsPerStripe,
                                        std::min(arMatrix.rows, arStripes.end * kRowsPerStripe));
                      });
}
