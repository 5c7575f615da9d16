// kestrix-run as a test bench uses it: the built program run against the
// simulated producer, judged by its exit status, its output and the files it
// writes.
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <csignal>

namespace
{
struct tcRun
{
    int mnExit = -1;
    QString msOut;
    QString msErr;
};

const char* const kMonoCamera = "Camera SimCam Mono 2048 (SimCam-Mono-0001 on SimIF0)";
} // namespace

class tst_KestrixRun : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void passingScript();
    void failingCompare();
    void failingLine();
    void setupErrors_data();
    void setupErrors();
    void descriptionError();
    void listDevices();
    void chooseDevice_data();
    void chooseDevice();
    void variables_data();
    void variables();
    void prompt_data();
    void prompt();
    void junitReport();
    void junitSetupError();
    void interruptDuringStart();
    void interruptDuringWait_data();
    void interruptDuringWait();
    void interruptDuringSleep();

private:
    QString script(const QByteArray& arText, const QString& arName = QStringLiteral("script.txt"));
    QProcessEnvironment environment() const;
    tcRun run(const QStringList& arArguments,
              const QProcessEnvironment& arEnvironment = QProcessEnvironment());
    void startTraced(QProcess& arProcess, const QString& arScript, const QString& arTrace,
                     int anStartDelayMs);
    static bool waitForTrace(const QString& arTrace, const QString& arText, int anTimeoutMs);
    static bool waitForOutput(QProcess& arProcess, QByteArray& arOut, const char* apText);
    static void verifyClosedCleanly(const QString& arTrace);

    std::unique_ptr<QTemporaryDir> mpDir;
};

void tst_KestrixRun::init()
{
    mpDir = std::make_unique<QTemporaryDir>();
    QVERIFY(mpDir->isValid());
}

QString tst_KestrixRun::script(const QByteArray& arText, const QString& arName)
{
    const QString lsPath = mpDir->filePath(arName);
    QFile lcFile(lsPath);
    if (!lcFile.open(QIODevice::WriteOnly) || lcFile.write(arText) != arText.size())
        qFatal("cannot write %s", qPrintable(lsPath));
    return lsPath;
}

// No settings of the user who runs the tests, no faults, no description file.
QProcessEnvironment tst_KestrixRun::environment() const
{
    QProcessEnvironment lcEnvironment = QProcessEnvironment::systemEnvironment();
    lcEnvironment.insert(QStringLiteral("XDG_CONFIG_HOME"), mpDir->filePath(QStringLiteral("config")));
    lcEnvironment.remove(QStringLiteral("SIMCAM_FAULTS"));
    lcEnvironment.remove(QStringLiteral("SIMCAM_XML_FILE"));
    return lcEnvironment;
}

tcRun tst_KestrixRun::run(const QStringList& arArguments, const QProcessEnvironment& arEnvironment)
{
    QProcess lcProcess;
    lcProcess.setProcessEnvironment(arEnvironment.isEmpty() ? environment() : arEnvironment);
    lcProcess.start(QStringLiteral(KX_RUN_PATH), arArguments);
    tcRun lcRun;
    if (!lcProcess.waitForFinished(60000) || lcProcess.exitStatus() != QProcess::NormalExit)
    {
        lcProcess.kill();
        lcProcess.waitForFinished();
        qWarning("kestrix-run did not end normally");
        return lcRun;
    }
    lcRun.mnExit = lcProcess.exitCode();
    lcRun.msOut = QString::fromLocal8Bit(lcProcess.readAllStandardOutput());
    lcRun.msErr = QString::fromLocal8Bit(lcProcess.readAllStandardError());
    return lcRun;
}

#define KX_VERIFY_RUN(run, code)                                                                             \
    QVERIFY2((run).mnExit == (code), qPrintable(QStringLiteral("exit %1\n--- stdout\n%2--- stderr\n%3")      \
                                                    .arg((run).mnExit)                                       \
                                                    .arg((run).msOut, (run).msErr)))

void tst_KestrixRun::passingScript()
{
    const QString lsLog = mpDir->filePath(QStringLiteral("run.log"));
    const tcRun lcRun = run({QStringLiteral("--log"), lsLog,
                             script("# a whole bench in small\n"
                                    "GENI READ Width\n"
                                    "CMP 2048\n"
                                    "GENI WRITE Width 1024\n"
                                    "ge read Width\n"
                                    "CMP 0x400 0xFFFF\n"
                                    "SLEEP 1\n"
                                    "CAM START\n"
                                    "CAM WAIT 5000\n"
                                    "CMP true\n"
                                    "CAM STOP\n")});
    KX_VERIFY_RUN(lcRun, 0);
    QVERIFY(lcRun.msOut.startsWith(QLatin1String(kMonoCamera)));
    QVERIFY(lcRun.msOut.contains(QStringLiteral("GENI READ Width = 2048\n")));
    QVERIFY(lcRun.msOut.contains(QStringLiteral("ge read Width = 1024\n")));
    QVERIFY(lcRun.msOut.contains(QStringLiteral("WAIT 5000 OK\n")));
    QVERIFY(lcRun.msOut.contains(QStringLiteral("[100%]\n")));
    QVERIFY(lcRun.msOut.contains(QStringLiteral("Summary: 10 lines handled, 7 checks, 0 failed\n")));
    QVERIFY(lcRun.msOut.endsWith(QStringLiteral("Result: PASSED (exit 0)\n")));
    // The transcript comes in script order.
    QVERIFY(lcRun.msOut.indexOf(QStringLiteral("= 2048")) < lcRun.msOut.indexOf(QStringLiteral("= 1024")));
    QVERIFY2(lcRun.msErr.isEmpty(), qPrintable(lcRun.msErr));

    QFile lcLog(lsLog);
    QVERIFY(lcLog.open(QIODevice::ReadOnly));
    QVERIFY(lcLog.readAll().contains("tcCmdRunner::ProcessCommand"));
}

void tst_KestrixRun::failingCompare()
{
    const tcRun lcRun = run({script("GENI READ Width\n"
                                    "CMP 2048\n"
                                    "CMP 1234\n"
                                    "GENI READ Height\n"
                                    "CMP 1536\n")});
    KX_VERIFY_RUN(lcRun, 1);
    // A FAIL lets the script go on, and is repeated at the end.
    QVERIFY(lcRun.msOut.contains(QStringLiteral("GENI READ Height = 1536\n")));
    QVERIFY(lcRun.msOut.contains(QStringLiteral("Summary: 5 lines handled, 5 checks, 1 failed\n"
                                                "  line 3: CMP 1234 -> FAIL: 1234 != true\n"
                                                "Result: FAILED (exit 1)\n")));
}

void tst_KestrixRun::failingLine()
{
    const tcRun lcRun = run({script("GENI READ Width\n\nGENI READ NoSuchFeature\nGENI READ Height\n")});
    KX_VERIFY_RUN(lcRun, 1);
    QVERIFY(lcRun.msErr.contains(QStringLiteral("Error processing line 3: GENI READ NoSuchFeature")));
    QVERIFY(!lcRun.msOut.contains(QStringLiteral("GENI READ Height")));
    QVERIFY(lcRun.msOut.contains(QStringLiteral("  Error processing line 3: GENI READ NoSuchFeature\n")));
}

void tst_KestrixRun::setupErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing script") << QStringList{QStringLiteral("/no/such/script.txt")}
                                    << "Unable to open script /no/such/script.txt";
    QTest::newRow("missing producer")
        << QStringList{QStringLiteral("--producer"), QStringLiteral("/no/such.cti"), QStringLiteral("SCRIPT")}
        << "Producer /no/such.cti not found";
    QTest::newRow("not a producer") << QStringList{QStringLiteral("--producer"), QStringLiteral("SCRIPT"),
                                                   QStringLiteral("SCRIPT")}
                                    << "Unable to load library";
    QTest::newRow("missing ini") << QStringList{QStringLiteral("--ini"), QStringLiteral("/no/such.ini"),
                                                QStringLiteral("SCRIPT")}
                                 << "INI file /no/such.ini not found";
    QTest::newRow("unknown device") << QStringList{QStringLiteral("--device"), QStringLiteral("SimIF0,Nope"),
                                                   QStringLiteral("SCRIPT")}
                                    << "No device \"Nope\" on interface SimIF0";
    QTest::newRow("device index beyond")
        << QStringList{QStringLiteral("--device-index"), QStringLiteral("3"), QStringLiteral("SCRIPT")}
        << "No device with index 3: the producer lists 3";
    QTest::newRow("bad option") << QStringList{QStringLiteral("--answer"), QStringLiteral("perhaps"),
                                               QStringLiteral("SCRIPT")}
                                << "--answer wants yes or no";
    QTest::newRow("unwritable log") << QStringList{QStringLiteral("--log"),
                                                   QStringLiteral("/no/such/dir/x.log"),
                                                   QStringLiteral("SCRIPT")}
                                    << "Unable to open log file /no/such/dir/x.log";
}

void tst_KestrixRun::setupErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    const QString lsScript = script("GENI READ Width\n");
    arguments.replaceInStrings(QStringLiteral("SCRIPT"), lsScript);
    const tcRun lcRun = run(arguments);
    KX_VERIFY_RUN(lcRun, 2);
    QVERIFY2(lcRun.msErr.contains(error), qPrintable(lcRun.msErr));
    QVERIFY(!lcRun.msOut.contains(QStringLiteral("GENI READ Width =")));
}

// The INI file's description for a simulated camera is used, as by the
// program; one that does not load is a set-up error.
void tst_KestrixRun::descriptionError()
{
    const QString lsXml = mpDir->filePath(QStringLiteral("broken.xml"));
    const QString lsIni = mpDir->filePath(QStringLiteral("sim.ini"));
    QFile lcXml(lsXml);
    QVERIFY(lcXml.open(QIODevice::WriteOnly));
    lcXml.write("<RegisterDescription ModelName=\"Broken\"><Integer Name=\"Width\">");
    lcXml.close();
    QSettings lcIni(lsIni, QSettings::IniFormat);
    lcIni.setValue(QStringLiteral("simCamXmlFile"), lsXml);
    lcIni.sync();

    const tcRun lcRun = run({QStringLiteral("--ini"), lsIni, script("GENI READ Width\n")});
    KX_VERIFY_RUN(lcRun, 2);
    QVERIFY2(lcRun.msErr.contains(QStringLiteral("camera \"SimCam Mono 2048 (SimCam-Mono-0001 on SimIF0)\"")),
             qPrintable(lcRun.msErr));
    QVERIFY(!lcRun.msOut.contains(QStringLiteral("GENI READ Width")));
}

void tst_KestrixRun::listDevices()
{
    const tcRun lcRun =
        run({QStringLiteral("--list"), QStringLiteral("--producer"), QStringLiteral(KX_SIMCAM_PATH)});
    KX_VERIFY_RUN(lcRun, 0);
    QCOMPARE(lcRun.msOut,
             QStringLiteral("interface 0: SimIF0\n"
                            "  device 0: id SimCam-Mono-0001, model SimCam Mono 2048, serial SM2048-0001\n"
                            "  device 1: id SimCam-Color-0002, model SimCam Color 1936, serial SC1936-0002\n"
                            "  device 2: id SimCam-CMV50000-0003, model CMV50000 Evaluation, serial "
                            "CMV50-0003\n"
                            "interface 1: SimIF1 (no devices)\n"));
    QVERIFY2(lcRun.msErr.isEmpty(), qPrintable(lcRun.msErr));
}

void tst_KestrixRun::chooseDevice_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("camera");
    QTest::newRow("default: the first") << QStringList() << kMonoCamera;
    QTest::newRow("by id") << QStringList{QStringLiteral("--device"),
                                          QStringLiteral("SimIF0,SimCam-Color-0002")}
                           << "Camera SimCam Color 1936 (SimCam-Color-0002 on SimIF0)";
    QTest::newRow("interface by index")
        << QStringList{QStringLiteral("--device"), QStringLiteral("0,SimCam-CMV50000-0003")}
        << "Camera CMV50000 Evaluation (SimCam-CMV50000-0003 on SimIF0)";
    QTest::newRow("by index") << QStringList{QStringLiteral("--device-index"), QStringLiteral("1")}
                              << "Camera SimCam Color 1936 (SimCam-Color-0002 on SimIF0)";
}

void tst_KestrixRun::chooseDevice()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, camera);
    const tcRun lcRun = run(arguments << script("GENI READ DeviceModelName\n"));
    KX_VERIFY_RUN(lcRun, 0);
    QVERIFY2(lcRun.msOut.startsWith(camera), qPrintable(lcRun.msOut));
}

void tst_KestrixRun::variables_data()
{
    QTest::addColumn<QStringList>("sets");
    QTest::addColumn<QString>("read");
    QTest::newRow("from the INI file") << QStringList() << "${feature} = Height\nGENI READ ${feature} = 1536";
    QTest::newRow("--set overrides") << QStringList{QStringLiteral("--set"), QStringLiteral("feature=Width"),
                                                    QStringLiteral("--set"), QStringLiteral("expect=2048")}
                                     << "${feature} = Width\nGENI READ ${feature} = 2048";
}

void tst_KestrixRun::variables()
{
    QFETCH(QStringList, sets);
    QFETCH(QString, read);
    const QString lsIni = mpDir->filePath(QStringLiteral("bench.ini"));
    const QByteArray lcIniText("[variables]\nfeature=Height\nexpect=1536\n");
    {
        QFile lcFile(lsIni);
        QVERIFY(lcFile.open(QIODevice::WriteOnly));
        lcFile.write(lcIniText);
    }
    const tcRun lcRun = run(QStringList{QStringLiteral("--ini"), lsIni} + sets +
                            QStringList{script("GENI READ ${feature}\nCMP ${expect}\n")});
    KX_VERIFY_RUN(lcRun, 0);
    QVERIFY2(lcRun.msOut.contains(read + QLatin1Char('\n')), qPrintable(lcRun.msOut));
    // The run works on a copy: neither the variables nor the producer path
    // that a binding remembers reach the file.
    QFile lcFile(lsIni);
    QVERIFY(lcFile.open(QIODevice::ReadOnly));
    QCOMPARE(lcFile.readAll(), lcIniText);
}

void tst_KestrixRun::prompt_data()
{
    QTest::addColumn<QStringList>("answer");
    QTest::addColumn<int>("exit");
    QTest::addColumn<QString>("transcript");
    QTest::addColumn<QString>("error");
    QTest::newRow("yes") << QStringList{QStringLiteral("--answer"), QStringLiteral("yes")} << 0
                         << "Result = 16384"
                         << "answered Yes";
    QTest::newRow("no") << QStringList{QStringLiteral("--answer"), QStringLiteral("no")} << 1
                        << "Result = 65536"
                        << "answered No";
    QTest::newRow("no answer") << QStringList() << 1
                               << "No answer: run kestrix-run with --answer yes or --answer no"
                               << "Error processing line 2: PROMPT 0x14000 Light on?";
}

void tst_KestrixRun::prompt()
{
    QFETCH(QStringList, answer);
    QFETCH(int, exit);
    QFETCH(QString, transcript);
    QFETCH(QString, error);
    QElapsedTimer lcClock;
    lcClock.start();
    const tcRun lcRun = run(answer << script("GENI READ Width\nPROMPT 0x14000 Light on?\nCMP 16384\n"));
    KX_VERIFY_RUN(lcRun, exit);
    QVERIFY2(lcRun.msOut.contains(transcript), qPrintable(lcRun.msOut));
    QVERIFY2(lcRun.msErr.contains(QStringLiteral("PROMPT: Light on?")), qPrintable(lcRun.msErr));
    QVERIFY2(lcRun.msErr.contains(error), qPrintable(lcRun.msErr));
    QVERIFY2(lcClock.elapsed() < 30000, "a prompt must never wait");
}

void tst_KestrixRun::junitReport()
{
    const QString lsReport = mpDir->filePath(QStringLiteral("report.xml"));
    const tcRun lcRun = run({QStringLiteral("--junit"), lsReport,
                             script("GENI READ Width\n"
                                    "CMP 2048\n"
                                    "SLEEP 1\n"
                                    "CMP 7\n"
                                    "# comment\n"
                                    "GENI READ Nope\n"
                                    "GENI READ Height\n",
                                    QStringLiteral("bench.txt"))});
    KX_VERIFY_RUN(lcRun, 1);

    QFile lcFile(lsReport);
    QVERIFY(lcFile.open(QIODevice::ReadOnly));
    QXmlStreamReader lcXml(&lcFile);
    QStringList lsCases;
    QStringList lsOutcomes;
    int lnSuites = 0;
    while (!lcXml.atEnd())
    {
        if (lcXml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes lcAttributes = lcXml.attributes();
        if (lcXml.name() == QLatin1String("testsuite"))
        {
            ++lnSuites;
            QCOMPARE(lcAttributes.value("name").toString(), QStringLiteral("bench"));
            QCOMPARE(lcAttributes.value("tests").toInt(), 5);
            QCOMPARE(lcAttributes.value("failures").toInt(), 2);
            QCOMPARE(lcAttributes.value("skipped").toInt(), 1);
        }
        else if (lcXml.name() == QLatin1String("testcase"))
        {
            lsCases << lcAttributes.value("name").toString();
            lsOutcomes << QStringLiteral("pass");
            QCOMPARE(lcAttributes.value("classname").toString(), QStringLiteral("bench"));
            QVERIFY(lcAttributes.hasAttribute("time"));
        }
        else if (lcXml.name() == QLatin1String("failure") || lcXml.name() == QLatin1String("skipped"))
            lsOutcomes.last() = lcXml.name() + QLatin1Char(':') + lcAttributes.value("message");
    }
    QVERIFY2(!lcXml.hasError(), qPrintable(lcXml.errorString()));
    QCOMPARE(lnSuites, 1);
    QCOMPARE(lsCases, QStringList({"line 1: GENI READ Width", "line 2: CMP 2048", "line 4: CMP 7",
                                   "line 6: GENI READ Nope", "line 7: GENI READ Height"}));
    QCOMPARE(lsOutcomes, QStringList({"pass", "pass", "failure:FAIL: 7 != true",
                                      "failure:Error processing line 6: GENI READ Nope", "skipped:not run"}));
}

void tst_KestrixRun::junitSetupError()
{
    const QString lsReport = mpDir->filePath(QStringLiteral("report.xml"));
    const tcRun lcRun = run({QStringLiteral("--junit"), lsReport, QStringLiteral("--producer"),
                             QStringLiteral("/no/such.cti"), script("CMP 1\n")});
    KX_VERIFY_RUN(lcRun, 2);
    QFile lcFile(lsReport);
    QVERIFY(lcFile.open(QIODevice::ReadOnly));
    const QByteArray lcXml = lcFile.readAll();
    QVERIFY(lcXml.contains("<testcase name=\"set-up\""));
    QVERIFY(lcXml.contains("<error message=\"Producer /no/such.cti not found\""));
}

// The traced producer writes what becomes of the stream; a start is held back
// so that the test can act while it is under way.
void tst_KestrixRun::startTraced(QProcess& arProcess, const QString& arScript, const QString& arTrace,
                                 int anStartDelayMs)
{
    QProcessEnvironment lcEnvironment = environment();
    lcEnvironment.insert(QStringLiteral("KX_TRACE_FILE"), arTrace);
    lcEnvironment.insert(QStringLiteral("KX_TRACE_START_DELAY_MS"), QString::number(anStartDelayMs));
    arProcess.setProcessEnvironment(lcEnvironment);
    arProcess.start(QStringLiteral(KX_RUN_PATH),
                    {QStringLiteral("--producer"), QStringLiteral(KX_TRACING_PRODUCER),
                     QStringLiteral("--log"), mpDir->filePath(QStringLiteral("run.log")),
                     QStringLiteral("--junit"), mpDir->filePath(QStringLiteral("report.xml")), arScript});
}

bool tst_KestrixRun::waitForTrace(const QString& arTrace, const QString& arText, int anTimeoutMs)
{
    QElapsedTimer lcClock;
    lcClock.start();
    do
    {
        QFile lcFile(arTrace);
        if (lcFile.open(QIODevice::ReadOnly) && lcFile.readAll().contains(arText.toUtf8()))
            return true;
        QThread::msleep(5);
    } while (lcClock.elapsed() < anTimeoutMs);
    return false;
}

// The transcript of a line is printed once the line has ended and the
// script has gone on to the next.
bool tst_KestrixRun::waitForOutput(QProcess& arProcess, QByteArray& arOut, const char* apText)
{
    QElapsedTimer lcClock;
    lcClock.start();
    while (!arOut.contains(apText) && lcClock.elapsed() < 20000 && arProcess.state() != QProcess::NotRunning)
    {
        arProcess.waitForReadyRead(10);
        arOut += arProcess.readAllStandardOutput();
    }
    return arOut.contains(apText);
}

// Every buffer ever announced was revoked before the stream closed, and the
// producer was closed at the end.
void tst_KestrixRun::verifyClosedCleanly(const QString& arTrace)
{
    QFile lcFile(arTrace);
    QVERIFY(lcFile.open(QIODevice::ReadOnly));
    const QString lsTrace = QString::fromUtf8(lcFile.readAll());
    QVERIFY2(lsTrace.contains(QStringLiteral("DSClose 0 announced=0\n")), qPrintable(lsTrace));
    QVERIFY2(lsTrace.contains(QStringLiteral("DevClose 0\n")), qPrintable(lsTrace));
    const QString lsLast = lsTrace.trimmed().section(QLatin1Char('\n'), -1);
    QVERIFY2(lsLast.startsWith(QLatin1String("GCCloseLib announced=0 ever=")), qPrintable(lsTrace));
    QVERIFY2(lsLast.section(QLatin1Char('='), -1).toInt() > 0, qPrintable(lsTrace));
}

void tst_KestrixRun::interruptDuringStart()
{
    const QString lsTrace = mpDir->filePath(QStringLiteral("trace.txt"));
    QProcess lcProcess;
    startTraced(lcProcess, script("CAM START\nCAM WAIT\nGENI READ Width\n"), lsTrace, 1500);
    QVERIFY(waitForTrace(lsTrace, QStringLiteral("DSStartAcquisition begin"), 20000));
    ::kill(static_cast<pid_t>(lcProcess.processId()), SIGINT);
    QVERIFY(lcProcess.waitForFinished(20000));
    const QString lsOut = QString::fromLocal8Bit(lcProcess.readAllStandardOutput());
    QCOMPARE(lcProcess.exitStatus(), QProcess::NormalExit);
    QVERIFY2(lcProcess.exitCode() == 130, qPrintable(lsOut + lcProcess.readAllStandardError()));
    // The start ran to its end before the stop; the script went no further.
    QVERIFY(waitForTrace(lsTrace, QStringLiteral("DSStartAcquisition end 0"), 0));
    QVERIFY(!lsOut.contains(QStringLiteral("GENI READ Width")));
    QVERIFY2(lsOut.endsWith(QStringLiteral("Result: INTERRUPTED (exit 130)\n")), qPrintable(lsOut));
    verifyClosedCleanly(lsTrace);
    QFile lcReport(mpDir->filePath(QStringLiteral("report.xml")));
    QVERIFY(lcReport.open(QIODevice::ReadOnly));
    const QByteArray lcXml = lcReport.readAll();
    QVERIFY(lcXml.contains("<error message=\"Run interrupted by signal 2\""));
    QVERIFY(lcXml.contains("<testcase name=\"line 3: GENI READ Width\""));
    QVERIFY(lcXml.contains("<skipped message=\"not run\"/>"));
}

void tst_KestrixRun::interruptDuringWait_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl-C") << int(SIGINT);
    QTest::newRow("terminate") << int(SIGTERM);
}

void tst_KestrixRun::interruptDuringWait()
{
    QFETCH(int, signal);
    const QString lsTrace = mpDir->filePath(QStringLiteral("trace.txt"));
    QProcess lcProcess;
    startTraced(lcProcess,
                script("GENI WRITE AcquisitionFrameRate 1\nCAM START\nCAM WAIT 1\nCAM WAIT\nCAM WAIT\n"),
                lsTrace, 0);
    QByteArray lcOut;
    QVERIFY(waitForOutput(lcProcess, lcOut, "WAIT 1 "));
    ::kill(static_cast<pid_t>(lcProcess.processId()), signal);
    QVERIFY(lcProcess.waitForFinished(20000));
    QCOMPARE(lcProcess.exitStatus(), QProcess::NormalExit);
    QCOMPARE(lcProcess.exitCode(), 128 + signal);
    verifyClosedCleanly(lsTrace);
}

// A line that cannot be cut short does not hold the camera open.
void tst_KestrixRun::interruptDuringSleep()
{
    const QString lsTrace = mpDir->filePath(QStringLiteral("trace.txt"));
    QProcess lcProcess;
    startTraced(lcProcess, script("CAM START\nSLEEP 120000\nGENI READ Width\n"), lsTrace, 0);
    QByteArray lcOut;
    QVERIFY(waitForOutput(lcProcess, lcOut, "START OK"));
    // The script is on its way into the SLEEP: let it get there.
    QThread::msleep(300);
    QElapsedTimer lcClock;
    lcClock.start();
    ::kill(static_cast<pid_t>(lcProcess.processId()), SIGINT);
    QVERIFY(lcProcess.waitForFinished(20000));
    QCOMPARE(lcProcess.exitCode(), 130);
    QVERIFY(lcClock.elapsed() < 15000);
    QVERIFY(lcProcess.readAllStandardError().contains("still busy in its current line"));
    verifyClosedCleanly(lsTrace);
}

QTEST_GUILESS_MAIN(tst_KestrixRun)
#include "tst_kestrixrun.moc"
