// How long the user waits: from the program's start to its main window on
// screen (the fixed splash pause left out), and for "Open Device" on the
// sensor-evaluation camera, whose description is the largest (description
// fetch, node map, identity, parameters dialog, plugins).
#include "mainwindow.h"
#include "pluginmanager.h"
#include "settings.h"
#include "startup.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QSplashScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

namespace
{
constexpr double kSplashPauseSeconds = 0.5;

// The main window as soon as it is on screen; the splash may still be
// waiting for the window system to confirm it.
MainWindow* shownMainWindow()
{
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        if (auto* lpWindow = qobject_cast<MainWindow*>(lpWidget))
            if (lpWindow->isVisible())
                return lpWindow;
    return nullptr;
}

bool splashVisible()
{
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        if (qobject_cast<QSplashScreen*>(lpWidget) && lpWidget->isVisible())
            return true;
    return false;
}

// The bundled producer and an (empty) plugins folder, so that no question
// stops the start.
void writeIni(const QString& arPath, bool abOpenLast)
{
    QSettings lcIni(arPath, QSettings::IniFormat);
    lcIni.clear();
    const QString lsPlugins = QFileInfo(arPath).absolutePath() + QStringLiteral("/plugins");
    QDir().mkpath(lsPlugins);
    lcIni.setValue(tcPluginManager::pluginsDirKey(), lsPlugins);
    lcIni.setValue(QStringLiteral("GenTL/default_path"), QStringLiteral(KX_SIMCAM_PATH));
    lcIni.setValue(QStringLiteral("showUpdateNotifications"), false);
    lcIni.setValue(QStringLiteral("openLast"), abOpenLast);
    lcIni.setValue(QStringLiteral("lastDevice"), QStringLiteral("0,SimCam-Mono-0001"));
}

// The whole program: application object, log, settings, splash, main window,
// producer, plugins and (with openLast) the camera with its video window.
void BM_StartToMainWindow(benchmark::State& arState)
{
    const bool lbOpenLast = arState.range(0) != 0;
    QTemporaryDir lcDir;
    const QString lsIni = lcDir.filePath(QStringLiteral("bench.ini"));
    QByteArray lcLog = lcDir.filePath(QStringLiteral("bench.log")).toUtf8();
    QByteArray lcIniArg = lsIni.toUtf8();
    double ldApplication = 0;
    for (auto _ : arState)
    {
        writeIni(lsIni, lbOpenLast);
        std::vector<QByteArray> lcArgs{"kestrix", "-logfile", lcLog, "-inifile", lcIniArg};
        std::vector<char*> lcArgv;
        for (QByteArray& lrArg : lcArgs)
            lcArgv.push_back(lrArg.data());
        int lnArgc = static_cast<int>(lcArgv.size());
        QElapsedTimer lcClock;
        lcClock.start();
        double ldSeconds = 0;
        kestrixMain(lnArgc, lcArgv.data(),
                    [&]
                    {
                        ldApplication += lcClock.nsecsElapsed() / 1e6;
                        auto* lpTimer = new QTimer(qApp);
                        QObject::connect(lpTimer, &QTimer::timeout,
                                         [&]
                                         {
                                             MainWindow* lpWindow = shownMainWindow();
                                             if (!lpWindow)
                                                 return;
                                             if (ldSeconds == 0)
                                                 ldSeconds =
                                                     lcClock.nsecsElapsed() / 1e9 - kSplashPauseSeconds;
                                             // Closing quits the program: only from its own event loop.
                                             if (!splashVisible())
                                                 lpWindow->close();
                                         });
                        lpTimer->start(0);
                    });
        arState.SetIterationTime(ldSeconds);
    }
    // How much of it the application object alone took (fonts, platform).
    arState.counters["application_ms"] = ldApplication / static_cast<double>(arState.iterations());
}
BENCHMARK(BM_StartToMainWindow)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_OpenSensorCamera(benchmark::State& arState)
{
    QTemporaryDir lcDir;
    const QString lsIni = lcDir.filePath(QStringLiteral("open.ini"));
    writeIni(lsIni, false);
    {
        QSettings lcIni(lsIni, QSettings::IniFormat);
        lcIni.setValue(QStringLiteral("autoOpenVideoWidget"), false);
        lcIni.setValue(QStringLiteral("xmlDir"), lcDir.filePath(QStringLiteral("xml")));
    }
    int lnArgc = 1;
    char lcName[] = "kestrix";
    char* lpArgv[] = {lcName, nullptr};
    QApplication lcApp(lnArgc, lpArgv);
    tcSettings::setDefaultIniFile(lsIni);
    tcDebugSource::setSettingsFunc(&tcSettings::getQSettings);
    MainWindow lcWindow(false);
    lcWindow.startUp();
    for (auto _ : arState)
    {
        QElapsedTimer lcClock;
        lcClock.start();
        const bool lbOpen = lcWindow.OpenDevice(0, QStringLiteral("SimCam-CMV50000-0003"));
        QCoreApplication::processEvents();
        arState.SetIterationTime(lcClock.nsecsElapsed() / 1e9);
        if (!lbOpen)
        {
            arState.SkipWithError("the simulated camera did not open");
            break;
        }
        lcWindow.Close_Device();
    }
}
BENCHMARK(BM_OpenSensorCamera)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
