#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// 8-bit monochrome. The raw matrix lies over the frame's bytes; the filtered
// copy is shown directly, without another copy.
class FRAMECORE_EXPORT tcPixelFormatMono8 : public tcPixelFormat
{
public:
    tcPixelFormatMono8(quint32 anCode, const tcImageBuffer& arImage);

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
