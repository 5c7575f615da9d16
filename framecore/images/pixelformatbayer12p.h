#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// 12-bit packed Bayer mosaic, any of the four patterns: unpacked like
// Mono12p, demosaiced and shown like Bayer12.
class FRAMECORE_EXPORT tcPixelFormatBayer12p : public tcPixelFormat
{
public:
    tcPixelFormatBayer12p(quint32 anCode, const tcImageBuffer& arImage);

    quint64 getNumDataBytes() const override { return packedDataBytes(12); }
    int componentCount() const override { return 3; }
    int bitsPerPixel() const override { return 12; }
    int bitsPerChannel() const override { return 12; }
    int bytesPerLine() const override { return packedLineBytes(12); }
    QSharedPointer<QImage> toQImage() override;
    cv::Mat& getFilteredData(bool abReset) override;
    const cv::Mat& getRawData() override;
};
} // namespace PixelFormats
