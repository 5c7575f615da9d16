#include "imagebuffer.h"

#include "pixelformat.h"
#include "pixelformatregistry.h"

#include <QDebug>

namespace
{
// Queued NewFrame signals may be connected before any window registers the
// type, so the library registers it as soon as it is loaded.
[[maybe_unused]] const int gnImageBufferMetaType = tcImageBuffer::registerMetaType();
} // namespace

tcImageBuffer::tcImageBuffer(uchar* apData, const QSize& arSize, quint32 anPixelFormat)
    : mpData(apData), mcSize(arSize)
{
    mcElapsedTimer.start();
    mpPixelFormat = PixelFormats::tcPixelFormatRegistry::create(anPixelFormat, *this);
}

// The pixel-format object goes first (and with it both matrices); the bytes
// belong to whoever made the frame. QObject then emits destroyed(), which is
// how an acquisition buffer learns that it may be queued again.
tcImageBuffer::~tcImageBuffer() = default;

tpImageBuffer tcImageBuffer::makeShared(uchar* apData, const QSize& arSize, quint32 anPixelFormat)
{
    // QSharedPointer attaches its count to the QObject, so QWeakPointer and
    // QPointer observers of a frame stay consistent with it.
    return tpImageBuffer(new tcImageBuffer(apData, arSize, anPixelFormat));
}

tpImageBuffer tcImageBuffer::newImage()
{
    return newImage(0u);
}

tpImageBuffer tcImageBuffer::newImage(quint64 anPixelFormat)
{
    return newImage(static_cast<unsigned>(anPixelFormat & 0xFFFFFFFFu));
}

tpImageBuffer tcImageBuffer::newImage(unsigned anPixelFormat)
{
    return makeShared(nullptr, QSize(), anPixelFormat);
}

tpImageBuffer tcImageBuffer::newImage(uchar* apData, int anWidth, int anHeight, quint64 anPixelFormat)
{
    return makeShared(apData, QSize(anWidth, anHeight), static_cast<quint32>(anPixelFormat & 0xFFFFFFFFu));
}

int tcImageBuffer::registerMetaType()
{
    return qRegisterMetaType<tpImageBuffer>("tpImageBuffer");
}

void tcImageBuffer::setAcquireTime(quint64 anMicroseconds)
{
    mcAcquireTime = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(anMicroseconds / 1000u));
}

bool tcImageBuffer::isNull() const
{
    return mpData == nullptr || mcSize.isNull();
}

int tcImageBuffer::bitsPerPixel() const
{
    return mpPixelFormat->bitsPerPixel();
}

int tcImageBuffer::bitsPerChannel() const
{
    return mpPixelFormat->bitsPerChannel();
}

int tcImageBuffer::componentCount() const
{
    return mpPixelFormat->componentCount();
}

quint64 tcImageBuffer::getNumDataBytes() const
{
    return mpPixelFormat->getNumDataBytes();
}

int tcImageBuffer::bytesPerLine() const
{
    return mpPixelFormat->bytesPerLine();
}

const cv::Mat& tcImageBuffer::getRawData() const
{
    return mpPixelFormat->getRawData();
}

cv::Mat& tcImageBuffer::getFilteredData(bool abReset)
{
    return mpPixelFormat->getFilteredData(abReset);
}

bool tcImageBuffer::hasFilteredData() const
{
    return mpPixelFormat->hasFilteredData();
}

QSharedPointer<QImage> tcImageBuffer::toQImage() const
{
    return mpPixelFormat->toQImage();
}

QDebug operator<<(QDebug acDebug, const tcImageBuffer& arImage)
{
    acDebug << "Frame " << arImage.getFrameId() << arImage.getSize() << arImage.getPixelFormat()->getName();
    return acDebug;
}
