#include "pixelformatnull.h"

namespace PixelFormats
{
tcPixelFormatNull::tcPixelFormatNull(quint32 anCode, const tcImageBuffer& arImage)
    : tcPixelFormat(anCode, arImage)
{
}

QString tcPixelFormatNull::getName() const
{
    return QStringLiteral("NULL");
}

QSharedPointer<QImage> tcPixelFormatNull::toQImage()
{
    auto lpImage = QSharedPointer<QImage>::create(1, 1, QImage::Format_Grayscale8);
    lpImage->fill(0);
    return lpImage;
}

cv::Mat& tcPixelFormatNull::getFilteredData(bool)
{
    return mcFiltered;
}

const cv::Mat& tcPixelFormatNull::getRawData()
{
    return mcRaw;
}
} // namespace PixelFormats
