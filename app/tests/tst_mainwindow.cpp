#include "camerainterface.h"
#include "cmdrunner.h"
#include "genicamiface.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "plotwidget.h"
#include "pluginmanager.h"
#include "reportform.h"
#include "runnersignals.h"
#include "settings.h"
#include "settingsdialog.h"
#include "simcamfixture.h"
#include "videowidget.h"
#include "viewerinterface.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSslSocket>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolBar>
#include <QtTest>

#include <array>
#include <memory>

namespace
{
const QString kMono = QString::fromLatin1(tnSimcam::kMonoId);
const QString kColor = QString::fromLatin1(tnSimcam::kColorId);

std::unique_ptr<tcSettings> iniSettings()
{
    return std::unique_ptr<tcSettings>(tcSettings::getSettings(QString()));
}

// A fresh INI holding only the given keys.
void useSettings(const QVariantMap& arValues = QVariantMap())
{
    std::unique_ptr<tcSettings> lpSettings = iniSettings();
    lpSettings->clear();
    for (auto lpIt = arValues.cbegin(); lpIt != arValues.cend(); ++lpIt)
        lpSettings->setValue(lpIt.key(), lpIt.value());
    lpSettings->sync();
}

QAction* action(MainWindow& arWindow, const char* apName)
{
    return arWindow.findChild<QAction*>(QString::fromLatin1(apName));
}

template <typename tWindow> QList<tWindow*> visibleTopLevels()
{
    QList<tWindow*> llResult;
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        if (auto* lpWindow = qobject_cast<tWindow*>(lpWidget))
            if (lpWindow->isVisible())
                llResult << lpWindow;
    return llResult;
}

void closeReports()
{
    for (tcReportForm* lpForm : visibleTopLevels<tcReportForm>())
        lpForm->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Closing the window ends the program: it asks the application to quit, which
// makes every later modal loop return at once until the main loop has run
// again. A short main loop here puts the application back for the next case.
void closeWindow(MainWindow& arWindow)
{
    arWindow.close();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QApplication::exec();
}

QString frameInfo(QWidget* apVideo)
{
    auto* lpInfo = apVideo ? apVideo->findChild<QLabel*>(QStringLiteral("labelInfo")) : nullptr;
    return lpInfo ? lpInfo->text() : QString();
}

// The page a settings dialog shows.
QString settingsPage(QWidget* apDialog)
{
    auto* lpDialog = qobject_cast<tcSettingsDialog*>(apDialog);
    return lpDialog ? lpDialog->currentPageTitle() : QString();
}

// Frames a video window has shown, from its "Frame %1 [%2 rendered]" line
// (", %3 dropped]" when the display skipped some).
int renderedFrames(QWidget* apVideo)
{
    const QRegularExpressionMatch lcMatch =
        QRegularExpression(QStringLiteral("\\[(\\d+) rendered[],]")).match(frameInfo(apVideo));
    return lcMatch.hasMatch() ? lcMatch.captured(1).toInt() : 0;
}

QStringList actionTexts(const QList<QAction*>& alActions)
{
    QStringList lsTexts;
    for (QAction* lpAction : alActions)
        lsTexts << lpAction->text();
    return lsTexts;
}

int visibleWindows(MainWindow& arWindow)
{
    int lnCount = arWindow.findChild<QMdiArea*>()->subWindowList().size();
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        lnCount += lpWidget->isVisible() ? 1 : 0;
    return lnCount;
}

QString writeFile(const QTemporaryDir& arDir, const QString& arName, const QByteArray& arContent)
{
    const QString lsPath = arDir.filePath(arName);
    QFile lcFile(lsPath);
    if (lcFile.open(QIODevice::WriteOnly))
        lcFile.write(arContent);
    return lsPath;
}
} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;
    tcModalDriver* mpDriver = nullptr;
    std::array<uchar, 16> mcPixels{}; // a 4 x 4 Mono8 frame

    // Builds the window and runs its start-up step as the program does.
    std::unique_ptr<MainWindow> start()
    {
        auto lpWindow = std::make_unique<MainWindow>(false);
        lpWindow->startUp();
        lpWindow->show();
        return lpWindow;
    }

    bool openThroughChooser(MainWindow& arWindow, const QString& arDevice)
    {
        mpDriver->msDevice = arDevice;
        action(arWindow, "actionOpen_Device")->trigger();
        return arWindow.camera() != nullptr;
    }

    QStringList recentTexts(MainWindow& arWindow)
    {
        QStringList lsTexts;
        for (QAction* lpAction : arWindow.recentActions())
            lsTexts << lpAction->text();
        return lsTexts;
    }

private slots:
    void initTestCase()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("Kestrix"));
        QApplication::setOrganizationName(QStringLiteral("Tarnwick LLC"));
        QApplication::setApplicationName(QStringLiteral("kestrix"));
        tcSettings::setDefaultIniFile(mcDir.filePath(QStringLiteral("kestle.ini")));
        tcDebugSource::setSettingsFunc(&tcSettings::getQSettings);
    }

    void init()
    {
        mpDriver = new tcModalDriver();
        qunsetenv("SIMCAM_FAULTS");
        qunsetenv("SIMCAM_XML_FILE");
    }

    void cleanup()
    {
        closeReports();
        delete mpDriver;
        mpDriver = nullptr;
    }

    // -----------------------------------------------------------------------
    // The form and a fresh start

    void freshStartLoadsTheDefaultProducerWithoutAsking()
    {
        useSettings();
        auto lpWindow = start();
        QVERIFY2(mpDriver->msBoxes.isEmpty(), qPrintable(mpDriver->msBoxes.join('\n')));
        QCOMPARE(lpWindow->windowTitle(),
                 QStringLiteral("Kestrix - %1").arg(tcSettings::getDefaultIniFile()));
        QVERIFY(lpWindow->producer());
        QVERIFY(action(*lpWindow, "actionOpen_Device")->isEnabled());
        for (const char* lpName : {"actionGenApiSettings", "actionRun_Script", "actionShow_New_Snapshot",
                                   "actionShowVideo", "actionView_XML", "actionShow_Documentation"})
            QVERIFY2(!action(*lpWindow, lpName)->isEnabled(), lpName);
        QCOMPARE(lpWindow->statusLabel()->text(), QStringLiteral("No Camera"));
        QVERIFY(lpWindow->abortButton()->isHidden());

        QStringList lsMenus;
        for (QAction* lpMenu : lpWindow->menuBar()->actions())
            lsMenus << lpMenu->text();
        QCOMPARE(lsMenus, QStringList({"File", "GenICam", "View", "Controls", "Help"}));
        auto* lpToolBar = lpWindow->findChild<QToolBar*>(QStringLiteral("mainToolBar"));
        QStringList lsTools;
        for (QAction* lpTool : lpToolBar->actions())
            lsTools << lpTool->objectName();
        QCOMPARE(lsTools, QStringList({"actionShow_Log", "actionShowVideo", "actionShow_New_Snapshot",
                                       "actionPlot_Widget"}));
        QVERIFY(!QPixmap(QStringLiteral(":/images/resources/splash.png")).isNull());
        QVERIFY(!lpWindow->windowIcon().pixmap(32).isNull());
        QVERIFY(lpToolBar->isVisible());
        for (QAction* lpTool : lpToolBar->actions())
        {
            QWidget* lpButton = lpToolBar->widgetForAction(lpTool);
            QVERIFY2(lpButton && lpButton->isVisible() && lpButton->width() > 8,
                     qPrintable(lpTool->objectName()));
            QVERIFY2(!lpTool->icon().pixmap(24).isNull(), qPrintable(lpTool->objectName()));
        }
        for (const char* lpName : {"actionShowVideo", "actionShow_New_Snapshot", "actionShow_Log",
                                   "actionShow_Config", "actionPlot_Widget", "actionCheck_for_updates"})
            QVERIFY2(!action(*lpWindow, lpName)->icon().isNull(), lpName);
        // "Recent Cameras..." sits right before "Settings...".
        auto* lpFile = lpWindow->findChild<QMenu*>(QStringLiteral("menuFile"));
        const int lnSettings = lpFile->actions().indexOf(action(*lpWindow, "actionSettings"));
        QCOMPARE(lpFile->actions().at(lnSettings - 1), lpWindow->recentMenu()->menuAction());
    }

    void openAndCloseDeviceSwitchActionStates()
    {
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(openThroughChooser(*lpWindow, kMono));
        QCOMPARE(mpDriver->mnDeviceRows, 3);
        QCOMPARE(lpWindow->windowTitle(), QStringLiteral("Kestrix - %1").arg(kMono));
        for (const char* lpName : {"actionGenApiSettings", "actionRun_Script", "actionShow_New_Snapshot",
                                   "actionShowVideo", "actionView_XML", "actionShow_Documentation"})
            QVERIFY2(action(*lpWindow, lpName)->isEnabled(), lpName);
        QCOMPARE(iniSettings()->value("lastDevice").toString(), QStringLiteral("0,%1").arg(kMono));
        QCOMPARE(iniSettings()->grpValue("Devices", "device_id", QString()).toString(), kMono);
        QVERIFY(lpWindow->videoWindows().isEmpty());

        action(*lpWindow, "actionClose_Device")->trigger();
        QVERIFY(!lpWindow->camera());
        QVERIFY(!action(*lpWindow, "actionGenApiSettings")->isEnabled());
        QVERIFY(action(*lpWindow, "actionOpen_Device")->isEnabled());
        QCOMPARE(lpWindow->statusLabel()->text(), QStringLiteral("No Camera"));
    }

    // -----------------------------------------------------------------------
    // Recent devices

    void recentListKeepsTheNewestAndDoesNotMoveReopened()
    {
        useSettings({{"autoOpenVideoWidget", false}, {"maxNumMru", 2}});
        {
            auto lpWindow = start();
            QVERIFY(openThroughChooser(*lpWindow, kMono));
            QVERIFY(openThroughChooser(*lpWindow, kColor));
            QVERIFY(openThroughChooser(*lpWindow, QString::fromLatin1(tnSimcam::kSensorId)));
            QCOMPARE(recentTexts(*lpWindow), QStringList({tnSimcam::kColorModel, tnSimcam::kSensorModel}));
            QCOMPARE(lpWindow->recentMenu()->actions().size(), 2);
            QCOMPARE(lpWindow->recentActions().first()->toolTip(),
                     QStringLiteral("%1 ID %2 on interface 0").arg(tnSimcam::kColorModel, kColor));

            QVERIFY(openThroughChooser(*lpWindow, kColor));
            QCOMPARE(recentTexts(*lpWindow), QStringList({tnSimcam::kColorModel, tnSimcam::kSensorModel}));
            closeWindow(*lpWindow);
        }
        // The list survives the program.
        auto lpWindow = start();
        QCOMPARE(recentTexts(*lpWindow), QStringList({tnSimcam::kColorModel, tnSimcam::kSensorModel}));
        QCOMPARE(lpWindow->recentActions().first()->data().toString(), QStringLiteral("0,%1").arg(kColor));
        lpWindow->recentActions().first()->trigger();
        QVERIFY(lpWindow->camera());
        QCOMPARE(lpWindow->camera()->getModel(), QString::fromLatin1(tnSimcam::kColorModel));
    }

    void goneRecentDeviceAsksToBeRemoved_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }

    void goneRecentDeviceAsksToBeRemoved()
    {
        QFETCH(bool, remove);
        useSettings({{"mru/size", 1},
                     {"mru/1/name", "Gone Cam"},
                     {"mru/1/camera", "0,SimCam-Gone-9999"},
                     {"mru/1/tooltip", "gone"}});
        auto lpWindow = start();
        QCOMPARE(recentTexts(*lpWindow), QStringList{"Gone Cam"});
        mpDriver->mlAnswers = {QMessageBox::Ok, remove ? QMessageBox::Yes : QMessageBox::No};
        lpWindow->recentActions().first()->trigger();
        QVERIFY2(
            mpDriver->sawBox("GenTL is unable to open camera \"SimCam-Gone-9999\".\nCheck connections/power"),
            qPrintable(mpDriver->msBoxes.join("\n")));
        QCOMPARE(mpDriver->lastBox(), QStringLiteral("Kestrix|Remove \"Gone Cam\" from recent devices?"));
        QCOMPARE(recentTexts(*lpWindow), remove ? QStringList() : QStringList{"Gone Cam"});
        QCOMPARE(lpWindow->recentMenu()->actions().size(), remove ? 0 : 1);
    }

    void encodedDeviceStringsNeedInterfaceAndId()
    {
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(!lpWindow->openEncodedDeviceInfo(QString()));
        QVERIFY(!lpWindow->openEncodedDeviceInfo(kMono));
        QVERIFY(!lpWindow->openEncodedDeviceInfo(QStringLiteral(",") + kMono));
        QVERIFY(mpDriver->msBoxes.isEmpty());
        QVERIFY(lpWindow->openEncodedDeviceInfo(QStringLiteral("0,") + kMono));
    }

    // -----------------------------------------------------------------------
    // Failures while opening

    void failedOpenLeavesTheWindowWithoutDevice_data()
    {
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QString>("alert");
        const QString lsRefused =
            QStringLiteral("GenTL is unable to open camera \"%1\".\nCheck connections/power");
        const QString lsUnusable =
            QStringLiteral("Application is Unable to open camera \"%1\".\nCheck connections/power");
        QTest::newRow("producer refuses") << QByteArray("IFOpenDevice=-1010@*") << QByteArray() << lsRefused;
        QTest::newRow("vanished port") << QByteArray("DevGetPort=-1010@*") << QByteArray() << lsRefused;
        QTest::newRow("empty description") << QByteArray() << QByteArray(" ") << lsUnusable;
        QTest::newRow("broken description")
            << QByteArray() << QByteArray("<?xml version=\"1.0\"?><RegisterDescription><Integer Name=")
            << lsUnusable;
        QTest::newRow("unreadable description")
            << QByteArray("GCReadPort=-1010@*") << QByteArray() << lsUnusable;
    }

    void failedOpenLeavesTheWindowWithoutDevice()
    {
        QFETCH(QByteArray, faults);
        QFETCH(QByteArray, description);
        QFETCH(QString, alert);
        QVariantMap lcSettings{{"autoOpenVideoWidget", true}};
        if (!description.isEmpty())
            lcSettings["simCamXmlFile"] =
                writeFile(mcDir, QStringLiteral("broken.xml"), description.trimmed());
        useSettings(lcSettings);
        if (!faults.isEmpty())
            qputenv("SIMCAM_FAULTS", faults);
        auto lpWindow = start();
        const QString lsTitle = lpWindow->windowTitle();

        QVERIFY(!openThroughChooser(*lpWindow, kMono));
        QVERIFY2(mpDriver->sawBox(alert.arg(kMono)), qPrintable(mpDriver->msBoxes.join('\n')));
        QCOMPARE(lpWindow->windowTitle(), lsTitle);
        QVERIFY(!iniSettings()->contains("Devices/device_id"));
        QVERIFY(!iniSettings()->contains("lastDevice"));
        QVERIFY(lpWindow->videoWindows().isEmpty());
        QVERIFY(lpWindow->recentActions().isEmpty());
        QVERIFY(!action(*lpWindow, "actionGenApiSettings")->isEnabled());
        QVERIFY(action(*lpWindow, "actionOpen_Device")->isEnabled());
        QCOMPARE(lpWindow->statusLabel()->text(), QStringLiteral("No Camera"));
    }

    void cameraWithoutActivePluginSendsUserToSettings()
    {
        // The test plugin beside the program serves only the monochrome camera.
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(openThroughChooser(*lpWindow, kColor));
        QVERIFY(mpDriver->sawBox(
            QStringLiteral("There are no plugins defined for camera\n\"%1\"\nPlease configure in "
                           "settings...")
                .arg(tnSimcam::kColorModel)));
        QTRY_COMPARE(lpWindow->toolWindows().size(), 1);
        QCOMPARE(settingsPage(lpWindow->toolWindows().first()), QStringLiteral("Plugins"));
    }

    void badProducerPathsKeepTheWindowUsable_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << mcDir.filePath(QStringLiteral("none.cti"))
                                 << QStringLiteral(
                                        "Kestrix|No GenTL library has been selected...\nplease go to "
                                        "settings and select one");
        QTest::newRow("not a library") << writeFile(mcDir, QStringLiteral("text.cti"), "hello")
                                       << QStringLiteral("Unable to load library %1 : ");
        QTest::newRow("no GenTL functions")
            << QStringLiteral(KX_PLAIN_LIBRARY) << QStringLiteral("Unable to load library %1 : ");
    }

    void badProducerPathsKeepTheWindowUsable()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        useSettings({{"GenTL/default_path", path}, {"openLast", true}, {"lastDevice", "0," + kMono}});
        {
            auto lpWindow = std::make_unique<MainWindow>(false);
            QSignalSpy lcErrors(lpWindow.get(), &MainWindow::logError);
            lpWindow->startUp();
            lpWindow->show();
            if (expected.contains(QLatin1String("%1")))
            {
                QVERIFY(!lcErrors.isEmpty());
                QVERIFY2(lcErrors.first().first().toString().startsWith(expected.arg(path)),
                         qPrintable(lcErrors.first().first().toString()));
                QVERIFY(mpDriver->msBoxes.isEmpty());
            }
            else
                QCOMPARE(mpDriver->msBoxes, QStringList{expected});
            QVERIFY(!lpWindow->producer());
            QVERIFY(!lpWindow->camera());
            QVERIFY(!action(*lpWindow, "actionOpen_Device")->isEnabled());
            QVERIFY(action(*lpWindow, "actionSettings")->isEnabled());
            // Open Device without a producer explains itself.
            lpWindow->Open_Device();
            QVERIFY(mpDriver->lastBox().contains(QStringLiteral("No GenTL library has been selected")));
            closeWindow(*lpWindow);
        }
        // Nothing the user chose is lost.
        QCOMPARE(iniSettings()->value("GenTL/default_path").toString(), path);
        QCOMPARE(iniSettings()->value("lastDevice").toString(), "0," + kMono);
    }

    // -----------------------------------------------------------------------
    // Start-up: plugins folder and the last device

    void pluginsFolderProblemsSendUserToSettings_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not set") << QString() << QStringLiteral("is not set");
        QTest::newRow("missing") << mcDir.filePath(QStringLiteral("no-plugins"))
                                 << QStringLiteral("does not exist");
    }

    void pluginsFolderProblemsSendUserToSettings()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        useSettings(
            {{tcPluginManager::pluginsDirKey(), folder}, {"openLast", true}, {"lastDevice", "0," + kMono}});
        auto lpWindow = start();
        QVERIFY(mpDriver->sawBox(
            QStringLiteral("Kestrix|The plugins path %1.\nPlease configure in settings...").arg(reason)));
        QVERIFY(!lpWindow->camera());
        QTRY_COMPARE(lpWindow->toolWindows().size(), 1);
        QCOMPARE(settingsPage(lpWindow->toolWindows().first()), QStringLiteral("Plugins"));
        closeWindow(*lpWindow);
        QTRY_VERIFY(lpWindow->toolWindows().isEmpty());
    }

    void lastDeviceReopensWithLiveVideo()
    {
        useSettings({{"openLast", true}, {"lastDevice", "0," + kMono}});
        auto lpWindow = start();
        QVERIFY2(mpDriver->msBoxes.isEmpty(), qPrintable(mpDriver->msBoxes.join('\n')));
        QVERIFY(lpWindow->camera());
        // A maximised video window adds its own title to the window's.
        QVERIFY2(lpWindow->windowTitle().startsWith(QStringLiteral("Kestrix - %1").arg(kMono)),
                 qPrintable(lpWindow->windowTitle()));
        QCOMPARE(lpWindow->videoWindows().size(), 1);
        QWidget* lpVideo = lpWindow->videoWindows().first();
        QTRY_VERIFY2_WITH_TIMEOUT(renderedFrames(lpVideo) >= 5, qPrintable(frameInfo(lpVideo)), 10000);
        // The frame rate appears after the first second of acquisition.
        QTRY_VERIFY_WITH_TIMEOUT(lpWindow->statusLabel()->text().endsWith(QStringLiteral(" fps")), 5000);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+\\.\\d\\d fps$"))
                    .match(lpWindow->statusLabel()->text())
                    .hasMatch());
        closeWindow(*lpWindow);
        QVERIFY(!lpWindow->camera());
    }

    void frameRateIsIdleForTheFirstSecond()
    {
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        lpWindow->UpdateFramerate();
        QCOMPARE(lpWindow->statusLabel()->text(), QStringLiteral("No Camera"));
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        lpWindow->CameraAcquiring(true);
        lpWindow->UpdateFramerate();
        QCOMPARE(lpWindow->statusLabel()->text(), QStringLiteral("IDLE"));
        for (int lnFrame = 0; lnFrame < 4; ++lnFrame)
            lpWindow->NewFrame(tcImageBuffer::newImage(mcPixels.data(), 4, 4, 0x01080001u));
        QTest::qWait(20);
        lpWindow->UpdateFramerate();
        QCOMPARE(lpWindow->statusLabel()->text(), QStringLiteral("IDLE"));
        for (int lnFrame = 0; lnFrame < 4; ++lnFrame)
            lpWindow->NewFrame(tcImageBuffer::newImage(mcPixels.data(), 4, 4, 0x01080001u));
        QTest::qWait(50);
        lpWindow->UpdateFramerate();
        const QRegularExpressionMatch lcMatch = QRegularExpression(QStringLiteral("^(\\d+\\.\\d\\d) fps$"))
                                                    .match(lpWindow->statusLabel()->text());
        QVERIFY2(lcMatch.hasMatch(), qPrintable(lpWindow->statusLabel()->text()));
        QVERIFY(lcMatch.captured(1).toDouble() > 0);
    }

    // -----------------------------------------------------------------------
    // Messages

    void criticalMessageGoesToSplashThenStatusBar()
    {
        useSettings();
        auto lpWindow = std::make_unique<MainWindow>(false);
        QSignalSpy lcSplash(lpWindow.get(), &MainWindow::splashMessage);
        QSignalSpy lcLog(lpWindow.get(), &MainWindow::logError);
        lpWindow->showCriticalMessage(QStringLiteral("early trouble"));
        QCOMPARE(lcSplash.size(), 1);
        QCOMPARE(lcSplash.first().at(0).toString(), QStringLiteral("early trouble"));
        QCOMPARE(lcSplash.first().at(1).toInt(), int(Qt::AlignRight));
        QCOMPARE(lcSplash.first().at(2).value<QColor>(), QColor(Qt::blue));
        QCOMPARE(mpDriver->lastBox(), QStringLiteral("kestrix|early trouble"));

        lpWindow->startUp();
        lpWindow->show();
        lcSplash.clear();
        lpWindow->showCriticalMessage(QStringLiteral("late trouble"));
        QVERIFY(lcSplash.isEmpty());
        QCOMPARE(lpWindow->statusBar()->currentMessage(), QStringLiteral("late trouble"));
        QCOMPARE(mpDriver->lastBox(), QStringLiteral("kestrix|late trouble"));
        QCOMPARE(lcLog.last().first().toString(), QStringLiteral("late trouble"));
    }

    // -----------------------------------------------------------------------
    // Scripts

    void scriptRunsWithProgressAndReport()
    {
        const QString lsScript =
            writeFile(mcDir, QStringLiteral("run.txt"), "SLEEP 20\nSLEEP 20\nSLEEP 20\nSLEEP 20\n");
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        tcCmdRunner* lpRunner = tcPluginManager::getInstance()->getCmdRunner();
        tcRunnerSignals lcRunner(lpRunner);
        mpDriver->msFile = lsScript;
        action(*lpWindow, "actionRun_Script")->trigger();
        QCOMPARE(mpDriver->mnFileDialogs, 1);
        QVERIFY(!lpWindow->abortButton()->isHidden());
        QTRY_COMPARE_WITH_TIMEOUT(lcRunner.mlDone.size(), 1, 10000);
        QTRY_VERIFY(lpWindow->abortButton()->isHidden());
        QVERIFY(lcRunner.mlDone.first());
        QVERIFY(!lcRunner.mlProgress.isEmpty());
        QCOMPARE(iniSettings()->value("last_script").toString(), lsScript);
        QCOMPARE(lpWindow->progressBar()->styleSheet(),
                 iniSettings()->value("StyleOk", lpWindow->progressBar()->styleSheet()).toString());
        QVERIFY(lpWindow->progressBar()->styleSheet().contains(QStringLiteral("rgba(0, 255, 0, 255)")));
        QTRY_COMPARE(visibleTopLevels<tcReportForm>().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(lpWindow->progressBar()->value(), 0, 3000);
    }

    void abortedScriptShowsFailure()
    {
        const QString lsScript = writeFile(mcDir, QStringLiteral("long.txt"),
                                           "SLEEP 500\nSLEEP 500\nSLEEP 500\nSLEEP 500\nSLEEP 500\n");
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        tcRunnerSignals lcRunner(tcPluginManager::getInstance()->getCmdRunner());
        QVERIFY(lpWindow->runScriptFile(lsScript));
        QTest::qWait(100);
        lpWindow->abortButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(lcRunner.mlDone.size(), 1, 10000);
        QVERIFY(!lcRunner.mlDone.first());
        QTRY_VERIFY(lpWindow->abortButton()->isHidden());
        QVERIFY(lpWindow->progressBar()->styleSheet().contains(QStringLiteral("background: red")));
        QTest::qWait(50);
        QVERIFY(visibleTopLevels<tcReportForm>().isEmpty());
    }

    void unreadableScriptIsReported()
    {
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        const QString lsMissing = mcDir.filePath(QStringLiteral("missing.txt"));
        QVERIFY(!lpWindow->runScriptFile(lsMissing));
        QVERIFY(mpDriver->sawBox(QStringLiteral("Unable to read script file %1").arg(lsMissing)));
        QVERIFY(lpWindow->abortButton()->isHidden());
        // Without a camera there is nothing to run against.
        action(*lpWindow, "actionClose_Device")->trigger();
        lpWindow->DoRunScript();
        QCOMPARE(mpDriver->lastBox(), QStringLiteral("Kestrix|No camera connected!"));
    }

    // -----------------------------------------------------------------------
    // Windows

    void snapshotIsAStillCopy()
    {
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        action(*lpWindow, "actionShow_New_Snapshot")->setEnabled(true);
        action(*lpWindow, "actionShow_New_Snapshot")->trigger();
        QCOMPARE(mpDriver->lastBox(), QStringLiteral("Kestrix|No camera connected!"));

        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        QSignalSpy lcErrors(lpWindow.get(), &MainWindow::logError);
        action(*lpWindow, "actionShow_New_Snapshot")->trigger();
        QCOMPARE(lcErrors.size(), 1); // no frame yet

        action(*lpWindow, "actionShowVideo")->trigger();
        auto* lpVideo = qobject_cast<tcVideoWidget*>(lpWindow->videoWindows().value(0));
        QVERIFY(lpVideo && !lpVideo->isSnapshot());
        lpWindow->camera()->startVideo();
        QTRY_VERIFY_WITH_TIMEOUT(renderedFrames(lpVideo) >= 3, 10000);
        auto* lpArea = lpWindow->findChild<QMdiArea*>(QStringLiteral("mdiArea"));
        action(*lpWindow, "actionShow_New_Snapshot")->trigger();
        QCOMPARE(lpArea->subWindowList().size(), 2);
        QCOMPARE(lpWindow->videoWindows().size(), 1);
        auto* lpSnapshot = qobject_cast<tcVideoWidget*>(lpArea->subWindowList().last()->widget());
        QVERIFY(lpSnapshot && lpSnapshot->isSnapshot());
        QVERIFY2(lpSnapshot->windowTitle().startsWith(QStringLiteral("Snapshot - Frame ")),
                 qPrintable(lpSnapshot->windowTitle()));
        const QString lsStill = frameInfo(lpSnapshot);
        QCOMPARE(renderedFrames(lpSnapshot), 1);
        const QString lsLive = frameInfo(lpVideo);
        QTRY_VERIFY_WITH_TIMEOUT(frameInfo(lpVideo) != lsLive, 5000);
        QCOMPARE(frameInfo(lpSnapshot), lsStill);
    }

    // A frame still shown when the camera closes would keep its buffer from
    // the producer; the video window lets go of it first.
    void closingTheCameraWithVideoOpenReturnsEveryBuffer()
    {
        useSettings();
        auto lpWindow = start();
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        QWidget* lpVideo = lpWindow->videoWindows().value(0);
        QTRY_VERIFY_WITH_TIMEOUT(renderedFrames(lpVideo) >= 3, 10000);
        QSignalSpy lcErrors(lpWindow.get(), &MainWindow::logError);
        action(*lpWindow, "actionClose_Device")->trigger();
        QVERIFY(!lpWindow->camera());
        for (const QList<QVariant>& lcError : lcErrors)
            QVERIFY2(!lcError.first().toString().contains(QStringLiteral("outstanding")),
                     qPrintable(lcError.first().toString()));
        QTRY_VERIFY(lpWindow->videoWindows().isEmpty());
    }

    // The plugins built beside the program: the video settings page sits in
    // the video window (not in the Controls menu) with Play and Snapshot, its
    // filter sees the frames, and the sensor board's tools join the video
    // window for its camera.
    void videoWindowCarriesThePluginPieces()
    {
        const QString lsPlugins = QStringLiteral(KX_PLUGIN_DIR);
        if (!QFileInfo::exists(lsPlugins + QStringLiteral("/libdisplaytuner.so")))
            QSKIP("the displaytuner plugin is not built");
        useSettings({{tcPluginManager::pluginsDirKey(), lsPlugins}});
        auto lpWindow = start();
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        QVERIFY2(mpDriver->msBoxes.isEmpty(), qPrintable(mpDriver->msBoxes.join('\n')));
        auto* lpVideo = qobject_cast<tcVideoWidget*>(lpWindow->videoWindows().value(0));
        QVERIFY(lpVideo);
        auto* lpTabs = lpVideo->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QCOMPARE(lpTabs->tabText(0), QStringLiteral("Video Settings"));
        QMenu* lpControls = lpWindow->findChild<QMenu*>(QStringLiteral("menuControls"));
        QVERIFY(lpControls);
        QVERIFY(!actionTexts(lpControls->actions()).contains(QStringLiteral("Video Settings")));
        QVERIFY(!lpWindow->imageFilters().isEmpty());

        const QList<QAction*> llTools = lpVideo->findChild<QToolBar*>()->actions();
        QAction* lpPlay = nullptr;
        for (QAction* lpAction : llTools)
            if (lpAction->text() == QLatin1String("Play"))
                lpPlay = lpAction;
        QVERIFY(lpPlay);
        QVERIFY(actionTexts(llTools).contains(QStringLiteral("Snapshot")));
        // The video started with the window; Play pauses it.
        QTRY_VERIFY_WITH_TIMEOUT(renderedFrames(lpVideo) >= 3, 10000);
        QTRY_VERIFY(lpPlay->isChecked());
        lpPlay->trigger();
        QTRY_VERIFY(!lpWindow->camera()->IsRunning());

        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + QString::fromLatin1(tnSimcam::kSensorId)));
        auto* lpSensorVideo = qobject_cast<tcVideoWidget*>(lpWindow->videoWindows().value(0));
        QVERIFY(lpSensorVideo);
        const QStringList lsTools = actionTexts(lpSensorVideo->findChild<QToolBar*>()->actions());
        QVERIFY2(lsTools.contains(QStringLiteral("ROI")) && lsTools.contains(QStringLiteral("HDMI")),
                 qPrintable(lsTools.join(',')));
        QVERIFY(actionTexts(lpControls->actions()).contains(QStringLiteral("CMV 50000")));
        closeWindow(*lpWindow);
    }

    void updateCheckWithoutSourceSaysSo()
    {
        useSettings();
        auto lpWindow = start();
        QAction* lpCheck = action(*lpWindow, "actionCheck_for_updates");
        QVERIFY(lpCheck);
        QCOMPARE(lpCheck->text(), QStringLiteral("Check for updates..."));
        if (!QSslSocket::supportsSsl())
        {
            QVERIFY(!lpCheck->isEnabled());
            QCOMPARE(lpCheck->toolTip(), QStringLiteral("SSL not available, cannot check for updates"));
            return;
        }
        lpCheck->trigger();
        auto noticeShown = [&lpWindow]
        {
            for (QMessageBox* lpBox : lpWindow->findChildren<QMessageBox*>())
                if (lpBox->isVisible() && lpBox->text() == QLatin1String("No update source is configured."))
                    return true;
            return false;
        };
        QTRY_VERIFY(noticeShown());
    }

    void documentationIsReadableHtml()
    {
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        action(*lpWindow, "actionShow_Documentation")->trigger();
        QVERIFY(mpDriver->msBoxes.isEmpty());
        QTRY_COMPARE(visibleTopLevels<tcReportForm>().size(), 1);
        const QString lsText = visibleTopLevels<tcReportForm>().first()->document()->toPlainText();
        for (const char* lpWord : {"Exposure", "Value range", "Access", "Mono8", "AcquisitionStart"})
            QVERIFY2(lsText.contains(QLatin1String(lpWord)), lpWord);
        closeReports();

        action(*lpWindow, "actionView_XML")->trigger();
        QTRY_COMPARE(visibleTopLevels<tcReportForm>().size(), 1);
        QVERIFY(visibleTopLevels<tcReportForm>().first()->document()->toPlainText().startsWith("<?xml"));
    }

    void documentationFailuresGiveTheWarning_data()
    {
        QTest::addColumn<QByteArray>("sheet");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("broken") << QByteArray("<xsl:stylesheet version=\"2.0\" xmlns:xsl=");
    }

    void documentationFailuresGiveTheWarning()
    {
        QFETCH(QByteArray, sheet);
        const QString lsSheet = sheet.isEmpty() ? mcDir.filePath(QStringLiteral("none.xsl"))
                                                : writeFile(mcDir, QStringLiteral("broken.xsl"), sheet);
        useSettings({{"autoOpenVideoWidget", false}, {"xsltFile", lsSheet}});
        auto lpWindow = start();
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        action(*lpWindow, "actionShow_Documentation")->trigger();
        QCOMPARE(mpDriver->lastBox(), QStringLiteral("Kestrix|Unable to gernerate XML documentation :("));
        QVERIFY(visibleTopLevels<tcReportForm>().isEmpty());
    }

    void aboutBoxListsPixelFormats()
    {
        useSettings();
        auto lpWindow = start();
        action(*lpWindow, "actionAbout")->trigger();
        const QString lsBox = mpDriver->lastBox();
        QVERIFY2(lsBox.startsWith(QStringLiteral("About Kestrix|")), qPrintable(lsBox));
        for (const char* lpWord : {"Kestrix Display", "No Device Connected", "Supported Pixel Formats",
                                   "Mono8", "BayerRG12p", "RGB8"})
            QVERIFY2(lsBox.contains(QLatin1String(lpWord)), lpWord);
        QVERIFY(!lsBox.contains(QStringLiteral(">NULL<")));
    }

    // A plot window opens with an entry in the View menu that goes with it.
    void plotWindowHasAMenuEntryWhileOpen()
    {
        useSettings({{"autoOpenVideoWidget", false},
                     {tcPluginManager::pluginsDirKey(), QStringLiteral(KX_PLUGIN_DIR)}});
        auto lpWindow = start();
        auto* lpView = lpWindow->findChild<QMenu*>(QStringLiteral("menuView"));
        const int lnEntries = lpView->actions().size();
        action(*lpWindow, "actionPlot_Widget")->trigger();
        QTRY_COMPARE(visibleTopLevels<tcPlotWidget>().size(), 1);
        QCOMPARE(lpView->actions().size(), lnEntries + 1);
        QPointer<tcPlotWidget> lpPlot = visibleTopLevels<tcPlotWidget>().first();
        // It follows the plugin set: sources go with their plugin, and those of
        // plugins loaded after it opened appear.
        const QString lsStats = QStringLiteral("Image Statistics");
        tcPluginManager::getInstance()->unloadPlugins();
        QVERIFY(!lpPlot->sourceNames().contains(lsStats));
        QVERIFY(tcPluginManager::getInstance()->loadPlugins(nullptr, QStringLiteral(KX_PLUGIN_DIR)));
        QVERIFY2(lpPlot->sourceNames().contains(lsStats), qPrintable(lpPlot->sourceNames().join(',')));
        lpPlot->close();
        QTRY_VERIFY(lpPlot.isNull());
        QTRY_COMPARE(lpView->actions().size(), lnEntries);
        closeWindow(*lpWindow);
    }

    // Every action answers: a window, a box or a status message; none
    // crashes, with or without a camera.
    void everyActionAnswers_data()
    {
        QTest::addColumn<bool>("withCamera");
        QTest::newRow("no camera") << false;
        QTest::newRow("camera") << true;
    }

    void everyActionAnswers()
    {
        QFETCH(bool, withCamera);
        useSettings({{"autoOpenVideoWidget", false}, {"openVideoWidgetMaximized", false}});
        auto lpWindow = start();
        if (withCamera)
            QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        const QStringList lsSkipped{"actionQuit",      "actionShow_Config", "actionUser_Guide",
                                    "actionAbout_Qt",  "actionOpen_Device", "actionClose_Device",
                                    "actionRun_Script"};
        QSignalSpy lcMessages(lpWindow.get(), &MainWindow::logMessage);
        QSignalSpy lcErrors(lpWindow.get(), &MainWindow::logError);
        for (QAction* lpAction : lpWindow->findChildren<QAction*>())
        {
            const QString lsName = lpAction->objectName();
            if (!lsName.startsWith(QLatin1String("action")) || lsSkipped.contains(lsName))
                continue;
            const int lnBefore = mpDriver->msBoxes.size() + lcMessages.size() + lcErrors.size();
            const int lnWindows = visibleWindows(*lpWindow);
            lpAction->setEnabled(true);
            lpAction->trigger();
            QTest::qWait(30);
            const int lnAfter = mpDriver->msBoxes.size() + lcMessages.size() + lcErrors.size();
            const int lnWindowsAfter = visibleWindows(*lpWindow);
            const bool lbVisibleWindow = lsName == QLatin1String("actionShow_Log")
                                             ? lpWindow->logWindow()->isVisible()
                                             : lnWindowsAfter > lnWindows;
            QVERIFY2(lnAfter > lnBefore || lbVisibleWindow, qPrintable(lsName));
        }
        closeWindow(*lpWindow);
    }

    // -----------------------------------------------------------------------
    // Frames through filters and sinks

    void framesPassTheMonoPluginFilter()
    {
        useSettings({{"autoOpenVideoWidget", false}});
        auto lpWindow = start();
        QVERIFY(lpWindow->imageFilters().isEmpty()); // the test plugin is active only for its camera
        QVERIFY(lpWindow->openEncodedDeviceInfo("0," + kMono));
        QCOMPARE(lpWindow->imageFilters().size(), 1);
        QCOMPARE(lpWindow->imageFilters().first()->name(), QStringLiteral("Mono Filter"));
        QSignalSpy lcShown(lpWindow.get(), &MainWindow::frameForDisplay);
        lpWindow->NewFrame(tcImageBuffer::newImage(mcPixels.data(), 4, 4, 0x01080001u));
        QCOMPARE(lcShown.size(), 1);
        action(*lpWindow, "actionClose_Device")->trigger();
        QVERIFY(lpWindow->imageFilters().isEmpty());
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
