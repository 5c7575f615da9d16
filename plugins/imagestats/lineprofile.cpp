#include "lineprofile.h"

namespace
{
template <typename tSample>
void copyLine(const cv::Mat& arMatrix, bool abAlongRow, int anLine, int anChannel,
              QVarLengthArray<double, 256>& arY)
{
    const int lnChannels = arMatrix.channels();
    const int lnCount = arY.size();
    if (abAlongRow)
    {
        const tSample* lpRow = arMatrix.ptr<tSample>(anLine);
        for (int lnIndex = 0; lnIndex < lnCount; ++lnIndex)
            arY[lnIndex] = static_cast<double>(lpRow[lnIndex * lnChannels + anChannel]);
    }
    else
    {
        for (int lnIndex = 0; lnIndex < lnCount; ++lnIndex)
            arY[lnIndex] =
                static_cast<double>(arMatrix.ptr<tSample>(lnIndex)[anLine * lnChannels + anChannel]);
    }
}
} // namespace

bool tcLineProfile::extract(const cv::Mat& arMatrix, teDirection aeDirection, int anLine, int anChannel,
                            QVarLengthArray<double, 256>& arX, QVarLengthArray<double, 256>& arY)
{
    const bool lbAlongRow = aeDirection == Horizontal;
    const int lnLines = lbAlongRow ? arMatrix.rows : arMatrix.cols;
    const int lnLength = lbAlongRow ? arMatrix.cols : arMatrix.rows;
    if (arMatrix.dims != 2 || anLine < 0 || anLine >= lnLines || anChannel < 0 ||
        anChannel >= arMatrix.channels())
        return false;
    const int lnDepth = arMatrix.depth();
    if (lnDepth != CV_8U && lnDepth != CV_16U && lnDepth != CV_32F)
        return false;

    arX.resize(lnLength);
    arY.resize(lnLength);
    for (int lnIndex = 0; lnIndex < lnLength; ++lnIndex)
        arX[lnIndex] = lnIndex;
    if (lnDepth == CV_8U)
        copyLine<uchar>(arMatrix, lbAlongRow, anLine, anChannel, arY);
    else if (lnDepth == CV_16U)
        copyLine<ushort>(arMatrix, lbAlongRow, anLine, anChannel, arY);
    else
        copyLine<float>(arMatrix, lbAlongRow, anLine, anChannel, arY);
    return true;
}
