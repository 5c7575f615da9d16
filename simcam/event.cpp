#include "event.h"

#include "gentlerror.h"
#include "infowriter.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace simcam
{

tcEvent::tcEvent(GenTL::EVENT_TYPE anType, std::shared_ptr<std::mutex> apLock, tfOnTake afOnTake)
    : mnType(anType), mpLock(std::move(apLock)), mfOnTake(std::move(afOnTake))
{
}

void tcEvent::pushLocked(const GenTL::EVENT_NEW_BUFFER_DATA& arEntry)
{
    if (mbAborted)
    {
        return;
    }
    mcQueue.push_back(arEntry);
    ++mnFired;
    mcSignal.notify_one();
}

void tcEvent::clearLocked()
{
    mcQueue.clear();
}

void tcEvent::abortLocked()
{
    mbAborted = true;
    mcQueue.clear();
    mcSignal.notify_all();
}

void tcEvent::getData(void* apBuffer, size_t* apSize, uint64_t anTimeout)
{
    require(apBuffer == nullptr || apSize != nullptr, GenTL::GC_ERR_INVALID_PARAMETER,
            "size pointer is NULL");
    require(apBuffer == nullptr || *apSize >= sizeof(GenTL::EVENT_NEW_BUFFER_DATA),
            GenTL::GC_ERR_BUFFER_TOO_SMALL,
            "event data needs " + std::to_string(sizeof(GenTL::EVENT_NEW_BUFFER_DATA)) + " bytes");
    std::unique_lock<std::mutex> lcGuard(*mpLock);
    const auto lfReady = [this] { return mbAborted || mnKills > 0 || !mcQueue.empty(); };
    if (anTimeout == GENTL_INFINITE)
    {
        mcSignal.wait(lcGuard, lfReady);
    }
    else
    {
        // Clamp absurd time-outs so that the deadline cannot overflow.
        const auto lcTimeout = std::chrono::milliseconds(std::min<uint64_t>(anTimeout, 1ull << 40));
        mcSignal.wait_for(lcGuard, lcTimeout, lfReady);
    }
    require(!mbAborted, GenTL::GC_ERR_ABORT, "event object was unregistered");
    if (mnKills > 0)
    {
        --mnKills;
        throw tcGenTLError(GenTL::GC_ERR_ABORT, "wait aborted by EventKill");
    }
    require(!mcQueue.empty(), GenTL::GC_ERR_TIMEOUT, "no event within " + std::to_string(anTimeout) + " ms");
    const GenTL::EVENT_NEW_BUFFER_DATA lcEntry = mcQueue.front();
    mcQueue.pop_front();
    if (apBuffer != nullptr)
    {
        std::memcpy(apBuffer, &lcEntry, sizeof lcEntry);
        *apSize = sizeof lcEntry;
    }
    if (mfOnTake)
    {
        mfOnTake(lcEntry);
    }
}

void tcEvent::getInfo(GenTL::EVENT_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer,
                      size_t* apSize)
{
    tcInfoWriter lcOut(apType, apBuffer, apSize);
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    switch (anCmd)
    {
    case GenTL::EVENT_EVENT_TYPE:
        lcOut.int32(mnType);
        break;
    case GenTL::EVENT_NUM_IN_QUEUE:
        lcOut.sizeT(mcQueue.size());
        break;
    case GenTL::EVENT_NUM_FIRED:
        lcOut.uint64(mnFired);
        break;
    case GenTL::EVENT_SIZE_MAX:
        lcOut.sizeT(sizeof(GenTL::EVENT_NEW_BUFFER_DATA));
        break;
    case GenTL::EVENT_INFO_DATA_SIZE_MAX:
        lcOut.sizeT(sizeof(void*));
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown event info command " + std::to_string(anCmd));
    }
}

void tcEvent::getDataInfo(const void* apInBuffer, size_t anInSize, GenTL::EVENT_DATA_INFO_CMD anCmd,
                          GenTL::INFO_DATATYPE* apType, void* apOutBuffer, size_t* apOutSize) const
{
    require(apInBuffer != nullptr, GenTL::GC_ERR_INVALID_PARAMETER, "event data pointer is NULL");
    require(anInSize >= sizeof(GenTL::EVENT_NEW_BUFFER_DATA), GenTL::GC_ERR_INVALID_PARAMETER,
            "event data is shorter than a new-buffer event");
    tcInfoWriter lcOut(apType, apOutBuffer, apOutSize);
    GenTL::EVENT_NEW_BUFFER_DATA lcEntry;
    std::memcpy(&lcEntry, apInBuffer, sizeof lcEntry);
    switch (anCmd)
    {
    case GenTL::EVENT_DATA_ID:
        lcOut.pointer(lcEntry.BufferHandle);
        break;
    case GenTL::EVENT_DATA_VALUE:
        lcOut.pointer(lcEntry.pUserPointer);
        break;
    case GenTL::EVENT_DATA_NUMID:
        throw tcGenTLError(GenTL::GC_ERR_NOT_AVAILABLE, "new-buffer events carry no numeric id");
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown event data command " + std::to_string(anCmd));
    }
}

void tcEvent::flush()
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    // Flushed new-buffer events discard their buffers: they leave the output queue.
    while (!mcQueue.empty())
    {
        const GenTL::EVENT_NEW_BUFFER_DATA lcEntry = mcQueue.front();
        mcQueue.pop_front();
        if (mfOnTake)
        {
            mfOnTake(lcEntry);
        }
    }
}

void tcEvent::kill()
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    ++mnKills;
    mcSignal.notify_one();
}

} // namespace simcam
