#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// 12-bit Bayer mosaic in 16-bit words, any of the four patterns. The filtered
// matrix is the demosaiced 16-bit colour image; the display shows its top 8
// of 12 bits.
class FRAMECORE_EXPORT tcPixelFormatBayer12 : public tcPixelFormat
{
public:
    tcPixelFormatBayer12(quint32 anCode, const tcImageBuffer& arImage);

    quint64 getNumDataBytes() const override { return packedDataBytes(16); }
    int componentCount() const override { return 3; }
    int bitsPerPixel() const override { return 12; }
    int bitsPerChannel() const override { return 12; }
    int bytesPerLine() const override { return packedLineBytes(16); }
    QSharedPointer<QImage> toQImage() override;
    cv::Mat& getFilteredData(bool abReset) override;
    const cv::Mat& getRawData() override;
};
} // namespace PixelFormats
