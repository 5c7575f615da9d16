#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// 8-bit Bayer mosaic in any of the four patterns. The filtered matrix is the
// demosaiced colour image (R, G, B), shown without another copy.
class FRAMECORE_EXPORT tcPixelFormatBayer8 : public tcPixelFormat
{
public:
    tcPixelFormatBayer8(quint32 anCode, const tcImageBuffer& arImage);

    quint64 getNumDataBytes() const override { return packedDataBytes(8); }
    int componentCount() const override { return 1; }
    int bitsPerPixel() const override { return 8; }
    int bitsPerChannel() const override { return 8; }
    int bytesPerLine() const override { return packedLineBytes(8); }
    QSharedPointer<QImage> toQImage() override;
    cv::Mat& getFilteredData(bool abReset) override;
    const cv::Mat& getRawData() override;
};
} // namespace PixelFormats
