#pragma once

#include <GenTL/GenTL.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace simcam
{

// An event object: a FIFO of fixed-size entries that threads wait on. It
// shares its owner's mutex, so that the owner can queue entries and take them
// back (flushes) atomically with its own state changes.
class tcEvent
{
public:
    using tfOnTake = std::function<void(const GenTL::EVENT_NEW_BUFFER_DATA&)>;

    tcEvent(GenTL::EVENT_TYPE anType, std::shared_ptr<std::mutex> apLock, tfOnTake afOnTake);

    GenTL::EVENT_TYPE type() const { return mnType; }

    // Owner side; the caller holds the shared lock.
    void pushLocked(const GenTL::EVENT_NEW_BUFFER_DATA& arEntry);
    void clearLocked();
    // Ends the object for good: every wait returns GC_ERR_ABORT, nothing else is delivered.
    void abortLocked();

    // Consumer side; these take the lock themselves and throw tcGenTLError.
    void getData(void* apBuffer, size_t* apSize, uint64_t anTimeout);
    void getInfo(GenTL::EVENT_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);
    void getDataInfo(const void* apInBuffer, size_t anInSize, GenTL::EVENT_DATA_INFO_CMD anCmd,
                     GenTL::INFO_DATATYPE* apType, void* apOutBuffer, size_t* apOutSize) const;
    void flush();
    void kill();

private:
    const GenTL::EVENT_TYPE mnType;
    std::shared_ptr<std::mutex> mpLock;
    std::condition_variable mcSignal;
    tfOnTake mfOnTake;
    std::deque<GenTL::EVENT_NEW_BUFFER_DATA> mcQueue;
    uint64_t mnFired = 0;
    uint32_t mnKills = 0;
    bool mbAborted = false;
};

} // namespace simcam
