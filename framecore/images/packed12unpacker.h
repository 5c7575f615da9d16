#pragma once

#include "framecore_export.h"

#include <QtGlobal>

#include <utility>
#include <vector>

// Unpacks 12-bit "p" packed pixels into 16-bit samples. Every three bytes
// b0 b1 b2 hold two pixels, b0 | (b1 & 0x0F) << 8 and (b1 >> 4) | b2 << 4,
// and the pixels of a frame run on across lines without padding, so a line
// of odd width ends in the middle of a byte. A frame is therefore unpacked as
// one run of width × height samples, which needs ceil(12 × samples / 8)
// source bytes and never touches a byte beyond them.
class FRAMECORE_EXPORT tcPacked12Unpacker
{
public:
    using tpRowRange = std::pair<int, int>; // first row, end row (exclusive)

    // Unpacks a whole frame, spreading the rows over up to four threads that
    // are all joined before returning. Throws std::system_error when a thread
    // cannot be started or joined; every started thread is joined first.
    static void unpack(const uchar* apSource, int anWidth, int anHeight, quint16* apDestination);

    // The row ranges the threads get: height / 4 threads, at most four; one
    // range (converted in the calling thread) below 8 rows. The last range
    // ends at the height so that no remainder row is lost.
    static std::vector<tpRowRange> splitRows(int anHeight);

    // Converts rows [first, end) of a frame of the given width. Source and
    // destination are the start of the whole frame.
    static void unpackRows(int anFirstRow, int anEndRow, int anWidth, const uchar* apSource,
                           quint16* apDestination) noexcept;

    // Converts samples [first, end) of a continuous run; both pointers are the
    // start of the run. Neighbouring ranges may share a source byte but never
    // a destination sample.
    static void unpackSamples(qint64 anFirst, qint64 anEnd, const uchar* apSource,
                              quint16* apDestination) noexcept;

    // Whether the processor's byte-shuffle instructions may be used (when it
    // has them); off selects the portable converter. For tests and benchmarks.
    static void setSimdAllowed(bool abAllowed);
    static bool simdAllowed();

    static constexpr int scMaxThreads = 4;

    tcPacked12Unpacker() = delete;
};
