// The display filter on a full 7920 × 6004 frame of 12-bit samples, against
// a memcpy of the same bytes (the 16-bit samples the filter works on). Goal:
// all corrections on in under twice the memcpy; all off costs nothing.
#include "displayfilter.h"

#include <benchmark/benchmark.h>

#include <opencv2/core/utility.hpp>

#include <cstring>
#include <vector>

namespace
{
constexpr int kWidth = 7920;
constexpr int kHeight = 6004;
constexpr quint64 kMono12p = 0x010C0047;

// Packed 12-bit bytes of a smooth pattern with some noise, like a scene.
std::vector<uchar> packedScene()
{
    std::vector<uchar> lsBytes(size_t(kWidth) * kHeight * 3 / 2);
    uchar* lpByte = lsBytes.data();
    for (int lnY = 0; lnY < kHeight; ++lnY)
        for (int lnX = 0; lnX < kWidth; lnX += 2, lpByte += 3)
        {
            const unsigned lnFirst = ((lnX + lnY) * 3 + (lnX * 7919u % 97)) & 0x0FFF;
            const unsigned lnSecond = ((lnX + 1 + lnY) * 3 + ((lnX + 1) * 7919u % 97)) & 0x0FFF;
            lpByte[0] = uchar(lnFirst & 0xFF);
            lpByte[1] = uchar((lnFirst >> 8) | ((lnSecond & 0x0F) << 4));
            lpByte[2] = uchar(lnSecond >> 4);
        }
    return lsBytes;
}

struct tcFullFrame
{
    std::vector<uchar> msPacked = packedScene();
    tpImageBuffer mpImage = tcImageBuffer::newImage(msPacked.data(), kWidth, kHeight, kMono12p);
    // The filtered matrix as the camera delivered it, to start each round.
    cv::Mat mcPristine = mpImage->getFilteredData(false).clone();

    size_t bytes() const { return mcPristine.total() * mcPristine.elemSize(); }
    void restore() { mcPristine.copyTo(mpImage->getFilteredData(false)); }
};

tcFullFrame& frame()
{
    static tcFullFrame scFrame;
    return scFrame;
}

void setThreads(benchmark::State& arState)
{
    cv::setNumThreads(arState.range(0) == 0 ? -1 : int(arState.range(0)));
}

void BM_Memcpy(benchmark::State& arState)
{
    tcFullFrame& lrFrame = frame();
    std::vector<uchar> lsTarget(lrFrame.bytes());
    for (auto lcUnused : arState)
    {
        std::memcpy(lsTarget.data(), lrFrame.mcPristine.data, lsTarget.size());
        benchmark::ClobberMemory();
    }
    arState.SetBytesProcessed(int64_t(arState.iterations()) * int64_t(lsTarget.size()));
}

void runFilter(benchmark::State& arState, tcDisplayFilter& arFilter)
{
    tcFullFrame& lrFrame = frame();
    for (auto lcUnused : arState)
    {
        arState.PauseTiming();
        lrFrame.restore();
        arState.ResumeTiming();
        benchmark::DoNotOptimize(arFilter.filterImage(lrFrame.mpImage));
    }
    arState.SetBytesProcessed(int64_t(arState.iterations()) * int64_t(lrFrame.bytes()));
}

tcDisplayCorrection everything()
{
    tcDisplayCorrection lcCorrection;
    lcCorrection.mbGainEnabled = lcCorrection.mbBrightnessEnabled = lcCorrection.mbGammaEnabled = true;
    lcCorrection.mcGain = cv::Scalar(1.3, 1.3, 1.3, 1);
    lcCorrection.mcBrightness = cv::Scalar(0.05, 0.05, 0.05, 0);
    lcCorrection.mcGamma = cv::Scalar(0.8, 1, 1, 1);
    return lcCorrection;
}

// Gain, brightness, gamma and clip through the filter's look-up table.
void BM_DisplayFilter_AllOn(benchmark::State& arState)
{
    setThreads(arState);
    tcDisplayFilter lcFilter;
    const tcDisplayCorrection lcCorrection = everything();
    lcFilter.setGainEnabled(true);
    lcFilter.setBrightnessEnabled(true);
    lcFilter.setGammaEnabled(true);
    lcFilter.setGain(lcCorrection.mcGain);
    lcFilter.setBrightness(lcCorrection.mcBrightness);
    lcFilter.setGamma(lcCorrection.mcGamma);
    runFilter(arState, lcFilter);
    cv::setNumThreads(-1);
}

// The same corrections one after the other, as the table's definition.
void BM_DisplayCorrection_InSteps(benchmark::State& arState)
{
    setThreads(arState);
    tcFullFrame& lrFrame = frame();
    const tcDisplayCorrection lcCorrection = everything();
    for (auto lcUnused : arState)
    {
        arState.PauseTiming();
        lrFrame.restore();
        arState.ResumeTiming();
        lcCorrection.applyInSteps(lrFrame.mpImage->getFilteredData(false), 12);
    }
    arState.SetBytesProcessed(int64_t(arState.iterations()) * int64_t(lrFrame.bytes()));
    cv::setNumThreads(-1);
}

void BM_DisplayFilter_AllOff(benchmark::State& arState)
{
    tcDisplayFilter lcFilter;
    tcFullFrame& lrFrame = frame();
    for (auto lcUnused : arState)
        benchmark::DoNotOptimize(lcFilter.filterImage(lrFrame.mpImage));
}
} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
// Argument: worker threads of the filter (0 = OpenCV's default).
BENCHMARK(BM_DisplayFilter_AllOn)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DisplayCorrection_InSteps)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DisplayFilter_AllOff)->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
