#include "boxanswerer.h"
#include "cmdhandlercamera.h"
#include "cmdhandlergenicam.h"
#include "cmdhandlerpeek.h"
#include "cmdhandlerpoke.h"
#include "cmdrunner.h"
#include "recordinghandler.h"
#include "runwatch.h"

#include <QtTest>

// The handlers that need no camera, and what every camera handler does
// without one.
class tst_CmdHandlers : public QObject
{
    Q_OBJECT

private:
    // A runner whose PEEK answers with the given value, for CMP to compare.
    static QSharedPointer<tcRecordingHandler> fakePeek(tcCmdRunner& arRunner, const QVariant& arValue)
    {
        QSharedPointer<tcRecordingHandler> lpPeek(new tcRecordingHandler("PEEK", arValue));
        arRunner.addCommand(lpPeek);
        return lpPeek;
    }

    static QString lastLine(const tcCmdRunner& arRunner)
    {
        QString lsText = arRunner.getResult();
        lsText.chop(1);
        return lsText;
    }

private slots:
    void helpTexts_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("text");
        QTest::newRow("SLEEP") << "SLEEP"
                               << "SLEEP - Used to delay script for Nms.\nSLEEP <sleep_time_in_ms>\n";
        QTest::newRow("CMP")
            << "CMP"
            << "CMP - Used to compare a value to the last value from a command.\nCMP <value to "
               "compare>  [mask]\n    mask is an optional bitmask to apply before comparing";
        QTest::newRow("PROMPT") << "PROMPT"
                                << "PROMPT - Used to prompt for input or display information.\nPROMPT <type> "
                                   "<message text>\n    type is the QMessageBox StandardButton mask for the "
                                   "buttons\n    to include (0x400 for OK, 0x14000 for Yes/No)";
        QTest::newRow("GENI")
            << "GENI"
            << "GENI - Used to run GenApi commands (XML features).\nGENI READ <address>\nGENI "
               "WRITE <address> <value>\nGENI EXEC <command>\nGENI SAVE <filename>\nGENI LOAD "
               "<filename>\n";
        QTest::newRow("CAM")
            << "CAM"
            << "CAM - Used to start/stop acquisition.\nCAM START - Start Acquisition\nCAM STOP - "
               "Stop Acquisition\nCAM WAIT [msec] - Wait for a frame (optional) msec "
               "milliseconds to wait (def = oo)\n";
        QTest::newRow("PEEK") << "PEEK"
                              << "PEEK - Used to read a sensor register.\nPEEK <address>\n";
        QTest::newRow("POKE") << "POKE"
                              << "POKE - Used to write a sensor register.\nPOKE <address> <value>\n";
    }

    void helpTexts()
    {
        QFETCH(QString, word);
        QFETCH(QString, text);
        tcCmdRunner lcRunner(nullptr, nullptr);
        lcRunner.addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerPeek()));
        lcRunner.addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerPoke()));
        QSharedPointer<tcCmdHandler> lpHandler = lcRunner.getCmdHandlers().value(word);
        QVERIFY(lpHandler);
        QCOMPARE(lpHandler->cmd(), word);
        QCOMPARE(lpHandler->getName(), word);
        QCOMPARE(lpHandler->help(), text);
    }

    void handlersAreCopyable()
    {
        tcCmdHandlerPeek lcPeek;
        lcPeek.SetDbgLevel(3);
        tcCmdHandlerPeek lcCopy(lcPeek);
        QCOMPARE(lcCopy.cmd(), QStringLiteral("PEEK"));
        QCOMPARE(lcCopy.GetDbgLevel(), 3);
        tcCmdHandlerPeek lcAssigned;
        lcAssigned = lcPeek;
        QCOMPARE(lcAssigned.GetDbgLevel(), 3);
    }

    void sleep_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("atLeastMs");
        QTest::newRow("delay") << "SLEEP 60"
                               << "SLEEP 60 = OK" << 60;
        QTest::newRow("prefix") << "sl 20"
                                << "sl 20 = OK" << 20;
        QTest::newRow("no argument") << "SLEEP"
                                     << "SLEEP" << 0;
        QTest::newRow("two arguments") << "SLEEP 1 2"
                                       << "SLEEP 1 2" << 0;
        QTest::newRow("not a number") << "SLEEP abc"
                                      << "SLEEP abc = OK" << 0;
        QTest::newRow("negative") << "SLEEP -5"
                                  << "SLEEP -5 = OK" << 0;
    }

    void sleep()
    {
        QFETCH(QString, line);
        QFETCH(QString, text);
        QFETCH(int, atLeastMs);
        tcCmdRunner lcRunner(nullptr, nullptr);
        QElapsedTimer lcClock;
        lcClock.start();
        QVERIFY(lcRunner.ProcessCommand(line));
        QVERIFY(lcClock.elapsed() >= atLeastMs);
        QVERIFY(lcClock.elapsed() < 5000);
        QCOMPARE(lcRunner.getLastResult(), QVariant(true));
        QCOMPARE(lastLine(lcRunner), text);
    }

    void cmp_data()
    {
        QTest::addColumn<QVariant>("last");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("outcome");
        QTest::addColumn<QString>("appended");
        QTest::newRow("text equal") << QVariant(5) << "CMP 5" << true << "\n PASS: 5 = 5";
        QTest::newRow("hex is not the same text") << QVariant(5) << "CMP 0x5" << false << "\n FAIL: 0x5 != 5";
        QTest::newRow("masked hex") << QVariant(5) << "CMP 0x5 0xFF" << true << "\n PASS: 5 = 5";
        QTest::newRow("mask of all ones is none")
            << QVariant(5) << "CMP 0x5 0xFFFFFFFF" << false << "\n FAIL: 0x5 != 5";
        QTest::newRow("minus one is all ones") << QVariant(5) << "CMP 0x5 -1" << false << "\n FAIL: 0x5 != 5";
        QTest::newRow("bad mask is none") << QVariant(5) << "CMP 5 zz" << true << "\n PASS: 5 = 5";
        QTest::newRow("mask shows masked value")
            << QVariant(0x1234) << "CMP 0x34 0xFF" << true << "\n PASS: 52 = 4660";
        QTest::newRow("mask mismatch")
            << QVariant(0x1234) << "CMP 0x35 0xFF" << false << "\n FAIL: 52 != 4660";
        QTest::newRow("masked, value does not parse")
            << QVariant(0) << "CMP xyz 0xFF" << false << "\n FAIL: 0 != 0";
        QTest::newRow("64-bit value") << QVariant(qlonglong(16)) << "CMP 16" << true << "\n PASS: 16 = 16";
        QTest::newRow("boolean") << QVariant(true) << "CMP true" << true << "\n PASS: true = true";
    }

    void cmp()
    {
        QFETCH(QVariant, last);
        QFETCH(QString, line);
        QFETCH(bool, outcome);
        QFETCH(QString, appended);
        tcCmdRunner lcRunner(nullptr, nullptr);
        fakePeek(lcRunner, last);
        QVERIFY(lcRunner.ProcessCommand("PEEK 0x10"));
        QVERIFY(lcRunner.ProcessCommand(line));
        QCOMPARE(lcRunner.getLastResult(), QVariant(outcome));
        QVERIFY2(lcRunner.getResult().endsWith(line + appended + "\n"), qPrintable(lcRunner.getResult()));
    }

    void cmpAgainstTheOutcomeOfCmp()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        fakePeek(lcRunner, 5);
        QVERIFY(lcRunner.ProcessCommand("PEEK 0x10"));
        QVERIFY(lcRunner.ProcessCommand("CMP 5"));
        QVERIFY(lcRunner.ProcessCommand("CMP 5"));
        QCOMPARE(lcRunner.getLastResult(), QVariant(false));
        QVERIFY(lcRunner.getResult().endsWith("CMP 5\n FAIL: 5 != true\n"));
    }

    void cmpWithoutArgument()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        fakePeek(lcRunner, 5);
        QVERIFY(lcRunner.ProcessCommand("PEEK 0x10"));
        QVERIFY(lcRunner.ProcessCommand("CMP"));
        QCOMPARE(lcRunner.getLastResult(), QVariant(true));
        QVERIFY(lcRunner.getResult().endsWith("PEEK 0x10\nCMP\n"));
    }

    void promptWithoutABox_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("mask does not parse") << "PROMPT xyz hello";
        QTest::newRow("no mask at all") << "PROMPT";
    }

    void promptWithoutABox()
    {
        QFETCH(QString, line);
        tcCmdRunner lcRunner(nullptr, nullptr);
        QSignalSpy lcBoxes(&lcRunner, &tcCmdRunner::showMessageBox);
        QVERIFY(lcRunner.ProcessCommand(line));
        QCOMPARE(lcBoxes.count(), 0);
        QCOMPARE(lcRunner.getLastResult(), QVariant(0));
        QCOMPARE(lastLine(lcRunner), line + "\n   Result = 0");
    }

    // In the GUI thread the whole hand-over runs synchronously.
    void promptInTheGuiThread()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcBoxAnswerer lcAnswerer(QMessageBox::Ok);
        connect(&lcRunner, &tcCmdRunner::showMessageBox, &lcAnswerer, &tcBoxAnswerer::show);
        connect(&lcAnswerer, &tcBoxAnswerer::answered, &lcRunner, &tcCmdRunner::messageBoxFinished);
        QVERIFY(lcRunner.ProcessCommand("PROMPT 0x400 Insert target now"));
        QCOMPARE(lcAnswerer.mnShown, 1);
        QCOMPARE(lcAnswerer.mnButtons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(lcAnswerer.msText, QStringLiteral("Insert target now "));
        QCOMPARE(lcRunner.getLastResult(), QVariant(1024));
        QCOMPARE(lastLine(lcRunner), QStringLiteral("PROMPT 0x400 Insert target now\n   Result = 1024"));
    }

    // The script thread waits while the GUI thread shows the box.
    void promptFromTheScriptThread()
    {
        QTemporaryDir lcDir;
        const QString lsScript = lcDir.filePath("prompt.txt");
        QFile lcFile(lsScript);
        QVERIFY(lcFile.open(QIODevice::WriteOnly));
        lcFile.write("PROMPT 0x14000 Continue?+now\nCMP 16384\nPROMPT 0x14000 Again\n");
        lcFile.close();

        tcCmdRunner lcRunner(nullptr, nullptr, lsScript, nullptr);
        tcBoxAnswerer lcAnswerer(QMessageBox::No);
        connect(&lcRunner, &tcCmdRunner::showMessageBox, &lcAnswerer, &tcBoxAnswerer::show);
        connect(&lcAnswerer, &tcBoxAnswerer::answered, &lcRunner, &tcCmdRunner::messageBoxFinished);
        tcRunWatch lcWatch(lcRunner);
        QVERIFY(lcWatch.run());

        QCOMPARE(lcAnswerer.mnShown, 2);
        QCOMPARE(lcAnswerer.mpThread, QThread::currentThread());
        QCOMPARE(lcAnswerer.mnButtons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(lcAnswerer.msText, QStringLiteral("Again "));
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QVERIFY(lcWatch.mcDone.at(0).first);
        QCOMPARE(lcRunner.getLastResult(), QVariant(65536));
        QVERIFY(lcRunner.getResult().endsWith("PROMPT 0x14000 Continue?+now\n   Result = 65536\n"
                                              "CMP 16384\n FAIL: 16384 != 65536\n"
                                              "PROMPT 0x14000 Again\n   Result = 65536\n"));
    }

    void cameraCommandsWithoutACamera_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("PEEK") << "PEEK 0x10";
        QTest::newRow("POKE") << "POKE 0x10 5";
        QTest::newRow("GENI") << "GENI READ Width";
        QTest::newRow("GENI unknown") << "GENI WR Width 640";
        QTest::newRow("CAM") << "CAM START";
        QTest::newRow("CAM unknown") << "CAM GO";
    }

    void cameraCommandsWithoutACamera()
    {
        QFETCH(QString, line);
        tcCmdRunner lcRunner(nullptr, nullptr);
        lcRunner.addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerPeek()));
        lcRunner.addCommand(QSharedPointer<tcCmdHandler>(new tcCmdHandlerPoke()));
        QVERIFY(!lcRunner.ProcessCommand(line));
        QVERIFY(lcRunner.getLastResult().isNull());
        QCOMPARE(lcRunner.getResult(), QStringLiteral("NULL camera\n"));
    }
};

QTEST_MAIN(tst_CmdHandlers)
#include "tst_cmdhandlers.moc"
