// Frames per second that reach a consumer which drops every frame at once,
// beside the rate at which the simulated producer generated them in the same
// run (from the span of frame ids), for a fast mono camera and for the full
// sensor-evaluation camera; and a soak of open, stream and close rounds.
//
// A camera that cannot be opened or streamed (a malformed description, say)
// is reported the way the program reports it, the benchmark is marked as
// failed and the program ends with exit code 1.
#include "camerainterface.h"
#include "descriptionloader.h"
#include "genicamiface.h"
#include "gentlinterface.h"
#include "producerbinding.h"
#include "settings.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

namespace
{
class tcQuiet : public tcDebugSource
{
public:
    tcQuiet() : tcDebugSource(QStringLiteral("bench"), -1) {}
};

struct tcRun
{
    quint64 mnDelivered = 0;
    quint64 mnFirstId = 0;
    quint64 mnLastId = 0;
    double mdSeconds = 0;
    QString msError; // why there was no run
};

bool gbFailed = false;

// Runs one camera; any failure ends up in the run's error text.
void streamCamera(const char* apDeviceId, double adSeconds, tcRun& arRun)
{
    QTemporaryDir lcDir;
    tcSettings::setDefaultIniFile(lcDir.filePath(QStringLiteral("bench.ini")));
    tcProducerBinding lcProducer;
    QObject::connect(&lcProducer, &tcProducerBinding::Error,
                     [&arRun](const QString& arError) { arRun.msError = arError; });
    if (!lcProducer.load(QStringLiteral(KX_SIMCAM_PATH)))
        return;
    tcGenTLInterface& lrBinding = *lcProducer.binding();
    if (!lrBinding.OpenDevice(0, QString::fromLatin1(apDeviceId)))
    {
        arRun.msError =
            QStringLiteral("GenTL is unable to open camera \"%1\"").arg(QLatin1String(apDeviceId));
        return;
    }
    tcCameraInterface lcCamera;
    tcQuiet lcTracer;
    const tcDeviceDescription lcDescription =
        tcDescriptionLoader::load(lrBinding, lcCamera.nodeMap(), lcDir.path(), lcTracer);
    if (!lcDescription.mbLoaded)
    {
        arRun.msError = lcDescription.msProblem;
        return;
    }
    if (!lrBinding.open(&lcCamera))
    {
        if (arRun.msError.isEmpty())
            arRun.msError =
                QStringLiteral("Application is Unable to open camera \"%1\"").arg(QLatin1String(apDeviceId));
        return;
    }
    lcCamera.SetDbgLevel(-1);
    tcDebugSource::SetDbgLevel(QStringLiteral("tcAcquisitionWorker"), -1);

    GenApi::CFloatPtr lpRate = lcCamera.nodeMap()._GetNode("AcquisitionFrameRate");
    lpRate->SetValue(lpRate->GetMax());
    GenApi::CFloatPtr lpExposure = lcCamera.nodeMap()._GetNode("ExposureTime");
    lpExposure->SetValue(lpExposure->GetMin());

    QObject::connect(&lcCamera, &tcCameraInterface::NewFrame,
                     [&arRun](tpImageBuffer apFrame)
                     {
                         if (!apFrame || apFrame->isNull())
                             return;
                         if (arRun.mnDelivered++ == 0)
                             arRun.mnFirstId = apFrame->getFrameId();
                         arRun.mnLastId = apFrame->getFrameId();
                     });
    QElapsedTimer lcClock;
    lcCamera.startVideo();
    lcClock.start();
    QEventLoop lcLoop;
    QTimer::singleShot(static_cast<int>(adSeconds * 1000), &lcLoop, &QEventLoop::quit);
    lcLoop.exec();
    arRun.mdSeconds = lcClock.elapsed() / 1000.0;
    lcCamera.stopVideo();
    lcCamera.close(&lrBinding);
    lrBinding.close();
}

// GenICam exceptions (a description that does not parse, a feature that is
// missing) are caught here and logged as the program logs them.
tcRun stream(const char* apDeviceId, double adSeconds)
{
    tcRun lcRun;
    try
    {
        streamCamera(apDeviceId, adSeconds, lcRun);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        lcRun.msError = QStringLiteral("%1:%2 %3")
                            .arg(QString::fromLatin1(arError.GetSourceFileName()))
                            .arg(arError.GetSourceLine())
                            .arg(QString::fromLatin1(arError.GetDescription()));
    }
    catch (...)
    {
        qWarning("Unhandled Execption");
        lcRun.msError = QStringLiteral("Unhandled Execption");
    }
    return lcRun;
}

// KX_BENCH_SECONDS stretches every run, for soak tests over minutes.
double seconds(double adDefault)
{
    bool lbOk = false;
    const double ldSeconds = qEnvironmentVariable("KX_BENCH_SECONDS").toDouble(&lbOk);
    return lbOk && ldSeconds > 0 ? ldSeconds : adDefault;
}

void report(benchmark::State& arState, const tcRun& arRun)
{
    if (!arRun.msError.isEmpty() || arRun.mdSeconds <= 0)
    {
        gbFailed = true;
        const QString lsError = arRun.msError.isEmpty() ? QStringLiteral("no frames") : arRun.msError;
        arState.SkipWithError(lsError.toLocal8Bit().constData());
        return;
    }
    const double ldGenerated = arRun.mnDelivered ? double(arRun.mnLastId - arRun.mnFirstId + 1) : 0.0;
    arState.counters["delivered_fps"] = arRun.mnDelivered / arRun.mdSeconds;
    arState.counters["generated_fps"] = ldGenerated / arRun.mdSeconds;
    arState.counters["delivered_share"] = ldGenerated > 0 ? arRun.mnDelivered / ldGenerated : 0.0;
    arState.counters["frames"] = static_cast<double>(arRun.mnDelivered);
}

void BM_Mono8_2048x1536(benchmark::State& arState)
{
    for (auto _ : arState)
        report(arState, stream("SimCam-Mono-0001", seconds(5.0)));
}
BENCHMARK(BM_Mono8_2048x1536)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

void BM_Bayer12p_7920x6004(benchmark::State& arState)
{
    for (auto _ : arState)
        report(arState, stream("SimCam-CMV50000-0003", seconds(8.0)));
}
BENCHMARK(BM_Bayer12p_7920x6004)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Resident memory of this process in kB, from the kernel's page counts.
double residentKb()
{
    QFile lcStatm(QStringLiteral("/proc/self/statm"));
    if (!lcStatm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> lsFields = lcStatm.readAll().split(' ');
    return lsFields.size() > 1 ? lsFields[1].toDouble() * (sysconf(_SC_PAGESIZE) / 1024.0) : 0;
}

// Rounds after which the caches of Qt, the allocator and the producer have
// settled; memory growth is counted from there.
constexpr int knSettlingRounds = 10;

// Soak: the whole round a user makes again and again (load the producer, open
// the camera, stream, stop, close, unload), KX_SOAK_CYCLES times (100 unless
// set, at least one more than the settling rounds); any round that fails
// counts.
void BM_SoakOpenStreamClose(benchmark::State& arState)
{
    bool lbOk = false;
    int lnCycles = qEnvironmentVariableIntValue("KX_SOAK_CYCLES", &lbOk);
    if (!lbOk || lnCycles <= knSettlingRounds)
        lnCycles = 100;
    for (auto _ : arState)
    {
        int lnFailures = 0;
        quint64 lnFrames = 0;
        double ldSettledKb = 0;
        QString lsFirstError;
        for (int lnCycle = 0; lnCycle < lnCycles; ++lnCycle)
        {
            const tcRun lcRun = stream("SimCam-Mono-0001", 0.1);
            lnFrames += lcRun.mnDelivered;
            if (!lcRun.msError.isEmpty() || lcRun.mnDelivered == 0)
            {
                ++lnFailures;
                if (lsFirstError.isEmpty())
                    lsFirstError = lcRun.msError.isEmpty() ? QStringLiteral("no frames") : lcRun.msError;
            }
            if (lnCycle + 1 == knSettlingRounds)
                ldSettledKb = residentKb();
        }
        arState.counters["cycles"] = lnCycles;
        arState.counters["failures"] = lnFailures;
        arState.counters["frames"] = static_cast<double>(lnFrames);
        const double ldEndKb = residentKb();
        arState.counters["rss_kB"] = ldEndKb;
        arState.counters["rss_growth_kB"] = ldEndKb - ldSettledKb;
        if (lnFailures > 0)
        {
            gbFailed = true;
            arState.SkipWithError(qPrintable(
                QStringLiteral("%1 of %2 rounds failed, first: %3").arg(lnFailures).arg(lnCycles).arg(lsFirstError)));
        }
    }
}
BENCHMARK(BM_SoakOpenStreamClose)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication lcApp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return gbFailed ? 1 : 0;
}
