// Cost of turning a full-size frame (7920 × 6004) of each pixel format into
// its raw matrix, its filtered matrix and a QImage, beside plain memcpy runs
// of the same sizes measured in the same process. The "x_memcpy" counter of
// each step is its time over the memcpy that step is held against:
//   raw      - memcpy of the raw matrix's bytes (no-copy formats: ~0)
//   filtered - memcpy of the filtered matrix's bytes
//   qimage   - memcpy of the QImage's bytes, for toQImage() alone
//   path     - memcpy of the QImage's bytes, for a fresh frame's whole way
//              from bytes to QImage

#include "imagebuffer.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace
{
constexpr int gnWidth = 7920;
constexpr int gnHeight = 6004;
constexpr qint64 gnPixels = static_cast<qint64>(gnWidth) * gnHeight;

using tcClock = std::chrono::steady_clock;

struct tsFormat
{
    const char* mpName;
    quint32 mnCode;
    int mnRawBytesPerPixel;      // of the raw matrix
    int mnFilteredBytesPerPixel; // of the filtered matrix
    int mnImageBytesPerPixel;    // of the QImage
};

const tsFormat gsFormats[] = {
    {"Mono8", 0x01080001u, 1, 1, 1},     {"Mono12p", 0x010C0047u, 2, 2, 1},
    {"Mono16", 0x01100007u, 2, 2, 1},    {"BayerRG8", 0x01080009u, 1, 3, 3},
    {"BayerRG12", 0x01100011u, 2, 6, 3}, {"BayerRG12p", 0x010C0059u, 2, 6, 3},
    {"RGB8", 0x02180014u, 3, 3, 3},
};

// Frame bytes of every format, made once: 12-bit content where the format
// holds 12 bits, so that nothing saturates unrealistically.
std::vector<quint16>& frameBytes(const tsFormat& arFormat)
{
    static std::map<quint32, std::vector<quint16>> shBytes;
    auto& lsBytes = shBytes[arFormat.mnCode];
    if (lsBytes.empty())
    {
        const tpImageBuffer lpProbe =
            tcImageBuffer::newImage(nullptr, gnWidth, gnHeight, quint64(arFormat.mnCode));
        lsBytes.resize((lpProbe->getNumDataBytes() + 1) / 2);
        quint32 lnState = 12345;
        for (quint16& lnWord : lsBytes)
        {
            lnState = lnState * 1664525u + 1013904223u;
            lnWord = static_cast<quint16>(lnState >> 16);
            if (arFormat.mnCode == 0x01100011u)
                lnWord &= 0x0FFF;
        }
    }
    return lsBytes;
}

tpImageBuffer newFrame(const tsFormat& arFormat)
{
    return tcImageBuffer::newImage(reinterpret_cast<uchar*>(frameBytes(arFormat).data()), gnWidth, gnHeight,
                                   quint64(arFormat.mnCode));
}

// Fastest of several memcpy runs between two warm buffers of the given size:
// the floor, so that load on the machine cannot make a step look cheaper.
double memcpySeconds(size_t anBytes)
{
    static std::map<size_t, double> shCache;
    auto lcFound = shCache.find(anBytes);
    if (lcFound != shCache.end())
        return lcFound->second;
    std::vector<char> lsFrom(anBytes, 1);
    std::vector<char> lsTo(anBytes, 2);
    std::vector<double> lsTimes;
    for (int lnRun = 0; lnRun < 15; ++lnRun)
    {
        const auto lcStart = tcClock::now();
        std::memcpy(lsTo.data(), lsFrom.data(), anBytes);
        benchmark::DoNotOptimize(lsTo.data());
        benchmark::ClobberMemory();
        lsTimes.push_back(std::chrono::duration<double>(tcClock::now() - lcStart).count());
    }
    std::sort(lsTimes.begin(), lsTimes.end());
    return shCache[anBytes] = lsTimes.front();
}

enum teStep
{
    eRaw,
    eFiltered,
    eQImage,
    ePath
};

void BM_Step(benchmark::State& arState, const tsFormat& arFormat, teStep aeStep)
{
    // One untimed frame first: a camera streams frames of one size, so the
    // steady state reuses the buffers of the previous frame.
    newFrame(arFormat)->toQImage();
    double ldTotal = 0.0;
    for (auto lcIgnored : arState)
    {
        // Each round starts from a fresh frame, as each camera frame does;
        // steps before the measured one are built outside the clock.
        tpImageBuffer lpFrame = newFrame(arFormat);
        if (aeStep == eFiltered || aeStep == eQImage)
            lpFrame->getRawData();
        if (aeStep == eQImage)
            lpFrame->getFilteredData(false);
        const auto lcStart = tcClock::now();
        switch (aeStep)
        {
        case eRaw:
            benchmark::DoNotOptimize(lpFrame->getRawData().data);
            break;
        case eFiltered:
            benchmark::DoNotOptimize(lpFrame->getFilteredData(false).data);
            break;
        case eQImage:
        case ePath:
            benchmark::DoNotOptimize(lpFrame->toQImage()->constBits());
            break;
        }
        const double ldSeconds = std::chrono::duration<double>(tcClock::now() - lcStart).count();
        ldTotal += ldSeconds;
        arState.SetIterationTime(ldSeconds);
    }
    const int lnReferenceBytesPerPixel = aeStep == eRaw        ? arFormat.mnRawBytesPerPixel
                                         : aeStep == eFiltered ? arFormat.mnFilteredBytesPerPixel
                                                               : arFormat.mnImageBytesPerPixel;
    const double ldReference = memcpySeconds(static_cast<size_t>(gnPixels * lnReferenceBytesPerPixel));
    arState.counters["x_memcpy"] = ldTotal / arState.iterations() / ldReference;
    arState.counters["memcpy_ms"] = ldReference * 1e3;
}

void BM_MemcpyFrameBytes(benchmark::State& arState, const tsFormat& arFormat)
{
    std::vector<quint16>& lsFrom = frameBytes(arFormat);
    std::vector<quint16> lsTo(lsFrom.size(), 0);
    for (auto lcIgnored : arState)
    {
        std::memcpy(lsTo.data(), lsFrom.data(), lsFrom.size() * sizeof(quint16));
        benchmark::DoNotOptimize(lsTo.data());
        benchmark::ClobberMemory();
    }
    arState.SetBytesProcessed(arState.iterations() * static_cast<int64_t>(lsFrom.size() * sizeof(quint16)));
}

// Other work on the machine only ever makes a run slower: the fastest of a
// few repetitions is the figure to compare.
double gfMinimum(const std::vector<double>& arValues)
{
    return *std::min_element(arValues.begin(), arValues.end());
}

const bool gbRegistered = []
{
    for (const tsFormat& lrFormat : gsFormats)
    {
        const std::string lsName = lrFormat.mpName;
        benchmark::RegisterBenchmark(("memcpy_frame/" + lsName).c_str(), BM_MemcpyFrameBytes, lrFormat)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(8);
        const std::pair<const char*, teStep> lsSteps[] = {{"getRawData", eRaw},
                                                          {"getFilteredData", eFiltered},
                                                          {"toQImage", eQImage},
                                                          {"wholePath", ePath}};
        for (const auto& lrStep : lsSteps)
            benchmark::RegisterBenchmark((std::string(lrStep.first) + "/" + lsName).c_str(), BM_Step,
                                         lrFormat, lrStep.second)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(6)
                ->Repetitions(3)
                ->ComputeStatistics("min", gfMinimum)
                ->ReportAggregatesOnly(true);
    }
    return true;
}();
} // namespace

BENCHMARK_MAIN();
