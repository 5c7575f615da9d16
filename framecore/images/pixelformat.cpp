#include "pixelformat.h"

#include "framememory.h"
#include "imagebuffer.h"
#include "packed12unpacker.h"
#include "pfncnames.h"

#include <QDebug>

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <limits>
#include <memory>

#if defined(__SANITIZE_THREAD__)
#define KX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KX_THREAD_SANITIZER 1
#endif
#endif

namespace PixelFormats
{
namespace
{
#ifdef KX_THREAD_SANITIZER
// OpenCV's worker pool hands out work through synchronisation inside a
// library the thread sanitizer does not instrument, so every matrix touched
// by a worker would be reported as raced. Sanitizer builds run OpenCV's
// parallel loops in the calling thread; threads of our own stay checked.
[[maybe_unused]] const bool gbOpenCVSerial = []
{
    cv::setNumThreads(0);
    return true;
}();
#endif

// Full frames are large enough for a copy to be worth spreading over
// OpenCV's worker threads, row stripe by row stripe.
void copyInParallel(const cv::Mat& arSource, cv::Mat& arTarget)
{
    if (arSource.empty())
    {
        arTarget.release();
        return;
    }
    if (arTarget.empty())
        arTarget.allocator = tcFrameMemory::matAllocator();
    arTarget.create(arSource.size(), arSource.type());
    cv::parallel_for_(cv::Range(0, arSource.rows),
                      [&arSource, &arTarget](const cv::Range& arRows)
                      {
                          cv::Mat lcTarget = arTarget.rowRange(arRows);
                          arSource.rowRange(arRows).copyTo(lcTarget);
                      });
}

void convertInParallel(const cv::Mat& arSource, cv::Mat& arTarget, double adScale)
{
    cv::parallel_for_(cv::Range(0, arSource.rows),
                      [&arSource, &arTarget, adScale](const cv::Range& arRows)
                      {
                          cv::Mat lcTarget = arTarget.rowRange(arRows);
                          arSource.rowRange(arRows).convertTo(lcTarget, CV_8U, adScale);
                      });
}

void releaseImageBuffer(void* apBuffer)
{
    tcFrameMemory::release(static_cast<uchar*>(apBuffer));
}
} // namespace

tcPixelFormat::tcPixelFormat(quint32 anCode, const tcImageBuffer& arImage) : mnCode(anCode), mpImage(&arImage)
{
}

tcPixelFormat::~tcPixelFormat() = default;

QString tcPixelFormat::getName() const
{
    return QString::fromLatin1(pfncName(mnCode));
}

bool tcPixelFormat::hasPixels() const
{
    return mpImage->data() != nullptr && mpImage->width() > 0 && mpImage->height() > 0;
}

cv::Mat tcPixelFormat::frameMatrix(int anType) const
{
    if (!hasPixels())
        return cv::Mat();
    // The raw matrix is handed out read-only; the cast only satisfies
    // OpenCV's constructor, which takes a mutable pointer for every use.
    return cv::Mat(mpImage->height(), mpImage->width(), anType, const_cast<uchar*>(mpImage->data()));
}

QSharedPointer<QImage> tcPixelFormat::nullImage()
{
    return QSharedPointer<QImage>::create();
}

QSharedPointer<QImage> tcPixelFormat::shareAsQImage(const cv::Mat& arMatrix, int anMatType,
                                                    QImage::Format aeFormat)
{
    if (arMatrix.empty())
        return nullImage();
    if (arMatrix.type() != anMatType)
    {
        qWarning() << "tcPixelFormat::toQImage: filtered matrix of type" << arMatrix.type() << "instead of"
                   << anMatType << "cannot be shown";
        return nullImage();
    }
    // The image holds its own reference to the matrix's buffer and drops it
    // in its clean-up function, whichever thread releases the image last.
    auto lpKeeper = std::make_unique<cv::Mat>(arMatrix);
    auto lpImage = QSharedPointer<QImage>::create(
        lpKeeper->data, lpKeeper->cols, lpKeeper->rows, static_cast<int>(lpKeeper->step[0]), aeFormat,
        [](void* apInfo) { delete static_cast<cv::Mat*>(apInfo); }, lpKeeper.get());
    if (lpImage->isNull())
        return lpImage; // QImage refused the buffer; lpKeeper still owns the reference
    lpKeeper.release();
    return lpImage;
}

QSharedPointer<QImage> tcPixelFormat::convertToQImage(const cv::Mat& arMatrix, int anMatType,
                                                      QImage::Format aeFormat, double adScale)
{
    if (arMatrix.empty())
        return nullImage();
    if (arMatrix.type() != anMatType)
    {
        qWarning() << "tcPixelFormat::toQImage: filtered matrix of type" << arMatrix.type() << "instead of"
                   << anMatType << "cannot be shown";
        return nullImage();
    }
    // QImage lines are padded to 4 bytes; writing through a matrix header
    // with the image's own stride keeps every width free of shear.
    const int lnChannels = arMatrix.channels();
    const qint64 lnLineBytes = (static_cast<qint64>(arMatrix.cols) * lnChannels + 3) / 4 * 4;
    uchar* lpBuffer = lnLineBytes <= std::numeric_limits<int>::max()
                          ? tcFrameMemory::acquire(static_cast<size_t>(lnLineBytes) * arMatrix.rows)
                          : nullptr;
    if (lpBuffer == nullptr)
    {
        qWarning() << "tcPixelFormat::toQImage: no memory for a" << arMatrix.cols << "x" << arMatrix.rows
                   << "image";
        return nullImage();
    }
    auto lpImage =
        QSharedPointer<QImage>::create(lpBuffer, arMatrix.cols, arMatrix.rows, static_cast<int>(lnLineBytes),
                                       aeFormat, releaseImageBuffer, lpBuffer);
    if (lpImage->isNull())
    {
        tcFrameMemory::release(lpBuffer);
        return lpImage;
    }
    cv::Mat lcTarget(arMatrix.rows, arMatrix.cols, CV_MAKETYPE(CV_8U, lnChannels), lpBuffer,
                     static_cast<size_t>(lnLineBytes));
    convertInParallel(arMatrix, lcTarget, adScale);
    return lpImage;
}

int tcPixelFormat::bayerToRgbConversion(quint32 anCode)
{
    switch (anCode)
    {
    case 0x01080008u: // BayerGR8
    case 0x01100010u: // BayerGR12
    case 0x010C0057u: // BayerGR12p
        return cv::COLOR_BayerGB2RGB;
    case 0x0108000Au: // BayerGB8
    case 0x01100012u: // BayerGB12
    case 0x010C0055u: // BayerGB12p
        return cv::COLOR_BayerGR2RGB;
    case 0x0108000Bu: // BayerBG8
    case 0x01100013u: // BayerBG12
    case 0x010C0053u: // BayerBG12p
        return cv::COLOR_BayerRG2RGB;
    default: // RG and anything else
        return cv::COLOR_BayerBG2RGB;
    }
}

const cv::Mat& tcPixelFormat::rawOverFrame(int anMatType)
{
    if (mcRaw.empty())
        mcRaw = frameMatrix(anMatType);
    return mcRaw;
}

const cv::Mat& tcPixelFormat::rawUnpacked12()
{
    if (!mcRaw.empty() || !hasPixels())
        return mcRaw;
    mcRaw.allocator = tcFrameMemory::matAllocator();
    mcRaw.create(mpImage->height(), mpImage->width(), CV_16UC1);
    try
    {
        tcPacked12Unpacker::unpack(mpImage->data(), mpImage->width(), mpImage->height(),
                                   mcRaw.ptr<quint16>());
    }
    catch (...)
    {
        // A half-filled matrix must not be served as the frame's pixels.
        mcRaw.release();
        throw;
    }
    return mcRaw;
}

cv::Mat& tcPixelFormat::filteredAsCopy(bool abReset)
{
    if (abReset || mcFiltered.empty())
    {
        // Copying into the existing buffer (same size and type) keeps images
        // already made over it valid: they show the reset pixels.
        copyInParallel(getRawData(), mcFiltered);
    }
    return mcFiltered;
}

cv::Mat& tcPixelFormat::filteredDemosaiced(bool abReset)
{
    if (abReset || mcFiltered.empty())
    {
        const cv::Mat& lcRaw = getRawData();
        if (lcRaw.empty())
        {
            mcFiltered.release();
        }
        else
        {
            if (mcFiltered.empty())
                mcFiltered.allocator = tcFrameMemory::matAllocator();
            cv::cvtColor(lcRaw, mcFiltered, bayerToRgbConversion(mnCode));
        }
    }
    return mcFiltered;
}

int tcPixelFormat::packedLineBytes(int anBitsPerSample) const
{
    const int lnWidth = mpImage->width();
    if (lnWidth <= 0)
        return 0;
    return static_cast<int>((static_cast<qint64>(lnWidth) * anBitsPerSample + 7) / 8);
}

quint64 tcPixelFormat::packedDataBytes(int anBitsPerSample) const
{
    const int lnWidth = mpImage->width();
    const int lnHeight = mpImage->height();
    if (lnWidth <= 0 || lnHeight <= 0)
        return 0;
    // Packed samples run on across lines; a frame whose last sample ends
    // inside a byte still occupies that byte.
    const quint64 lnBits = static_cast<quint64>(lnWidth) * static_cast<quint64>(lnHeight) * anBitsPerSample;
    return (lnBits + 7) / 8;
}
} // namespace PixelFormats
