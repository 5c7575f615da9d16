#include "boxanswerer.h"
#include "cmdhandlerpeek.h"
#include "cmdhandlerpoke.h"
#include "cmdrunner.h"
#include "filedialoganswers.h"
#include "messagecapture.h"
#include "opencamera.h"
#include "runwatch.h"

#include <QFileInfo>
#include <QtTest>

#include <memory>

using namespace GenApi;

namespace
{
// The runner as the program sets it up: built-in commands plus the sensor
// plugin's PEEK and POKE, driving one simulated camera.
std::unique_ptr<tcCmdRunner> makeRunner(tcOpenCamera& arCamera, const QString& arScript = QString(),
                                        QSettings* apSettings = nullptr)
{
    auto lpRunner = std::make_unique<tcCmdRunner>(nullptr, &arCamera.mcCamera, arScript, apSettings);
    lpRunner->addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerPeek()));
    lpRunner->addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerPoke()));
    return lpRunner;
}

// What the last command added to the transcript, without its line break.
QString lastText(const tcCmdRunner& arRunner, const QString& arLine)
{
    const QString lsResult = arRunner.getResult();
    const int lnAt = lsResult.lastIndexOf(arLine);
    return lnAt < 0 ? QString() : lsResult.mid(lnAt).chopped(1);
}

// Small frames at the highest rate keep acquisition tests quick.
void makeSmallAndFast(tcOpenCamera& arCamera)
{
    arCamera.set("Width", 256);
    arCamera.set("Height", 64);
    CFloatPtr lpRate = arCamera.mcCamera.nodeMap()._GetNode("AcquisitionFrameRate");
    arCamera.set("AcquisitionFrameRate", qMin(200.0, lpRate->GetMax()));
    arCamera.set("ExposureTime", 100.0);
}

QString writeFile(const QTemporaryDir& arDir, const QString& arName, const QByteArray& arText)
{
    QFile lcFile(arDir.filePath(arName));
    if (!lcFile.open(QIODevice::WriteOnly))
        return QString();
    lcFile.write(arText);
    return lcFile.fileName();
}
} // namespace

class tst_CmdHandlersCamera : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void peekAndPokeRegistersAndBanks()
    {
        tcOpenCamera lcCamera(tnSimcam::kSensorId);
        QVERIFY(lcCamera.mbOpen);
        auto lpRunner = makeRunner(lcCamera);
        tcCmdRunner& lrRunner = *lpRunner;

        // Bank b, register r starts as ((b + 1) << 12) | (7r & 0xFFF).
        QVERIFY(lrRunner.ProcessCommand("PEEK 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(0x1070));
        QCOMPARE(lastText(lrRunner, "PEEK 0x10"), QStringLiteral("PEEK 0x10 = 4208"));
        QVERIFY(lrRunner.ProcessCommand("peek 020")); // octal
        QCOMPARE(lrRunner.getLastResult(), QVariant(0x1070));
        QVERIFY(lrRunner.ProcessCommand("CMP 0x1070 0xFFFF"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(true));

        QVERIFY(lrRunner.ProcessCommand("POKE 0x10 0x55"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(true));
        QCOMPARE(lastText(lrRunner, "POKE 0x10 0x55"), QStringLiteral("POKE 0x10 0x55 = OK"));
        QVERIFY(lrRunner.ProcessCommand("PEEK 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(0x55));

        // Register 0 selects the bank; the other banks keep their contents.
        QVERIFY(lrRunner.ProcessCommand("POKE 0 2"));
        QVERIFY(lrRunner.ProcessCommand("PEEK 0"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(2));
        QVERIFY(lrRunner.ProcessCommand("PEEK 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(0x3070));
        QVERIFY(lrRunner.ProcessCommand("POKE 0x10 7"));
        QVERIFY(lrRunner.ProcessCommand("POKE 0 0"));
        QVERIFY(lrRunner.ProcessCommand("PEEK 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(0x55));
        QVERIFY(lrRunner.ProcessCommand("POKE 0 2"));
        QVERIFY(lrRunner.ProcessCommand("PEEK 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(7));
        QVERIFY(lrRunner.ProcessCommand("POKE 0 0"));

        // One argument: nothing written, success, text unchanged.
        QVERIFY(lrRunner.ProcessCommand("POKE 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(true));
        QCOMPARE(lastText(lrRunner, "POKE 0x10"), QStringLiteral("POKE 0x10"));
        QVERIFY(lrRunner.ProcessCommand("PEEK 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(0x55));

        // A value beyond a signed 32-bit number is written as 0.
        QVERIFY(lrRunner.ProcessCommand("POKE 0x10 0x80000000"));
        QVERIFY(lrRunner.ProcessCommand("PEEK 0x10"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(0));

        QVERIFY(lrRunner.ProcessCommand("PEEK"));
        QCOMPARE(lastText(lrRunner, "PEEK"), QStringLiteral("PEEK"));
    }

    void refusedRegisterAccess()
    {
        tcOpenCamera lcCamera(tnSimcam::kSensorId);
        QVERIFY(lcCamera.mbOpen);
        auto lpRunner = makeRunner(lcCamera);
        tcMessageCapture lcMessages;
        // RegAddress ends at 127: the write is refused, the line fails.
        QVERIFY(!lpRunner->ProcessCommand("PEEK 200"));
        QCOMPARE(lastText(*lpRunner, "PEEK 200"), QStringLiteral("PEEK 200"));
        QCOMPARE(lcMessages.warnings().size(), 1);
        // A bank that does not exist: a negative outcome, not a failed line.
        QVERIFY(lpRunner->ProcessCommand("POKE 0 9"));
        QCOMPARE(lpRunner->getLastResult(), QVariant(false));
        QCOMPARE(lastText(*lpRunner, "POKE 0 9"), QStringLiteral("POKE 0 9"));
        QVERIFY2(lcMessages.warnings().size() >= 2, qPrintable(lcMessages.warnings().join('\n')));
    }

    void cameraWithoutRegisterAccess()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        auto lpRunner = makeRunner(lcCamera);
        QVERIFY(!lpRunner->ProcessCommand("PEEK 0x10"));
        QCOMPARE(lastText(*lpRunner, "PEEK 0x10"), QStringLiteral("PEEK 0x10"));
        QVERIFY(lpRunner->ProcessCommand("POKE 0x10 1"));
        QCOMPARE(lpRunner->getLastResult(), QVariant(false));
        QCOMPARE(lastText(*lpRunner, "POKE 0x10 1"), QStringLiteral("POKE 0x10 1"));
    }

    void geni_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QVariant>("result");
        QTest::addColumn<QString>("text");
        QTest::newRow("read") << "GENI READ Width" << true << QVariant(qlonglong(1024))
                              << "GENI READ Width = 1024";
        QTest::newRow("read enumeration") << "GENI read PixelFormat" << true << QVariant(QString("Mono8"))
                                          << "GENI read PixelFormat = Mono8";
        QTest::newRow("read string") << "GENI READ DeviceModelName" << true
                                     << QVariant(QString("SimCam Mono 2048"))
                                     << "GENI READ DeviceModelName = SimCam Mono 2048";
        QTest::newRow("read missing")
            << "GENI READ NoSuchFeature" << false << QVariant() << "GENI READ NoSuchFeature";
        QTest::newRow("read command")
            << "GENI READ AcquisitionStart" << false << QVariant() << "GENI READ AcquisitionStart";
        QTest::newRow("read without name") << "GENI READ" << false << QVariant() << "GENI READ";
        QTest::newRow("write") << "GENI write Width 640" << true << QVariant(true)
                               << "GENI write Width 640Width = 640";
        QTest::newRow("write enumeration") << "GENI WRITE PixelFormat Mono16" << true << QVariant(true)
                                           << "GENI WRITE PixelFormat Mono16PixelFormat = Mono16";
        QTest::newRow("write read-only")
            << "GENI WRITE SensorWidth 100" << false << QVariant() << "GENI WRITE SensorWidth 100";
        QTest::newRow("write missing")
            << "GENI WRITE NoSuch 1" << false << QVariant() << "GENI WRITE NoSuch 1";
        QTest::newRow("write without value")
            << "GENI WRITE Width" << true << QVariant(true) << "GENI WRITE Width";
        QTest::newRow("abbreviated sub-command")
            << "GENI WR Width 640" << false << QVariant() << "Unknown GENI cmd WR";
        QTest::newRow("no sub-command") << "GENI" << false << QVariant() << "GENI";
        QTest::newRow("exec") << "GENI EXEC AcquisitionStop" << true << QVariant(true)
                              << "GENI EXEC AcquisitionStopAcquisitionStop = OK";
        QTest::newRow("exec missing")
            << "GENI EXEC NoSuch" << false << QVariant() << "GENI EXEC NoSuchNoSuch = FAIL";
        QTest::newRow("exec not a command")
            << "GENI EXEC Width" << false << QVariant() << "GENI EXEC WidthWidth = FAIL";
        QTest::newRow("exec without name") << "GENI EXEC" << false << QVariant() << "GENI EXEC";
    }

    void geni()
    {
        QFETCH(QString, line);
        QFETCH(bool, ok);
        QFETCH(QVariant, result);
        QFETCH(QString, text);
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        lcCamera.set("Width", 1024);
        auto lpRunner = makeRunner(lcCamera);
        QCOMPARE(lpRunner->ProcessCommand(line), ok);
        QCOMPARE(lpRunner->getLastResult(), result);
        QCOMPARE(lpRunner->getResult(), text + "\n");
    }

    void geniWriteChangesTheCamera()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        auto lpRunner = makeRunner(lcCamera);
        QVERIFY(lpRunner->ProcessCommand("GENI WRITE Width 640"));
        QCOMPARE(lcCamera.get("Width"), QVariant(qlonglong(640)));
        QVERIFY(lpRunner->ProcessCommand("GENI WRITE PixelFormat Mono16"));
        QCOMPARE(lcCamera.get("PixelFormat"), QVariant(QString("Mono16")));
        // Off the increment: the camera refuses, the line fails with a warning.
        tcMessageCapture lcMessages;
        QVERIFY(!lpRunner->ProcessCommand("GENI WRITE Width 641"));
        QCOMPARE(lcMessages.warnings().size(), 1);
        QCOMPARE(lcCamera.get("Width"), QVariant(qlonglong(640)));
    }

    void saveThenLoad()
    {
        tcOpenCamera lcCamera(tnSimcam::kSensorId);
        QVERIFY(lcCamera.mbOpen);
        makeSmallAndFast(lcCamera);
        lcCamera.set("DeviceUserID", "bench one");
        auto lpRunner = makeRunner(lcCamera);
        QTemporaryDir lcDir;

        // "+" and blanks in the name survive as blanks.
        QVERIFY(lpRunner->ProcessCommand("GENI SAVE " + lcDir.path() + "/my+saved settings.ini"));
        QCOMPARE(lpRunner->getLastResult(), QVariant(true));
        const QString lsFile = lcDir.filePath("my saved settings.ini");
        QVERIFY(QFileInfo(lsFile).isFile());
        const QString lsSaved = lpRunner->getResult();
        QVERIFY(lsSaved.contains("\nStd::Width=256\n"));
        QVERIFY(lsSaved.contains("\nStd::SensorWidth=7920\n"));
        QVERIFY(lsSaved.contains("\nStd::AcquisitionStart=cannot get value\n"));
        QVERIFY(lsSaved.contains("\nCust::RegAddress="));

        QSettings lcIni(lsFile, QSettings::IniFormat);
        const QStringList lsGroups = {"Device Control", "Image Format Control",    "Acquisition Control",
                                      "Analog Control", "Transport Layer Control", "Sensor Register Control",
                                      "HDMI Control"};
        lcIni.beginGroup("catagories");
        const QStringList lsKeys = lcIni.childKeys();
        QCOMPARE(QSet<QString>(lsKeys.begin(), lsKeys.end()),
                 QSet<QString>(lsGroups.begin(), lsGroups.end()));
        for (const QString& lsGroup : lsGroups)
            QCOMPARE(lcIni.value(lsGroup).toBool(), true);
        lcIni.endGroup();
        QCOMPARE(lcIni.value("Image Format Control/Width").toString(), QStringLiteral("256"));
        QCOMPARE(lcIni.value("Image Format Control/SensorWidth").toString(), QStringLiteral("7920"));
        QCOMPARE(lcIni.value("Device Control/DeviceUserID").toString(), QStringLiteral("bench one"));
        QVERIFY(!lcIni.contains("Acquisition Control/AcquisitionStart"));

        // Change what the file holds, then restore it.
        lcCamera.set("Width", 512);
        lcCamera.set("DeviceUserID", "someone else");
        lcCamera.set("AcquisitionFrameRate", 5.0);
        QCOMPARE(lcIni.value("Acquisition Control/AcquisitionFrameRate").toString(), QStringLiteral("30"));
        lpRunner->getCmdHandlers().value("GENI")->SetDbgLevel(1);
        tcMessageCapture lcMessages;
        QVERIFY(lpRunner->ProcessCommand("GENI LOAD " + lsFile));
        QCOMPARE(lpRunner->getLastResult(), QVariant(true));
        QCOMPARE(lcCamera.get("Width"), QVariant(qlonglong(256)));
        QCOMPARE(lcCamera.get("DeviceUserID"), QVariant(QString("bench one")));
        QCOMPARE(lcCamera.get("AcquisitionFrameRate"), QVariant(30.0));
        const QString lsLog = lcMessages.texts(QtDebugMsg).join('\n');
        QVERIFY2(lsLog.contains(QRegularExpression(R"(key= "SensorWidth" .*"skipped")")), qPrintable(lsLog));
        QVERIFY(lsLog.contains(QRegularExpression(R"(key= "Width" .*"OK")")));
        QVERIFY(!lsLog.contains("\"ERROR\""));
        QVERIFY(!lpRunner->getResult().contains("Error setting"));
    }

    void loadOnlyListedCategoriesAndWritableKeys()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        lcCamera.set("Width", 1024);
        lcCamera.set("Height", 100);
        auto lpRunner = makeRunner(lcCamera);
        QTemporaryDir lcDir;
        const QString lsFile = writeFile(lcDir, "partial.ini",
                                         "[catagories]\nsizes=true\nheights=false\n"
                                         "[sizes]\nWidth=512\nNoSuchFeature=3\nSensorWidth=1\n"
                                         "[heights]\nHeight=200\n");
        QVERIFY(lpRunner->ProcessCommand("GENI LOAD " + lsFile));
        QCOMPARE(lcCamera.get("Width"), QVariant(qlonglong(512)));
        QCOMPARE(lcCamera.get("Height"), QVariant(qlonglong(100)));
        QCOMPARE(lastText(*lpRunner, "GENI LOAD"), "GENI LOAD " + lsFile);
    }

    void loadStopsAtARefusedValue()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        auto lpRunner = makeRunner(lcCamera);
        QTemporaryDir lcDir;
        const QString lsFile = writeFile(lcDir, "bad.ini", "[catagories]\ng=true\n[g]\nWidth=641\n");
        tcMessageCapture lcMessages;
        QVERIFY(!lpRunner->ProcessCommand("GENI LOAD " + lsFile));
        QCOMPARE(lcMessages.warnings().size(), 1);
    }

    void saveAndLoadFailures()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        auto lpRunner = makeRunner(lcCamera);
        QTemporaryDir lcDir;
        // A folder cannot be written as a file: the save fails.
        QVERIFY(!lpRunner->ProcessCommand("GENI SAVE " + lcDir.path()));
        // A missing file is not an empty one.
        QVERIFY(!lpRunner->ProcessCommand("GENI LOAD " + lcDir.filePath("absent.ini")));
        QCOMPARE(lastText(*lpRunner, "GENI LOAD"),
                 "GENI LOAD " + lcDir.filePath("absent.ini") + "\nNo such file");
        // Not an INI file.
        const QString lsBroken = writeFile(lcDir, "broken.ini", "[catagories\n=\n\xff\xfe[[[");
        QVERIFY(!lpRunner->ProcessCommand("GENI LOAD " + lsBroken));
    }

    // In the GUI thread a dialog asks for the name; cancelling it fails the line.
    void fileDialogs_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("save") << "GENI SAVE" << int(tcFileDialogs::eSaveFile) << "Save settings to file";
        QTest::newRow("load") << "GENI LOAD" << int(tcFileDialogs::eOpenFile) << "Load settings from file";
    }

    void fileDialogs()
    {
        QFETCH(QString, line);
        QFETCH(int, kind);
        QFETCH(QString, title);
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        auto lpRunner = makeRunner(lcCamera);
        {
            tcFileDialogAnswers lcCancel;
            QVERIFY(!lpRunner->ProcessCommand(line));
            QCOMPARE(lpRunner->getResult(), line + "\n");
            QCOMPARE(lcCancel.requests().size(), 1);
            QCOMPARE(int(lcCancel.requests().first().meKind), kind);
            QCOMPARE(lcCancel.requests().first().msTitle, title);
            QCOMPARE(lcCancel.requests().first().msFilter, QStringLiteral("Ini Files (*.ini)"));
        }
        QTemporaryDir lcDir;
        const QString lsFile = lcDir.filePath(QStringLiteral("chosen.ini"));
        QVERIFY(lpRunner->ProcessCommand("GENI SAVE " + lsFile));
        tcFileDialogAnswers lcChoose(QStringList{lsFile});
        QVERIFY(lpRunner->ProcessCommand(line));
        QCOMPARE(lcChoose.requests().size(), 1);
        QVERIFY(QFileInfo(lsFile).size() > 0);
    }

    void camStartWaitStop()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        makeSmallAndFast(lcCamera);
        auto lpRunner = makeRunner(lcCamera);
        tcCmdRunner& lrRunner = *lpRunner;

        QVERIFY(lrRunner.ProcessCommand("CAM WAIT 0"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(false));
        QCOMPARE(lastText(lrRunner, "WAIT 0"), QStringLiteral("WAIT 0 ERR"));

        QElapsedTimer lcClock;
        lcClock.start();
        QVERIFY(lrRunner.ProcessCommand("CAM WAIT 100")); // nothing streams: times out
        QVERIFY(lcClock.elapsed() >= 95);
        QCOMPARE(lrRunner.getLastResult(), QVariant(false));
        QCOMPARE(lastText(lrRunner, "WAIT 100"), QStringLiteral("WAIT 100 ERR"));

        QVERIFY(lrRunner.ProcessCommand("cam start"));
        QCOMPARE(lastText(lrRunner, "START"), QStringLiteral("START OK"));
        QVERIFY(lcCamera.mcCamera.IsRunning());
        QVERIFY(lrRunner.ProcessCommand("CAM WAIT 5000"));
        QCOMPARE(lrRunner.getLastResult(), QVariant(true));
        QCOMPARE(lastText(lrRunner, "WAIT 5000"), QStringLiteral("WAIT 5000 OK"));
        QVERIFY(lrRunner.ProcessCommand("CAM WAIT"));
        QCOMPARE(lastText(lrRunner, "WAIT -1"), QStringLiteral("WAIT -1 OK"));
        QVERIFY(lrRunner.ProcessCommand("CAM STOP"));
        QCOMPARE(lastText(lrRunner, "STOP"), QStringLiteral("STOP OK"));
        QTRY_VERIFY_WITH_TIMEOUT(!lcCamera.mcCamera.IsRunning(), 2000);

        QVERIFY(!lrRunner.ProcessCommand("CAM GO"));
        QCOMPARE(lastText(lrRunner, "Unknown"), QStringLiteral("Unknown CAM cmd GO"));
        QVERIFY(!lrRunner.ProcessCommand("CAM"));
        QCOMPARE(lastText(lrRunner, "CAM"), QStringLiteral("CAM"));
    }

    // A script that uses every command, run on the runner's own thread while
    // the GUI thread answers the prompt and delivers the frames.
    void wholeScriptOnTheRunnerThread()
    {
        tcOpenCamera lcCamera(tnSimcam::kSensorId);
        QVERIFY(lcCamera.mbOpen);
        lcCamera.set("ExposureTime", 100.0);
        QTemporaryDir lcDir;
        QSettings lcSettings(lcDir.filePath("kestrix.ini"), QSettings::IniFormat);
        lcSettings.setValue("variables/width", 256);
        const QString lsSaved = lcDir.filePath("features.ini");
        const QByteArray lcScript = "# every command once\n"
                                    "HELP SLEEP\n"
                                    "GENI WRITE Width ${width}\n"
                                    "GENI WRITE Height 64\n"
                                    "GENI READ Width\n"
                                    "CMP 256\n"
                                    "SLEEP 10\n"
                                    "PEEK 0x10\n"
                                    "CMP 0x1070 0xFFFF\n"
                                    "POKE 0x10 0x55\n"
                                    "PEEK 0x10\n"
                                    "CMP 85\n"
                                    "\n"
                                    "CAM START\n"
                                    "CAM WAIT 5000\n"
                                    "CAM STOP\n"
                                    "GENI SAVE " +
                                    lsSaved.toUtf8() +
                                    "\n"
                                    "GENI WRITE Width 512\n"
                                    "GENI LOAD " +
                                    lsSaved.toUtf8() +
                                    "\n"
                                    "GENI EXEC AcquisitionStop\n"
                                    "PROMPT 0x400 All+done\n";
        const QString lsScript = writeFile(lcDir, "every.txt", lcScript);
        auto lpRunner = makeRunner(lcCamera, lsScript, &lcSettings);
        tcBoxAnswerer lcAnswerer(QMessageBox::Ok);
        connect(lpRunner.get(), &tcCmdRunner::showMessageBox, &lcAnswerer, &tcBoxAnswerer::show);
        connect(&lcAnswerer, &tcBoxAnswerer::answered, lpRunner.get(), &tcCmdRunner::messageBoxFinished);
        tcRunWatch lcWatch(*lpRunner);
        QVERIFY(lcWatch.run());

        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0).first, true);
        QCOMPARE(lcWatch.mcDone.at(0).second, lsScript + " complete");
        QVERIFY(lpRunner->WasSuccessful());
        QCOMPARE(lcWatch.mnProgress.size(), 1 + 21 + 1); // before each of 21 lines
        QCOMPARE(lcWatch.mnProgress.first(), 0);
        QCOMPARE(lcWatch.mnProgress.last(), 100);
        QCOMPARE(lcAnswerer.mnShown, 1);
        QCOMPARE(lcAnswerer.msText, QStringLiteral("All done "));
        QCOMPARE(lcCamera.get("Width"), QVariant(qlonglong(256)));
        QTRY_VERIFY_WITH_TIMEOUT(!lcCamera.mcCamera.IsRunning(), 2000);

        const QString lsResult = lpRunner->getResult();
        const QStringList lsExpected = {
            "\nSLEEP\n-----\nSLEEP - Used to delay script for Nms.\nSLEEP <sleep_time_in_ms>\n\n\n",
            "\nGENI WRITE Width ${width}Width = 256\n",
            "\nGENI WRITE Height 64Height = 64\n",
            "\nGENI READ Width = 256\n",
            "\nCMP 256\n PASS: 256 = 256\n",
            "\nSLEEP 10 = OK\n",
            "\nPEEK 0x10 = 4208\n",
            "\nCMP 0x1070 0xFFFF\n PASS: 4208 = 4208\n",
            "\nPOKE 0x10 0x55 = OK\n",
            "\nPEEK 0x10 = 85\n",
            "\nCMP 85\n PASS: 85 = 85\n",
            "\nSTART OK\n",
            "\nWAIT 5000 OK\n",
            "\nSTOP OK\n",
            "\nGENI SAVE " + lsSaved + "Std::DeviceVendorName=",
            "\nStd::Width=256\n",
            "\n\nGENI WRITE Width 512Width = 512\n",
            "\nGENI LOAD " + lsSaved + "\n",
            "\nGENI EXEC AcquisitionStopAcquisitionStop = OK\n",
            "\nPROMPT 0x400 All+done\n   Result = 1024\n"};
        int lnFrom = 0;
        for (const QString& lsPart : lsExpected)
        {
            const int lnAt = lsResult.indexOf(lsPart, lnFrom);
            QVERIFY2(lnAt >= 0, qPrintable(lsPart + "\n---- in ----\n" + lsResult));
            lnFrom = lnAt + 1;
        }
        QVERIFY(lsResult.endsWith(lsExpected.last()));
    }

    void scriptStopsAtTheFirstFailingCommand()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        QTemporaryDir lcDir;
        const QString lsScript =
            writeFile(lcDir, "fails.txt", "GENI WRITE Width 640\nGENI EXEC NoSuch\nGENI WRITE Width 800\n");
        auto lpRunner = makeRunner(lcCamera, lsScript);
        tcRunWatch lcWatch(*lpRunner);
        QVERIFY(lcWatch.run());
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0).first, false);
        QCOMPARE(lcWatch.mcDone.at(0).second, QStringLiteral("Error processing line 2: GENI EXEC NoSuch"));
        QCOMPARE(lcCamera.get("Width"), QVariant(qlonglong(640)));
        QVERIFY(lpRunner->getResult().endsWith("GENI EXEC NoSuchNoSuch = FAIL\n"));
    }

    // Dialogs cannot open away from the GUI thread: a script must name its file.
    void saveWithoutANameInAScript()
    {
        tcOpenCamera lcCamera(tnSimcam::kMonoId);
        QVERIFY(lcCamera.mbOpen);
        QTemporaryDir lcDir;
        auto lpRunner = makeRunner(lcCamera, writeFile(lcDir, "noname.txt", "GENI SAVE\n"));
        tcRunWatch lcWatch(*lpRunner);
        QVERIFY(lcWatch.run());
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0).second, QStringLiteral("Error processing line 1: GENI SAVE"));
        QVERIFY(lpRunner->getResult().endsWith("GENI SAVE\nNo file name given\n"));
    }
};

QTEST_MAIN(tst_CmdHandlersCamera)
#include "tst_cmdhandlerscamera.moc"
