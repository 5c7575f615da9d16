#include "pixelformatmono12p.h"

namespace PixelFormats
{
tcPixelFormatMono12p::tcPixelFormatMono12p(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QSharedPointer<QImage> tcPixelFormatMono12p::toQImage()
{
    return convertToQImage(getFilteredData(false), CV_16UC1, QImage::Format_Grayscale8, 1.0 / 16.0);
}

cv::Mat& tcPixelFormatMono12p::getFilteredData(bool abReset)
{
    return filteredAsCopy(abReset);
}

const cv::Mat& tcPixelFormatMono12p::getRawData()
{
    return rawUnpacked12();
}
} // namespace PixelFormats
