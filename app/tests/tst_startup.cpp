#include "gentlplugin.h"
#include "mainwindow.h"
#include "pluginmanager.h"
#include "settings.h"
#include "startup.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTreeWidget>
#include <QSplashScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
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
    QStringList msPlugins;     // loaded from the folder beside the program
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

// Runs the program with the given arguments. From inside its event loop the
// driver answers every message box, optionally raises a critical message from
// a worker thread once the window is up, and then closes the main window.
tcRunResult runProgram(const QStringList& arArgs, bool abRaiseCritical = false)
{
    tcRunResult lcResult;
    std::vector<QByteArray> lcStore{QByteArray("kestrix")};
    for (const QString& lsArg : arArgs)
        lcStore.push_back(lsArg.toUtf8());
    std::vector<char*> lcArgv;
    for (QByteArray& lrArg : lcStore)
        lcArgv.push_back(lrArg.data());
    int lnArgc = static_cast<int>(lcArgv.size());

    QtMessageHandler lpPrevious = qInstallMessageHandler(nullptr);
    qInstallMessageHandler(lpPrevious);

    bool lbCriticalSent = false;
    lcResult.mnExitCode = kestrixMain(
        lnArgc, lcArgv.data(),
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
                        if (auto* lpAbout = lpWindow->findChild<QDialog*>(QStringLiteral("tcAboutPluginsDialog")))
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

    qInstallMessageHandler(lpPrevious);
    return lcResult;
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
};

QTEST_APPLESS_MAIN(tst_Startup)
#include "tst_startup.moc"
