#pragma once

#include "framecore_export.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QImage>
#include <QMetaType>
#include <QObject>
#include <QPoint>
#include <QSharedPointer>
#include <QSize>

#include <opencv2/core/mat.hpp>

#include <memory>

class QDebug;
class tcImageBuffer;

namespace PixelFormats
{
class tcPixelFormat;
}

// Frames travel through the system only under this shared pointer; dropping
// the last one deletes the frame, and that deletion is what hands the
// underlying acquisition buffer back to the producer.
using tpImageBuffer = QSharedPointer<tcImageBuffer>;

// One camera frame over pixel bytes that somebody else owns (normally a
// producer buffer). The frame records where the bytes are, their size, sensor
// offset, acquisition time and pixel format; interpreting the bytes is the
// business of the pixel-format object the frame owns.
//
// Nothing here is locked: a frame is filled in by the thread that made it and
// afterwards read, converted and filtered by one thread at a time.
class FRAMECORE_EXPORT tcImageBuffer : public QObject
{
    Q_OBJECT

public:
    ~tcImageBuffer() override;

    static tpImageBuffer newImage();
    static tpImageBuffer newImage(quint64 anPixelFormat);
    static tpImageBuffer newImage(unsigned anPixelFormat);
    // The bytes are not copied and never freed by the frame; they must stay
    // valid for as long as the frame lives.
    static tpImageBuffer newImage(uchar* apData, int anWidth, int anHeight, quint64 anPixelFormat);

    // Registers tpImageBuffer with Qt's meta-type system under its own name so
    // that it can travel through queued connections. Safe to call repeatedly.
    static int registerMetaType();

    const uchar* data() const { return mpData; }
    uchar* data() { return mpData; }
    void setData(uchar* apData) { mpData = apData; }

    int width() const { return mcSize.width(); }
    int height() const { return mcSize.height(); }
    QSize getSize() const { return mcSize; }

    QPoint getTopLeft() const { return mcTopLeft; }
    void setTopLeft(const QPoint& arTopLeft) { mcTopLeft = arTopLeft; }

    quint64 getFrameId() const { return mnFrameId; }
    void setFrameId(const quint64& arFrameId) { mnFrameId = arFrameId; }

    QDateTime getAcquireTime() const { return mcAcquireTime; }
    void setAcquireTime(const QDateTime& arTime) { mcAcquireTime = arTime; }
    // Producers time-stamp in microseconds since the Unix epoch; the frame
    // keeps whole milliseconds.
    void setAcquireTime(quint64 anMicroseconds);

    QElapsedTimer getElapsedTimer() const { return mcElapsedTimer; }

    const PixelFormats::tcPixelFormat* getPixelFormat() const { return mpPixelFormat.get(); }

    bool isNull() const;

    int bitsPerPixel() const;
    // Significant bits of one colour component: equal to bitsPerPixel() for
    // one-channel formats, 8 for RGB8. Scales such as "top of the range" and
    // histogram bounds are per component.
    int bitsPerChannel() const;
    int componentCount() const;
    quint64 getNumDataBytes() const;
    // The real length of one line of the frame's bytes (rounded up to whole
    // bytes for packed formats whose lines do not end on a byte boundary).
    int bytesPerLine() const;

    const cv::Mat& getRawData() const;
    cv::Mat& getFilteredData(bool abReset);
    // True once the filtered matrix exists; asking builds nothing.
    bool hasFilteredData() const;
    QSharedPointer<QImage> toQImage() const;

private:
    tcImageBuffer(uchar* apData, const QSize& arSize, quint32 anPixelFormat);
    static tpImageBuffer makeShared(uchar* apData, const QSize& arSize, quint32 anPixelFormat);

    uchar* mpData = nullptr;
    QDateTime mcAcquireTime;
    quint64 mnFrameId = 0;
    std::unique_ptr<PixelFormats::tcPixelFormat> mpPixelFormat;
    QPoint mcTopLeft;
    QSize mcSize;
    QElapsedTimer mcElapsedTimer;
};

Q_DECLARE_METATYPE(tpImageBuffer)

FRAMECORE_EXPORT QDebug operator<<(QDebug acDebug, const tcImageBuffer& arImage);
