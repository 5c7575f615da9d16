// Speed of the simulated cameras: the generator alone (frames/s and CPU time
// per frame at full sensor size), and whole streams through the producer
// (frames delivered per second and the process's CPU use while streaming).
#include "patterngenerator.h"
#include "pixellayout.h"

#include <GenTL/GenTL.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <string>
#include <vector>

using namespace GenTL;

namespace
{

struct tcCameraCase
{
    const char* mpName;
    const char* mpDeviceId;
    uint32_t mnWidth;
    uint32_t mnHeight;
    uint32_t mnFormat;
    simcam::tePattern mePattern;
};

const tcCameraCase gcCases[] = {
    {"mono 2048x1536 Mono8", "SimCam-Mono-0001", 2048, 1536, 0x01080001, simcam::tePattern::DiagonalRamp},
    {"colour 1936x1216 BayerRG8", "SimCam-Color-0002", 1936, 1216, 0x01080009, simcam::tePattern::ColorBars},
    {"cmv50000 7920x6004 BayerGR12p", "SimCam-CMV50000-0003", 7920, 6004, 0x010C0057,
     simcam::tePattern::ColorBars},
};

double processCpuSeconds()
{
    timespec lcTime{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &lcTime);
    return double(lcTime.tv_sec) + double(lcTime.tv_nsec) * 1e-9;
}

void BM_Generator(benchmark::State& arState)
{
    const tcCameraCase& lrCase = gcCases[arState.range(0)];
    simcam::tcFrameGeometry lcGeometry;
    lcGeometry.mpLayout = simcam::findLayout(lrCase.mnFormat);
    lcGeometry.mnSensorWidth = lcGeometry.mnWidth = lrCase.mnWidth;
    lcGeometry.mnSensorHeight = lcGeometry.mnHeight = lrCase.mnHeight;
    lcGeometry.mePattern = lrCase.mePattern;
    std::vector<uint8_t> lcBuffer(lcGeometry.payloadSize());
    simcam::tcPatternGenerator lcGenerator;
    uint64_t lnFrame = 0;
    for (auto _ : arState)
    {
        benchmark::DoNotOptimize(lcGenerator.render(lcGeometry, lnFrame++, lcBuffer.data(), lcBuffer.size()));
        benchmark::ClobberMemory();
    }
    arState.SetLabel(lrCase.mpName);
    arState.SetItemsProcessed(int64_t(arState.iterations()));
    arState.SetBytesProcessed(int64_t(arState.iterations() * lcBuffer.size()));
}
BENCHMARK(BM_Generator)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The few entry points a streaming consumer needs, resolved by name.
struct tcProducer
{
    void* mpLibrary = dlopen(SIMCAM_PRODUCER_PATH, RTLD_NOW | RTLD_LOCAL);
    template <typename taFunction> taFunction get(const char* apName) const
    {
        return reinterpret_cast<taFunction>(dlsym(mpLibrary, apName));
    }
    ~tcProducer()
    {
        if (mpLibrary != nullptr)
        {
            dlclose(mpLibrary);
        }
    }
};

void BM_Stream(benchmark::State& arState)
{
    const tcCameraCase& lrCase = gcCases[arState.range(0)];
    tcProducer lcLib;
    if (lcLib.mpLibrary == nullptr)
    {
        arState.SkipWithError("simcam.cti not found");
        return;
    }
    const auto lfInit = lcLib.get<PGCInitLib>("GCInitLib");
    const auto lfClose = lcLib.get<PGCCloseLib>("GCCloseLib");
    const auto lfTLOpen = lcLib.get<PTLOpen>("TLOpen");
    const auto lfOpenIf = lcLib.get<PTLOpenInterface>("TLOpenInterface");
    const auto lfOpenDev = lcLib.get<PIFOpenDevice>("IFOpenDevice");
    const auto lfPort = lcLib.get<PDevGetPort>("DevGetPort");
    const auto lfWrite = lcLib.get<PGCWritePort>("GCWritePort");
    const auto lfOpenStream = lcLib.get<PDevOpenDataStream>("DevOpenDataStream");
    const auto lfGetInfo = lcLib.get<PDSGetInfo>("DSGetInfo");
    const auto lfAlloc = lcLib.get<PDSAllocAndAnnounceBuffer>("DSAllocAndAnnounceBuffer");
    const auto lfQueue = lcLib.get<PDSQueueBuffer>("DSQueueBuffer");
    const auto lfRegister = lcLib.get<PGCRegisterEvent>("GCRegisterEvent");
    const auto lfStart = lcLib.get<PDSStartAcquisition>("DSStartAcquisition");
    const auto lfWait = lcLib.get<PEventGetData>("EventGetData");

    lfInit();
    TL_HANDLE lhSystem = nullptr;
    IF_HANDLE lhInterface = nullptr;
    DEV_HANDLE lhDevice = nullptr;
    PORT_HANDLE lhPort = nullptr;
    DS_HANDLE lhStream = nullptr;
    EVENT_HANDLE lhEvent = nullptr;
    lfTLOpen(&lhSystem);
    lfOpenIf(lhSystem, "SimIF0", &lhInterface);
    lfOpenDev(lhInterface, lrCase.mpDeviceId, DEVICE_ACCESS_EXCLUSIVE, &lhDevice);
    lfPort(lhDevice, &lhPort);
    // As fast as the camera allows: its top frame rate and a short exposure.
    const double ldRates[] = {200.0, 200.0, 30.0};
    uint64_t lnBits = 0;
    std::memcpy(&lnBits, &ldRates[arState.range(0)], sizeof lnBits);
    uint8_t lcRate[8];
    for (int lnByte = 0; lnByte < 8; ++lnByte)
    {
        lcRate[lnByte] = uint8_t(lnBits >> (8 * (7 - lnByte)));
    }
    size_t lnSize = 8;
    lfWrite(lhPort, 0x0130, lcRate, &lnSize);
    const uint32_t lnExposure = 100; // 10 us
    lnSize = 4;
    lfWrite(lhPort, 0x0138, &lnExposure, &lnSize);
    lfOpenStream(lhDevice, "Stream0", &lhStream);
    size_t lnPayload = 0;
    INFO_DATATYPE lnType = 0;
    lnSize = sizeof lnPayload;
    lfGetInfo(lhStream, STREAM_INFO_PAYLOAD_SIZE, &lnType, &lnPayload, &lnSize);
    for (int lnBuffer = 0; lnBuffer < 4; ++lnBuffer)
    {
        BUFFER_HANDLE lhBuffer = nullptr;
        lfAlloc(lhStream, lnPayload, nullptr, &lhBuffer);
        lfQueue(lhStream, lhBuffer);
    }
    lfRegister(lhStream, EVENT_NEW_BUFFER, &lhEvent);
    lfStart(lhStream, ACQ_START_FLAGS_DEFAULT, GENTL_INFINITE);
    const uint32_t lnStartCommand = 1;
    lnSize = 4;
    lfWrite(lhPort, 0x0128, &lnStartCommand, &lnSize);

    // A few frames first, so that start-up does not count.
    for (int lnWarmUp = 0; lnWarmUp < 4; ++lnWarmUp)
    {
        EVENT_NEW_BUFFER_DATA lcData{};
        lnSize = sizeof lcData;
        if (lfWait(lhEvent, &lcData, &lnSize, 5000) == GC_ERR_SUCCESS)
        {
            lfQueue(lhStream, lcData.BufferHandle);
        }
    }
    const double ldCpuStart = processCpuSeconds();
    const auto lcWallStart = std::chrono::steady_clock::now();
    int64_t lnFrames = 0;
    for (auto _ : arState)
    {
        EVENT_NEW_BUFFER_DATA lcData{};
        lnSize = sizeof lcData;
        if (lfWait(lhEvent, &lcData, &lnSize, 5000) != GC_ERR_SUCCESS)
        {
            arState.SkipWithError("no frame");
            break;
        }
        lfQueue(lhStream, lcData.BufferHandle);
        ++lnFrames;
    }
    const double ldWall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - lcWallStart).count();
    const double ldCpu = processCpuSeconds() - ldCpuStart;
    arState.counters["fps"] = double(lnFrames) / ldWall;
    arState.counters["cpu_percent"] = 100.0 * ldCpu / ldWall;
    arState.counters["cpu_ms_per_frame"] = lnFrames > 0 ? 1000.0 * ldCpu / double(lnFrames) : 0.0;
    arState.SetLabel(lrCase.mpName);
    // Closing the library stops the stream and frees everything.
    lfClose();
}
BENCHMARK(BM_Stream)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
