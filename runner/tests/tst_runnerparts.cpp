// The parts of kestrix-run that need no camera: the command line, the script
// line bookkeeping, the answers given to prompts and the JUnit report.
#include "junitreport.h"
#include "promptanswerer.h"
#include "runoptions.h"
#include "scriptlines.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

class tst_RunnerParts : public QObject
{
    Q_OBJECT

private slots:
    void options_full();
    void options_rejected_data();
    void options_rejected();
    void options_listNeedsNoScript();
    void scriptLines_numbersAndMatching();
    void scriptLines_checks_data();
    void scriptLines_checks();
    void prompt_choice_data();
    void prompt_choice();
    void junit_structure();
    void junit_unwritable();
};

namespace
{
QStringList args(const QStringList& arRest)
{
    return QStringList(QStringLiteral("kestrix-run")) + arRest;
}
} // namespace

void tst_RunnerParts::options_full()
{
    tcRunOptions lcOptions;
    QVERIFY2(lcOptions.parse(args({"--producer", "/p/x.cti", "--device", "SimIF0,Cam-1", "--ini", "a.ini",
                                   "--set", "a=1", "--set", "b=x=y", "--set", "c=", "--answer", "YES",
                                   "--junit", "r.xml", "--log", "l.log", "s.txt"})),
             qPrintable(lcOptions.errorText()));
    QCOMPARE(lcOptions.msProducer, QStringLiteral("/p/x.cti"));
    QCOMPARE(lcOptions.msInterface, QStringLiteral("SimIF0"));
    QCOMPARE(lcOptions.msDeviceId, QStringLiteral("Cam-1"));
    QCOMPARE(lcOptions.mnDeviceIndex, -1);
    QCOMPARE(lcOptions.msIniFile, QStringLiteral("a.ini"));
    QCOMPARE(lcOptions.mcVariables.size(), 3);
    QCOMPARE(lcOptions.mcVariables.at(1).first, QStringLiteral("b"));
    QCOMPARE(lcOptions.mcVariables.at(1).second, QStringLiteral("x=y"));
    QCOMPARE(lcOptions.mcVariables.at(2).second, QString());
    QCOMPARE(lcOptions.meAnswer, tcRunOptions::eAnswerYes);
    QCOMPARE(lcOptions.msJUnitFile, QStringLiteral("r.xml"));
    QCOMPARE(lcOptions.msLogFile, QStringLiteral("l.log"));
    QCOMPARE(lcOptions.msScript, QStringLiteral("s.txt"));
    QVERIFY(!lcOptions.mbList);

    tcRunOptions lcIndexed;
    QVERIFY(lcIndexed.parse(args({"--device-index", "2", "--answer", "no", "s.txt"})));
    QCOMPARE(lcIndexed.mnDeviceIndex, 2);
    QCOMPARE(lcIndexed.meAnswer, tcRunOptions::eAnswerNo);
}

void tst_RunnerParts::options_rejected_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("no script") << QStringList{"--answer", "yes"} << "no script file given";
    QTest::newRow("two scripts") << QStringList{"a.txt", "b.txt"} << "one script only";
    QTest::newRow("device without comma")
        << QStringList{"--device", "SimIF0", "s.txt"} << "INTERFACE,DEVICE_ID";
    QTest::newRow("device without id")
        << QStringList{"--device", "SimIF0,", "s.txt"} << "INTERFACE,DEVICE_ID";
    QTest::newRow("both device options")
        << QStringList{"--device", "a,b", "--device-index", "0", "s.txt"} << "exclude each other";
    QTest::newRow("negative index") << QStringList{"--device-index", "-1", "s.txt"} << "a number from 0";
    QTest::newRow("index not a number") << QStringList{"--device-index", "two", "s.txt"} << "a number from 0";
    QTest::newRow("set without name") << QStringList{"--set", "=1", "s.txt"} << "NAME=VALUE";
    QTest::newRow("set without value") << QStringList{"--set", "name", "s.txt"} << "NAME=VALUE";
    QTest::newRow("set with group") << QStringList{"--set", "a/b=1", "s.txt"} << "NAME=VALUE";
    QTest::newRow("answer maybe") << QStringList{"--answer", "maybe", "s.txt"} << "yes or no";
    QTest::newRow("unknown option") << QStringList{"--frobnicate", "s.txt"} << "frobnicate";
    QTest::newRow("missing value") << QStringList{"s.txt", "--producer"} << "producer";
}

void tst_RunnerParts::options_rejected()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    tcRunOptions lcOptions;
    QVERIFY(!lcOptions.parse(args(arguments)));
    QVERIFY2(lcOptions.errorText().contains(error), qPrintable(lcOptions.errorText()));
}

void tst_RunnerParts::options_listNeedsNoScript()
{
    tcRunOptions lcOptions;
    QVERIFY(lcOptions.parse(args({"--list", "--producer", "x.cti"})));
    QVERIFY(lcOptions.mbList);
    QVERIFY(lcOptions.msScript.isEmpty());
    tcRunOptions lcHelp;
    QVERIFY(lcHelp.parse(args({"--help"})));
    QVERIFY(lcHelp.mbHelp);
}

void tst_RunnerParts::scriptLines_numbersAndMatching()
{
    QTemporaryDir lcDir;
    const QString lsPath = lcDir.filePath(QStringLiteral("s.txt"));
    QFile lcFile(lsPath);
    QVERIFY(lcFile.open(QIODevice::WriteOnly));
    lcFile.write("# header\n\n  GENI READ Width  \nCMP 5\n\t# indented comment\nCMP 5\nSLEEP 1\n");
    lcFile.close();

    tcScriptLines lcLines;
    QString lsError;
    QVERIFY(lcLines.read(lsPath, lsError));
    QCOMPARE(lcLines.lines().size(), 4);
    QCOMPARE(lcLines.lines().first().mnNumber, 3);
    QCOMPARE(lcLines.lines().first().msText, QStringLiteral("GENI READ Width"));
    // Equal lines are told apart by order.
    QCOMPARE(lcLines.take(QStringLiteral("CMP 5")), 4);
    QCOMPARE(lcLines.take(QStringLiteral("CMP 5")), 6);
    QCOMPARE(lcLines.take(QStringLiteral("CMP 5")), -1);
    QCOMPARE(lcLines.take(QStringLiteral("SLEEP 1")), 7);

    QVERIFY(!lcLines.read(lcDir.filePath(QStringLiteral("missing.txt")), lsError));
    QVERIFY(lsError.contains(QStringLiteral("missing.txt")));
}

void tst_RunnerParts::scriptLines_checks_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("check");
    QTest::newRow("cmp") << "CMP 5" << true;
    QTest::newRow("geni read") << "GENI READ Width" << true;
    QTest::newRow("geni abbreviated") << "ge write Width 640" << true;
    QTest::newRow("cam wait") << "CAM WAIT 100" << true;
    QTest::newRow("cam start") << "cam start" << false;
    QTest::newRow("cam stop") << "CAM STOP" << false;
    QTest::newRow("sleep") << "SL 10" << false;
    QTest::newRow("prompt") << "PROMPT 0x400 Hello" << false;
    QTest::newRow("help") << "HELP CMP" << false;
    QTest::newRow("word help") << "CMP help" << false;
    QTest::newRow("unknown") << "FROB 1" << false;
    // "P" resolves to the first name it abbreviates: PEEK before PROMPT.
    QTest::newRow("prefix order") << "P 0x10" << true;
}

void tst_RunnerParts::scriptLines_checks()
{
    QFETCH(QString, line);
    QFETCH(bool, check);
    const QStringList lsCommands{"CAM", "CMP", "GENI", "PEEK", "POKE", "PROMPT", "SLEEP"};
    QCOMPARE(tcScriptLines::isCheck(line, lsCommands), check);
}

void tst_RunnerParts::prompt_choice_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("expected");
    QTest::newRow("yes/no yes") << int(QMessageBox::Yes | QMessageBox::No) << true << int(QMessageBox::Yes);
    QTest::newRow("yes/no no") << int(QMessageBox::Yes | QMessageBox::No) << false << int(QMessageBox::No);
    QTest::newRow("ok/cancel yes") << int(QMessageBox::Ok | QMessageBox::Cancel) << true
                                   << int(QMessageBox::Ok);
    QTest::newRow("ok/cancel no") << int(QMessageBox::Ok | QMessageBox::Cancel) << false
                                  << int(QMessageBox::Cancel);
    QTest::newRow("ok only, no") << int(QMessageBox::Ok) << false << int(QMessageBox::Ok);
    QTest::newRow("no buttons shows ok") << 0 << true << int(QMessageBox::Ok);
    QTest::newRow("stray bits only") << 0x3 << false << int(QMessageBox::Ok);
    QTest::newRow("retry/abort no") << int(QMessageBox::Retry | QMessageBox::Abort) << false
                                    << int(QMessageBox::Abort);
}

void tst_RunnerParts::prompt_choice()
{
    QFETCH(int, buttons);
    QFETCH(bool, yes);
    QFETCH(int, expected);
    QCOMPARE(int(tcPromptAnswerer::choose(QMessageBox::StandardButtons(buttons), yes)), expected);
    QCOMPARE(tcPromptAnswerer::buttonName(QMessageBox::Yes), QStringLiteral("Yes"));
}

void tst_RunnerParts::junit_structure()
{
    tcJUnitReport lcReport(QStringLiteral("bench<1>"));
    lcReport.add({QStringLiteral("line 2: CMP 5"), 0.25, tcJUnitCase::ePassed, QString(), QString(),
                  QStringLiteral("CMP 5\n PASS: 5 = 5")});
    lcReport.add({QStringLiteral("line 3: CMP 6"), 0.0, tcJUnitCase::eFailed, QStringLiteral("FAIL: 6 != 5"),
                  QStringLiteral("CMP 6\n FAIL: 6 != 5"), QString()});
    lcReport.add({QStringLiteral("line 4: CMP 7"), 0.0, tcJUnitCase::eSkipped, QStringLiteral("not run"),
                  QString(), QString()});
    lcReport.setSeconds(1.5);

    QXmlStreamReader lcXml(lcReport.xml());
    QStringList lsPath;
    QMap<QString, int> lhElements;
    while (!lcXml.atEnd())
    {
        if (lcXml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString lsName = lcXml.name().toString();
        ++lhElements[lsName];
        const QXmlStreamAttributes lcAttributes = lcXml.attributes();
        if (lsName == QLatin1String("testsuite"))
        {
            QCOMPARE(lcAttributes.value("name").toString(), QStringLiteral("bench<1>"));
            QCOMPARE(lcAttributes.value("tests").toInt(), 3);
            QCOMPARE(lcAttributes.value("failures").toInt(), 1);
            QCOMPARE(lcAttributes.value("errors").toInt(), 0);
            QCOMPARE(lcAttributes.value("skipped").toInt(), 1);
            QCOMPARE(lcAttributes.value("time").toDouble(), 1.5);
            QVERIFY(!lcAttributes.value("timestamp").isEmpty());
        }
        if (lsName == QLatin1String("testcase"))
        {
            QVERIFY(lcAttributes.value("name").startsWith(QLatin1String("line ")));
            QCOMPARE(lcAttributes.value("classname").toString(), QStringLiteral("bench<1>"));
            QVERIFY(lcAttributes.hasAttribute("time"));
        }
        if (lsName == QLatin1String("failure"))
        {
            QCOMPARE(lcAttributes.value("message").toString(), QStringLiteral("FAIL: 6 != 5"));
            QCOMPARE(lcXml.readElementText(), QStringLiteral("CMP 6\n FAIL: 6 != 5"));
        }
    }
    QVERIFY2(!lcXml.hasError(), qPrintable(lcXml.errorString()));
    QCOMPARE(lhElements.value("testsuites"), 1);
    QCOMPARE(lhElements.value("testsuite"), 1);
    QCOMPARE(lhElements.value("testcase"), 3);
    QCOMPARE(lhElements.value("failure"), 1);
    QCOMPARE(lhElements.value("skipped"), 1);
    QCOMPARE(lhElements.value("system-out"), 1);
}

void tst_RunnerParts::junit_unwritable()
{
    tcJUnitReport lcReport(QStringLiteral("s"));
    QString lsError;
    QVERIFY(!lcReport.write(QStringLiteral("/nonexistent-folder/r.xml"), lsError));
    QVERIFY(lsError.contains(QStringLiteral("/nonexistent-folder/r.xml")));
}

QTEST_GUILESS_MAIN(tst_RunnerParts)
#include "tst_runnerparts.moc"
