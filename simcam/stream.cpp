#include "stream.h"

#include "faultinjector.h"
#include "gentlerror.h"
#include "infowriter.h"
#include "moduleregisters.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace simcam
{

namespace
{

// A camera that does not acquire is looked at this often, so the first frame
// follows AcquisitionStart closely even at long frame periods.
constexpr std::chrono::milliseconds IdlePoll(2);

} // namespace

tcStream::tcStream(std::string acId, std::shared_ptr<tcCamera> apCamera, tcFaultInjector& arFaults)
    : msId(std::move(acId)), mpCamera(std::move(apCamera)), mrFaults(arFaults),
      mpLock(std::make_shared<std::mutex>()), mcPortMap(streamRegisters(*this))
{
}

tcStream::~tcStream()
{
    shutDown();
}

void tcStream::shutDown()
{
    stopEngine(true);
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    mbStarted = false;
    if (mpEvent)
    {
        mpEvent->abortLocked();
        mpEvent.reset();
    }
    mcInput.clear();
    mcOutput.clear();
    mcBuffers.clear();
}

tcBuffer& tcStream::bufferLocked(GenTL::BUFFER_HANDLE apBuffer)
{
    for (const std::unique_ptr<tcBuffer>& lpBuffer : mcBuffers)
    {
        if (lpBuffer.get() == apBuffer)
        {
            return *lpBuffer;
        }
    }
    throw tcGenTLError(GenTL::GC_ERR_INVALID_HANDLE, "buffer handle is not announced on this stream");
}

bool tcStream::ownsBuffer(GenTL::BUFFER_HANDLE apBuffer)
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    return std::any_of(mcBuffers.begin(), mcBuffers.end(),
                       [apBuffer](const std::unique_ptr<tcBuffer>& apOwn)
                       { return apOwn.get() == apBuffer; });
}

GenTL::BUFFER_HANDLE tcStream::add(std::unique_ptr<tcBuffer> apBuffer)
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    for (const std::unique_ptr<tcBuffer>& lpOther : mcBuffers)
    {
        const bool lbOverlap = apBuffer->mpBase < lpOther->mpBase + lpOther->mnSize &&
                               lpOther->mpBase < apBuffer->mpBase + apBuffer->mnSize;
        require(!lbOverlap, GenTL::GC_ERR_RESOURCE_IN_USE, "this memory is already announced on the stream");
    }
    mcBuffers.push_back(std::move(apBuffer));
    return mcBuffers.back().get();
}

GenTL::BUFFER_HANDLE tcStream::announce(void* apMemory, size_t anSize, void* apPrivate)
{
    require(apMemory != nullptr, GenTL::GC_ERR_INVALID_PARAMETER, "buffer memory is NULL");
    require(anSize > 0, GenTL::GC_ERR_INVALID_PARAMETER, "buffer size is 0");
    auto lpBuffer = std::make_unique<tcBuffer>();
    lpBuffer->mpBase = static_cast<uint8_t*>(apMemory);
    lpBuffer->mnSize = anSize;
    lpBuffer->mpPrivate = apPrivate;
    return add(std::move(lpBuffer));
}

GenTL::BUFFER_HANDLE tcStream::allocAndAnnounce(size_t anSize, void* apPrivate)
{
    require(anSize > 0, GenTL::GC_ERR_INVALID_PARAMETER, "buffer size is 0");
    constexpr size_t Alignment = 64;
    require(anSize <= SIZE_MAX - Alignment, GenTL::GC_ERR_OUT_OF_MEMORY, "buffer size too large");
    const size_t lnRounded = (anSize + Alignment - 1) / Alignment * Alignment;
    auto lpBuffer = std::make_unique<tcBuffer>();
    lpBuffer->mcOwned.reset(static_cast<uint8_t*>(std::aligned_alloc(Alignment, lnRounded)));
    require(lpBuffer->mcOwned != nullptr, GenTL::GC_ERR_OUT_OF_MEMORY,
            "cannot allocate " + std::to_string(anSize) + " bytes");
    // Touch every page now, as a driver pins its buffers when they are announced,
    // so that the first frames are not slowed down by page faults.
    std::memset(lpBuffer->mcOwned.get(), 0, lnRounded);
    lpBuffer->mpBase = lpBuffer->mcOwned.get();
    lpBuffer->mnSize = anSize;
    lpBuffer->mpPrivate = apPrivate;
    return add(std::move(lpBuffer));
}

void tcStream::revoke(GenTL::BUFFER_HANDLE apBuffer, void** appMemory, void** appPrivate)
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    tcBuffer& lrBuffer = bufferLocked(apBuffer);
    require(lrBuffer.meState == tcBuffer::teState::Unqueued && !lrBuffer.mbBeingWritten, GenTL::GC_ERR_BUSY,
            "buffer is queued or being filled; flush the queues first");
    void* lpMemory = lrBuffer.mcOwned ? nullptr : lrBuffer.mpBase;
    void* lpPrivate = lrBuffer.mpPrivate;
    mcBuffers.erase(std::find_if(mcBuffers.begin(), mcBuffers.end(),
                                 [apBuffer](const std::unique_ptr<tcBuffer>& apOwn)
                                 { return apOwn.get() == apBuffer; }));
    if (appMemory != nullptr)
    {
        *appMemory = lpMemory;
    }
    if (appPrivate != nullptr)
    {
        *appPrivate = lpPrivate;
    }
}

void tcStream::queue(GenTL::BUFFER_HANDLE apBuffer)
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    tcBuffer& lrBuffer = bufferLocked(apBuffer);
    require(lrBuffer.meState == tcBuffer::teState::Unqueued, GenTL::GC_ERR_RESOURCE_IN_USE,
            "buffer is already queued or awaiting delivery");
    lrBuffer.meState = tcBuffer::teState::Input;
    lrBuffer.mbHasFrame = false;
    lrBuffer.mbNewData = false;
    lrBuffer.mnSizeFilled = 0;
    mcInput.push_back(&lrBuffer);
}

void tcStream::toOutputLocked(tcBuffer& arBuffer)
{
    arBuffer.meState = tcBuffer::teState::Output;
    mcOutput.push_back(&arBuffer);
    if (mpEvent)
    {
        mpEvent->pushLocked({&arBuffer, arBuffer.mpPrivate});
    }
}

void tcStream::flush(GenTL::ACQ_QUEUE_TYPE anMode)
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    using teState = tcBuffer::teState;
    const auto lfDropOutput = [this]
    {
        for (tcBuffer* lpBuffer : mcOutput)
        {
            lpBuffer->meState = teState::Unqueued;
        }
        mcOutput.clear();
        if (mpEvent)
        {
            mpEvent->clearLocked();
        }
    };
    switch (anMode)
    {
    case GenTL::ACQ_QUEUE_INPUT_TO_OUTPUT:
        for (tcBuffer* lpBuffer : mcInput)
        {
            lpBuffer->mbNewData = false;
            lpBuffer->mbHasFrame = false;
            toOutputLocked(*lpBuffer);
        }
        mcInput.clear();
        break;
    case GenTL::ACQ_QUEUE_OUTPUT_DISCARD:
        lfDropOutput();
        break;
    case GenTL::ACQ_QUEUE_ALL_TO_INPUT:
        lfDropOutput();
        for (const std::unique_ptr<tcBuffer>& lpBuffer : mcBuffers)
        {
            if (lpBuffer->meState != teState::Input)
            {
                lpBuffer->meState = teState::Input;
                mcInput.push_back(lpBuffer.get());
            }
        }
        break;
    case GenTL::ACQ_QUEUE_UNQUEUED_TO_INPUT:
        for (const std::unique_ptr<tcBuffer>& lpBuffer : mcBuffers)
        {
            if (lpBuffer->meState == teState::Unqueued)
            {
                lpBuffer->meState = teState::Input;
                mcInput.push_back(lpBuffer.get());
            }
        }
        break;
    case GenTL::ACQ_QUEUE_ALL_DISCARD:
        lfDropOutput();
        for (const std::unique_ptr<tcBuffer>& lpBuffer : mcBuffers)
        {
            lpBuffer->meState = teState::Unqueued;
        }
        mcInput.clear();
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED, "unknown flush mode " + std::to_string(anMode));
    }
}

void tcStream::start(GenTL::ACQ_START_FLAGS anFlags, uint64_t anCount)
{
    require(anFlags == GenTL::ACQ_START_FLAGS_DEFAULT, GenTL::GC_ERR_INVALID_PARAMETER,
            "unknown start flags " + std::to_string(anFlags));
    require(anCount != 0, GenTL::GC_ERR_INVALID_PARAMETER, "0 frames to acquire");
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    require(!mbStarted, GenTL::GC_ERR_RESOURCE_IN_USE, "acquisition already started");
    require(!mcBuffers.empty(), GenTL::GC_ERR_INVALID_BUFFER, "no buffer announced");
    mbStarted = true;
    mbGrabbing = true;
    mbStopEngine = false;
    mbKill = false;
    mnToAcquire = anCount;
    ++mnStarted;
    mcThread = std::thread(&tcStream::run, this);
}

void tcStream::stopEngine(bool abKill)
{
    {
        std::lock_guard<std::mutex> lcGuard(*mpLock);
        mbStopEngine = true;
        mbKill = abKill;
        mcWake.notify_all();
    }
    if (mcThread.joinable())
    {
        mcThread.join();
    }
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    mbGrabbing = false;
}

void tcStream::stop(GenTL::ACQ_STOP_FLAGS anFlags)
{
    require(anFlags == GenTL::ACQ_STOP_FLAGS_DEFAULT || anFlags == GenTL::ACQ_STOP_FLAGS_KILL,
            GenTL::GC_ERR_INVALID_PARAMETER, "unknown stop flags " + std::to_string(anFlags));
    {
        std::lock_guard<std::mutex> lcGuard(*mpLock);
        require(mbStarted, GenTL::GC_ERR_RESOURCE_IN_USE, "acquisition is not started");
    }
    stopEngine(anFlags == GenTL::ACQ_STOP_FLAGS_KILL);
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    mbStarted = false;
}

void tcStream::run()
{
    using tcClock = std::chrono::steady_clock;
    auto lcNext = tcClock::now();
    std::unique_lock<std::mutex> lcGuard(*mpLock);
    while (!mbStopEngine)
    {
        mcWake.wait_until(lcGuard, lcNext, [this] { return mbStopEngine; });
        if (mbStopEngine)
        {
            break;
        }
        lcGuard.unlock();
        const auto lcNow = tcClock::now();
        if (!mpCamera->acquiring())
        {
            lcNext = lcNow + IdlePoll;
            lcGuard.lock();
            continue;
        }
        // Keep the camera's pace without bursts after a stall.
        const auto lcDue = lcNext;
        lcNext = std::max(lcNext + mpCamera->framePeriod(), lcNow);
        const bool lbMore = fillOne(lcDue);
        lcGuard.lock();
        if (!lbMore)
        {
            mbGrabbing = false;
            break;
        }
    }
}

bool tcStream::fillOne(std::chrono::steady_clock::time_point acDue)
{
    tcFrameTicket lcTicket;
    if (!mpCamera->takeFrame(lcTicket, acDue))
    {
        return true;
    }
    tcBuffer* lpBuffer = nullptr;
    uint64_t lnFrameNumber = 0;
    {
        std::lock_guard<std::mutex> lcGuard(*mpLock);
        if (mcInput.empty())
        {
            ++mnUnderruns;
            return true;
        }
        lnFrameNumber = ++mnFramesMade;
        if (mrFaults.hitsFrame(tcFaultInjector::teFrameFault::Drop, lnFrameNumber))
        {
            return true; // lost on the way: the frame id is used, the buffer stays queued
        }
        lpBuffer = mcInput.front();
        mcInput.pop_front();
        lpBuffer->meState = tcBuffer::teState::Filling;
        lpBuffer->mbBeingWritten = true;
    }
    using teFault = tcFaultInjector::teFrameFault;
    const size_t lnPayload = lcTicket.mcGeometry.payloadSize();
    size_t lnFilled =
        mcGenerator.render(lcTicket.mcGeometry, lcTicket.mnFrameId, lpBuffer->mpBase, lpBuffer->mnSize);
    bool lbIncomplete = lnFilled < lnPayload;
    if (mrFaults.hitsFrame(teFault::Incomplete, lnFrameNumber))
    {
        lnFilled /= 2;
        lbIncomplete = true;
    }
    if (mrFaults.hitsFrame(teFault::Vanish, lnFrameNumber))
    {
        mpCamera->vanish();
    }

    std::lock_guard<std::mutex> lcGuard(*mpLock);
    lpBuffer->mbBeingWritten = false;
    if (lpBuffer->meState != tcBuffer::teState::Filling)
    {
        return true; // flushed while being filled: the frame is lost
    }
    lpBuffer->mbHasFrame = true;
    lpBuffer->mbNewData = true;
    lpBuffer->mbIncomplete = lbIncomplete || mbKill;
    lpBuffer->mbLargerThanBuffer = lnPayload > lpBuffer->mnSize;
    lpBuffer->mbOversize = mrFaults.hitsFrame(teFault::Oversize, lnFrameNumber);
    lpBuffer->mbWrongNamespace = mrFaults.hitsFrame(teFault::Namespace, lnFrameNumber);
    lpBuffer->mcGeometry = lcTicket.mcGeometry;
    lpBuffer->mnFrameId = lcTicket.mnFrameId;
    lpBuffer->mnTimestamp = lcTicket.mnTimestamp;
    lpBuffer->mnSizeFilled = lnFilled;
    toOutputLocked(*lpBuffer);
    ++mnDelivered;
    if (mnToAcquire != GENTL_INFINITE && --mnToAcquire == 0)
    {
        return false;
    }
    return true;
}

GenTL::BUFFER_HANDLE tcStream::bufferId(uint32_t anIndex)
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    require(anIndex < mcBuffers.size(), GenTL::GC_ERR_INVALID_INDEX,
            "buffer index " + std::to_string(anIndex) + " beyond " + std::to_string(mcBuffers.size()) +
                " buffers");
    return mcBuffers[anIndex].get();
}

void tcStream::info(GenTL::STREAM_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer,
                    size_t* apSize)
{
    tcInfoWriter lcOut(apType, apBuffer, apSize);
    const size_t lnPayload = mpCamera->payloadSize();
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    switch (anCmd)
    {
    case GenTL::STREAM_INFO_ID:
        lcOut.string(msId);
        break;
    case GenTL::STREAM_INFO_NUM_DELIVERED:
        lcOut.uint64(mnDelivered);
        break;
    case GenTL::STREAM_INFO_NUM_UNDERRUN:
        lcOut.uint64(mnUnderruns);
        break;
    case GenTL::STREAM_INFO_NUM_ANNOUNCED:
        lcOut.sizeT(mcBuffers.size());
        break;
    case GenTL::STREAM_INFO_NUM_QUEUED:
        lcOut.sizeT(mcInput.size());
        break;
    case GenTL::STREAM_INFO_NUM_AWAIT_DELIVERY:
        lcOut.sizeT(mcOutput.size());
        break;
    case GenTL::STREAM_INFO_NUM_STARTED:
        lcOut.uint64(mnStarted);
        break;
    case GenTL::STREAM_INFO_PAYLOAD_SIZE:
        lcOut.sizeT(lnPayload);
        break;
    case GenTL::STREAM_INFO_IS_GRABBING:
        lcOut.bool8(mbGrabbing);
        break;
    case GenTL::STREAM_INFO_DEFINES_PAYLOADSIZE:
        lcOut.bool8(true);
        break;
    case GenTL::STREAM_INFO_TLTYPE:
        lcOut.string(TLTypeCustomName);
        break;
    case GenTL::STREAM_INFO_NUM_CHUNKS_MAX:
        lcOut.sizeT(0);
        break;
    case GenTL::STREAM_INFO_BUF_ANNOUNCE_MIN:
        lcOut.sizeT(1);
        break;
    case GenTL::STREAM_INFO_BUF_ALIGNMENT:
        lcOut.sizeT(1);
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown stream info command " + std::to_string(anCmd));
    }
}

void tcStream::bufferInfo(GenTL::BUFFER_HANDLE apBuffer, GenTL::BUFFER_INFO_CMD anCmd,
                          GenTL::INFO_DATATYPE* apType, void* apOut, size_t* apSize)
{
    tcInfoWriter lcOut(apType, apOut, apSize);
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    const tcBuffer& lrBuffer = bufferLocked(apBuffer);
    using teState = tcBuffer::teState;
    const tcFrameGeometry& lrGeometry = lrBuffer.mcGeometry;
    // Commands that describe the frame have no answer until a frame arrived.
    const auto lfFrame = [&lrBuffer]()
    { require(lrBuffer.mbHasFrame, GenTL::GC_ERR_NOT_AVAILABLE, "the buffer holds no frame"); };
    switch (anCmd)
    {
    case GenTL::BUFFER_INFO_BASE:
        lcOut.pointer(lrBuffer.mpBase);
        break;
    case GenTL::BUFFER_INFO_SIZE:
        lcOut.sizeT(lrBuffer.mnSize);
        break;
    case GenTL::BUFFER_INFO_USER_PTR:
        lcOut.pointer(lrBuffer.mpPrivate);
        break;
    case GenTL::BUFFER_INFO_TIMESTAMP:
    case GenTL::BUFFER_INFO_TIMESTAMP_NS:
        lfFrame();
        lcOut.uint64(lrBuffer.mnTimestamp);
        break;
    case GenTL::BUFFER_INFO_NEW_DATA:
        lcOut.bool8(lrBuffer.mbNewData);
        break;
    case GenTL::BUFFER_INFO_IS_QUEUED:
        lcOut.bool8(lrBuffer.meState != teState::Unqueued);
        break;
    case GenTL::BUFFER_INFO_IS_ACQUIRING:
        lcOut.bool8(lrBuffer.meState == teState::Filling);
        break;
    case GenTL::BUFFER_INFO_IS_INCOMPLETE:
        lcOut.bool8(lrBuffer.mbHasFrame && lrBuffer.mbIncomplete);
        break;
    case GenTL::BUFFER_INFO_TLTYPE:
        lcOut.string(TLTypeCustomName);
        break;
    case GenTL::BUFFER_INFO_SIZE_FILLED:
    case GenTL::BUFFER_INFO_DATA_SIZE:
        lcOut.sizeT(lrBuffer.mbHasFrame ? lrBuffer.mnSizeFilled : 0);
        break;
    case GenTL::BUFFER_INFO_WIDTH:
        lfFrame();
        // An injected oversize claims more than the sensor has.
        lcOut.sizeT(lrBuffer.mbOversize ? lrGeometry.mnSensorWidth + 16 : lrGeometry.mnWidth);
        break;
    case GenTL::BUFFER_INFO_HEIGHT:
        lfFrame();
        lcOut.sizeT(lrBuffer.mbOversize ? lrGeometry.mnSensorHeight + 16 : lrGeometry.mnHeight);
        break;
    case GenTL::BUFFER_INFO_XOFFSET:
        lfFrame();
        lcOut.sizeT(lrGeometry.mnOffsetX);
        break;
    case GenTL::BUFFER_INFO_YOFFSET:
        lfFrame();
        lcOut.sizeT(lrGeometry.mnOffsetY);
        break;
    case GenTL::BUFFER_INFO_XPADDING:
    case GenTL::BUFFER_INFO_YPADDING:
    case GenTL::BUFFER_INFO_IMAGEOFFSET:
    case GenTL::BUFFER_INFO_DELIVERED_CHUNKPAYLOADSIZE:
        lcOut.sizeT(0);
        break;
    case GenTL::BUFFER_INFO_FRAMEID:
        lfFrame();
        lcOut.uint64(lrBuffer.mnFrameId);
        break;
    case GenTL::BUFFER_INFO_IMAGEPRESENT:
        lcOut.bool8(lrBuffer.mbHasFrame);
        break;
    case GenTL::BUFFER_INFO_PAYLOADTYPE:
        lcOut.sizeT(GenTL::PAYLOAD_TYPE_IMAGE);
        break;
    case GenTL::BUFFER_INFO_PIXELFORMAT:
        lfFrame();
        lcOut.uint64(lrGeometry.mpLayout->mnCode);
        break;
    case GenTL::BUFFER_INFO_PIXELFORMAT_NAMESPACE:
        lfFrame();
        lcOut.uint64(lrBuffer.mbWrongNamespace ? GenTL::PIXELFORMAT_NAMESPACE_IIDC
                                               : GenTL::PIXELFORMAT_NAMESPACE_PFNC_32BIT);
        break;
    case GenTL::BUFFER_INFO_DELIVERED_IMAGEHEIGHT:
    {
        const size_t lnRow = lrBuffer.mbHasFrame ? lrGeometry.mpLayout->rowBytes(lrGeometry.mnWidth) : 0;
        lcOut.sizeT(lnRow == 0 ? 0 : std::min<size_t>(lrGeometry.mnHeight, lrBuffer.mnSizeFilled / lnRow));
        break;
    }
    case GenTL::BUFFER_INFO_CHUNKLAYOUTID:
        lcOut.uint64(0);
        break;
    case GenTL::BUFFER_INFO_FILENAME:
        throw tcGenTLError(GenTL::GC_ERR_NOT_AVAILABLE, "image buffers carry no file name");
    case GenTL::BUFFER_INFO_PIXEL_ENDIANNESS:
        lcOut.int32(GenTL::PIXELENDIANNESS_LITTLE);
        break;
    case GenTL::BUFFER_INFO_DATA_LARGER_THAN_BUFFER:
        lcOut.bool8(lrBuffer.mbHasFrame && lrBuffer.mbLargerThanBuffer);
        break;
    case GenTL::BUFFER_INFO_CONTAINS_CHUNKDATA:
        lcOut.bool8(false);
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown buffer info command " + std::to_string(anCmd));
    }
}

void tcStream::checkBuffer(GenTL::BUFFER_HANDLE apBuffer)
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    bufferLocked(apBuffer);
}

std::shared_ptr<tcEvent> tcStream::registerEvent(GenTL::EVENT_TYPE anType)
{
    require(anType == GenTL::EVENT_NEW_BUFFER, GenTL::GC_ERR_NOT_IMPLEMENTED,
            "a data stream only signals new buffers");
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    require(!mpEvent, GenTL::GC_ERR_RESOURCE_IN_USE, "new-buffer event already registered");
    // Taking an event delivers its buffer: it leaves the output queue for the consumer.
    mpEvent = std::make_shared<tcEvent>(anType, mpLock,
                                        [this](const GenTL::EVENT_NEW_BUFFER_DATA& arEntry)
                                        {
                                            const auto lpAt = std::find(mcOutput.begin(), mcOutput.end(),
                                                                        arEntry.BufferHandle);
                                            if (lpAt != mcOutput.end())
                                            {
                                                (*lpAt)->meState = tcBuffer::teState::Unqueued;
                                                mcOutput.erase(lpAt);
                                            }
                                        });
    return mpEvent;
}

void tcStream::unregisterEvent(GenTL::EVENT_TYPE anType)
{
    require(anType == GenTL::EVENT_NEW_BUFFER, GenTL::GC_ERR_NOT_IMPLEMENTED,
            "a data stream only signals new buffers");
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    require(mpEvent != nullptr, GenTL::GC_ERR_NOT_AVAILABLE, "no new-buffer event is registered");
    mpEvent->abortLocked();
    mpEvent.reset();
    for (tcBuffer* lpBuffer : mcOutput)
    {
        lpBuffer->meState = tcBuffer::teState::Unqueued;
    }
    mcOutput.clear();
}

std::shared_ptr<tcEvent> tcStream::event() const
{
    std::lock_guard<std::mutex> lcGuard(*mpLock);
    return mpEvent;
}

} // namespace simcam
