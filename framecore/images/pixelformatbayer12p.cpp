#include "pixelformatbayer12p.h"

namespace PixelFormats
{
tcPixelFormatBayer12p::tcPixelFormatBayer12p(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QSharedPointer<QImage> tcPixelFormatBayer12p::toQImage()
{
    return convertToQImage(getFilteredData(false), CV_16UC3, QImage::Format_RGB888, 1.0 / 16.0);
}

cv::Mat& tcPixelFormatBayer12p::getFilteredData(bool abReset)
{
    return filteredDemosaiced(abReset);
}

const cv::Mat& tcPixelFormatBayer12p::getRawData()
{
    return rawUnpacked12();
}
} // namespace PixelFormats
