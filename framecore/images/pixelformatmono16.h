#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// 16-bit monochrome. The raw matrix lies over the frame's bytes; the image
// shows the top 8 bits.
class FRAMECORE_EXPORT tcPixelFormatMono16 : public tcPixelFormat
{
public:
    tcPixelFormatMono16(quint32 anCode, const tcImageBuffer& arImage);

    quint64 getNumDataBytes() const override { return packedDataBytes(16); }
    int componentCount() const override { return 1; }
    int bitsPerPixel() const override { return 16; }
    int bitsPerChannel() const override { return 16; }
    int bytesPerLine() const override { return packedLineBytes(16); }
    QSharedPointer<QImage> toQImage() override;
    cv::Mat& getFilteredData(bool abReset) override;
    const cv::Mat& getRawData() override;
};
} // namespace PixelFormats
