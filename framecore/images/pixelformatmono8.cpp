#include "pixelformatmono8.h"

namespace PixelFormats
{
tcPixelFormatMono8::tcPixelFormatMono8(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QSharedPointer<QImage> tcPixelFormatMono8::toQImage()
{
    return shareAsQImage(getFilteredData(false), CV_8UC1, QImage::Format_Grayscale8);
}

cv::Mat& tcPixelFormatMono8::getFilteredData(bool abReset)
{
    return filteredAsCopy(abReset);
}

const cv::Mat& tcPixelFormatMono8::getRawData()
{
    return rawOverFrame(CV_8UC1);
}
} // namespace PixelFormats
