#include "pixelformatmono16.h"

namespace PixelFormats
{
tcPixelFormatMono16::tcPixelFormatMono16(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QSharedPointer<QImage> tcPixelFormatMono16::toQImage()
{
    return convertToQImage(getFilteredData(false), CV_16UC1, QImage::Format_Grayscale8, 1.0 / 256.0);
}

cv::Mat& tcPixelFormatMono16::getFilteredData(bool abReset)
{
    return filteredAsCopy(abReset);
}

const cv::Mat& tcPixelFormatMono16::getRawData()
{
    return rawOverFrame(CV_16UC1);
}
} // namespace PixelFormats
