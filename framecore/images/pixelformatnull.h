#pragma once

#include "pixelformat.h"

namespace PixelFormats
{
// The format of frames whose code nobody registered (and of frames made
// without a format). It has no data to show: its matrices stay empty and it
// renders as a 1 × 1 image, so such a frame still passes through the system.
class FRAMECORE_EXPORT tcPixelFormatNull : public tcPixelFormat
{
public:
    tcPixelFormatNull(quint32 anCode, const tcImageBuffer& arImage);

    QString getName() const override;
    quint64 getNumDataBytes() const override { return 0; }
    int componentCount() const override { return 1; }
    int bitsPerPixel() const override { return 8; }
    int bitsPerChannel() const override { return 8; }
    int bytesPerLine() const override { return 0; }
    QSharedPointer<QImage> toQImage() override;
    cv::Mat& getFilteredData(bool abReset) override;
    const cv::Mat& getRawData() override;
};
} // namespace PixelFormats
