#pragma once

#include "imagebuffer.h"

#include <QImage>
#include <QString>

// Saving and loading what the video display shows.
//
// PNG, JPEG and the other formats Qt knows by suffix hold the displayed
// picture. ".img" holds the frame itself: a text header of exactly
// scHeaderBytes bytes (lines "key value", closed by a line "end" and padded
// with blanks) followed by the frame's bytes exactly as the camera delivered
// them, so that any tool can read the pixels after skipping the header:
//
//   KESTRIX-RAW 1
//   width 7920
//   height 6004
//   pixelformat 0x010C0059 BayerRG12p
//   offset 0 0
//   frameid 41
//   bytes 71326080
//   end
//
// Files are written through a temporary file and renamed, so a failed save
// never destroys an earlier file of the same name.
class tcImageFile
{
public:
    static constexpr int scHeaderBytes = 512;

    struct tcLoaded
    {
        QImage mcImage;        // set for picture formats
        tpImageBuffer mpFrame; // set for ".img"
        QString msError;       // empty on success
    };

    static bool isRawPath(const QString& arPath);

    // Empty on success, else why not. The frame is written for ".img" when
    // there is one; without a frame the image is written as Mono8 or RGB8.
    static QString save(const QString& arPath, const tpImageBuffer& apFrame, const QImage& arImage);
    static tcLoaded load(const QString& arPath);

    // A frame over its own copy of another frame's bytes, with the same size,
    // format, offset, id and time; it no longer holds a camera buffer.
    static tpImageBuffer ownedCopy(const tcImageBuffer& arFrame);
    // A frame that owns the given bytes (they live as long as the frame).
    static tpImageBuffer frameOwning(QByteArray acBytes, int anWidth, int anHeight, quint32 anPixelFormat);

    tcImageFile() = delete;

private:
    static QString saveRaw(const QString& arPath, const tpImageBuffer& apFrame, const QImage& arImage);
    static tcLoaded loadRaw(const QString& arPath);
};
