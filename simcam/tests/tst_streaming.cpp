// Streaming through the producer as a consumer drives it: buffers, queues,
// events, acquisition modes, time-outs, fault injection and concurrent use.
#include "producerlibrary.h"
#include "simcamsession.h"

#include <QtTest>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace GenTL;

namespace
{

// Small frames keep the tests quick on every camera.
void smallRoi(tcSimCamSession& arSession, uint32_t anWidth = 64, uint32_t anHeight = 32)
{
    QCOMPARE(arSession.writeU32(simcamreg::Width, anWidth, true), GC_ERR_SUCCESS);
    QCOMPARE(arSession.writeU32(simcamreg::Height, anHeight, true), GC_ERR_SUCCESS);
}

template <typename taValue> taValue streamInfo(tcSimCamSession& arSession, STREAM_INFO_CMD anCmd)
{
    taValue lnValue{};
    INFO_DATATYPE lnType = 0;
    size_t lnSize = sizeof lnValue;
    arSession.mrLib.DSGetInfo(arSession.mhStream, anCmd, &lnType, &lnValue, &lnSize);
    return lnValue;
}

} // namespace

class tcStreamingTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void streamFramesEndToEnd_data();
    void streamFramesEndToEnd();
    void acquisitionModesStopByThemselves_data();
    void acquisitionModesStopByThemselves();
    void frameRateFollowsSettings();
    void flushModes();
    void bufferRules();
    void startStopRules();
    void bufferTooSmall();
    void eventTimeoutsAndKill();
    void eventFlushAndUnregister();
    void noChunksNoParts();
    void faultInjection_data();
    void faultInjection();
    void vanishingDevice();
    void concurrentPortAccessWhileStreaming();

private:
    std::unique_ptr<tcProducerLibrary> mpLib;
};

void tcStreamingTest::init()
{
    unsetenv("SIMCAM_FAULTS");
    mpLib = std::make_unique<tcProducerLibrary>();
    QVERIFY2(mpLib->loaded(), mpLib->loadError().c_str());
}

void tcStreamingTest::cleanup()
{
    unsetenv("SIMCAM_FAULTS");
}

void tcStreamingTest::streamFramesEndToEnd_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<bool>("ownMemory");
    QTest::addColumn<quint32>("pixelFormat");
    QTest::newRow("mono, producer memory") << 0 << false << quint32(0x01080001);
    QTest::newRow("mono, consumer memory") << 0 << true << quint32(0x01080001);
    QTest::newRow("colour, producer memory") << 1 << false << quint32(0x01080009);
    QTest::newRow("cmv50000, consumer memory") << 2 << true << quint32(0x010C0057);
}

void tcStreamingTest::streamFramesEndToEnd()
{
    QFETCH(int, device);
    QFETCH(bool, ownMemory);
    QFETCH(quint32, pixelFormat);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[device]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession);
    QCOMPARE(lcSession.writeU32(simcamreg::OffsetX, 32), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::OffsetY, 4), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeFrameRate(device == 2 ? 30.0 : 100.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 1000), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    bool8_t lbDefines = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 1;
    QCOMPARE(
        mpLib->DSGetInfo(lcSession.mhStream, STREAM_INFO_DEFINES_PAYLOADSIZE, &lnType, &lbDefines, &lnSize),
        GC_ERR_SUCCESS);
    QCOMPARE(lbDefines, bool8_t(1));
    const size_t lnPayload = lcSession.payloadSize();
    QCOMPARE(lnPayload, size_t(lcSession.u32(simcamreg::PayloadSize, true)));
    QCOMPARE(lcSession.announceAndQueue(4, lnPayload, ownMemory), GC_ERR_SUCCESS);
    QCOMPARE(streamInfo<size_t>(lcSession, STREAM_INFO_NUM_ANNOUNCED), size_t(4));
    QCOMPARE(streamInfo<size_t>(lcSession, STREAM_INFO_NUM_QUEUED), size_t(4));

    constexpr uint64_t Frames = 6;
    QCOMPARE(lcSession.startAcquisition(Frames), GC_ERR_SUCCESS);
    QCOMPARE(streamInfo<bool8_t>(lcSession, STREAM_INFO_IS_GRABBING), bool8_t(1));
    uint64_t lnLastStamp = 0;
    for (uint64_t lnFrame = 0; lnFrame < Frames; ++lnFrame)
    {
        BUFFER_HANDLE lhBuffer = nullptr;
        QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
        uint64_t lnFrameId = 99, lnStamp = 0, lnFormat = 0, lnNamespace = 0;
        size_t lnWidth = 0, lnHeight = 0, lnX = 0, lnY = 0, lnFilled = 0, lnBufferSize = 0;
        bool8_t lbIncomplete = 1, lbQueued = 1, lbNew = 0;
        void* lpPrivate = nullptr;
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_FRAMEID, lnFrameId), GC_ERR_SUCCESS);
        QCOMPARE(lnFrameId, lnFrame);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_WIDTH, lnWidth), GC_ERR_SUCCESS);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_HEIGHT, lnHeight), GC_ERR_SUCCESS);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_XOFFSET, lnX), GC_ERR_SUCCESS);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_YOFFSET, lnY), GC_ERR_SUCCESS);
        QCOMPARE(lnWidth, size_t(64));
        QCOMPARE(lnHeight, size_t(32));
        QCOMPARE(lnX, size_t(32));
        QCOMPARE(lnY, size_t(4));
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_PIXELFORMAT, lnFormat), GC_ERR_SUCCESS);
        QCOMPARE(lnFormat, uint64_t(pixelFormat));
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_PIXELFORMAT_NAMESPACE, lnNamespace),
                 GC_ERR_SUCCESS);
        QCOMPARE(lnNamespace, uint64_t(PIXELFORMAT_NAMESPACE_PFNC_32BIT));
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_IS_INCOMPLETE, lbIncomplete), GC_ERR_SUCCESS);
        QCOMPARE(lbIncomplete, bool8_t(0));
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_SIZE_FILLED, lnFilled), GC_ERR_SUCCESS);
        QCOMPARE(lnFilled, lnPayload);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_SIZE, lnBufferSize), GC_ERR_SUCCESS);
        QCOMPARE(lnBufferSize, lnPayload);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_IS_QUEUED, lbQueued), GC_ERR_SUCCESS);
        QCOMPARE(lbQueued, bool8_t(0)); // delivered: the consumer's now
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_NEW_DATA, lbNew), GC_ERR_SUCCESS);
        QCOMPARE(lbNew, bool8_t(1));
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_USER_PTR, lpPrivate), GC_ERR_SUCCESS);
        QVERIFY(lpPrivate != nullptr);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_TIMESTAMP, lnStamp), GC_ERR_SUCCESS);
        QVERIFY(lnStamp > lnLastStamp);
        lnLastStamp = lnStamp;
        void* lpBase = nullptr;
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_BASE, lpBase), GC_ERR_SUCCESS);
        QVERIFY(lpBase != nullptr);
        if (ownMemory)
        {
            const auto lpIndex = std::find(lcSession.mcBuffers.begin(), lcSession.mcBuffers.end(), lhBuffer);
            QVERIFY(lpIndex != lcSession.mcBuffers.end());
            QCOMPARE(lpBase,
                     static_cast<void*>(lcSession.mcOwnMemory[lpIndex - lcSession.mcBuffers.begin()].data()));
        }
        QCOMPARE(mpLib->DSQueueBuffer(lcSession.mhStream, lhBuffer), GC_ERR_SUCCESS);
    }
    // The engine stops by itself after the requested count; a stop is still due.
    BUFFER_HANDLE lhExtra = nullptr;
    QCOMPARE(lcSession.waitBuffer(lhExtra, 150), GC_ERR_TIMEOUT);
    QCOMPARE(streamInfo<bool8_t>(lcSession, STREAM_INFO_IS_GRABBING), bool8_t(0));
    QCOMPARE(streamInfo<uint64_t>(lcSession, STREAM_INFO_NUM_DELIVERED), Frames);
    QCOMPARE(streamInfo<uint64_t>(lcSession, STREAM_INFO_NUM_STARTED), uint64_t(1));
    // Revoking hands back the consumer's memory, and nothing for producer memory.
    QCOMPARE(mpLib->DSStopAcquisition(lcSession.mhStream, ACQ_STOP_FLAGS_DEFAULT), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_ALL_DISCARD), GC_ERR_SUCCESS);
    void* lpMemory = reinterpret_cast<void*>(1);
    void* lpPrivate = nullptr;
    QCOMPARE(mpLib->DSRevokeBuffer(lcSession.mhStream, lcSession.mcBuffers[0], &lpMemory, &lpPrivate),
             GC_ERR_SUCCESS);
    QCOMPARE(lpMemory, ownMemory ? static_cast<void*>(lcSession.mcOwnMemory[0].data()) : nullptr);
    QCOMPARE(lpPrivate, reinterpret_cast<void*>(1));
    lcSession.mcBuffers.erase(lcSession.mcBuffers.begin());
    QCOMPARE(streamInfo<size_t>(lcSession, STREAM_INFO_NUM_ANNOUNCED), size_t(3));
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 2), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, GENTL_INFINITE),
             GC_ERR_SUCCESS);
    QVERIFY(lcSession.tearDownStream());
}

void tcStreamingTest::acquisitionModesStopByThemselves_data()
{
    QTest::addColumn<quint32>("mode");
    QTest::addColumn<int>("expected");
    QTest::newRow("SingleFrame") << quint32(1) << 1;
    QTest::newRow("MultiFrame 3") << quint32(2) << 3;
}

void tcStreamingTest::acquisitionModesStopByThemselves()
{
    QFETCH(quint32, mode);
    QFETCH(int, expected);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession);
    QCOMPARE(lcSession.writeFrameRate(100.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 1000), GC_ERR_SUCCESS);
    const uint32_t lnConfig = lcSession.u32(simcamreg::AcquisitionConfig);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionConfig, (lnConfig & ~0xFu) | mode), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionFrameCount, 3), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.announceAndQueue(5, lcSession.payloadSize()), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.startAcquisition(), GC_ERR_SUCCESS);
    for (int lnFrame = 0; lnFrame < expected; ++lnFrame)
    {
        BUFFER_HANDLE lhBuffer = nullptr;
        QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
        uint64_t lnFrameId = 99;
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_FRAMEID, lnFrameId), GC_ERR_SUCCESS);
        QCOMPARE(lnFrameId, uint64_t(lnFrame));
    }
    BUFFER_HANDLE lhBuffer = nullptr;
    QCOMPARE(lcSession.waitBuffer(lhBuffer, 200), GC_ERR_TIMEOUT);
    QCOMPARE(lcSession.u32(simcamreg::Status, true) & 1u, 0u);                     // the camera has stopped
    QCOMPARE(streamInfo<bool8_t>(lcSession, STREAM_INFO_IS_GRABBING), bool8_t(1)); // the engine waits on
    // Another AcquisitionStart gives another run, counted from 0.
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 1), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
    uint64_t lnFrameId = 99;
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_FRAMEID, lnFrameId), GC_ERR_SUCCESS);
    QCOMPARE(lnFrameId, uint64_t(0));
    QVERIFY(lcSession.tearDownStream());
}

void tcStreamingTest::frameRateFollowsSettings()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.announceAndQueue(4, lcSession.payloadSize()), GC_ERR_SUCCESS);
    const auto lfSpan = [&](int anFrames)
    {
        BUFFER_HANDLE lhBuffer = nullptr;
        uint64_t lnFirst = 0, lnLast = 0;
        for (int lnFrame = 0; lnFrame < anFrames; ++lnFrame)
        {
            if (lcSession.waitBuffer(lhBuffer) != GC_ERR_SUCCESS)
            {
                return -1.0;
            }
            lcSession.bufferInfo(lhBuffer, BUFFER_INFO_TIMESTAMP_NS, lnFrame == 0 ? lnFirst : lnLast);
            mpLib->DSQueueBuffer(lcSession.mhStream, lhBuffer);
        }
        return double(lnLast - lnFirst) / 1e6 / (anFrames - 1);
    };
    // 25 frames/s: 40 ms apart by the device's time stamps, which mark when each
    // exposure was due, so a loaded host does not change them.
    QCOMPARE(lcSession.writeFrameRate(25.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 10000), GC_ERR_SUCCESS); // 1 ms
    QCOMPARE(lcSession.startAcquisition(), GC_ERR_SUCCESS);
    const double ldRatePeriod = lfSpan(5);
    QVERIFY2(ldRatePeriod >= 39.9, QByteArray::number(ldRatePeriod));
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 2), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSStopAcquisition(lcSession.mhStream, ACQ_STOP_FLAGS_DEFAULT), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_ALL_TO_INPUT), GC_ERR_SUCCESS);
    // A 60 ms exposure at 100 frames/s: the exposure sets the pace.
    QCOMPARE(lcSession.writeFrameRate(100.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 600000), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, GENTL_INFINITE),
             GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 1), GC_ERR_SUCCESS);
    const double ldExposurePeriod = lfSpan(4);
    QVERIFY2(ldExposurePeriod >= 59.9, QByteArray::number(ldExposurePeriod));
    QVERIFY(lcSession.tearDownStream());
}

void tcStreamingTest::flushModes()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession);
    QCOMPARE(lcSession.writeFrameRate(200.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 100), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.announceAndQueue(4, lcSession.payloadSize()), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->GCRegisterEvent(lcSession.mhStream, EVENT_NEW_BUFFER, &lcSession.mhEvent),
             GC_ERR_SUCCESS);
    const auto lfQueued = [&] { return streamInfo<size_t>(lcSession, STREAM_INFO_NUM_QUEUED); };
    const auto lfWaiting = [&] { return streamInfo<size_t>(lcSession, STREAM_INFO_NUM_AWAIT_DELIVERY); };

    // Input to output: every queued buffer is delivered, marked as holding no new data.
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_INPUT_TO_OUTPUT), GC_ERR_SUCCESS);
    QCOMPARE(lfQueued(), size_t(0));
    QCOMPARE(lfWaiting(), size_t(4));
    BUFFER_HANDLE lhBuffer = nullptr;
    QCOMPARE(lcSession.waitBuffer(lhBuffer, 0), GC_ERR_SUCCESS);
    bool8_t lbNew = 1;
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_NEW_DATA, lbNew), GC_ERR_SUCCESS);
    QCOMPARE(lbNew, bool8_t(0));
    size_t lnWidth = 0;
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_WIDTH, lnWidth), GC_ERR_NOT_AVAILABLE);
    QCOMPARE(lfWaiting(), size_t(3));
    // Output discard: the rest become unqueued, their events vanish.
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_OUTPUT_DISCARD), GC_ERR_SUCCESS);
    QCOMPARE(lfWaiting(), size_t(0));
    QCOMPARE(lcSession.waitBuffer(lhBuffer, 0), GC_ERR_TIMEOUT);
    // Unqueued to input: all four (three discarded, one delivered) go back.
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_UNQUEUED_TO_INPUT), GC_ERR_SUCCESS);
    QCOMPARE(lfQueued(), size_t(4));
    // Fill a few, deliver one, then all to input brings everything back.
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, 3), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 1), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
    QTRY_COMPARE_WITH_TIMEOUT(streamInfo<bool8_t>(lcSession, STREAM_INFO_IS_GRABBING), bool8_t(0), 3000);
    QCOMPARE(lfWaiting(), size_t(2));
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_ALL_TO_INPUT), GC_ERR_SUCCESS);
    QCOMPARE(lfQueued(), size_t(4));
    QCOMPARE(lfWaiting(), size_t(0));
    bool8_t lbQueued = 0;
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_IS_QUEUED, lbQueued), GC_ERR_SUCCESS);
    QCOMPARE(lbQueued, bool8_t(1));
    // All discard: nothing queued, everything may be revoked.
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_ALL_DISCARD), GC_ERR_SUCCESS);
    QCOMPARE(lfQueued(), size_t(0));
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, 99), GC_ERR_NOT_IMPLEMENTED);
    QVERIFY(lcSession.tearDownStream());
}

void tcStreamingTest::bufferRules()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    std::vector<uint8_t> lcMemory(4096);
    BUFFER_HANDLE lhBuffer = nullptr, lhOther = nullptr;
    QCOMPARE(
        mpLib->DSAnnounceBuffer(lcSession.mhStream, lcMemory.data(), lcMemory.size(), nullptr, &lhBuffer),
        GC_ERR_SUCCESS);
    // The same memory twice, or overlapping it.
    QCOMPARE(mpLib->DSAnnounceBuffer(lcSession.mhStream, lcMemory.data(), lcMemory.size(), nullptr, &lhOther),
             GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->DSAnnounceBuffer(lcSession.mhStream, lcMemory.data() + 100, 100, nullptr, &lhOther),
             GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->DSAnnounceBuffer(lcSession.mhStream, nullptr, 100, nullptr, &lhOther),
             GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DSAnnounceBuffer(lcSession.mhStream, lcMemory.data(), 0, nullptr, &lhOther),
             GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DSAllocAndAnnounceBuffer(lcSession.mhStream, 0, nullptr, &lhOther),
             GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DSAllocAndAnnounceBuffer(lcSession.mhStream, 64, nullptr, nullptr),
             GC_ERR_INVALID_PARAMETER);
    // Queued twice; revoking a queued buffer.
    QCOMPARE(mpLib->DSQueueBuffer(lcSession.mhStream, lhBuffer), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSQueueBuffer(lcSession.mhStream, lhBuffer), GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->DSRevokeBuffer(lcSession.mhStream, lhBuffer, nullptr, nullptr), GC_ERR_BUSY);
    // A buffer of another stream, or none at all.
    int lnNotABuffer = 0;
    QCOMPARE(mpLib->DSQueueBuffer(lcSession.mhStream, &lnNotABuffer), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->DSRevokeBuffer(lcSession.mhStream, nullptr, nullptr, nullptr), GC_ERR_INVALID_HANDLE);
    size_t lnSize = 0;
    QCOMPARE(lcSession.bufferInfo(&lnNotABuffer, BUFFER_INFO_SIZE, lnSize), GC_ERR_INVALID_HANDLE);
    QCOMPARE(lcSession.bufferInfo(lhBuffer, 555, lnSize), GC_ERR_NOT_IMPLEMENTED);
    // A buffer has no register map of its own.
    char lcByte;
    size_t lnOne = 1;
    QCOMPARE(mpLib->GCReadPort(lhBuffer, 0, &lcByte, &lnOne), GC_ERR_NOT_IMPLEMENTED);
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_ALL_DISCARD), GC_ERR_SUCCESS);
    void* lpMemory = nullptr;
    QCOMPARE(mpLib->DSRevokeBuffer(lcSession.mhStream, lhBuffer, &lpMemory, nullptr), GC_ERR_SUCCESS);
    QCOMPARE(lpMemory, static_cast<void*>(lcMemory.data()));
    QCOMPARE(mpLib->DSRevokeBuffer(lcSession.mhStream, lhBuffer, nullptr, nullptr), GC_ERR_INVALID_HANDLE);
}

void tcStreamingTest::startStopRules()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, 5),
             GC_ERR_INVALID_BUFFER);
    QCOMPARE(mpLib->DSStopAcquisition(lcSession.mhStream, ACQ_STOP_FLAGS_DEFAULT), GC_ERR_RESOURCE_IN_USE);
    smallRoi(lcSession);
    QCOMPARE(lcSession.announceAndQueue(2, lcSession.payloadSize()), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, 0),
             GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, 1234, 5), GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, GENTL_INFINITE),
             GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, GENTL_INFINITE),
             GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->DSStopAcquisition(lcSession.mhStream, 77), GC_ERR_INVALID_PARAMETER);
    QCOMPARE(mpLib->DSStopAcquisition(lcSession.mhStream, ACQ_STOP_FLAGS_KILL), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSStopAcquisition(lcSession.mhStream, ACQ_STOP_FLAGS_DEFAULT), GC_ERR_RESOURCE_IN_USE);
    // Closing a stream that still runs stops it and revokes its buffers.
    QCOMPARE(mpLib->DSStartAcquisition(lcSession.mhStream, ACQ_START_FLAGS_DEFAULT, GENTL_INFINITE),
             GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::AcquisitionCommand, 1), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSClose(lcSession.mhStream), GC_ERR_SUCCESS);
    lcSession.mhStream = nullptr;
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(streamInfo<size_t>(lcSession, STREAM_INFO_NUM_ANNOUNCED), size_t(0));
}

void tcStreamingTest::bufferTooSmall()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    const size_t lnPayload = lcSession.payloadSize();
    QCOMPARE(lcSession.announceAndQueue(2, lnPayload / 2 + 10), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.startAcquisition(1), GC_ERR_SUCCESS);
    BUFFER_HANDLE lhBuffer = nullptr;
    QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
    bool8_t lbIncomplete = 0, lbLarger = 0;
    size_t lnFilled = 0, lnDeliveredRows = 0;
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_IS_INCOMPLETE, lbIncomplete), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_DATA_LARGER_THAN_BUFFER, lbLarger), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_SIZE_FILLED, lnFilled), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_DELIVERED_IMAGEHEIGHT, lnDeliveredRows),
             GC_ERR_SUCCESS);
    QCOMPARE(lbIncomplete, bool8_t(1));
    QCOMPARE(lbLarger, bool8_t(1));
    QCOMPARE(lnFilled, lnPayload / 2 + 10); // what fits, and not a byte more
    QCOMPARE(lnDeliveredRows, size_t(16));
    QVERIFY(lcSession.tearDownStream());
}

void tcStreamingTest::eventTimeoutsAndKill()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    EVENT_HANDLE lhEvent = nullptr;
    QCOMPARE(mpLib->GCRegisterEvent(lcSession.mhStream, EVENT_NEW_BUFFER, &lhEvent), GC_ERR_SUCCESS);
    EVENT_HANDLE lhSecond = nullptr;
    QCOMPARE(mpLib->GCRegisterEvent(lcSession.mhStream, EVENT_NEW_BUFFER, &lhSecond), GC_ERR_RESOURCE_IN_USE);
    QCOMPARE(mpLib->GCRegisterEvent(lcSession.mhStream, EVENT_ERROR, &lhSecond), GC_ERR_NOT_IMPLEMENTED);
    QCOMPARE(mpLib->GCRegisterEvent(lcSession.mhDevice, EVENT_FEATURE_CHANGE, &lhSecond),
             GC_ERR_NOT_IMPLEMENTED);
    EVENT_NEW_BUFFER_DATA lcData{};
    size_t lnSize = sizeof lcData;
    // A time-out waits about as long as asked.
    const auto lcStart = std::chrono::steady_clock::now();
    QCOMPARE(mpLib->EventGetData(lhEvent, &lcData, &lnSize, 80), GC_ERR_TIMEOUT);
    QVERIFY(std::chrono::steady_clock::now() - lcStart >= std::chrono::milliseconds(75));
    QCOMPARE(mpLib->EventGetData(lhEvent, &lcData, &lnSize, 0), GC_ERR_TIMEOUT);
    lnSize = 8;
    QCOMPARE(mpLib->EventGetData(lhEvent, &lcData, &lnSize, 0), GC_ERR_BUFFER_TOO_SMALL);
    // EventKill ends exactly one wait, here one already blocking without limit.
    std::atomic<GC_ERROR> lnWaitResult{GC_ERR_SUCCESS};
    std::thread lcWaiter(
        [&]
        {
            EVENT_NEW_BUFFER_DATA lcMine{};
            size_t lnMine = sizeof lcMine;
            lnWaitResult = mpLib->EventGetData(lhEvent, &lcMine, &lnMine, GENTL_INFINITE);
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QCOMPARE(mpLib->EventKill(lhEvent), GC_ERR_SUCCESS);
    lcWaiter.join();
    QCOMPARE(GC_ERROR(lnWaitResult), GC_ERR_ABORT);
    // A kill with nobody waiting aborts the next wait, even with data queued.
    QCOMPARE(lcSession.announceAndQueue(1, 64), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_INPUT_TO_OUTPUT), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->EventKill(lhEvent), GC_ERR_SUCCESS);
    lnSize = sizeof lcData;
    QCOMPARE(mpLib->EventGetData(lhEvent, &lcData, &lnSize, 1000), GC_ERR_ABORT);
    QCOMPARE(mpLib->EventGetData(lhEvent, &lcData, &lnSize, 1000), GC_ERR_SUCCESS);
    QCOMPARE(lcData.BufferHandle, lcSession.mcBuffers[0]);
    QCOMPARE(lcData.pUserPointer, reinterpret_cast<void*>(1));
    // Event data and event info.
    INFO_DATATYPE lnType = 0;
    void* lpValue = nullptr;
    size_t lnValueSize = sizeof lpValue;
    QCOMPARE(mpLib->EventGetDataInfo(lhEvent, &lcData, sizeof lcData, EVENT_DATA_ID, &lnType, &lpValue,
                                     &lnValueSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lpValue, lcSession.mcBuffers[0]);
    QCOMPARE(mpLib->EventGetDataInfo(lhEvent, &lcData, 4, EVENT_DATA_ID, &lnType, &lpValue, &lnValueSize),
             GC_ERR_INVALID_PARAMETER);
    uint64_t lnFired = 0;
    lnValueSize = sizeof lnFired;
    QCOMPARE(mpLib->EventGetInfo(lhEvent, EVENT_NUM_FIRED, &lnType, &lnFired, &lnValueSize), GC_ERR_SUCCESS);
    QCOMPARE(lnFired, uint64_t(1));
    size_t lnMax = 0;
    lnValueSize = sizeof lnMax;
    QCOMPARE(mpLib->EventGetInfo(lhEvent, EVENT_SIZE_MAX, &lnType, &lnMax, &lnValueSize), GC_ERR_SUCCESS);
    QCOMPARE(lnMax, sizeof(EVENT_NEW_BUFFER_DATA));
    // Unregistering ends every wait and the handle.
    std::thread lcLateWaiter(
        [&]
        {
            EVENT_NEW_BUFFER_DATA lcMine{};
            size_t lnMine = sizeof lcMine;
            lnWaitResult = mpLib->EventGetData(lhEvent, &lcMine, &lnMine, 5000);
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    QCOMPARE(mpLib->GCUnregisterEvent(lcSession.mhStream, EVENT_NEW_BUFFER), GC_ERR_SUCCESS);
    lcLateWaiter.join();
    QCOMPARE(GC_ERROR(lnWaitResult), GC_ERR_ABORT);
    QCOMPARE(mpLib->EventKill(lhEvent), GC_ERR_INVALID_HANDLE);
    QCOMPARE(mpLib->GCUnregisterEvent(lcSession.mhStream, EVENT_NEW_BUFFER), GC_ERR_NOT_AVAILABLE);
}

void tcStreamingTest::eventFlushAndUnregister()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.announceAndQueue(3, 64), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->GCRegisterEvent(lcSession.mhStream, EVENT_NEW_BUFFER, &lcSession.mhEvent),
             GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DSFlushQueue(lcSession.mhStream, ACQ_QUEUE_INPUT_TO_OUTPUT), GC_ERR_SUCCESS);
    size_t lnInQueue = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = sizeof lnInQueue;
    QCOMPARE(mpLib->EventGetInfo(lcSession.mhEvent, EVENT_NUM_IN_QUEUE, &lnType, &lnInQueue, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnInQueue, size_t(3));
    // A NULL buffer takes one event and discards it: that buffer is the consumer's now.
    QCOMPARE(mpLib->EventGetData(lcSession.mhEvent, nullptr, nullptr, 0), GC_ERR_SUCCESS);
    QCOMPARE(streamInfo<size_t>(lcSession, STREAM_INFO_NUM_AWAIT_DELIVERY), size_t(2));
    QCOMPARE(mpLib->EventFlush(lcSession.mhEvent), GC_ERR_SUCCESS);
    QCOMPARE(streamInfo<size_t>(lcSession, STREAM_INFO_NUM_AWAIT_DELIVERY), size_t(0));
    for (BUFFER_HANDLE lhBuffer : lcSession.mcBuffers)
    {
        QCOMPARE(mpLib->DSRevokeBuffer(lcSession.mhStream, lhBuffer, nullptr, nullptr), GC_ERR_SUCCESS);
    }
    lcSession.mcBuffers.clear();
}

void tcStreamingTest::noChunksNoParts()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.announceAndQueue(1, 64), GC_ERR_SUCCESS);
    uint32_t lnParts = 0;
    size_t lnChunks = 0;
    QCOMPARE(mpLib->DSGetNumBufferParts(lcSession.mhStream, lcSession.mcBuffers[0], &lnParts),
             GC_ERR_NO_DATA);
    QCOMPARE(mpLib->DSGetBufferChunkData(lcSession.mhStream, lcSession.mcBuffers[0], nullptr, &lnChunks),
             GC_ERR_NO_DATA);
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 0;
    QCOMPARE(mpLib->DSGetBufferPartInfo(lcSession.mhStream, lcSession.mcBuffers[0], 0, BUFFER_PART_INFO_BASE,
                                        &lnType, nullptr, &lnSize),
             GC_ERR_NO_DATA);
    int lnNotABuffer = 0;
    QCOMPARE(mpLib->DSGetNumBufferParts(lcSession.mhStream, &lnNotABuffer, &lnParts), GC_ERR_INVALID_HANDLE);
    size_t lnPayloadType = 0;
    QCOMPARE(lcSession.bufferInfo(lcSession.mcBuffers[0], BUFFER_INFO_PAYLOADTYPE, lnPayloadType),
             GC_ERR_SUCCESS);
    QCOMPARE(lnPayloadType, size_t(PAYLOAD_TYPE_IMAGE));
}

void tcStreamingTest::faultInjection_data()
{
    QTest::addColumn<QString>("faults");
    QTest::newRow("DSGetBufferInfo fails on the 3rd call") << "DSGetBufferInfo=-1013@3";
    QTest::newRow("every port read fails") << "GCReadPort=-1010@*";
    QTest::newRow("2nd frame incomplete") << "incomplete@2";
    QTest::newRow("frames 2-3 oversized") << "oversize@2-3";
    QTest::newRow("wrong namespace from frame 2 on") << "namespace@2+";
    QTest::newRow("frames 2 and 4 dropped") << "drop@2,drop@4";
}

void tcStreamingTest::faultInjection()
{
    QFETCH(QString, faults);
    setenv("SIMCAM_FAULTS", faults.toLatin1().constData(), 1);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession);
    QCOMPARE(lcSession.writeFrameRate(100.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 100), GC_ERR_SUCCESS);
    if (faults.startsWith("GCReadPort"))
    {
        uint32_t lnValue = 0;
        for (int lnTry = 0; lnTry < 3; ++lnTry)
        {
            QCOMPARE(lcSession.readU32(simcamreg::Width, lnValue, true), GC_ERR_IO);
        }
        GC_ERROR lnCode = 0;
        char lcText[256];
        size_t lnSize = sizeof lcText;
        QCOMPARE(mpLib->GCGetLastError(&lnCode, lcText, &lnSize), GC_ERR_SUCCESS);
        QCOMPARE(lnCode, GC_ERR_IO);
        QVERIFY(std::string(lcText).find("SIMCAM_FAULTS") != std::string::npos);
        QCOMPARE(lcSession.writeU32(simcamreg::Width, 128, true), GC_ERR_SUCCESS); // writes are untouched
        return;
    }
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    const size_t lnPayload = lcSession.payloadSize();
    QCOMPARE(lcSession.announceAndQueue(4, lnPayload), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.startAcquisition(4), GC_ERR_SUCCESS);
    int lnInfoCalls = 0;
    std::vector<uint64_t> lsFrameIds;
    for (int lnFrame = 1; lnFrame <= 4; ++lnFrame)
    {
        BUFFER_HANDLE lhBuffer = nullptr;
        QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
        bool8_t lbIncomplete = 0;
        size_t lnWidth = 0, lnFilled = 0;
        uint64_t lnNamespace = 0;
        const GC_ERROR lnFirst = lcSession.bufferInfo(lhBuffer, BUFFER_INFO_IS_INCOMPLETE, lbIncomplete);
        const GC_ERROR lnSecond = lcSession.bufferInfo(lhBuffer, BUFFER_INFO_WIDTH, lnWidth);
        lnInfoCalls += 2;
        if (faults.startsWith("DSGetBufferInfo"))
        {
            // Calls 1 and 2 pass, call 3 fails with the chosen code, later ones pass.
            QCOMPARE(lnFirst, lnInfoCalls - 1 == 3 ? GC_ERROR(-1013) : GC_ERR_SUCCESS);
            QCOMPARE(lnSecond, GC_ERR_SUCCESS);
            continue;
        }
        QCOMPARE(lnFirst, GC_ERR_SUCCESS);
        QCOMPARE(lnSecond, GC_ERR_SUCCESS);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_SIZE_FILLED, lnFilled), GC_ERR_SUCCESS);
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_PIXELFORMAT_NAMESPACE, lnNamespace),
                 GC_ERR_SUCCESS);
        const bool lbIncompleteFrame = faults.startsWith("incomplete") && lnFrame == 2;
        const bool lbOversized = faults.startsWith("oversize") && (lnFrame == 2 || lnFrame == 3);
        const bool lbWrongNamespace = faults.startsWith("namespace") && lnFrame >= 2;
        QCOMPARE(bool(lbIncomplete), lbIncompleteFrame);
        QCOMPARE(lnFilled, lbIncompleteFrame ? lnPayload / 2 : lnPayload);
        QVERIFY(lbOversized ? lnWidth > 2048 : lnWidth == 64); // beyond the 2048-pixel sensor
        QCOMPARE(lnNamespace,
                 uint64_t(lbWrongNamespace ? PIXELFORMAT_NAMESPACE_IIDC : PIXELFORMAT_NAMESPACE_PFNC_32BIT));
        uint64_t lnFrameId = 0;
        QCOMPARE(lcSession.bufferInfo(lhBuffer, BUFFER_INFO_FRAMEID, lnFrameId), GC_ERR_SUCCESS);
        lsFrameIds.push_back(lnFrameId);
    }
    // Dropped frames use up their ids: the 2nd and 4th never arrive, so the
    // four delivered are the 1st, 3rd, 5th and 6th.
    const bool lbDropped = faults.startsWith("drop");
    for (size_t lnIndex = 1; lnIndex < lsFrameIds.size(); ++lnIndex)
        QCOMPARE(lsFrameIds[lnIndex] - lsFrameIds[lnIndex - 1], uint64_t(lbDropped && lnIndex < 3 ? 2 : 1));
    QVERIFY(lcSession.tearDownStream());
}

void tcStreamingTest::vanishingDevice()
{
    setenv("SIMCAM_FAULTS", "vanish@2", 1);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[1]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession);
    QCOMPARE(lcSession.writeFrameRate(100.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.writeU32(simcamreg::ExposureTimeRaw, 100), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.announceAndQueue(4, lcSession.payloadSize()), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.startAcquisition(), GC_ERR_SUCCESS);
    BUFFER_HANDLE lhBuffer = nullptr;
    QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
    // Gone: no more frames, no answers through the port.
    QCOMPARE(lcSession.waitBuffer(lhBuffer, 200), GC_ERR_TIMEOUT);
    uint32_t lnValue = 0;
    QCOMPARE(lcSession.readU32(simcamreg::Width, lnValue, true), GC_ERR_IO);
    int32_t lnStatus = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = sizeof lnStatus;
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_ACCESS_STATUS, &lnType, &lnStatus, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(lnStatus, int32_t(DEVICE_ACCESS_STATUS_NOACCESS));
    // The device list notices at its next update; the open handles stay valid.
    uint32_t lnCount = 0;
    QCOMPARE(mpLib->IFGetNumDevices(lcSession.mhInterface, &lnCount), GC_ERR_SUCCESS);
    QCOMPARE(lnCount, 3u);
    bool8_t lbChanged = 0;
    QCOMPARE(mpLib->IFUpdateDeviceList(lcSession.mhInterface, &lbChanged, 1000), GC_ERR_SUCCESS);
    QCOMPARE(lbChanged, bool8_t(1));
    QCOMPARE(mpLib->IFGetNumDevices(lcSession.mhInterface, &lnCount), GC_ERR_SUCCESS);
    QCOMPARE(lnCount, 2u);
    QCOMPARE(mpLib->IFUpdateDeviceList(lcSession.mhInterface, &lbChanged, 1000), GC_ERR_SUCCESS);
    QCOMPARE(lbChanged, bool8_t(0));
    QCOMPARE(mpLib->DSStopAcquisition(lcSession.mhStream, ACQ_STOP_FLAGS_DEFAULT), GC_ERR_SUCCESS);
    QCOMPARE(mpLib->DevClose(lcSession.mhDevice), GC_ERR_SUCCESS);
    lcSession.mhDevice = nullptr;
    DEV_HANDLE lhDevice = nullptr;
    QCOMPARE(mpLib->IFOpenDevice(lcSession.mhInterface, gcSimCamIds[1], DEVICE_ACCESS_CONTROL, &lhDevice),
             GC_ERR_INVALID_ID);
}

void tcStreamingTest::concurrentPortAccessWhileStreaming()
{
    // The acquisition thread waits on events while two others use the port,
    // as the GUI and a script do. Run under ThreadSanitizer this finds races.
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[2]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    smallRoi(lcSession, 256, 64);
    QCOMPARE(lcSession.writeFrameRate(30.0), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.announceAndQueue(4, lcSession.payloadSize()), GC_ERR_SUCCESS);
    QCOMPARE(lcSession.startAcquisition(), GC_ERR_SUCCESS);
    std::atomic<bool> lbStop{false};
    std::atomic<int> lnFailures{0};
    std::atomic<int> lnFrames{0};
    std::thread lcAcquisition(
        [&]
        {
            while (!lbStop)
            {
                EVENT_NEW_BUFFER_DATA lcData{};
                size_t lnSize = sizeof lcData;
                const GC_ERROR lnResult = mpLib->EventGetData(lcSession.mhEvent, &lcData, &lnSize, 100);
                if (lnResult == GC_ERR_SUCCESS)
                {
                    size_t lnWidth = 0;
                    lcSession.bufferInfo(lcData.BufferHandle, BUFFER_INFO_WIDTH, lnWidth);
                    mpLib->DSQueueBuffer(lcSession.mhStream, lcData.BufferHandle);
                    ++lnFrames;
                }
                else if (lnResult != GC_ERR_TIMEOUT)
                {
                    ++lnFailures;
                }
            }
        });
    const auto lfPortUser = [&](uint32_t anBank)
    {
        for (int lnRound = 0; lnRound < 200 && !lbStop; ++lnRound)
        {
            char lcModel[32];
            size_t lnSize = sizeof lcModel;
            if (mpLib->GCReadPort(lcSession.mhPort, simcamreg::ModelName, lcModel, &lnSize) != GC_ERR_SUCCESS)
            {
                ++lnFailures;
            }
            lcSession.writeU32(simcamreg::OffsetX, 16 * anBank);
            lcSession.writeFrameRate(20.0 + anBank);
        }
    };
    std::thread lcGui(lfPortUser, 1);
    std::thread lcScript(lfPortUser, 2);
    lcGui.join();
    lcScript.join();
    QTRY_VERIFY_WITH_TIMEOUT(lnFrames >= 3, 5000);
    lbStop = true;
    lcAcquisition.join();
    QCOMPARE(int(lnFailures), 0);
    QVERIFY(lcSession.tearDownStream());
}

QTEST_GUILESS_MAIN(tcStreamingTest)
#include "tst_streaming.moc"
