#pragma once

#include "patterngenerator.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace simcam
{

// One announced buffer and what the last frame left in it.
struct tcBuffer
{
    enum class teState
    {
        Unqueued, // announced, or delivered: the consumer's
        Input,    // queued, waiting to be filled
        Filling,
        Output // filled, waiting for delivery
    };

    struct tcFreeDeleter
    {
        void operator()(uint8_t* apMemory) const { std::free(apMemory); }
    };

    uint8_t* mpBase = nullptr;
    size_t mnSize = 0;
    void* mpPrivate = nullptr;
    std::unique_ptr<uint8_t, tcFreeDeleter> mcOwned; // set when the producer allocated it
    teState meState = teState::Unqueued;
    bool mbBeingWritten = false; // the generator writes outside the lock; no revoke meanwhile

    // The frame in the buffer; valid while mbHasFrame.
    bool mbHasFrame = false;
    bool mbNewData = false;
    bool mbIncomplete = false;
    bool mbLargerThanBuffer = false;
    bool mbOversize = false;       // injected: reports a size beyond the sensor
    bool mbWrongNamespace = false; // injected
    tcFrameGeometry mcGeometry;
    uint64_t mnFrameId = 0;
    uint64_t mnTimestamp = 0;
    size_t mnSizeFilled = 0;
};

} // namespace simcam
