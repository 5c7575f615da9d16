#pragma once

#include "framecore_export.h"

#include <QImage>
#include <QSharedPointer>
#include <QString>

#include <opencv2/core/mat.hpp>

class tcImageBuffer;

namespace PixelFormats
{
// Reads one frame's bytes in one pixel format. Each frame owns exactly one
// such object, made for it by the registry. Two matrices are built lazily:
// the raw matrix (the pixels at their natural 8 or 16 bit depth) and the
// filtered matrix (a working copy, demosaiced for Bayer formats, that display
// filters change in place). toQImage() renders what the filters left.
//
// A frame without data, or with a width or height below 1, has empty matrices
// and renders as a null QImage.
class FRAMECORE_EXPORT tcPixelFormat
{
public:
    tcPixelFormat(const tcPixelFormat&) = delete;
    tcPixelFormat& operator=(const tcPixelFormat&) = delete;
    virtual ~tcPixelFormat();

    virtual QString getName() const;
    virtual quint64 getNumDataBytes() const = 0;
    virtual int componentCount() const = 0;
    virtual int bitsPerPixel() const = 0;
    virtual QSharedPointer<QImage> toQImage() = 0;
    virtual cv::Mat& getFilteredData(bool abReset) = 0;
    virtual const cv::Mat& getRawData() = 0;

    // Significant bits of one colour component of the delivered data.
    virtual int bitsPerChannel() const = 0;
    // Bytes that one line of the frame's data occupies, rounded up to whole
    // bytes; 0 for a frame without a valid width.
    virtual int bytesPerLine() const = 0;

    quint32 getCode() const { return mnCode; }
    // Whether the filtered matrix has been built (a display filter worked on
    // it); lets a consumer tell without building it.
    bool hasFilteredData() const { return !mcFiltered.empty(); }

    // The OpenCV colour conversion that demosaics a Bayer code into R, G, B
    // order. OpenCV names a mosaic after the second and third pixels of its
    // second line, hence the shifted pairs; unknown codes are read as RG.
    static int bayerToRgbConversion(quint32 anCode);

protected:
    tcPixelFormat(quint32 anCode, const tcImageBuffer& arImage);

    const tcImageBuffer& image() const { return *mpImage; }
    // True when the frame has bytes and at least one pixel.
    bool hasPixels() const;
    // The frame's bytes seen as a matrix of the given type, rows back to back.
    cv::Mat frameMatrix(int anType) const;
    // A QImage that shares the filtered matrix's pixels. The image keeps the
    // matrix's buffer alive, so it stays valid after the frame is gone.
    static QSharedPointer<QImage> shareAsQImage(const cv::Mat& arMatrix, int anMatType,
                                                QImage::Format aeFormat);
    // A new QImage with the matrix scaled into 8 bits per sample (rounded and
    // saturated), written line by line at the image's own stride.
    static QSharedPointer<QImage> convertToQImage(const cv::Mat& arMatrix, int anMatType,
                                                  QImage::Format aeFormat, double adScale);
    static QSharedPointer<QImage> nullImage();

    // The building blocks the formats share; each builds its matrix only when
    // it is empty (or, for the filtered matrix, when a reset is asked for).
    const cv::Mat& rawOverFrame(int anMatType);
    const cv::Mat& rawUnpacked12();
    cv::Mat& filteredAsCopy(bool abReset);
    cv::Mat& filteredDemosaiced(bool abReset);

    // Line lengths and data sizes are computed in 64 bits so that no frame
    // size a camera can deliver overflows them.
    int packedLineBytes(int anBitsPerSample) const;
    quint64 packedDataBytes(int anBitsPerSample) const;

    quint32 mnCode;
    const tcImageBuffer* mpImage;
    cv::Mat mcRaw;
    cv::Mat mcFiltered;
};
} // namespace PixelFormats
