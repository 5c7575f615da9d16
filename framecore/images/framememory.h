#pragma once

#include "framecore_export.h"

#include <QtGlobal>

#include <cstddef>

namespace cv
{
class MatAllocator;
}

// Recycles the large buffers that frame conversion needs (unpacked, filtered
// and display images). A camera delivers frame after frame of one size, and
// fresh memory of that size costs more in page faults than the conversion
// itself; buffers given back here are handed out again for the next frame.
//
// Buffers of at least scMinPooledBytes are kept, up to a total limit, and
// reused only for requests of exactly their size. Every function is thread
// safe: buffers are released in whichever thread drops the last reference.
class FRAMECORE_EXPORT tcFrameMemory
{
public:
    static constexpr size_t scMinPooledBytes = size_t(1) << 20;

    // A buffer of the given size, aligned for SIMD use; null when the
    // system has no memory left.
    static uchar* acquire(size_t anBytes);
    // Gives back a buffer from acquire(); null is ignored.
    static void release(uchar* apBuffer);

    // An OpenCV allocator that takes its buffers from here. Set it on a
    // matrix before the matrix allocates.
    static cv::MatAllocator* matAllocator();

    // Bytes kept for reuse at most (default 1 GiB); lowering it frees the excess.
    static void setRetainLimit(size_t anBytes);
    static size_t retainLimit();
    static size_t retainedBytes();
    // Frees every kept buffer.
    static void trim();

    tcFrameMemory() = delete;
};
