#include "opencvutils.h"

#include <QDebug>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
// (i / top)^gamma × top for i in [0, top], rounded to nearest (ties to even)
// and saturated to the sample type T.
template <class T> cv::Mat gammaTable(int anEntries, int anTop, double adGamma)
{
    cv::Mat lcTable(1, anEntries, cv::DataType<T>::type);
    T* lpEntry = lcTable.ptr<T>();
    for (int lnIndex = 0; lnIndex <= anTop; ++lnIndex)
    {
        double ldValue = std::pow(static_cast<double>(lnIndex) / anTop, adGamma) * anTop;
        // pow(0, negative) is infinite; the sample type saturates at its top.
        ldValue = std::isfinite(ldValue) ? std::clamp(ldValue, 0.0, static_cast<double>(anTop)) : anTop;
        lpEntry[lnIndex] = cv::saturate_cast<T>(ldValue);
    }
    // Entries past the bit range (an 8-bit table needs 256 of them whatever
    // the bit count) repeat the top, so out-of-range samples stay at the top.
    for (int lnIndex = anTop + 1; lnIndex < anEntries; ++lnIndex)
        lpEntry[lnIndex] = lpEntry[anTop];
    return lcTable;
}

template <class T> QString formatPixel(const cv::Mat& arMatrix, int anX, int anY, int anFieldWidth)
{
    if (arMatrix.channels() == 1)
        return QStringLiteral("%1").arg(static_cast<int>(arMatrix.at<T>(anY, anX)), anFieldWidth);
    const auto& lcPixel = arMatrix.at<cv::Vec<T, 3>>(anY, anX);
    return QStringLiteral("(%1,%2,%3)")
        .arg(static_cast<int>(lcPixel[0]), anFieldWidth)
        .arg(static_cast<int>(lcPixel[1]), anFieldWidth)
        .arg(static_cast<int>(lcPixel[2]), anFieldWidth);
}
} // namespace

void tcOpenCVUtils::ApplyBrightness(cv::Mat& arMatrix, cv::Scalar acOffset)
{
    if (arMatrix.empty())
        return;
    cv::add(arMatrix, acOffset, arMatrix);
}

void tcOpenCVUtils::ApplyGain(cv::Mat& arMatrix, cv::Scalar acGain)
{
    if (arMatrix.empty())
        return;
    if (arMatrix.channels() == 1)
    {
        arMatrix.convertTo(arMatrix, -1, acGain[0]);
    }
    else if (arMatrix.channels() == 3)
    {
        std::vector<cv::Mat> lsPlanes;
        cv::split(arMatrix, lsPlanes);
        for (int lnPlane = 0; lnPlane < 3; ++lnPlane)
            lsPlanes[lnPlane].convertTo(lsPlanes[lnPlane], -1, acGain[lnPlane]);
        // Same size and type: merge writes into the matrix's own buffer, so
        // images already made over it see the result.
        cv::merge(lsPlanes, arMatrix);
    }
}

void tcOpenCVUtils::ApplyGamma(cv::Mat& arMatrix, cv::Scalar acGamma, int anBits)
{
    const double ldGamma = acGamma[0];
    if (arMatrix.empty() || anBits < 1 || anBits > 16 || std::isnan(ldGamma))
        return;
    const int lnEntries = 1 << anBits;
    const int lnTop = lnEntries - 1;
    if (arMatrix.depth() == CV_8U && lnTop <= 255)
    {
        // OpenCV's table transform wants exactly 256 entries.
        const cv::Mat lcTable = gammaTable<uchar>(256, lnTop, ldGamma);
        cv::LUT(arMatrix, lcTable, arMatrix);
    }
    else if (arMatrix.depth() == CV_16U && lnTop <= 65535)
    {
        LUT16(arMatrix, gammaTable<quint16>(lnEntries, lnTop, ldGamma));
    }
}

void tcOpenCVUtils::LUT16(cv::InputArray acMatrix, cv::InputArray acTable)
{
    cv::Mat lcMatrix = acMatrix.getMat();
    cv::Mat lcTable = acTable.getMat();
    if (lcMatrix.empty() || lcTable.empty())
        return;
    if (lcMatrix.depth() != CV_16U || lcTable.depth() != CV_16U || lcTable.channels() != 1)
    {
        qWarning()
            << "tcOpenCVUtils::LUT16: needs 16-bit unsigned samples and a one-channel 16-bit table, got types"
            << lcMatrix.type() << "and" << lcTable.type();
        return;
    }
    if (!lcTable.isContinuous())
        lcTable = lcTable.clone();
    const quint16* lpTable = lcTable.ptr<quint16>();
    const size_t lnLast = lcTable.total() - 1;
    // Samples of every channel are treated alike.
    cv::Mat lcSamples = lcMatrix.reshape(1);
    lcSamples.forEach<quint16>([lpTable, lnLast](quint16& arSample, const int*)
                               { arSample = lpTable[std::min<size_t>(arSample, lnLast)]; });
}

int tcOpenCVUtils::ChooseInterpolation(const cv::Size& arSource, const cv::Size& arOutput,
                                       int anInterpolation)
{
    const qint64 lnSourcePixels = static_cast<qint64>(arSource.width) * arSource.height;
    const qint64 lnOutputPixels = static_cast<qint64>(arOutput.width) * arOutput.height;
    return lnOutputPixels < lnSourcePixels ? cv::INTER_AREA : anInterpolation;
}

cv::Mat tcOpenCVUtils::CropAndResize(const cv::Mat& arMatrix, const cv::Rect& arSource,
                                     const cv::Size& arSize, int anInterpolation)
{
    const cv::Rect lcSource = arSource & cv::Rect(0, 0, arMatrix.cols, arMatrix.rows);
    if (lcSource.empty() || arSize.width <= 0 || arSize.height <= 0)
        return cv::Mat();
    const cv::Mat lcView(arMatrix, lcSource);
    cv::Mat lcResult(arSize, arMatrix.type());
    try
    {
        cv::resize(lcView, lcResult, lcResult.size(), 0, 0,
                   ChooseInterpolation(lcSource.size(), arSize, anInterpolation));
    }
    catch (const cv::Exception& arError)
    {
        qWarning() << "tcOpenCVUtils::CropAndResize:" << arError.what();
        return cv::Mat();
    }
    return lcResult;
}

cv::Mat tcOpenCVUtils::CropAndResize(const cv::Mat& arMatrix, const QRect& arSource, const QRect& arTarget,
                                     int anInterpolation)
{
    return CropAndResize(arMatrix, ConvertQRectToCvRect(arSource), ConvertQSizeToCvSize(arTarget.size()),
                         anInterpolation);
}

cv::Rect tcOpenCVUtils::ConvertQRectToCvRect(const QRect& arRect)
{
    return cv::Rect(arRect.x(), arRect.y(), arRect.width(), arRect.height());
}

cv::Size tcOpenCVUtils::ConvertQSizeToCvSize(const QSize& arSize)
{
    return cv::Size(arSize.width(), arSize.height());
}

QString tcOpenCVUtils::PixelAsText(const cv::Mat& arMatrix, int anX, int anY)
{
    if (anX < 0 || anX >= arMatrix.cols || anY < 0 || anY >= arMatrix.rows)
        return QString();
    if (arMatrix.dims > 2 || (arMatrix.channels() != 1 && arMatrix.channels() != 3))
        return QStringLiteral("??");
    switch (arMatrix.depth())
    {
    case CV_8U:
        return formatPixel<uchar>(arMatrix, anX, anY, 3);
    case CV_8S:
        return formatPixel<schar>(arMatrix, anX, anY, 4);
    case CV_16U:
        return formatPixel<quint16>(arMatrix, anX, anY, 5);
    case CV_16S:
        return formatPixel<qint16>(arMatrix, anX, anY, 6);
    default:
        return QStringLiteral("??");
    }
}
