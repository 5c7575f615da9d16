#include "cmdrunner.h"
#include "messagecapture.h"
#include "recordinghandler.h"
#include "runwatch.h"

#include <QtTest>

#include <memory>

namespace
{
using tpRecorder = QSharedPointer<tcRecordingHandler>;

tpRecorder addRecorder(tcCmdRunner& arRunner, const QString& arCmd, const QVariant& arAnswer = QVariant(true))
{
    tpRecorder lpHandler(new tcRecordingHandler(arCmd, arAnswer));
    arRunner.addCommand(lpHandler);
    return lpHandler;
}

// Writes a script into a temporary folder that lives as long as the test.
QString writeScript(const QTemporaryDir& arDir, const QString& arName, const QByteArray& arText)
{
    const QString lsPath = arDir.filePath(arName);
    QFile lcFile(lsPath);
    if (!lcFile.open(QIODevice::WriteOnly))
        return QString();
    lcFile.write(arText);
    return lsPath;
}

// Runs the script to its end with the GUI thread's event loop going.
bool finishRun(tcCmdRunner& arRunner)
{
    tcRunWatch lcWatch(arRunner);
    return lcWatch.run();
}
} // namespace

class tst_CmdRunner : public QObject
{
    Q_OBJECT

private slots:
    void builtInCommands()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        QCOMPARE(lcRunner.cmds(), QStringList({"HELP", "CAM", "CMP", "GENI", "PROMPT", "SLEEP"}));
        QCOMPARE(lcRunner.getCmdHandlers().size(), 5);
        QVERIFY(lcRunner.getLastResult().isNull());
        QVERIFY(lcRunner.getResult().isEmpty());
        QVERIFY(lcRunner.getFilename().isEmpty());
        QVERIFY(!lcRunner.WasSuccessful());
    }

    void addCommandKeepsTheFirstAndRefusesNull()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcMessageCapture lcMessages;
        lcRunner.addCommand(QSharedPointer<tcCmdHandler>());
        QCOMPARE(lcRunner.getCmdHandlers().size(), 5);
        QVERIFY(lcMessages.warnings().join('\n').contains("Null command!"));

        tpRecorder lpFirst = addRecorder(lcRunner, "PEEK", 1);
        tpRecorder lpSecond = addRecorder(lcRunner, "PEEK", 2);
        QCOMPARE(lcRunner.getCmdHandlers().value("PEEK"), lpFirst.staticCast<tcCmdHandler>());
        QVERIFY(lcRunner.ProcessCommand("peek 1"));
        QCOMPARE(lpFirst->calls(), 1);
        QCOMPARE(lpSecond->calls(), 0);
        QCOMPARE(lcRunner.getLastResult(), QVariant(1));
    }

    void handlersOutliveTheRunnerWhenShared()
    {
        tpRecorder lpHandler(new tcRecordingHandler("KEEP"));
        QWeakPointer<tcRecordingHandler> lpWatch = lpHandler;
        QWeakPointer<tcRecordingHandler> lpOnlyInRunner;
        {
            tcCmdRunner lcRunner(nullptr, nullptr);
            lcRunner.addCommand(lpHandler);
            tpRecorder lpOther(new tcRecordingHandler("GONE"));
            lcRunner.addCommand(lpOther);
            lpOnlyInRunner = lpOther;
        }
        QVERIFY(lpOnlyInRunner.isNull());
        QVERIFY(!lpWatch.isNull());
        lpHandler.reset();
        QVERIFY(lpWatch.isNull());
    }

    void setCmdHandlersReplacesTheTable()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tcCmdRunner::tcHandlerMap lhTable;
        lhTable.insert("ONLY", QSharedPointer<tcCmdHandler>(new tcRecordingHandler("ONLY")));
        lcRunner.setCmdHandlers(lhTable);
        QCOMPARE(lcRunner.cmds(), QStringList({"HELP", "ONLY"}));
        QVERIFY(!lcRunner.ProcessCommand("SLEEP 1"));
        QVERIFY(lcRunner.ProcessCommand("o"));
    }

    void tokens_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("tokens");
        QTest::newRow("plain") << "POKE 0x10 5" << QStringList({"POKE", "0x10", "5"});
        QTest::newRow("two blanks") << "POKE 0x10  5" << QStringList({"POKE", "0x10", "", "5"});
        QTest::newRow("plus") << "POKE 1+2" << QStringList({"POKE", "1", "2"});
        QTest::newRow("tab") << "POKE\t7" << QStringList({"POKE", "7"});
        QTest::newRow("trailing blank") << "POKE 7 " << QStringList({"POKE", "7", ""});
        QTest::newRow("word only") << "POKE" << QStringList({"POKE"});
    }

    void tokens()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, tokens);
        tcCmdRunner lcRunner(nullptr, nullptr);
        tpRecorder lpHandler = addRecorder(lcRunner, "POKE");
        QVERIFY(lcRunner.ProcessCommand(line));
        QCOMPARE(lpHandler->args(), tokens);
        QCOMPARE(lpHandler->textIn(), line);
    }

    void prefixResolution_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("handler");
        QTest::newRow("exact") << "POKE 1"
                               << "POKE";
        QTest::newRow("lower case") << "poke 1"
                                    << "POKE";
        QTest::newRow("first of three in table order") << "p 0x10"
                                                       << "PEEK";
        QTest::newRow("unambiguous prefix") << "PR 0 x"
                                            << "PROMPT";
        QTest::newRow("empty word selects the first") << " 1"
                                                      << "CAM";
    }

    void prefixResolution()
    {
        QFETCH(QString, line);
        QFETCH(QString, handler);
        tcCmdRunner lcRunner(nullptr, nullptr);
        QMap<QString, tpRecorder> lhRecorders;
        tcCmdRunner::tcHandlerMap lhTable = lcRunner.getCmdHandlers();
        for (const QString lsName : {"CAM", "PEEK", "POKE", "PROMPT", "SLEEP"})
        {
            lhRecorders.insert(lsName, tpRecorder(new tcRecordingHandler(lsName)));
            lhTable.insert(lsName, lhRecorders.value(lsName));
        }
        lcRunner.setCmdHandlers(lhTable);
        QVERIFY(lcRunner.ProcessCommand(line));
        for (auto lcIt = lhRecorders.cbegin(); lcIt != lhRecorders.cend(); ++lcIt)
            QCOMPARE(lcIt.value()->calls(), lcIt.key() == handler ? 1 : 0);
    }

    void lowerCaseKeysCannotBeFound()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tpRecorder lpHandler = addRecorder(lcRunner, "lower");
        QVERIFY(!lcRunner.ProcessCommand("lower"));
        QCOMPARE(lpHandler->calls(), 0);
    }

    void unknownCommandFailsAndKeepsTheLastResult()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        addRecorder(lcRunner, "ECHO", 42);
        QVERIFY(lcRunner.ProcessCommand("ECHO"));
        QSignalSpy lcMessages(&lcRunner, &tcCmdRunner::Message);
        QVERIFY(!lcRunner.ProcessCommand("NOSUCH 1 2"));
        QCOMPARE(lcRunner.getLastResult(), QVariant(42));
        QCOMPARE(lcMessages.count(), 1);
        QCOMPARE(lcMessages.at(0).at(0).toString(), QStringLiteral("NOSUCH 1 2"));
        QCOMPARE(lcRunner.getResult(), QStringLiteral("ECHO\nNOSUCH 1 2\n"));
    }

    void nullResultFailsWithTheHandlersText()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tpRecorder lpHandler = addRecorder(lcRunner, "BAD", QVariant());
        lpHandler->setAppend(" broke");
        QVERIFY(!lcRunner.ProcessCommand("BAD"));
        QVERIFY(lcRunner.getLastResult().isNull());
        QCOMPARE(lcRunner.getResult(), QStringLiteral("BAD broke\n"));
    }

    void falseIsAResult()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        addRecorder(lcRunner, "NO", false);
        QVERIFY(lcRunner.ProcessCommand("NO"));
        QCOMPARE(lcRunner.getLastResult(), QVariant(false));
    }

    void helpForms()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        const QString lsCmpBlock = QStringLiteral("CMP\n---\n") +
                                   QStringLiteral("CMP - Used to compare a value to the last value from a "
                                                  "command.\nCMP <value to compare>  [mask]\n    mask is an "
                                                  "optional bitmask to apply before comparing\n\n");
        QCOMPARE(lcRunner.help("CMP"), lsCmpBlock);
        QVERIFY(lcRunner.ProcessCommand("cmp help"));
        // The title is the word as typed.
        QCOMPARE(lcRunner.getResult(), "cmp" + lsCmpBlock.mid(3) + "\n");

        QVERIFY(lcRunner.ProcessCommand("HeLp sl"));
        QVERIFY(lcRunner.getResult().endsWith(
            "sl\n--\nSLEEP - Used to delay script for Nms.\nSLEEP <sleep_time_in_ms>\n\n\n"));
        QVERIFY(lcRunner.ProcessCommand("help nothing"));
        QVERIFY(lcRunner.getResult().endsWith("cmd nothing not found\n\n\n"));

        const QString lsAll = lcRunner.help(QString());
        QStringList lsTitles;
        for (const QString& lsName : lcRunner.getCmdHandlers().keys())
            lsTitles << lsName + "\n" + QString(lsName.size(), '-') + "\n";
        int lnFrom = 0;
        for (const QString& lsTitle : lsTitles)
        {
            const int lnAt = lsAll.indexOf(lsTitle, lnFrom);
            QVERIFY2(lnAt >= lnFrom, qPrintable(lsTitle));
            lnFrom = lnAt + 1;
        }
        QVERIFY(lsAll.endsWith("\n\n"));
        QVERIFY(lcRunner.ProcessCommand("help"));
        QVERIFY(lcRunner.getResult().endsWith(lsAll + "\n"));
    }

    void helpDoesNotTouchTheLastResult()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        addRecorder(lcRunner, "ECHO", 7);
        QVERIFY(lcRunner.ProcessCommand("ECHO"));
        QVERIFY(lcRunner.ProcessCommand("HELP"));
        QCOMPARE(lcRunner.getLastResult(), QVariant(7));
    }

    void helpOfAnEmptyTable()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        lcRunner.setCmdHandlers({});
        QVERIFY(lcRunner.help(QString()).isEmpty());
    }

    void helpEndsWithANewLineEvenWhenTheHandlerDoesNot()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        lcRunner.addCommand(QSharedPointer<tcCmdHandler>(new tcRecordingHandler("X", true, "no break")));
        QCOMPARE(lcRunner.help("x"), QStringLiteral("x\n-\nno break\n\n"));
    }

    void variables_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("announced");
        QTest::newRow("stored") << "${gain}"
                                << "12" << true;
        QTest::newRow("not stored: its own name") << "${abc}"
                                                  << "abc" << true;
        QTest::newRow("no closing brace: last character dropped") << "${abc"
                                                                  << "7" << true;
        QTest::newRow("too short") << "${}"
                                   << "${}" << false;
        QTest::newRow("no dollar") << "{abc}"
                                   << "{abc}" << false;
    }

    void variables()
    {
        QFETCH(QString, token);
        QFETCH(QString, expected);
        QFETCH(bool, announced);
        QTemporaryDir lcDir;
        QSettings lcSettings(lcDir.filePath("vars.ini"), QSettings::IniFormat);
        lcSettings.setValue("variables/gain", 12);
        lcSettings.setValue("variables/ab", 7);
        tcCmdRunner lcRunner(nullptr, &lcSettings);
        tpRecorder lpHandler = addRecorder(lcRunner, "ECHO");
        QSignalSpy lcMessages(&lcRunner, &tcCmdRunner::Message);
        QVERIFY(lcRunner.ProcessCommand("ECHO " + token));
        QCOMPARE(lpHandler->args().value(1), expected);
        QCOMPARE(lpHandler->textIn(), "ECHO " + token);
        QCOMPARE(lcMessages.count(), announced ? 2 : 1);
        if (announced)
            QCOMPARE(lcMessages.at(0).at(0).toString(), token + " = " + expected);
    }

    void variablesNeedSettingsAndSkipTheCommandWord()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tpRecorder lpHandler = addRecorder(lcRunner, "ECHO");
        QVERIFY(lcRunner.ProcessCommand("ECHO ${abc}"));
        QCOMPARE(lpHandler->args().value(1), QStringLiteral("${abc}"));

        QTemporaryDir lcDir;
        QSettings lcSettings(lcDir.filePath("vars.ini"), QSettings::IniFormat);
        lcSettings.setValue("variables/ECH", "ECHO");
        tcCmdRunner lcOther(nullptr, &lcSettings);
        QVERIFY(!lcOther.ProcessCommand("${ECHO}"));
    }

    void variablesFromTheScriptThread()
    {
        QTemporaryDir lcDir;
        QSettings lcSettings(lcDir.filePath("vars.ini"), QSettings::IniFormat);
        lcSettings.setValue("variables/addr", "0x20"); // not yet written to disk
        tcCmdRunner lcRunner(nullptr, nullptr, writeScript(lcDir, "v.txt", "ECHO ${addr}\n"), &lcSettings);
        tpRecorder lpHandler = addRecorder(lcRunner, "ECHO");
        QVERIFY(finishRun(lcRunner));
        QCOMPARE(lpHandler->args().value(1), QStringLiteral("0x20"));
    }

    void hexOrDec_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("value");
        QTest::addColumn<bool>("ok");
        QTest::newRow("largest hex") << "0x7fffffff" << 2147483647u << true;
        QTest::newRow("hex above int") << "0xFFFFFFFF" << 0u << false;
        QTest::newRow("decimal") << "12" << 12u << true;
        QTest::newRow("capital X") << "0X1" << 0u << false;
        QTest::newRow("upper-case digits") << "0xAB" << 0xABu << true;
        QTest::newRow("minus one") << "-1" << 0xFFFFFFFFu << true;
        QTest::newRow("surrounding text") << "12a" << 0u << false;
        QTest::newRow("leading zero is decimal") << "010" << 10u << true;
        QTest::newRow("empty") << "" << 0u << false;
    }

    void hexOrDec()
    {
        QFETCH(QString, text);
        QFETCH(uint, value);
        QFETCH(bool, ok);
        bool lbOk = !ok;
        QCOMPARE(tcCmdRunner::hexOrDec32bitValue(text, &lbOk), value);
        QCOMPARE(lbOk, ok);
        QCOMPARE(tcCmdRunner::hexOrDec32bitValue(text, nullptr), value);
    }

    void goodScriptRun()
    {
        QTemporaryDir lcDir;
        const QByteArray lcText("# a comment\n\n  ECHO one  \nECHO two\n   # indented\n");
        const QString lsScript = writeScript(lcDir, "good.txt", lcText);
        tcCmdRunner lcRunner(nullptr, nullptr, lsScript, nullptr);
        tpRecorder lpHandler = addRecorder(lcRunner, "ECHO");
        QVERIFY(lcRunner.ProcessCommand("ECHO before")); // cleared by the run
        tcRunWatch lcWatch(lcRunner);
        lcWatch.clear();
        QVERIFY(lcWatch.run());

        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0), qMakePair(true, lsScript + " complete"));
        QVERIFY(lcRunner.WasSuccessful());
        QCOMPARE(lpHandler->calls(), 3);
        QCOMPARE(lpHandler->thread(), static_cast<QThread*>(&lcRunner));
        QCOMPARE(lpHandler->args(), QStringList({"ECHO", "two"}));

        // One report before every line read, from 0 to 100.
        const QList<int>& lcPercent = lcWatch.mnProgress;
        QCOMPARE(lcPercent.size(), 1 + 5 + 1);
        QCOMPARE(lcPercent.first(), 0);
        QCOMPARE(lcPercent.last(), 100);
        QCOMPARE(lcPercent.at(1), 0);
        QCOMPARE(lcPercent.at(2), 12 * 100 / lcText.size()); // after "# a comment\n"
        QCOMPARE(lcPercent.at(5), 35 * 100 / lcText.size());
        for (int i = 1; i < lcPercent.size(); ++i)
            QVERIFY(lcPercent.at(i) >= lcPercent.at(i - 1));

        QCOMPARE(lcWatch.msMessages, QStringList({"Running script " + lsScript, "ECHO one", "ECHO two"}));

        const QStringList lsLines = lcRunner.getResult().split('\n');
        QCOMPARE(lsLines.size(), 5);
        QVERIFY(QDateTime::fromString(lsLines.at(0)).isValid());
        QCOMPARE(lsLines.at(1),
                 QStringLiteral("Command Runner (0x%1) File:%2")
                     .arg(QString::number(reinterpret_cast<quintptr>(&lcRunner), 16), lsScript));
        QCOMPARE(lsLines.mid(2), QStringList({"ECHO one", "ECHO two", ""}));
    }

    void directCallsAfterARunExtendTheTranscript()
    {
        QTemporaryDir lcDir;
        tcCmdRunner lcRunner(nullptr, nullptr, writeScript(lcDir, "s.txt", "ECHO 1\n"), nullptr);
        addRecorder(lcRunner, "ECHO");
        QVERIFY(finishRun(lcRunner));
        QVERIFY(lcRunner.ProcessCommand("ECHO 2"));
        QVERIFY(lcRunner.getResult().endsWith("\nECHO 1\nECHO 2\n"));
    }

    void failingLineEndsTheRunOnce()
    {
        QTemporaryDir lcDir;
        const QString lsScript = writeScript(lcDir, "bad.txt", "ECHO 1\n# two\nBAD  line\nECHO 4\n");
        tcCmdRunner lcRunner(nullptr, nullptr, lsScript, nullptr);
        tpRecorder lpEcho = addRecorder(lcRunner, "ECHO");
        tpRecorder lpBad = addRecorder(lcRunner, "BAD", QVariant());
        tcRunWatch lcWatch(lcRunner);
        QVERIFY(lcWatch.run());

        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0),
                 qMakePair(false, QStringLiteral("Error processing line 3: BAD  line")));
        QVERIFY(!lcRunner.WasSuccessful());
        QCOMPARE(lcWatch.mnProgress.last(), 100);
        QCOMPARE(lpEcho->calls(), 1);
        QCOMPARE(lpBad->calls(), 1);
        QVERIFY(lcRunner.getResult().endsWith("\nECHO 1\nBAD  line\n"));
    }

    void unknownWordInAScriptFails()
    {
        QTemporaryDir lcDir;
        tcCmdRunner lcRunner(nullptr, nullptr, writeScript(lcDir, "u.txt", "NOSUCH\n"), nullptr);
        tcRunWatch lcWatch(lcRunner);
        QVERIFY(lcWatch.run());
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0).second, QStringLiteral("Error processing line 1: NOSUCH"));
    }

    void missingFileIsAFailure()
    {
        QTemporaryDir lcDir;
        const QString lsScript = lcDir.filePath("absent.txt");
        tcCmdRunner lcRunner(nullptr, nullptr, lsScript, nullptr);
        tcRunWatch lcWatch(lcRunner);
        QVERIFY(lcWatch.run());
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0).first, false);
        QVERIFY(lcWatch.mcDone.at(0).second.startsWith("Unable to open " + lsScript + ": "));
        QVERIFY(!lcRunner.WasSuccessful());
        QCOMPARE(lcWatch.msMessages.size(), 0);
        QCOMPARE(lcWatch.mnProgress, QList<int>({0, 100}));
        QFile lcFile(lsScript);
        QVERIFY(!lcFile.open(QIODevice::ReadOnly));
        QVERIFY(lcRunner.getResult().endsWith(") File:" + lsScript + "\n" + lcFile.errorString()));
    }

    void emptyScriptSucceeds()
    {
        QTemporaryDir lcDir;
        const QString lsScript = writeScript(lcDir, "empty.txt", "");
        tcCmdRunner lcRunner(nullptr, nullptr, lsScript, nullptr);
        tcRunWatch lcWatch(lcRunner);
        QVERIFY(lcWatch.run());
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QVERIFY(lcWatch.mcDone.at(0).first);
        QCOMPARE(lcWatch.msMessages, QStringList("Running script " + lsScript));
        QCOMPARE(lcRunner.getResult().count('\n'), 2);
    }

    void headerWithoutAFileName()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        QVERIFY(finishRun(lcRunner));
        QVERIFY(!lcRunner.WasSuccessful());
        QVERIFY(lcRunner.getResult().contains(
            QStringLiteral("Command Runner (0x%1) \n").arg(reinterpret_cast<quintptr>(&lcRunner), 0, 16)));
    }

    // The abort takes effect before the next line; the line running finishes.
    void abortStopsBeforeTheNextLine()
    {
        QTemporaryDir lcDir;
        const QString lsScript = writeScript(lcDir, "long.txt", "ECHO 1\nSLEEP 300\nECHO 3\nECHO 4\n");
        tcCmdRunner lcRunner(nullptr, nullptr, lsScript, nullptr);
        tpRecorder lpEcho = addRecorder(lcRunner, "ECHO");
        tcRunWatch lcWatch(lcRunner);
        lcRunner.start();
        QTRY_VERIFY(lcWatch.msMessages.size() >= 2); // "ECHO 1" done, SLEEP under way
        lcRunner.Abort();
        QVERIFY(lcWatch.waitFinished());
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QCOMPARE(lcWatch.mcDone.at(0), qMakePair(false, "Script aborted before line 3 of " + lsScript));
        QVERIFY(!lcRunner.WasSuccessful());
        QCOMPARE(lcWatch.mnProgress.last(), 100);
        QCOMPARE(lpEcho->calls(), 1);
        QVERIFY(lcRunner.getResult().endsWith("ECHO 1\nSLEEP 300 = OK\n"));

        // The request is spent: the next run goes to its end.
        lcWatch.clear();
        QVERIFY(lcWatch.run());
        QCOMPARE(lcWatch.mcDone.size(), 1);
        QVERIFY(lcWatch.mcDone.at(0).first);
    }

    void abortWhileIdleIsIgnored()
    {
        QTemporaryDir lcDir;
        tcCmdRunner lcRunner(nullptr, nullptr, writeScript(lcDir, "s.txt", "ECHO 1\n"), nullptr);
        addRecorder(lcRunner, "ECHO");
        lcRunner.Abort();
        QVERIFY(finishRun(lcRunner));
        QVERIFY(lcRunner.WasSuccessful());
    }

    void messageBoxHandOverIsForwarded()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        QSignalSpy lcDone(&lcRunner, &tcCmdRunner::messageBoxDone);
        lcRunner.messageBoxFinished(QMessageBox::Yes);
        QCOMPARE(lcDone.count(), 1);
        QCOMPARE(lcDone.at(0).at(0).value<QMessageBox::StandardButtons>(),
                 QMessageBox::StandardButtons(QMessageBox::Yes));
        QVERIFY(QMetaType::type("QMessageBox::StandardButtons") != QMetaType::UnknownType);
    }

    void handlersGetTheRunnersCamera()
    {
        tcCmdRunner lcRunner(nullptr, nullptr);
        tpRecorder lpHandler = addRecorder(lcRunner, "ECHO");
        auto* lpCamera = reinterpret_cast<tcCameraInterface*>(quintptr(0x1000));
        lcRunner.setCamera(lpCamera);
        QVERIFY(lcRunner.ProcessCommand("ECHO"));
        QCOMPARE(lpHandler->camera(), lpCamera);
        lcRunner.setCamera(nullptr);
    }
};

QTEST_MAIN(tst_CmdRunner)
#include "tst_cmdrunner.moc"
