// The histogram of a full CMV50000 frame (7920 x 6004, 12 bits) against a
// plain copy of the frame's bytes: the plot of a histogram must cost about
// as little as looking at every byte once.
#include "imagestats.h"

#include <benchmark/benchmark.h>
#include <opencv2/core/utility.hpp>

#include <cstring>
#include <vector>

namespace
{
const int kWidth = 7920;
const int kHeight = 6004;
const quint64 kMono12p = 0x010C0047u;
const quint64 kMono16 = 0x01100007u;

// 12-bit samples (a ramp with some noise), packed or in 16-bit words.
std::vector<uchar> frameBytes(quint64 anFormat)
{
    const size_t lnPixels = size_t(kWidth) * kHeight;
    std::vector<uchar> lsBytes(anFormat == kMono12p ? lnPixels * 3 / 2 : lnPixels * 2);
    quint32 lnNoise = 12345;
    for (size_t lnIndex = 0; lnIndex < lsBytes.size(); ++lnIndex)
    {
        lnNoise = lnNoise * 1664525u + 1013904223u;
        lsBytes[lnIndex] = static_cast<uchar>(lnIndex / 7919 + (lnNoise >> 28));
    }
    if (anFormat == kMono16)
        for (size_t lnIndex = 1; lnIndex < lsBytes.size(); lnIndex += 2)
            lsBytes[lnIndex] &= 0x0F;
    return lsBytes;
}

void Memcpy(benchmark::State& arState)
{
    const std::vector<uchar> lsSource = frameBytes(static_cast<quint64>(arState.range(0)));
    std::vector<uchar> lsTarget(lsSource.size());
    for (auto _ : arState)
    {
        std::memcpy(lsTarget.data(), lsSource.data(), lsSource.size());
        benchmark::DoNotOptimize(lsTarget.data());
        benchmark::ClobberMemory();
    }
    arState.SetBytesProcessed(int64_t(arState.iterations()) * int64_t(lsSource.size()));
}
BENCHMARK(Memcpy)->Arg(kMono12p)->Arg(kMono16)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each iteration gets a new frame, as from the camera, whose filtered matrix
// nobody has built yet: the samples are counted where they lie, the packed
// ones straight from their bytes.
void HistogramOfNewFrame(benchmark::State& arState)
{
    std::vector<uchar> lsBytes = frameBytes(static_cast<quint64>(arState.range(0)));
    const int lnBins = static_cast<int>(arState.range(1));
    QVarLengthArray<double, 256> lcCentres, lcCounts;
    for (auto _ : arState)
    {
        tcImageStats lcStats(
            tcImageBuffer::newImage(lsBytes.data(), kWidth, kHeight, quint64(arState.range(0))));
        benchmark::DoNotOptimize(lcStats.ComputeHistogram(lnBins, 0, lcCentres, lcCounts));
    }
    arState.SetBytesProcessed(int64_t(arState.iterations()) * int64_t(lsBytes.size()));
}
BENCHMARK(HistogramOfNewFrame)
    ->Args({kMono12p, 1024})
    ->Args({kMono16, 1024})
    ->Args({kMono16, 4096})
    ->Args({kMono16, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// In the program the display has made the frame's filtered matrix before the
// statistics see the frame: this is what the histogram itself adds.
void HistogramOfShownFrame(benchmark::State& arState)
{
    std::vector<uchar> lsBytes = frameBytes(static_cast<quint64>(arState.range(0)));
    const int lnBins = static_cast<int>(arState.range(1));
    QVarLengthArray<double, 256> lcCentres, lcCounts;
    tcImageStats lcStats(tcImageBuffer::newImage(lsBytes.data(), kWidth, kHeight, quint64(arState.range(0))));
    lcStats.getImage()->getFilteredData(false);
    for (auto _ : arState)
        benchmark::DoNotOptimize(lcStats.ComputeHistogram(lnBins, 0, lcCentres, lcCounts));
    arState.SetBytesProcessed(int64_t(arState.iterations()) * int64_t(lsBytes.size()));
}
BENCHMARK(HistogramOfShownFrame)
    ->Args({kMono12p, 1024})
    ->Args({kMono12p, 4096})
    ->Args({kMono12p, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    // KX_BENCH_SEQUENTIAL=1 keeps all work in the calling thread, whose CPU
    // time then measures the whole work even on a busy machine.
    if (qEnvironmentVariableIntValue("KX_BENCH_SEQUENTIAL"))
        cv::setNumThreads(0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
