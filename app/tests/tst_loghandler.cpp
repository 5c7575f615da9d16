#include "loghandler.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace
{
const QString kStamp = QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}: ");
// Source file and line: empty and 0 in release builds, filled in debug builds.
const QString kWhere = QStringLiteral("\\S*:\\d+ ");

bool isLine(const QByteArray& arLine, const QString& arRest)
{
    return QRegularExpression(QLatin1Char('^') + kStamp + kWhere + arRest + QLatin1Char('$'))
        .match(QString::fromLatin1(arLine))
        .hasMatch();
}

class tcCriticalSink : public QObject
{
    Q_OBJECT
public:
    QStringList msLines;
    Qt::HANDLE mpThread = nullptr;
public slots:
    void showCriticalMessage(const QString& arLine)
    {
        msLines << arLine;
        mpThread = QThread::currentThreadId();
    }
};

QByteArray readFile(const QString& arPath)
{
    QFile lcFile(arPath);
    lcFile.open(QIODevice::ReadOnly);
    return lcFile.readAll();
}
} // namespace

class tst_LogHandler : public QObject
{
    Q_OBJECT

    QtMessageHandler mpPrevious = nullptr;

private slots:
    void init()
    {
        mpPrevious = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(mpPrevious);
        tcLogHandler::setAddThreadId(false);
    }
    void cleanup()
    {
        tcLogHandler::setCriticalReceiver(nullptr);
        tcLogHandler::closeLogFile();
        qInstallMessageHandler(mpPrevious);
    }

    void lineFormat_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("threadId");
        QTest::addColumn<QString>("pattern");
        const QString lsTid = QStringLiteral("tid:\\d+ ");
        QTest::newRow("debug") << int(QtDebugMsg) << false << kStamp + ":0 text\r\n";
        QTest::newRow("warning") << int(QtWarningMsg) << false << kStamp + ":0 WARNING: text\r\n";
        QTest::newRow("critical") << int(QtCriticalMsg) << false << kStamp + ":0 CRITICAL: text\r\n";
        QTest::newRow("fatal") << int(QtFatalMsg) << false << kStamp + ":0 FATAL: text\r\n";
        QTest::newRow("info") << int(QtInfoMsg) << false << kStamp + ":0 INFO: text\r\n";
        QTest::newRow("debug tid") << int(QtDebugMsg) << true << kStamp + ":0 " + lsTid + "text\r\n";
        QTest::newRow("warning tid") << int(QtWarningMsg) << true
                                     << kStamp + ":0 " + lsTid + "WARNING: text\r\n";
        QTest::newRow("info tid") << int(QtInfoMsg) << true << kStamp + ":0 " + lsTid + "INFO: text\r\n";
    }

    void lineFormat()
    {
        QFETCH(int, type);
        QFETCH(bool, threadId);
        QFETCH(QString, pattern);
        tcLogHandler::setAddThreadId(threadId);
        const QMessageLogContext lcContext;
        const QString lsLine = tcLogHandler::formatLine(QtMsgType(type), lcContext, QStringLiteral("text"));
        QVERIFY2(QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$')).match(lsLine).hasMatch(),
                 qPrintable(lsLine));
    }

    void contextFileAndLine()
    {
        const QMessageLogContext lcContext("source.cpp", 42, "f", "default");
        const QString lsLine = tcLogHandler::formatLine(QtDebugMsg, lcContext, QStringLiteral("x"));
        QVERIFY2(lsLine.endsWith(QStringLiteral(": source.cpp:42 x\r\n")), qPrintable(lsLine));
    }

    void linesReachTheLogFileAppended()
    {
        QTemporaryDir lcDir;
        const QString lsPath = lcDir.filePath(QStringLiteral("k.log"));
        {
            QFile lcOld(lsPath);
            QVERIFY(lcOld.open(QIODevice::WriteOnly));
            lcOld.write("earlier\r\n");
        }
        QString lsError;
        QVERIFY(tcLogHandler::openLogFile(lsPath, &lsError));
        tcLogHandler::install();
        qWarning("first");
        qInfo("second");
        tcLogHandler::closeLogFile();
        qWarning("after close");
        const QList<QByteArray> lcLines = readFile(lsPath).split('\n');
        QCOMPARE(lcLines.size(), 4); // three lines and the empty tail
        QCOMPARE(lcLines.at(0), QByteArray("earlier\r"));
        QVERIFY(isLine(lcLines.at(1), QStringLiteral("WARNING: first\r")));
        QVERIFY(isLine(lcLines.at(2), QStringLiteral("INFO: second\r")));
    }

    void unopenableLogFileIsReported()
    {
        QString lsError;
        QVERIFY(!tcLogHandler::openLogFile(QStringLiteral("/nonexistent-folder/k.log"), &lsError));
        QVERIFY(!lsError.isEmpty());
        tcLogHandler::install();
        qWarning("goes nowhere but stderr"); // must not crash without a file
    }

    void linesFromManyThreadsNeverInterleave()
    {
        QTemporaryDir lcDir;
        const QString lsPath = lcDir.filePath(QStringLiteral("threads.log"));
        QVERIFY(tcLogHandler::openLogFile(lsPath, nullptr));
        tcLogHandler::install();
        const QString lsPayload(200, QLatin1Char('x'));
        std::vector<std::thread> lcThreads;
        for (int t = 0; t < 4; ++t)
            lcThreads.emplace_back(
                [&lsPayload]
                {
                    for (int i = 0; i < 200; ++i)
                        qDebug().noquote() << lsPayload;
                });
        for (auto& lrThread : lcThreads)
            lrThread.join();
        tcLogHandler::closeLogFile();
        const QList<QByteArray> lcLines = readFile(lsPath).split('\n');
        QCOMPARE(lcLines.size(), 801);
        for (int i = 0; i < 800; ++i)
            QVERIFY(isLine(lcLines.at(i), lsPayload + QLatin1Char('\r')));
    }

    void fatalAbortsAfterTheLineIsWritten()
    {
        QTemporaryDir lcDir;
        const QString lsPath = lcDir.filePath(QStringLiteral("fatal.log"));
        QProcess lcChild;
        lcChild.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--fatal-child"), lsPath});
        QVERIFY(lcChild.waitForFinished(20000));
        QCOMPARE(lcChild.exitStatus(), QProcess::CrashExit);
        QVERIFY(isLine(readFile(lsPath), QStringLiteral("FATAL: unrecoverable\r\n")));
        QVERIFY(lcChild.readAllStandardError().contains("FATAL: unrecoverable"));
    }

    void criticalFromWorkerReachesGuiThread()
    {
        tcCriticalSink lcSink;
        tcLogHandler::install();
        tcLogHandler::setCriticalReceiver(&lcSink);
        std::thread lcWorker([] { qCritical("camera lost"); });
        lcWorker.join();
        QVERIFY(lcSink.msLines.isEmpty()); // posted, not called on the worker
        QTRY_COMPARE(lcSink.msLines.size(), 1);
        QCOMPARE(lcSink.mpThread, QThread::currentThreadId());
        QVERIFY(isLine(lcSink.msLines.first().toLatin1(), QStringLiteral("CRITICAL: camera lost\r\n")));

        tcLogHandler::setCriticalReceiver(nullptr);
        qCritical("nobody listens");
        QTest::qWait(20);
        QCOMPARE(lcSink.msLines.size(), 1);
    }
};

// Run as a child process: logs a fatal message, which must abort the process
// only after its line reached the file.
int fatalChild(const char* apLogPath)
{
    tcLogHandler::openLogFile(QString::fromLocal8Bit(apLogPath), nullptr);
    tcLogHandler::install();
    qFatal("unrecoverable");
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--fatal-child") == 0)
        return fatalChild(argv[2]);
    QApplication lcApp(argc, argv);
    tst_LogHandler lcTest;
    return QTest::qExec(&lcTest, argc, argv);
}
#include "tst_loghandler.moc"
