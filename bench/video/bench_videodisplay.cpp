// The video display with a 7920 x 6004 Bayer 12p frame (47.5 MP) at display
// size, beside a memcpy of the frame's bytes and the frame's full conversion;
// then live streams from the simulated cameras through the acquisition worker
// into the video panel: frames generated, received, rendered and replaced
// before rendering, how late a 10 ms timer fires, and the CPU time used.
// Every figure carries the load average it was measured at (the machine is
// shared). KX_BENCH_SECONDS sets the stream length, KX_BENCH_THREADS=1
// renders without OpenCV's second thread.
#include "camerainterface.h"
#include "frameregion.h"
#include "framerenderer.h"
#include "glvideowidget.h"
#include "opencamera.h"
#include "videowidget.h"
#include "viewgeometry.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <opencv2/core/utility.hpp>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <vector>

namespace
{
const int gnWidth = 7920;
const int gnHeight = 6004;
const quint64 gnBayerGR12p = 0x010C0057u;
const QSize gcSurface(1920, 1080);

const std::vector<uchar>& sensorBytes()
{
    static const std::vector<uchar> scBytes = []
    {
        std::vector<uchar> lsBytes(size_t(gnWidth) * gnHeight * 3 / 2);
        std::mt19937 lcRandom(1);
        for (size_t lnIndex = 0; lnIndex < lsBytes.size(); lnIndex += 4)
        {
            const quint32 lnValue = lcRandom();
            std::memcpy(lsBytes.data() + lnIndex, &lnValue, std::min<size_t>(4, lsBytes.size() - lnIndex));
        }
        return lsBytes;
    }();
    return scBytes;
}

// CPU time of every thread of the process (render thread, OpenCV's workers,
// the producer), in milliseconds.
double processCpuMs()
{
    timespec lcTime{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &lcTime);
    return lcTime.tv_sec * 1e3 + lcTime.tv_nsec / 1e6;
}

// The machine is shared: every figure carries the one-minute load average
// it was measured at.
double loadAverage()
{
    std::ifstream lcFile("/proc/loadavg");
    double ldLoad = -1;
    lcFile >> ldLoad;
    return ldLoad;
}

// Counts the process's CPU time over a benchmark's iterations.
class tcCpuMeter
{
public:
    tcCpuMeter() : mdStart(processCpuMs()), mdLoad(loadAverage()) {}
    void report(benchmark::State& arState) const
    {
        arState.counters["cpu_ms"] =
            (processCpuMs() - mdStart) / double(std::max<int64_t>(1, arState.iterations()));
        arState.counters["load1"] = std::max(mdLoad, loadAverage());
    }

private:
    double mdStart;
    double mdLoad;
};

tpImageBuffer sensorFrame()
{
    return tcImageBuffer::newImage(const_cast<uchar*>(sensorBytes().data()), gnWidth, gnHeight, gnBayerGR12p);
}

void BM_Memcpy_Bayer12p(benchmark::State& arState)
{
    const std::vector<uchar>& lrSource = sensorBytes();
    std::vector<uchar> lsTarget(lrSource.size());
    const tcCpuMeter lcCpu;
    for (auto _ : arState)
    {
        std::memcpy(lsTarget.data(), lrSource.data(), lrSource.size());
        benchmark::DoNotOptimize(lsTarget.data());
    }
    arState.SetBytesProcessed(int64_t(arState.iterations()) * int64_t(lrSource.size()));
    lcCpu.report(arState);
}
BENCHMARK(BM_Memcpy_Bayer12p)->Unit(benchmark::kMillisecond)->UseRealTime();

// What showing a frame cost before: the whole frame unpacked, demosaiced and
// reduced to 8 bits.
void BM_FullConversion_Bayer12p(benchmark::State& arState)
{
    sensorBytes();
    const tcCpuMeter lcCpu;
    for (auto _ : arState)
    {
        tpImageBuffer lpFrame = sensorFrame();
        benchmark::DoNotOptimize(lpFrame->toQImage()->bits());
    }
    lcCpu.report(arState);
}
BENCHMARK(BM_FullConversion_Bayer12p)->Unit(benchmark::kMillisecond)->UseRealTime();

// The render thread's work for one frame in a 1920 x 1080 surface.
void renderView(benchmark::State& arState, const QRect& arZoom, bool abOneToOne)
{
    tcViewGeometry lcView;
    lcView.mcWidget = gcSurface;
    lcView.mcImage = QSize(gnWidth, gnHeight);
    lcView.mcZoom = arZoom;
    lcView.mbOneToOne = abOneToOne;
    const tcViewGeometry::tcPlan lcPlan = lcView.plan();
    tcRenderRequest lcRequest;
    lcRequest.mcSource = lcPlan.mcVisibleSource;
    lcRequest.mcSize = lcPlan.mcVisibleTarget.size();
    sensorBytes();
    const tcCpuMeter lcCpu;
    for (auto _ : arState)
    {
        lcRequest.mpFrame = sensorFrame();
        benchmark::DoNotOptimize(tcFrameRenderer::render(lcRequest).bits());
    }
    lcCpu.report(arState);
    arState.counters["source_mp"] = lcRequest.mcSource.width() * double(lcRequest.mcSource.height()) / 1e6;
    arState.counters["output_mp"] = lcRequest.mcSize.width() * double(lcRequest.mcSize.height()) / 1e6;
}

void BM_Render_Whole(benchmark::State& arState)
{
    renderView(arState, QRect(), false);
}
BENCHMARK(BM_Render_Whole)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Render_Zoom50(benchmark::State& arState)
{
    renderView(arState, QRect(1980, 1501, 3960, 3002), false);
}
BENCHMARK(BM_Render_Zoom50)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Render_Zoom25(benchmark::State& arState)
{
    renderView(arState, QRect(2970, 2251, 1980, 1501), false);
}
BENCHMARK(BM_Render_Zoom25)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Render_OneToOne(benchmark::State& arState)
{
    renderView(arState, QRect(), true);
}
BENCHMARK(BM_Render_OneToOne)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Render_Magnified4x(benchmark::State& arState)
{
    renderView(arState, QRect(3000, 2000, 480, 270), false);
}
BENCHMARK(BM_Render_Magnified4x)->Unit(benchmark::kMillisecond)->UseRealTime();

// With a display filter at work the frame's filtered matrix (16-bit RGB,
// built once here as the filter would) is what is shown.
void BM_Render_Whole_Filtered(benchmark::State& arState)
{
    tpImageBuffer lpFrame = sensorFrame();
    tcRenderRequest lcRequest;
    lcRequest.mpFrame = lpFrame;
    lcRequest.mcFiltered = lpFrame->getFilteredData(false);
    lcRequest.mcSource = QRect(0, 0, gnWidth, gnHeight);
    lcRequest.mcSize = QSize(1424, 1080);
    for (auto _ : arState)
        benchmark::DoNotOptimize(tcFrameRenderer::render(lcRequest).bits());
}
BENCHMARK(BM_Render_Whole_Filtered)->Unit(benchmark::kMillisecond)->UseRealTime();

// The block averaging alone, whole sensor in blocks of 4.
void BM_Binned_Whole(benchmark::State& arState)
{
    sensorBytes();
    const tcCpuMeter lcCpu;
    for (auto _ : arState)
    {
        tpImageBuffer lpFrame = sensorFrame();
        benchmark::DoNotOptimize(
            tcFrameRegion::binned(*lpFrame, cv::Rect(0, 0, gnWidth, gnHeight), 4).bits());
    }
    lcCpu.report(arState);
}
BENCHMARK(BM_Binned_Whole)->Unit(benchmark::kMillisecond)->UseRealTime();

// A frame through the surface, whole and zoomed: hand-over, rendering on the
// worker thread, and the GUI thread's paint into the window's backing store.
void paintSurface(benchmark::State& arState, const QRect& arZoom)
{
    tcGLVideoWidget lcSurface;
    lcSurface.resize(gcSurface);
    lcSurface.show();
    lcSurface.setFrame(sensorFrame());
    lcSurface.setZoomRect(arZoom.isNull() ? QRect(0, 0, gnWidth, gnHeight) : arZoom);
    lcSurface.waitForRendering(10000);
    QElapsedTimer lcPaint;
    double ldPaintMs = 0;
    double ldRenderMs = 0;
    const tcCpuMeter lcCpu;
    for (auto _ : arState)
    {
        lcSurface.setFrame(sensorFrame());
        lcSurface.waitForRendering(10000);
        ldRenderMs += lcSurface.lastRenderMs();
        lcPaint.start();
        lcSurface.repaint();
        ldPaintMs += lcPaint.nsecsElapsed() / 1e6;
    }
    lcCpu.report(arState);
    arState.counters["gui_paint_ms"] = ldPaintMs / double(arState.iterations());
    arState.counters["render_ms"] = ldRenderMs / double(arState.iterations());
}

void BM_Paint_Surface_Whole(benchmark::State& arState)
{
    paintSurface(arState, QRect());
}
BENCHMARK(BM_Paint_Surface_Whole)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Paint_Surface_Zoom25(benchmark::State& arState)
{
    paintSurface(arState, QRect(2970, 2251, 1980, 1501));
}
BENCHMARK(BM_Paint_Surface_Zoom25)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Paint_Surface_Magnified4x(benchmark::State& arState)
{
    paintSurface(arState, QRect(3000, 2000, 480, 270));
}
BENCHMARK(BM_Paint_Surface_Magnified4x)->Unit(benchmark::kMillisecond)->UseRealTime();

struct tcStreamRun
{
    quint64 mnDelivered = 0;
    quint64 mnFirstId = 0;
    quint64 mnLastId = 0;
    quint64 mnShown = 0;
    quint64 mnDropped = 0;
    double mdSeconds = 0;
    double mdCpuMs = 0;
    double mdLoad = 0;
    bool mbCounting = true;
    std::vector<double> msLateness;
};

double seconds(double adDefault)
{
    bool lbOk = false;
    const double ldSeconds = qEnvironmentVariable("KX_BENCH_SECONDS").toDouble(&lbOk);
    return lbOk && ldSeconds > 0 ? ldSeconds : adDefault;
}

enum class teView
{
    Whole,
    OneToOne,
    NotShown // the panel gets no frames: what the camera alone costs
};

// The simulated camera at a frame rate into a video panel whose surface is
// 1920 x 1080, wired as the main window wires it.
tcStreamRun stream(const char* apDeviceId, double adFrameRate, double adSeconds,
                   teView aeView = teView::Whole)
{
    tcStreamRun lcRun;
    tcOpenCamera lcOpen(apDeviceId);
    if (!lcOpen.mbOpen)
        return lcRun;
    tcCameraInterface& lcCamera = lcOpen.mcCamera;
    lcCamera.SetDbgLevel(-1);
    tcDebugSource::SetDbgLevel(QStringLiteral("tcAcquisitionWorker"), -1);
    GenApi::CFloatPtr lpRate = lcCamera.nodeMap()._GetNode("AcquisitionFrameRate");
    lpRate->SetValue(std::min(adFrameRate, lpRate->GetMax()));
    lcOpen.set("ExposureTime", GenApi::CFloatPtr(lcCamera.nodeMap()._GetNode("ExposureTime"))->GetMin());

    {
        tcVideoWidget lcPanel(&lcCamera, QList<tcViewerInterface*>());
        lcPanel.surface()->setFixedSize(gcSurface);
        lcPanel.surface()->setOne2One(aeView == teView::OneToOne);
        lcPanel.show();
        if (aeView != teView::NotShown)
            QObject::connect(&lcCamera, &tcCameraInterface::NewFrame, &lcPanel, &tcVideoWidget::NewFrame);
        QObject::connect(&lcCamera, &tcCameraInterface::NewFrame,
                         [&lcRun](tpImageBuffer apFrame)
                         {
                             if (!apFrame || !lcRun.mbCounting)
                                 return;
                             if (lcRun.mnDelivered++ == 0)
                                 lcRun.mnFirstId = apFrame->getFrameId();
                             lcRun.mnLastId = apFrame->getFrameId();
                         });
        // A timer of 10 ms: how late it fires tells how responsive the GUI is.
        QElapsedTimer lcTick;
        QTimer lcTimer;
        lcTimer.setTimerType(Qt::PreciseTimer);
        lcTimer.setInterval(10);
        QObject::connect(&lcTimer, &QTimer::timeout,
                         [&]
                         {
                             if (lcTick.isValid())
                                 lcRun.msLateness.push_back(
                                     std::max(0.0, lcTick.nsecsElapsed() / 1e6 - 10.0));
                             lcTick.start();
                         });
        QElapsedTimer lcClock;
        emit lcPanel.StartVideo();
        // The first frames include the stream's start; count from the second.
        QEventLoop lcLoop;
        QTimer::singleShot(500, &lcLoop, &QEventLoop::quit);
        lcLoop.exec();
        const quint64 lnShownBefore = lcPanel.surface()->shownFrames();
        const quint64 lnDroppedBefore = lcPanel.surface()->droppedFrames();
        lcRun.mnDelivered = 0;
        lcRun.mdLoad = loadAverage();
        const double ldCpuBefore = processCpuMs();
        lcClock.start();
        lcTimer.start();
        QTimer::singleShot(static_cast<int>(adSeconds * 1000), &lcLoop, &QEventLoop::quit);
        lcLoop.exec();
        lcRun.mdSeconds = lcClock.elapsed() / 1000.0;
        lcRun.mdCpuMs = processCpuMs() - ldCpuBefore;
        lcRun.mdLoad = std::max(lcRun.mdLoad, loadAverage());
        lcRun.mbCounting = false;
        lcRun.mnShown = lcPanel.surface()->shownFrames() - lnShownBefore;
        lcRun.mnDropped = lcPanel.surface()->droppedFrames() - lnDroppedBefore;
        lcTimer.stop();
        emit lcPanel.StopVideo();
        QTimer::singleShot(500, &lcLoop, &QEventLoop::quit);
        lcLoop.exec();
    }
    lcOpen.close();
    return lcRun;
}

// Frames the producer generated (the span of frame ids), the display received
// and rendered, and replaced before rendering, over the measured time.
void report(benchmark::State& arState, tcStreamRun& arRun)
{
    const double ldGenerated = arRun.mnDelivered ? double(arRun.mnLastId - arRun.mnFirstId + 1) : 0.0;
    arState.counters["generated"] = ldGenerated;
    arState.counters["received"] = double(arRun.mnDelivered);
    arState.counters["rendered"] = double(arRun.mnShown);
    arState.counters["dropped_by_display"] = double(arRun.mnDropped);
    arState.counters["generated_fps"] = ldGenerated / arRun.mdSeconds;
    arState.counters["rendered_share"] = ldGenerated > 0 ? arRun.mnShown / ldGenerated : 0.0;
    // Cores the whole process kept busy (producer, acquisition, GUI, render).
    arState.counters["cpu_cores"] = arRun.mdCpuMs / 1000.0 / arRun.mdSeconds;
    arState.counters["cpu_ms_per_frame"] =
        arRun.mnDelivered ? arRun.mdCpuMs / double(arRun.mnDelivered) : 0.0;
    arState.counters["load1"] = arRun.mdLoad;
    std::sort(arRun.msLateness.begin(), arRun.msLateness.end());
    if (!arRun.msLateness.empty())
    {
        arState.counters["timer_late_p95_ms"] = arRun.msLateness[arRun.msLateness.size() * 95 / 100];
        arState.counters["timer_late_max_ms"] = arRun.msLateness.back();
    }
}

// Names: camera, rate and (after the rate) the view; "NotShown" runs the same
// camera with nothing displayed, the producer's and the acquisition's own
// share of the machine to set beside the displayed runs; "OneToOne" shows a
// 1920 x 1080 part of each frame, converted exactly.
void BM_Stream(benchmark::State& arState, const char* apDeviceId, double adFrameRate, double adSeconds,
               teView aeView)
{
    for (auto _ : arState)
    {
        tcStreamRun lcRun = stream(apDeviceId, adFrameRate, seconds(adSeconds), aeView);
        report(arState, lcRun);
    }
}
BENCHMARK_CAPTURE(BM_Stream, Mono8_2048x1536_60fps, "SimCam-Mono-0001", 60.0, 5.0, teView::Whole)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stream, Bayer12p_7920x6004_30fps, "SimCam-CMV50000-0003", 30.0, 8.0, teView::Whole)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stream, Bayer12p_7920x6004_30fps_NotShown, "SimCam-CMV50000-0003", 30.0, 8.0,
                  teView::NotShown)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Stream, Bayer12p_7920x6004_30fps_OneToOne, "SimCam-CMV50000-0003", 30.0, 8.0,
                  teView::OneToOne)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication lcApp(argc, argv);
    tcSimcamFixture::useTemporarySettings();
    tcImageBuffer::registerMetaType();
    // KX_BENCH_THREADS=1 measures the rendering without OpenCV's second thread.
    bool lbThreads = false;
    const int lnThreads = qEnvironmentVariableIntValue("KX_BENCH_THREADS", &lbThreads);
    if (lbThreads && lnThreads > 0)
        cv::setNumThreads(lnThreads);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
