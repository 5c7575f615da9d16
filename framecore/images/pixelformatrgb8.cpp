#include "pixelformatrgb8.h"

namespace PixelFormats
{
tcPixelFormatRGB8::tcPixelFormatRGB8(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QSharedPointer<QImage> tcPixelFormatRGB8::toQImage()
{
    return shareAsQImage(getFilteredData(false), CV_8UC3, QImage::Format_RGB888);
}

cv::Mat& tcPixelFormatRGB8::getFilteredData(bool abReset)
{
    return filteredAsCopy(abReset);
}

const cv::Mat& tcPixelFormatRGB8::getRawData()
{
    return rawOverFrame(CV_8UC3);
}
} // namespace PixelFormats
