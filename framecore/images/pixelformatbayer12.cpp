#include "pixelformatbayer12.h"

namespace PixelFormats
{
tcPixelFormatBayer12::tcPixelFormatBayer12(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QSharedPointer<QImage> tcPixelFormatBayer12::toQImage()
{
    return convertToQImage(getFilteredData(false), CV_16UC3, QImage::Format_RGB888, 1.0 / 16.0);
}

cv::Mat& tcPixelFormatBayer12::getFilteredData(bool abReset)
{
    return filteredDemosaiced(abReset);
}

const cv::Mat& tcPixelFormatBayer12::getRawData()
{
    return rawOverFrame(CV_16UC1);
}
} // namespace PixelFormats
