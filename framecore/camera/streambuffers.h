#pragma once

#include "genapifuncs.h"

#include <QHash>
#include <QList>

#include <atomic>
#include <memory>
#include <mutex>

class QObject;

// The GenTL buffers of one data stream and the frames that live on them.
// Frames hold a shared reference to it, so a frame released after its worker
// has gone still finds its way back, and one released after the stream was
// closed touches nothing of that stream.
class tcStreamBuffers
{
public:
    void open(void* apStream, const GenAPIFuncs& arFunctions);
    // Forgets the stream: later releases only update the bookkeeping.
    void close();
    void* stream() const;

    // A frame was handed out on this buffer.
    void lend(QObject* apFrame, void* apBuffer);
    // The frame is gone; its buffer goes back to the stream when that is open.
    // Returns the buffer, or null for a frame that was never lent.
    void* giveBack(QObject* apFrame);
    bool isLent(void* apBuffer) const;
    // A buffer replaced by a larger one while a frame still lives on it: it is
    // no longer queued when the frame goes, and waits to be revoked.
    void retire(void* apBuffer);
    // The retired buffers no frame holds any more; they leave the retired set.
    QList<void*> takeFreeRetired();
    int outstanding() const { return mnBuffersOut.load(); }
    QHash<QObject*, void*> lentBuffers() const;

private:
    bool isLentLocked(void* apBuffer) const;

    mutable std::mutex mcLock; // held for each map operation only
    void* mpStream = nullptr;
    GenAPIFuncs mcFunctions;
    QHash<QObject*, void*> mhImageBufferHash;
    QList<void*> msRetired;
    std::atomic<int> mnBuffersOut{0};
};

using tpStreamBuffers = std::shared_ptr<tcStreamBuffers>;
