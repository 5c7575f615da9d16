#include "pixelformatbayer8.h"

namespace PixelFormats
{
tcPixelFormatBayer8::tcPixelFormatBayer8(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QSharedPointer<QImage> tcPixelFormatBayer8::toQImage()
{
    return shareAsQImage(getFilteredData(false), CV_8UC3, QImage::Format_RGB888);
}

cv::Mat& tcPixelFormatBayer8::getFilteredData(bool abReset)
{
    return filteredDemosaiced(abReset);
}

const cv::Mat& tcPixelFormatBayer8::getRawData()
{
    return rawOverFrame(CV_8UC1);
}
} // namespace PixelFormats
