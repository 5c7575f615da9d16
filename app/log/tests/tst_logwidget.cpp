#include "logwidget.h"
#include "filedialoganswers.h"
#include "modaldialogs.h"
#include "reportform.h"

#include <QCheckBox>
#include <QClipboard>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <atomic>
#include <thread>

namespace
{
QStringList gsInfos;
void captureInfo(QtMsgType aeType, const QMessageLogContext&, const QString& arText)
{
    if (aeType == QtInfoMsg)
        gsInfos.append(arText);
}

template <typename tWidget> tWidget* child(QWidget& arWindow, const char* apName)
{
    return arWindow.findChild<tWidget*>(QLatin1String(apName));
}

void addLines(tcLogWidget& arLog, int anFrom, int anTo)
{
    for (int lnLine = anFrom; lnLine < anTo; ++lnLine)
        arLog.LogMessage(QStringLiteral("line %1").arg(lnLine));
}

QString textOf(const QString& arLine)
{
    return arLine.section(QLatin1Char(':'), -1);
}

tcReportForm* openReport()
{
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        if (auto* lpForm = qobject_cast<tcReportForm*>(lpWidget))
            if (lpForm->isVisible())
                return lpForm;
    return nullptr;
}

// Emits from whatever thread runs it; the log window gets it queued.
class tcChatter : public QObject
{
    Q_OBJECT
signals:
    void Message(QString asText);
};
} // namespace

class tst_LogWidget : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;

private slots:
    void initTestCase()
    {
        // The stay-on-top flag lives in the platform store: keep it here.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, mcDir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, mcDir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("Tarnwick LLC"));
        QCoreApplication::setApplicationName(QStringLiteral("kestrix-logtest"));
    }

    void formForm()
    {
        tcLogWidget lcLog;
        QCOMPARE(lcLog.windowTitle(), QStringLiteral("Log"));
        QCOMPARE(lcLog.objectName(), QStringLiteral("Log Window"));
        QCOMPARE(child<QSpinBox>(lcLog, "MaxEntries")->value(), 2000);
        QCOMPARE(child<QSpinBox>(lcLog, "MaxEntries")->minimum(), 100);
        QCOMPARE(child<QSpinBox>(lcLog, "MaxEntries")->maximum(), 10000);
        QCOMPARE(child<QListWidget>(lcLog, "listWidget")->font().family(), QStringLiteral("Courier"));
        QVERIFY(child<QPushButton>(lcLog, "PauseButton")->isCheckable());
        QCOMPARE(lcLog.maxEntries(), 2000);
    }

    void entryLayout_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::newRow("debug") << 0 << "DBG";
        QTest::newRow("journal") << 1 << "JNL";
        QTest::newRow("error") << 2 << "ERR";
        QTest::newRow("event") << 3 << "EVT";
        QTest::newRow("other") << 7 << "UNK";
    }
    void entryLayout()
    {
        QFETCH(int, type);
        QFETCH(QString, name);
        tcLogWidget lcLog;
        tcLogMsg lcMsg;
        lcMsg.mnType = type;
        lcMsg.mnTime =
            static_cast<quint32>(QDateTime(QDate(2018, 10, 10), QTime(7, 24, 29)).toSecsSinceEpoch());
        lcMsg.mnMilliseconds = 50;
        lcMsg.setText(QStringLiteral("Unable to load library"));
        lcMsg.msSource = QStringLiteral("Logger");
        lcLog.AddLogMsg(lcMsg);
        QCOMPARE(lcLog.lines(),
                 QStringList{
                     QStringLiteral("Logger:2018-10-10T07:24:29.050:%1:Unable to load library").arg(name)});

        lcLog.setTimeOffset(3600);
        QVERIFY(lcLog.formatLine(lcMsg).startsWith(QStringLiteral("Logger:2018-10-10T08:24:29.050:")));
    }

    void entriesFromStrings()
    {
        tcLogWidget lcLog;
        const qint64 lnBefore = QDateTime::currentSecsSinceEpoch();
        const tcLogMsg lcMsg =
            tcLogMsg::make(tcLogEvent::eJournal, QStringLiteral("noted"), QStringLiteral("x"));
        QCOMPARE(lcMsg.tag(), QStringLiteral("INTERNAL"));
        QCOMPARE(lcMsg.mnReserved, 0);
        QVERIFY(qAbs(qint64(lcMsg.mnTime) - lnBefore) <= 1);
        QVERIFY(lcMsg.mnMilliseconds >= 0 && lcMsg.mnMilliseconds < 1000);

        lcLog.LogMessage(QStringLiteral("m"));
        lcLog.LogError(QStringLiteral("e"));
        lcLog.LogJournal(QStringLiteral("j"));
        lcLog.LogEvent(QStringLiteral("v"));
        lcLog.LogEvent(tcLogEvent::eError, QStringLiteral("typed"));
        const QStringList lsLines = lcLog.lines();
        QCOMPARE(lsLines.size(), 5);
        QStringList lsKinds;
        for (const QString& lsLine : lsLines)
        {
            QVERIFY(lsLine.startsWith(QStringLiteral("Logger:")));
            lsKinds.append(lsLine.section(QLatin1Char(':'), -2));
        }
        QCOMPARE(lsKinds, (QStringList{"DBG:m", "ERR:e", "JNL:j", "EVT:v", "ERR:typed"}));
    }

    void senderNamesTheSource()
    {
        tcLogWidget lcLog;
        tcChatter lcCamera;
        lcCamera.setObjectName(QStringLiteral("camera"));
        connect(&lcCamera, &tcChatter::Message, &lcLog, &tcLogWidget::LogMessage);
        emit lcCamera.Message(QStringLiteral("hello"));
        QVERIFY(lcLog.lines().first().startsWith(QStringLiteral("camera:")));
        lcCamera.setObjectName(QString());
        emit lcCamera.Message(QStringLiteral("unnamed"));
        QVERIFY(lcLog.lines().last().startsWith(QStringLiteral("tcChatter:")));
    }

    void longTextIsCutTo511Latin1Characters()
    {
        tcLogWidget lcLog;
        lcLog.LogMessage(QString(600, QLatin1Char('x')));
        lcLog.LogMessage(QStringLiteral("caf\u00e9 \u20ac"));
        const QStringList lsLines = lcLog.lines();
        QCOMPARE(textOf(lsLines.at(0)), QString(511, QLatin1Char('x')));
        QCOMPARE(textOf(lsLines.at(1)), QStringLiteral("caf\u00e9 ?"));
    }

    void the101stLineDropsTheFirst()
    {
        tcLogWidget lcLog;
        child<QSpinBox>(lcLog, "MaxEntries")->setValue(100);
        addLines(lcLog, 0, 100);
        QCOMPARE(lcLog.lines().size(), 100);
        addLines(lcLog, 100, 101);
        const QStringList lsLines = lcLog.lines();
        QCOMPARE(lsLines.size(), 100);
        QCOMPARE(textOf(lsLines.first()), QStringLiteral("line 1"));
        QCOMPARE(textOf(lsLines.last()), QStringLiteral("line 100"));
    }

    void loweringTheMaximumDropsTheOldestAtOnce()
    {
        tcLogWidget lcLog;
        addLines(lcLog, 0, 500);
        QCOMPARE(lcLog.lines().size(), 500);
        child<QSpinBox>(lcLog, "MaxEntries")->setValue(100);
        QCOMPARE(child<QListWidget>(lcLog, "listWidget")->count(), 100);
        QCOMPARE(textOf(lcLog.lines().first()), QStringLiteral("line 400"));
    }

    void pauseStopsFollowing()
    {
        tcLogWidget lcLog;
        lcLog.resize(690, 274);
        lcLog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lcLog));
        QScrollBar* lpBar = child<QListWidget>(lcLog, "listWidget")->verticalScrollBar();
        addLines(lcLog, 0, 200);
        QTRY_VERIFY(lpBar->maximum() > 0 && lpBar->value() == lpBar->maximum());

        child<QPushButton>(lcLog, "PauseButton")->click();
        QVERIFY(!lcLog.autoScroll());
        lpBar->setValue(10);
        addLines(lcLog, 200, 300);
        lcLog.lines();
        QCoreApplication::processEvents();
        QCOMPARE(lpBar->value(), 10);
        QCOMPARE(lcLog.lines().size(), 300); // paused, not deaf

        child<QPushButton>(lcLog, "PauseButton")->click();
        QVERIFY(lcLog.autoScroll());
        addLines(lcLog, 300, 301);
        lcLog.lines();
        QTRY_COMPARE(lpBar->value(), lpBar->maximum());
    }

    void copyClearSave()
    {
        tcLogWidget lcLog;
        addLines(lcLog, 0, 3);
        const QStringList lsLines = lcLog.lines();
        child<QPushButton>(lcLog, "CopyButton")->click();
        QCOMPARE(QGuiApplication::clipboard()->text(), lsLines.join(QLatin1Char('\n')) + QLatin1Char('\n'));

        const QString lsPath = mcDir.filePath(QStringLiteral("saved.log"));
        tcFileDialogAnswers lcAnswers({lsPath});
        child<QPushButton>(lcLog, "SaveButton")->click();
        QCOMPARE(lcAnswers.requests().size(), 1);
        QCOMPARE(lcAnswers.requests().first().meKind, tcFileDialogs::eSaveFile);
        QFile lcFile(lsPath);
        QVERIFY(lcFile.open(QIODevice::ReadOnly | QIODevice::Text));
        QCOMPARE(QString::fromLatin1(lcFile.readAll()), lsLines.join(QLatin1Char('\n')) + QLatin1Char('\n'));

        // Cancelled: nothing written.
        QVERIFY(QFile::remove(lsPath));
        child<QPushButton>(lcLog, "SaveButton")->click();
        QCOMPARE(lcAnswers.requests().size(), 2);
        QVERIFY(!QFile::exists(lsPath));

        child<QPushButton>(lcLog, "ClearButton")->click();
        QVERIFY(lcLog.lines().isEmpty());
    }

    void failedSaveSaysWhy()
    {
        tcLogWidget lcLog;
        addLines(lcLog, 0, 3);
        // The folder chosen is gone by the time the file is written.
        const QString lsPath = mcDir.filePath(QStringLiteral("gone/saved.log"));
        QString lsError;
        QVERIFY(!lcLog.saveTo(lsPath, &lsError));
        QVERIFY(!lsError.isEmpty());

        QString lsBox;
        tcFileDialogAnswers lcAnswers({lsPath});
        tnModal::answerBox(QMessageBox::Ok, &lsBox);
        child<QPushButton>(lcLog, "SaveButton")->click();
        QTRY_VERIFY(lsBox.startsWith(QStringLiteral("Unable to save the log to ")));
        QCOMPARE(lcLog.lines().size(), 3);
    }

    void reportOpensTheLogAsAReport()
    {
        tcLogWidget lcLog;
        addLines(lcLog, 0, 2);
        QSignalSpy lcSpy(&lcLog, &tcLogWidget::ShowTextString);
        child<QPushButton>(lcLog, "ReportButton")->click();
        QCOMPARE(lcSpy.count(), 1);
        const QString lsText = lcLog.lines().join(QLatin1Char('\n')) + QLatin1Char('\n');
        QCOMPARE(lcSpy.first().at(0).toString(), lsText);
        QCOMPARE(lcSpy.first().at(1).toString(), QStringLiteral("Camera Log"));
        QCOMPARE(lcSpy.first().at(2).toBool(), true);

        QPointer<tcReportForm> lpReport = openReport();
        QVERIFY(lpReport);
        QVERIFY(lpReport->windowTitle().endsWith(QStringLiteral("Camera Log")));
        QCOMPARE(lpReport->document()->toPlainText(), lsText);
        lpReport->close();
        QTRY_VERIFY(lpReport.isNull());
    }

    void closingOnlyHides()
    {
        QPointer<tcLogWidget> lpLog = new tcLogWidget;
        lpLog->setAttribute(Qt::WA_DeleteOnClose);
        lpLog->show();
        QVERIFY(lpLog->isVisible());
        QVERIFY(!lpLog->close());
        QVERIFY(!lpLog->isVisible());
        QCoreApplication::processEvents();
        QVERIFY(!lpLog.isNull());
        delete lpLog.data();
    }

    void stayOnTopIsKeptInThePlatformStore()
    {
        {
            tcLogWidget lcLog;
            QVERIFY(!lcLog.isVisible());
            child<QCheckBox>(lcLog, "mpStayOnTop")->setChecked(true);
            QVERIFY(lcLog.windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(lcLog.isVisible());
        }
        const QString lsKey = tcLogWidget::stayOnTopKey(QStringLiteral("Log Window"));
        QCOMPARE(lsKey, QStringLiteral("Log Window/StayOnTop"));
        QCOMPARE(QSettings().value(lsKey).toBool(), true);
        {
            // Restored true: checked and shown at once.
            tcLogWidget lcLog;
            QVERIFY(child<QCheckBox>(lcLog, "mpStayOnTop")->isChecked());
            QVERIFY(lcLog.isVisible());
            child<QCheckBox>(lcLog, "mpStayOnTop")->setChecked(false);
            QVERIFY(!(lcLog.windowFlags() & Qt::WindowStaysOnTopHint));
        }
        QCOMPARE(QSettings().value(lsKey).toBool(), false);
        tcLogWidget lcQuiet;
        QVERIFY(!lcQuiet.isVisible());
    }

    void maximumKeptInTheIniGroup()
    {
        QSettings lcIni(mcDir.filePath(QStringLiteral("log.ini")), QSettings::IniFormat);
        {
            tcLogWidget lcLog;
            child<QSpinBox>(lcLog, "MaxEntries")->setValue(321);
            QVERIFY(lcLog.SaveSettings(lcIni));
        }
        QCOMPARE(lcIni.value(QStringLiteral("Log Window/MaxEntries")).toInt(), 321);
        tcLogWidget lcLog;
        QVERIFY(lcLog.LoadSettings(lcIni));
        QCOMPARE(lcLog.maxEntries(), 321);
    }

    void echoWritesEachLineAtInfoLevel()
    {
        gsInfos.clear();
        const QtMessageHandler lpPrevious = qInstallMessageHandler(captureInfo);
        {
            tcLogWidget lcQuiet(nullptr, false);
            lcQuiet.LogMessage(QStringLiteral("quiet"));
            tcLogWidget lcEcho(nullptr, true);
            lcEcho.LogError(QStringLiteral("loud"));
            QCOMPARE(gsInfos, lcEcho.lines());
        }
        qInstallMessageHandler(lpPrevious);
    }

    void floodFromAWorkerStaysBoundedAndResponsive_data()
    {
        QTest::addColumn<bool>("queued");
        QTest::newRow("direct calls") << false;
        QTest::newRow("queued signals") << true;
    }
    void floodFromAWorkerStaysBoundedAndResponsive()
    {
        QFETCH(bool, queued);
#ifdef KESTRIX_SANITIZED_BUILD
        const int lnLines = 20000; // still ten times the list's bound
#else
        const int lnLines = 100000;
#endif
        tcLogWidget lcLog;
        lcLog.show();
        QListWidget* lpList = child<QListWidget>(lcLog, "listWidget");
        tcChatter lcChatter;
        connect(&lcChatter, &tcChatter::Message, &lcLog, &tcLogWidget::LogMessage, Qt::QueuedConnection);

        std::atomic<bool> lbDone{false};
        int lnTicks = 0;
        int lnLargest = 0;
        QTimer lcTick;
        connect(&lcTick, &QTimer::timeout,
                [&]
                {
                    ++lnTicks;
                    lnLargest = qMax(lnLargest, lpList->count());
                });
        lcTick.start(5);
        std::thread lcWorker(
            [&]
            {
                for (int lnLine = 0; lnLine < lnLines; ++lnLine)
                {
                    const QString lsText = QStringLiteral("flood %1").arg(lnLine);
                    if (queued)
                        emit lcChatter.Message(lsText);
                    else
                        lcLog.LogMessage(lsText);
                }
                lbDone = true;
            });
        QElapsedTimer lcClock;
        lcClock.start();
        while (!lbDone && lcClock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        lcWorker.join();
        const QString lsLast = QStringLiteral("flood %1").arg(lnLines - 1);
        QTRY_COMPARE_WITH_TIMEOUT(textOf(lcLog.lines().last()), lsLast, 60000);
        QCOMPARE(lpList->count(), 2000);
        QVERIFY(lbDone);
        QVERIFY(lnTicks > 0);
        QVERIFY(lnLargest <= 2000);
        // Direct calls from another thread have no sender to name.
        QVERIFY(lpList->item(0)->text().startsWith(queued ? QStringLiteral("tcChatter:")
                                                          : QStringLiteral("Logger:")));
    }
};

QTEST_MAIN(tst_LogWidget)
#include "tst_logwidget.moc"
