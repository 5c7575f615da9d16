#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// 8-bit R, G, B triplets. The raw matrix lies over the frame's bytes; the
// filtered copy is shown directly.
class FRAMECORE_EXPORT tcPixelFormatRGB8 : public tcPixelFormat
{
public:
    tcPixelFormatRGB8(quint32 anCode, const tcImageBuffer& arImage);

    quint64 getNumDataBytes() const override { return packedDataBytes(24); }
    int componentCount() const override { return 3; }
    int bitsPerPixel() const override { return 24; }
    int bitsPerChannel() const override { return 8; }
    int bytesPerLine() const override { return packedLineBytes(24); }
    QSharedPointer<QImage> toQImage() override;
    cv::Mat& getFilteredData(bool abReset) override;
    const cv::Mat& getRawData() override;
};
} // namespace PixelFormats
