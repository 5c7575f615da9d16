#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// 12-bit monochrome, two pixels in three bytes. The raw matrix holds the
// unpacked 16-bit samples; the image shows the top 8 of the 12 bits.
class FRAMECORE_EXPORT tcPixelFormatMono12p : public tcPixelFormat
{
public:
    tcPixelFormatMono12p(quint32 anCode, const tcImageBuffer& arImage);

    quint64 getNumDataBytes() const override { return packedDataBytes(12); }
    int componentCount() const override { return 1; }
    int bitsPerPixel() const override { return 12; }
    int bitsPerChannel() const override { return 12; }
    int bytesPerLine() const override { return packedLineBytes(12); }
    QSharedPointer<QImage> toQImage() override;
    cv::Mat& getFilteredData(bool abReset) override;
    const cv::Mat& getRawData() override;
};
} // namespace PixelFormats
