#include "camerainterface.h"
#include "cmdrunner.h"
#include "genicamiface.h"
#include "genicammodel.h"
#include "genicamparamsdialog.h"
#include "gentlplugin.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "pluginmanager.h"
#include "runnersignals.h"
#include "settings.h"
#include "simcamfixture.h"
#include "startup.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QSplashScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <vector>

namespace
{
// What one in-process run of the program saw.
struct tcRunResult
{
    int mnExitCode = -1;
    QStringList msBoxTexts;
    bool mbWindowShown = false;
    QString msWindowTitle;
    QString msStatusMessage;
    QStringList msPlugins;      // loaded from the folder beside the program
    QStringList msAboutPlugins; // names the "Plugins..." box lists
};

MainWindow* findMainWindow()
{
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        if (auto* lpWindow = qobject_cast<MainWindow*>(lpWidget))
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

// The program's command line, "kestrix" first, as argc and argv.
struct tcArguments
{
    explicit tcArguments(const QStringList& arArgs)
    {
        mlStore.push_back(QByteArray("kestrix"));
        for (const QString& lsArg : arArgs)
            mlStore.push_back(lsArg.toUtf8());
        for (QByteArray& lrArg : mlStore)
            mlArgv.push_back(lrArg.data());
        mnArgc = static_cast<int>(mlArgv.size());
    }
    char** argv() { return mlArgv.data(); }

    std::vector<QByteArray> mlStore;
    std::vector<char*> mlArgv;
    int mnArgc = 0;
};

// The program installs its own message handler; the test's comes back after.
struct tcHandlerGuard
{
    tcHandlerGuard() : mpPrevious(qInstallMessageHandler(nullptr)) { qInstallMessageHandler(mpPrevious); }
    ~tcHandlerGuard() { qInstallMessageHandler(mpPrevious); }
    QtMessageHandler mpPrevious;
};

// Runs the program with the given arguments. From inside its event loop the
// driver answers every message box, optionally raises a critical message from
// a worker thread once the window is up, and then closes the main window.
tcRunResult runProgram(const QStringList& arArgs, bool abRaiseCritical = false)
{
    tcRunResult lcResult;
    tcArguments lcArguments(arArgs);
    const tcHandlerGuard lcHandler;

    bool lbCriticalSent = false;
    lcResult.mnExitCode = kestrixMain(
        lcArguments.mnArgc, lcArguments.argv(),
        [&]
        {
            auto* lpTimer = new QTimer(qApp);
            QObject::connect(
                lpTimer, &QTimer::timeout,
                [&]
                {
                    if (auto* lpBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    {
                        lcResult.msBoxTexts << lpBox->windowTitle() + QLatin1Char('|') + lpBox->text();
                        lpBox->accept();
                        return;
                    }
                    MainWindow* lpWindow = findMainWindow();
                    if (!lpWindow || !lpWindow->isVisible() || splashVisible())
                        return;
                    lcResult.mbWindowShown = true;
                    lcResult.msWindowTitle = lpWindow->windowTitle();
                    if (abRaiseCritical && !lbCriticalSent)
                    {
                        lbCriticalSent = true;
                        QThread* lpWorker = QThread::create([] { qCritical("worker failed"); });
                        QObject::connect(lpWorker, &QThread::finished, lpWorker, &QObject::deleteLater);
                        lpWorker->start();
                        return;
                    }
                    if (abRaiseCritical && lcResult.msBoxTexts.isEmpty())
                        return;
                    lcResult.msStatusMessage = lpWindow->statusBar()->currentMessage();
                    for (tcGenTLPlugin* lpPlugin : tcPluginManager::getInstance()->getAllPlugins())
                        lcResult.msPlugins << lpPlugin->name();
                    if (auto* lpAction = lpWindow->findChild<QAction*>(QStringLiteral("actionPlugins")))
                    {
                        lpAction->trigger();
                        if (auto* lpAbout =
                                lpWindow->findChild<QDialog*>(QStringLiteral("tcAboutPluginsDialog")))
                        {
                            auto* lpList = lpAbout->findChild<QTreeWidget*>(QStringLiteral("pluginList"));
                            for (int lnRow = 0; lpList && lnRow < lpList->topLevelItemCount(); ++lnRow)
                                lcResult.msAboutPlugins << lpList->topLevelItem(lnRow)->text(0);
                        }
                    }
                    lpWindow->close();
                });
            lpTimer->start(20);
        });

    return lcResult;
}

QString frameInfo(QWidget* apVideo)
{
    auto* lpInfo = apVideo ? apVideo->findChild<QLabel*>(QStringLiteral("labelInfo")) : nullptr;
    return lpInfo ? lpInfo->text() : QString();
}

int renderedFrames(QWidget* apVideo)
{
    const QRegularExpressionMatch lcMatch =
        QRegularExpression(QStringLiteral("\\[(\\d+) rendered[],]")).match(frameInfo(apVideo));
    return lcMatch.hasMatch() ? lcMatch.captured(1).toInt() : 0;
}

// What the newcomer's run saw, step by step.
struct tcNewcomerRun
{
    int mnExitCode = -1;
    QStringList msBoxes;
    int mnDevicesListed = -1;
    QString msTitle;
    QString msFrames;
    bool mbParamsShown = false;
    double mdExposureBefore = 0;
    double mdExposureAfter = 0;
    QList<int> mlProgress;
    QList<QVariant> mlDone;
    QString msFailure; // the first step that did not happen
};

// Starts the program on the given INI and plays the user: opens the camera
// through "Open Device" (unless the program opens it by itself), waits for
// live video, edits the exposure in "Camera Settings...", runs a script
// through "Run Script..." and closes the window.
tcNewcomerRun runNewcomer(const QStringList& arArgs, const QString& arScript, bool abExpectAutoOpen)
{
    tcNewcomerRun lcRun;
    tcArguments lcArguments(arArgs);
    const tcHandlerGuard lcHandler;

    tcModalDriver* lpDriver = nullptr;
    auto lcPlay = [&]
    {
        auto lcStep = [&](bool abDone, const char* apWhat)
        {
            if (!abDone && lcRun.msFailure.isEmpty())
                lcRun.msFailure = QString::fromLatin1(apWhat);
            return abDone;
        };
        MainWindow* lpWindow = nullptr;
        const bool lbShown = QTest::qWaitFor(
            [&]
            {
                lpWindow = findMainWindow();
                return lpWindow && lpWindow->isVisible() && !splashVisible();
            },
            20000);
        if (!lcStep(lbShown, "main window shown"))
        {
            if (lpWindow)
                lpWindow->close();
            else
                QCoreApplication::exit(3);
            return;
        }
        if (!abExpectAutoOpen)
        {
            lpDriver->msDevice = QString::fromLatin1(tnSimcam::kMonoId);
            lpWindow->findChild<QAction*>(QStringLiteral("actionOpen_Device"))->trigger();
        }
        lcRun.mnDevicesListed = lpDriver->mnDeviceRows;
        lcRun.msTitle = lpWindow->windowTitle();
        if (lcStep(lpWindow->camera() && !lpWindow->videoWindows().isEmpty(),
                   "camera open with video window"))
        {
            QWidget* lpVideo = lpWindow->videoWindows().first();
            lcStep(QTest::qWaitFor([&] { return renderedFrames(lpVideo) >= 5; }, 10000), "live video");
            lcRun.msFrames = frameInfo(lpVideo);

            tcGenICamIface* lpNodes = lpWindow->camera()->getGenICamIface();
            lcRun.mdExposureBefore = lpNodes->data(QStringLiteral("ExposureTime")).toDouble();
            lpWindow->findChild<QAction*>(QStringLiteral("actionGenApiSettings"))->trigger();
            auto* lpParams = lpWindow->findChild<tcGenICamParamsDialog*>();
            lcRun.mbParamsShown = lpParams && lpParams->isVisible();
            if (lcStep(lcRun.mbParamsShown, "parameters dialog"))
            {
                QAbstractItemModel* lpModel = lpParams->model().data();
                const QModelIndexList lcFound =
                    lpModel->match(lpModel->index(0, 0), Qt::DisplayRole, QStringLiteral("ExposureTime"), 1,
                                   Qt::MatchExactly | Qt::MatchRecursive);
                if (lcStep(!lcFound.isEmpty(), "ExposureTime in the feature tree"))
                    lpModel->setData(lcFound.first().sibling(lcFound.first().row(), 1), 25000.0,
                                     Qt::EditRole);
                lcRun.mdExposureAfter = lpNodes->data(QStringLiteral("ExposureTime")).toDouble();
                lpParams->close();
            }

            tcCmdRunner* lpRunner = tcPluginManager::getInstance()->getCmdRunner();
            tcRunnerSignals lcRunner(lpRunner);
            lpDriver->msFile = arScript;
            lpWindow->findChild<QAction*>(QStringLiteral("actionRun_Script"))->trigger();
            lcStep(QTest::qWaitFor([&] { return !lcRunner.mlDone.isEmpty(); }, 10000), "script done");
            lcRun.mlProgress = lcRunner.mlProgress;
            if (!lcRunner.mlDone.isEmpty())
                lcRun.mlDone = {lcRunner.mlDone.first(), lcRunner.msDoneText};
        }
        lcRun.msBoxes = lpDriver->msBoxes;
        lpWindow->close();
    };
    lcRun.mnExitCode =
        kestrixMain(lcArguments.mnArgc, lcArguments.argv(),
                    [&]
                    {
                        lpDriver = new tcModalDriver();
                        lpDriver->setParent(qApp);
                        // The user starts once the window is up.
                        auto* lpStart = new QTimer(qApp);
                        QObject::connect(lpStart, &QTimer::timeout, qApp,
                                         [&, lpStart]
                                         {
                                             MainWindow* lpWindow = findMainWindow();
                                             if (!lpWindow || !lpWindow->isVisible() || splashVisible())
                                                 return;
                                             lpStart->stop();
                                             lcPlay();
                                         });
                        lpStart->start(20);
                    });
    return lcRun;
}

QString readAll(const QString& arPath)
{
    QFile lcFile(arPath);
    lcFile.open(QIODevice::ReadOnly);
    return QString::fromLatin1(lcFile.readAll());
}
} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void startsWritesLogAndExitsWhenClosed()
    {
        QTemporaryDir lcDir;
        const QString lsLog = lcDir.filePath(QStringLiteral("run.log"));
        const QString lsIni = lcDir.filePath(QStringLiteral("run.ini"));
        const tcRunResult lcResult = runProgram({"-logfile", lsLog, "-inifile", lsIni, "-adddbgtid"});

        QCOMPARE(lcResult.mnExitCode, 0);
        QVERIFY(lcResult.mbWindowShown);
        QVERIFY(lcResult.msBoxTexts.isEmpty());
        QCOMPARE(tcSettings::getDefaultIniFile(), lsIni);
        // The test plugin in plugins/ beside the program was loaded, and the
        // Help menu's "Plugins..." box lists it.
        QCOMPARE(lcResult.msPlugins, QStringList{QStringLiteral("Mono Test")});
        QCOMPARE(lcResult.msAboutPlugins, QStringList{QStringLiteral("Mono Test")});

        const QString lsText = readAll(lsLog);
        const QRegularExpression lcLine(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}: "
                                                       "\\S*:\\d+ tid:\\d+ INFO: Using INI file \"%1\"\r\n")
                                            .arg(QRegularExpression::escape(lsIni)));
        QVERIFY2(lcLine.match(lsText).hasMatch(), qPrintable(lsText));
        // Lines written after shut-down never reach the file.
        qWarning("after the program ended");
        QCOMPARE(readAll(lsLog), lsText);
    }

    void unopenableLogFileStillStarts()
    {
        QTemporaryDir lcDir;
        const QString lsLog = lcDir.filePath(QStringLiteral("missing-folder/run.log"));
        const tcRunResult lcResult =
            runProgram({"-logfile", lsLog, "-inifile", lcDir.filePath(QStringLiteral("x.ini"))});
        QCOMPARE(lcResult.mnExitCode, 0);
        QCOMPARE(lcResult.msBoxTexts.size(), 1);
        QVERIFY2(lcResult.msBoxTexts.first().startsWith(
                     QStringLiteral("kestle|Unable to open log file %1\n").arg(lsLog)),
                 qPrintable(lcResult.msBoxTexts.first()));
        QVERIFY(lcResult.mbWindowShown);
        QVERIFY(!QFile::exists(lsLog));
    }

    void criticalFromWorkerIsShownOnGuiThread()
    {
        QTemporaryDir lcDir;
        const QString lsLog = lcDir.filePath(QStringLiteral("crit.log"));
        const tcRunResult lcResult =
            runProgram({"-logfile", lsLog, "-inifile", lcDir.filePath(QStringLiteral("c.ini"))}, true);
        QCOMPARE(lcResult.mnExitCode, 0);
        QCOMPARE(lcResult.msBoxTexts.size(), 1);
        QVERIFY2(lcResult.msBoxTexts.first().startsWith(QStringLiteral("kestrix|")),
                 qPrintable(lcResult.msBoxTexts.first()));
        QVERIFY(lcResult.msBoxTexts.first().contains(QStringLiteral(" CRITICAL: worker failed")));
        QVERIFY(lcResult.msStatusMessage.contains(QStringLiteral("CRITICAL: worker failed")));
        const QString lsText = readAll(lsLog);
        QVERIFY(lsText.contains(QStringLiteral(" CRITICAL: worker failed\r\n")));
        // The main window logs the line once more as a warning.
        QVERIFY(lsText.contains(QStringLiteral(" WARNING: ")));
    }

    // A fresh INI: the default producer beside the program loads without a
    // question, the chooser lists the simulated cameras, video runs, a
    // feature is edited, a script runs, and closing ends the program.
    void newcomersRun()
    {
        QTemporaryDir lcDir;
        const QString lsLog = lcDir.filePath(QStringLiteral("new.log"));
        const QString lsIni = lcDir.filePath(QStringLiteral("new.ini"));
        const QString lsScript = lcDir.filePath(QStringLiteral("script.txt"));
        QFile lcScript(lsScript);
        QVERIFY(lcScript.open(QIODevice::WriteOnly));
        lcScript.write("SLEEP 10\nSLEEP 10\nSLEEP 10\n");
        lcScript.close();

        const tcNewcomerRun lcRun = runNewcomer({"-logfile", lsLog, "-inifile", lsIni}, lsScript, false);
        QVERIFY2(lcRun.msFailure.isEmpty(), qPrintable(lcRun.msFailure + "\n" + readAll(lsLog)));
        QCOMPARE(lcRun.mnExitCode, 0);
        QVERIFY2(lcRun.msBoxes.isEmpty(), qPrintable(lcRun.msBoxes.join('\n')));
        QCOMPARE(lcRun.mnDevicesListed, 3);
        QVERIFY2(lcRun.msTitle.startsWith(QStringLiteral("Kestrix - %1").arg(tnSimcam::kMonoId)),
                 qPrintable(lcRun.msTitle));
        QVERIFY(lcRun.mdExposureBefore != 25000.0);
        QCOMPARE(lcRun.mdExposureAfter, 25000.0);
        QVERIFY(!lcRun.mlProgress.isEmpty());
        QCOMPARE(lcRun.mlDone.value(0).toBool(), true);

        const QString lsLogText = readAll(lsLog);
        QVERIFY2(!lsLogText.contains(QStringLiteral("CRITICAL")), qPrintable(lsLogText));
        QSettings lcIni(lsIni, QSettings::IniFormat);
        QCOMPARE(lcIni.value("lastDevice").toString(), QStringLiteral("0,%1").arg(tnSimcam::kMonoId));
        QCOMPARE(lcIni.value("mru/size").toInt(), 1);

        // The next start reopens that camera by itself and shows video.
        lcIni.setValue("openLast", true);
        lcIni.sync();
        const tcNewcomerRun lcAgain = runNewcomer({"-logfile", lsLog, "-inifile", lsIni}, lsScript, true);
        QVERIFY2(lcAgain.msFailure.isEmpty(), qPrintable(lcAgain.msFailure));
        QVERIFY2(lcAgain.msBoxes.isEmpty(), qPrintable(lcAgain.msBoxes.join('\n')));
        QCOMPARE(lcAgain.mnExitCode, 0);
        QVERIFY2(lcAgain.msTitle.startsWith(QStringLiteral("Kestrix - %1").arg(tnSimcam::kMonoId)),
                 qPrintable(lcAgain.msTitle));
    }
};

QTEST_APPLESS_MAIN(tst_Startup)
#include "tst_startup.moc"
