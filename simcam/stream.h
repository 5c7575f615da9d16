#pragma once

#include "buffer.h"
#include "camera.h"
#include "event.h"
#include "modulemap.h"
#include "patterngenerator.h"

#include <GenTL/GenTL.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace simcam
{

class tcFaultInjector;

// The data stream of one device: announced buffers, the input pool and output
// queue, the new-buffer event and the thread that fills buffers with frames
// the camera releases.
class tcStream
{
public:
    tcStream(std::string acId, std::shared_ptr<tcCamera> apCamera, tcFaultInjector& arFaults);
    ~tcStream();
    tcStream(const tcStream&) = delete;
    tcStream& operator=(const tcStream&) = delete;

    const std::string& id() const { return msId; }

    GenTL::BUFFER_HANDLE announce(void* apMemory, size_t anSize, void* apPrivate);
    GenTL::BUFFER_HANDLE allocAndAnnounce(size_t anSize, void* apPrivate);
    void revoke(GenTL::BUFFER_HANDLE apBuffer, void** appMemory, void** appPrivate);
    void queue(GenTL::BUFFER_HANDLE apBuffer);
    void flush(GenTL::ACQ_QUEUE_TYPE anMode);
    void start(GenTL::ACQ_START_FLAGS anFlags, uint64_t anCount);
    void stop(GenTL::ACQ_STOP_FLAGS anFlags);
    GenTL::BUFFER_HANDLE bufferId(uint32_t anIndex);
    bool ownsBuffer(GenTL::BUFFER_HANDLE apBuffer);

    void info(GenTL::STREAM_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);
    void bufferInfo(GenTL::BUFFER_HANDLE apBuffer, GenTL::BUFFER_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                    void* apOut, size_t* apSize);
    // Single-image buffers only: no chunks and no parts.
    void checkBuffer(GenTL::BUFFER_HANDLE apBuffer);

    std::shared_ptr<tcEvent> registerEvent(GenTL::EVENT_TYPE anType);
    void unregisterEvent(GenTL::EVENT_TYPE anType);
    std::shared_ptr<tcEvent> event() const;
    // The stream's own port.
    tcModuleMap& portMap() { return mcPortMap; }

    // Stops acquisition, discards every queue and revokes every buffer.
    void shutDown();

private:
    tcBuffer& bufferLocked(GenTL::BUFFER_HANDLE apBuffer);
    GenTL::BUFFER_HANDLE add(std::unique_ptr<tcBuffer> apBuffer);
    void toOutputLocked(tcBuffer& arBuffer);
    void stopEngine(bool abKill);
    void run();
    bool fillOne(std::chrono::steady_clock::time_point acDue);

    const std::string msId;
    std::shared_ptr<tcCamera> mpCamera;
    tcFaultInjector& mrFaults;

    std::shared_ptr<std::mutex> mpLock;
    std::condition_variable mcWake;
    std::vector<std::unique_ptr<tcBuffer>> mcBuffers; // announce order
    std::deque<tcBuffer*> mcInput;
    std::deque<tcBuffer*> mcOutput;
    std::shared_ptr<tcEvent> mpEvent;

    bool mbStarted = false;  // between DSStartAcquisition and DSStopAcquisition
    bool mbGrabbing = false; // the engine runs (ends by itself after the requested count)
    bool mbStopEngine = false;
    bool mbKill = false;
    uint64_t mnToAcquire = 0;
    uint64_t mnDelivered = 0;
    uint64_t mnUnderruns = 0;
    uint64_t mnStarted = 0;
    uint64_t mnFramesMade = 0; // counts frames for injected frame faults
    std::thread mcThread;
    tcPatternGenerator mcGenerator; // used by the engine thread only
    tcModuleMap mcPortMap;
};

} // namespace simcam
