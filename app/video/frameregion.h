#pragma once

#include "imagebuffer.h"

#include <QImage>

#include <opencv2/core.hpp>

// Reads a part of a frame straight from its delivered bytes, without building
// the frame's own whole-frame matrices. The video display uses it so that it
// pays for what it shows, not for the sensor size: a 47.5 megapixel frame
// viewed whole in a window needs a tenth of its pixels, and one viewed
// magnified needs only the visible part.
//
// raw(), filtered() and display() give exactly the values the frame's own
// getRawData(), getFilteredData() and toQImage() have inside the rectangle
// (Bayer mosaics are demosaiced with a margin so that the region's edges see
// the same neighbours). binned() averages blocks of the mosaic instead of
// demosaicing every pixel, for views that shrink the frame.
//
// Nothing here touches the frame's lazily built matrices, so these functions
// may run in another thread while the GUI thread works with the frame; they
// read only the frame's bytes, size and pixel format code, which never change.
class tcFrameRegion
{
public:
    enum class teKind
    {
        Unknown,
        Mono,
        Bayer,
        Rgb
    };
    enum class teStorage
    {
        Bytes8,
        Words16,
        Packed12
    };

    // What the converter needs to know about a pixel format code.
    struct tcLayout
    {
        teKind meKind = teKind::Unknown;
        teStorage meStorage = teStorage::Bytes8;
        int mnBits = 8;                // significant bits per sample
        int mnColourOfSite[2][2] = {}; // Bayer: channel (0 R, 1 G, 2 B) of site [row&1][column&1]
        int mnDemosaic = -1;           // Bayer: OpenCV colour conversion code
        double mdTo8Bit = 1.0;         // scale of a sample into 8 bits
        bool isKnown() const { return meKind != teKind::Unknown; }
        // Samples per pixel in the delivered bytes.
        int channels() const { return meKind == teKind::Rgb ? 3 : 1; }
    };

    static tcLayout layout(quint32 anPixelFormat);
    static tcLayout layout(const tcImageBuffer& arFrame);

    // The frame's raw samples inside the rectangle (cut to the frame), at
    // their natural depth; may share the frame's bytes.
    static cv::Mat raw(const tcImageBuffer& arFrame, const cv::Rect& arRect);
    // The unfiltered working matrix inside the rectangle: raw samples for mono
    // and RGB formats, demosaiced R, G, B at raw depth for Bayer formats.
    static cv::Mat filtered(const tcImageBuffer& arFrame, const cv::Rect& arRect);
    // The rectangle as the frame's toQImage() would show it unfiltered.
    static QImage display(const tcImageBuffer& arFrame, const cv::Rect& arRect);
    // The rectangle shrunk by the whole factor anBin per axis (even for Bayer
    // formats, whose rectangle is then moved to an even origin): each output
    // pixel is the mean of its block, per colour of the mosaic. Blocks of
    // four or more lines read one even and one odd line near their middle
    // (all of their columns): such views show a quarter of the sensor's
    // lines or fewer, and reading every line would cost each frame more than
    // its whole transfer. With anRows given (and fewer than the blocks'
    // lines), such a view has that many lines, each from the line pair
    // nearest its centre: the columns stay in blocks, and the picture needs
    // only a horizontal scaling to its size.
    static QImage binned(const tcImageBuffer& arFrame, const cv::Rect& arRect, int anBin, int anRows = 0);
    // The rectangle binned() covers for a request: moved to the mosaic's
    // phase and cut to whole blocks.
    static cv::Rect binnedSource(const tcLayout& arLayout, const cv::Rect& arRect, int anBin);

    // The largest block size worth binning for showing anSource at anOutput:
    // 1 when the view does not shrink by at least two (or by an even factor
    // for a mosaic), or the format is not understood.
    static int binFactor(const tcLayout& arLayout, const cv::Size& arSource, const cv::Size& arOutput);

    // A new image whose pixels come from the frame memory pool: the display
    // makes images of the same sizes frame after frame, and recycled memory
    // spares the page faults of fresh memory. Null when out of memory.
    static QImage pooledImage(const QSize& arSize, QImage::Format aeFormat);
    // A matrix view of a QImage's pixels (8-bit one or three channels).
    static cv::Mat matOf(QImage& arImage);
    static QImage::Format displayFormat(const tcLayout& arLayout);

    tcFrameRegion() = delete;
};
