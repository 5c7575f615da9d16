#include "settings.h"
#include "testhttpserver.h"
#include "updatechecker.h"
#include "updatedownloader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace
{
// Answers that are on their way get a generous time-out, so that a busy
// machine does not fail them; the cases that are meant to time out get a
// short one.
constexpr int kTimeoutMs = 3000;
constexpr int kShortTimeoutMs = 300;
constexpr int kWaitMs = 5000;

QByteArray sha256Hex(const QByteArray& arData)
{
    return QCryptographicHash::hash(arData, QCryptographicHash::Sha256).toHex();
}

QByteArray appcast(const QByteArray& arVersion, const QByteArray& arSha = QByteArray(64, '0'),
                   const QByteArray& arInstaller = "setup.bin")
{
    return "<?xml version=\"1.0\"?>\n<appcast><release><version>" + arVersion +
           "</version><notes>Notes</notes><installer url=\"" + arInstaller + "\" sha256=\"" + arSha +
           "\"/></release></appcast>";
}

tcTestHttpServer::tcRoute answer(const QByteArray& arBody, int anStatus = 200)
{
    tcTestHttpServer::tcRoute lcRoute;
    lcRoute.mcBody = arBody;
    lcRoute.mnStatus = anStatus;
    return lcRoute;
}

QByteArray installerBytes()
{
    QByteArray lcData;
    for (int lnIndex = 0; lnIndex < 256 * 1024; ++lnIndex)
        lcData.append(static_cast<char>((lnIndex * 7 + lnIndex / 251) & 0xff));
    return lcData;
}

// Settings of one case: what the user has chosen on the application page.
void configure(const QString& arUrl, bool abShowUpdates = true, bool abDownloader = true,
               bool abShowAll = true, bool abPeriodic = true)
{
    const std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    lpSettings->setValue(QStringLiteral("updateUrl"), arUrl);
    lpSettings->setValue(QStringLiteral("showUpdateNotifications"), abShowUpdates);
    lpSettings->setValue(QStringLiteral("enableDownloader"), abDownloader);
    lpSettings->setValue(QStringLiteral("showAllNotifcations"), abShowAll);
    lpSettings->setValue(QStringLiteral("enablePeriodicUpdate"), abPeriodic);
}

tcUpdateCheckResult resultOf(QSignalSpy& arSpy)
{
    return arSpy.isEmpty() ? tcUpdateCheckResult() : arSpy.first().first().value<tcUpdateCheckResult>();
}

QStringList filesIn(const QString& arFolder)
{
    return QDir(arFolder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}
} // namespace

class tst_UpdateChecker : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mcIniDir;
    tcTestHttpServer mcServer;
    std::unique_ptr<tcUpdateChecker> mpChecker;

    // Runs one check; returns how many results it gave (one is right).
    int check(bool abUser, tcUpdateCheckResult& arResult)
    {
        QSignalSpy lcDone(mpChecker.get(), &tcUpdateChecker::checkComplete);
        mpChecker->checkNow(abUser);
        if (lcDone.isEmpty())
            lcDone.wait(kWaitMs);
        QTest::qWait(20); // a second result would show up here
        arResult = resultOf(lcDone);
        return lcDone.size();
    }

    // Release 1.0 with its installer on the test server.
    tcAppCast release(const QByteArray& arSha, const QByteArray& arInstaller = "setup.bin")
    {
        tcAppCast lcRelease;
        QString lsError;
        if (!tcAppCast::parse(appcast("1.0", arSha, arInstaller), mcServer.url(QStringLiteral("/cast.xml")),
                              lcRelease, lsError))
            qWarning() << lsError;
        return lcRelease;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mcIniDir.isValid());
        tcSettings::setDefaultIniFile(mcIniDir.filePath(QStringLiteral("updater.ini")));
        QVERIFY(mcServer.listen());
    }

    void init()
    {
        configure(mcServer.url(QStringLiteral("/cast.xml")).toString());
        mpChecker = std::make_unique<tcUpdateChecker>();
        mpChecker->setCurrentVersion(QStringLiteral("0.9.0"));
        mpChecker->setTimeoutMs(kTimeoutMs);
    }

    void defaults()
    {
        tcUpdateChecker lcChecker;
        QCOMPARE(lcChecker.timeoutMs(), 10000);
        QCOMPARE(lcChecker.currentVersion(), appVersion().section(QLatin1Char(' '), 0, 0));
        QVERIFY(!lcChecker.isPeriodicActive());
    }

    void comparesWithTheRelease_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("text");
        QTest::newRow("newer") << QByteArray("0.10.0") << int(tcUpdateCheckResult::eUpdateAvailable)
                               << "Version 0.10.0 is available; this is version 0.9.0.";
        QTest::newRow("same") << QByteArray("0.9") << int(tcUpdateCheckResult::eUpToDate)
                              << "Version 0.9.0 is the newest release.";
        QTest::newRow("older") << QByteArray("0.8.9") << int(tcUpdateCheckResult::eNewerThanRelease)
                               << "Version 0.9.0 is newer than the newest release, 0.8.9.";
    }
    void comparesWithTheRelease()
    {
        QFETCH(QByteArray, version);
        QFETCH(int, outcome);
        QFETCH(QString, text);
        mcServer.setRoute(QStringLiteral("/cast.xml"), answer(appcast(version)));
        QSignalSpy lcMessages(mpChecker.get(), &tcUpdateChecker::Message);
        QSignalSpy lcErrors(mpChecker.get(), &tcUpdateChecker::Error);
        tcUpdateCheckResult lcResult;
        QCOMPARE(check(true, lcResult), 1);
        QCOMPARE(int(lcResult.meOutcome), outcome);
        QCOMPARE(lcResult.msText, text);
        QVERIFY(lcResult.mbNotify);
        QVERIFY(lcResult.mbUserInitiated);
        QCOMPARE(lcResult.mcRelease.mcInstallerUrl, mcServer.url(QStringLiteral("/setup.bin")));
        QCOMPARE(lcErrors.size(), 0);
        QCOMPARE(lcMessages.size(), 2);
        QCOMPARE(lcMessages.at(0).at(0).toString(), QStringLiteral("checking for updates..."));
        QCOMPARE(lcMessages.at(1).at(0).toString(), text);
    }

    void eachFailureGivesOneMessage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        QTest::newRow("malformed xml") << "/broken.xml"
                                       << "is not valid: ";
        QTest::newRow("version does not parse") << "/badversion.xml"
                                                << "the version \"next\" is not a version number";
        QTest::newRow("server error") << "/error.xml"
                                      << "answered with HTTP status 500";
        QTest::newRow("not found") << "/missing.xml"
                                   << "answered with HTTP status 404";
        QTest::newRow("never answers") << "/silent.xml"
                                       << "did not answer within 0.3 s";
        QTest::newRow("too large") << "/huge.xml"
                                   << "larger than 1048576 bytes";
    }
    void eachFailureGivesOneMessage()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        mcServer.setRoute(QStringLiteral("/broken.xml"), answer("<appcast><release><version>1.0</vers"));
        mcServer.setRoute(QStringLiteral("/badversion.xml"), answer(appcast("next")));
        mcServer.setRoute(QStringLiteral("/error.xml"), answer("oops", 500));
        tcTestHttpServer::tcRoute lcSilent;
        lcSilent.mbSilent = true;
        mcServer.setRoute(QStringLiteral("/silent.xml"), lcSilent);
        mcServer.setRoute(QStringLiteral("/huge.xml"), answer(QByteArray(1100 * 1024, ' ')));
        configure(mcServer.url(path).toString());
        mpChecker->setTimeoutMs(path == QLatin1String("/silent.xml") ? kShortTimeoutMs : kTimeoutMs);

        for (const bool lbUser : {true, false})
        {
            QSignalSpy lcErrors(mpChecker.get(), &tcUpdateChecker::Error);
            tcUpdateCheckResult lcResult;
            QCOMPARE(check(lbUser, lcResult), 1);
            QCOMPARE(lcResult.meOutcome, tcUpdateCheckResult::eFailed);
            QVERIFY2(lcResult.msText.startsWith(QStringLiteral("Update check failed: ")),
                     qPrintable(lcResult.msText));
            QVERIFY2(lcResult.msText.contains(error), qPrintable(lcResult.msText));
            QCOMPARE(lcResult.mbNotify, lbUser); // automatic failures only go to the log
            QCOMPARE(lcErrors.size(), 1);
            QCOMPARE(lcErrors.first().first().toString(), lcResult.msText);
        }
    }

    void unreachableOrUnusableSources_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("error");
        QTest::newRow("nobody listening") << QString() << "Connection refused";
        QTest::newRow("not a web address") << "ftp://127.0.0.1/cast.xml"
                                           << "is not an http or https address";
        QTest::newRow("not an address at all") << "http://"
                                               << "is not an http or https address";
    }
    void unreachableOrUnusableSources()
    {
        QFETCH(QString, url);
        QFETCH(QString, error);
        if (url.isEmpty())
        {
            QTcpServer lcClosed; // take a free port, then free it again
            QVERIFY(lcClosed.listen(QHostAddress::LocalHost, 0));
            url = QStringLiteral("http://127.0.0.1:%1/cast.xml").arg(lcClosed.serverPort());
        }
        configure(url);
        tcUpdateCheckResult lcResult;
        QCOMPARE(check(true, lcResult), 1);
        QCOMPARE(lcResult.meOutcome, tcUpdateCheckResult::eFailed);
        QVERIFY2(lcResult.msText.contains(error), qPrintable(lcResult.msText));
    }

    void unconfiguredSourceAnswersOnlyTheUser()
    {
        configure(QString());
        QSignalSpy lcMessages(mpChecker.get(), &tcUpdateChecker::Message);
        QSignalSpy lcErrors(mpChecker.get(), &tcUpdateChecker::Error);

        tcUpdateCheckResult lcResult;
        QCOMPARE(check(false, lcResult), 1);
        QCOMPARE(lcResult.meOutcome, tcUpdateCheckResult::eNotConfigured);
        QVERIFY(!lcResult.mbNotify);

        QCOMPARE(check(true, lcResult), 1);
        QCOMPARE(lcResult.meOutcome, tcUpdateCheckResult::eNotConfigured);
        QCOMPARE(lcResult.msText, QStringLiteral("No update source is configured."));
        QVERIFY(lcResult.mbNotify);
        // The notice is the one message: nothing for the status bar or log.
        QCOMPARE(lcMessages.size(), 0);
        QCOMPARE(lcErrors.size(), 0);
    }

    void settingsDecideWhoIsTold_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("user");
        QTest::addColumn<bool>("showUpdates");
        QTest::addColumn<bool>("downloader");
        QTest::addColumn<bool>("showAll");
        QTest::addColumn<bool>("notify");
        QTest::addColumn<bool>("offer");
        QTest::newRow("automatic, new release")
            << QByteArray("1.0") << false << true << true << true << true << true;
        QTest::newRow("automatic, new release, no notifications")
            << QByteArray("1.0") << false << false << true << true << false << true;
        QTest::newRow("user, new release, no notifications")
            << QByteArray("1.0") << true << false << true << false << true << true;
        QTest::newRow("user, new release, no downloader")
            << QByteArray("1.0") << true << true << false << true << true << false;
        QTest::newRow("automatic, nothing new, show all")
            << QByteArray("0.9.0") << false << true << true << true << false << false;
        QTest::newRow("user, nothing new, show all")
            << QByteArray("0.9.0") << true << true << true << true << true << false;
        QTest::newRow("user, nothing new, only news")
            << QByteArray("0.9.0") << true << true << true << false << false << false;
    }
    void settingsDecideWhoIsTold()
    {
        QFETCH(QByteArray, version);
        QFETCH(bool, user);
        QFETCH(bool, showUpdates);
        QFETCH(bool, downloader);
        QFETCH(bool, showAll);
        QFETCH(bool, notify);
        QFETCH(bool, offer);
        mcServer.setRoute(QStringLiteral("/cast.xml"), answer(appcast(version)));
        configure(mcServer.url(QStringLiteral("/cast.xml")).toString(), showUpdates, downloader, showAll);
        tcUpdateCheckResult lcResult;
        QCOMPARE(check(user, lcResult), 1);
        QCOMPARE(lcResult.mbNotify, notify);
        if (lcResult.meOutcome == tcUpdateCheckResult::eUpdateAvailable)
            QCOMPARE(lcResult.mbOfferDownload, offer);
    }

    void aSecondRequestJoinsTheRunningCheck()
    {
        mcServer.setRoute(QStringLiteral("/join.xml"), answer(appcast("0.9.0")));
        configure(mcServer.url(QStringLiteral("/join.xml")).toString());
        QSignalSpy lcDone(mpChecker.get(), &tcUpdateChecker::checkComplete);
        mpChecker->checkNow(false);
        QVERIFY(mpChecker->isChecking());
        mpChecker->checkNow(true);
        QVERIFY(lcDone.wait(kWaitMs));
        QTest::qWait(50);
        QCOMPARE(lcDone.size(), 1);
        QVERIFY(resultOf(lcDone).mbUserInitiated);
        QCOMPARE(mcServer.requestCount(QStringLiteral("/join.xml")), 1);
        QVERIFY(!mpChecker->isChecking());
    }

    void periodicAndStartupChecksFollowTheSettings()
    {
        mcServer.setRoute(QStringLiteral("/timed.xml"), answer(appcast("0.9.0")));
        const QString lsUrl = mcServer.url(QStringLiteral("/timed.xml")).toString();
        QSignalSpy lcDone(mpChecker.get(), &tcUpdateChecker::checkComplete);

        configure(lsUrl, false, true, true, false);
        mpChecker->scheduleStartupCheck();
        mpChecker->applySettings();
        QVERIFY(!mpChecker->isPeriodicActive());
        QTest::qWait(300);
        QCOMPARE(lcDone.size(), 0);

        configure(lsUrl, true, true, true, true);
        mpChecker->scheduleStartupCheck();
        QVERIFY(lcDone.wait(kWaitMs));
        QVERIFY(!resultOf(lcDone).mbUserInitiated);

        mpChecker->setPeriodMs(100);
        mpChecker->applySettings();
        QVERIFY(mpChecker->isPeriodicActive());
        QTRY_VERIFY_WITH_TIMEOUT(lcDone.size() >= 3, kWaitMs);
        configure(lsUrl, true, true, true, false);
        mpChecker->applySettings();
        QVERIFY(!mpChecker->isPeriodicActive());
    }

    void destroyedWhileChecking()
    {
        tcTestHttpServer::tcRoute lcSilent;
        lcSilent.mbSilent = true;
        mcServer.setRoute(QStringLiteral("/silent.xml"), lcSilent);
        configure(mcServer.url(QStringLiteral("/silent.xml")).toString());
        mpChecker->checkNow(true);
        QTest::qWait(50);
        mpChecker.reset(); // must neither crash nor report afterwards
        QTest::qWait(kShortTimeoutMs + 100);
    }

    // The installer download.

    void downloadsAndVerifiesTheInstaller()
    {
        const QByteArray lcData = installerBytes();
        tcTestHttpServer::tcRoute lcRoute = answer(lcData);
        lcRoute.mnChunk = 4 * 1024; // slow enough for the network's 100 ms progress steps
        mcServer.setRoute(QStringLiteral("/setup.bin"), lcRoute);
        QTemporaryDir lcFolder;
        const tcAppCast lcRelease = release(sha256Hex(lcData));
        QVERIFY(lcRelease.mcInstallerUrl.isValid());

        tcUpdateDownloader lcDownloader;
        lcDownloader.setTimeoutMs(kTimeoutMs);
        QSignalSpy lcProgress(&lcDownloader, &tcUpdateDownloader::progress);
        QSignalSpy lcDone(&lcDownloader, &tcUpdateDownloader::updateDownloaded);
        QSignalSpy lcFailed(&lcDownloader, &tcUpdateDownloader::downloadFailed);
        lcDownloader.start(lcRelease, lcFolder.path());
        QVERIFY(lcDownloader.isRunning());
        QVERIFY(lcDone.wait(kWaitMs));
        QCOMPARE(lcFailed.size(), 0);
        QVERIFY2(lcProgress.size() >= 2, "progress comes in steps");
        QCOMPARE(lcProgress.last().at(0).toLongLong(), qint64(lcData.size()));
        QCOMPARE(lcProgress.last().at(1).toLongLong(), qint64(lcData.size()));

        const QString lsPath = lcDone.first().first().toString();
        QCOMPARE(QFileInfo(lsPath).fileName(), QStringLiteral("setup.bin"));
        QFile lcFile(lsPath);
        QVERIFY(lcFile.open(QIODevice::ReadOnly));
        QVERIFY(lcFile.readAll() == lcData);
        QCOMPARE(filesIn(lcFolder.path()), QStringList{QStringLiteral("setup.bin")});
    }

    void failedDownloadsLeaveNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        QTest::newRow("checksum differs") << "/setup.bin"
                                          << "SHA-256 checksum does not match";
        QTest::newRow("server error") << "/error.bin"
                                      << "answered with HTTP status 500";
        QTest::newRow("stalls part-way") << "/stall.bin"
                                         << "did not answer within 0.3 s";
    }
    void failedDownloadsLeaveNothing()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        const QByteArray lcData = installerBytes();
        mcServer.setRoute(QStringLiteral("/setup.bin"), answer(lcData));
        mcServer.setRoute(QStringLiteral("/error.bin"), answer("an error page, no installer", 500));
        tcTestHttpServer::tcRoute lcStall = answer(lcData);
        lcStall.mnStallAfter = 100 * 1024;
        mcServer.setRoute(QStringLiteral("/stall.bin"), lcStall);
        QTemporaryDir lcFolder;
        // The description promises another file's checksum.
        const tcAppCast lcRelease = release(sha256Hex("something else"), path.mid(1).toLatin1());
        QVERIFY(lcRelease.mcInstallerUrl.isValid());

        tcUpdateDownloader lcDownloader;
        lcDownloader.setTimeoutMs(path == QLatin1String("/stall.bin") ? kShortTimeoutMs : kTimeoutMs);
        QSignalSpy lcDone(&lcDownloader, &tcUpdateDownloader::updateDownloaded);
        QSignalSpy lcFailed(&lcDownloader, &tcUpdateDownloader::downloadFailed);
        QSignalSpy lcErrors(&lcDownloader, &tcUpdateDownloader::Error);
        lcDownloader.start(lcRelease, lcFolder.path());
        QVERIFY(lcFailed.wait(kWaitMs));
        QTest::qWait(20);
        QCOMPARE(lcFailed.size(), 1);
        QCOMPARE(lcErrors.size(), 1);
        QCOMPARE(lcDone.size(), 0);
        const QString lsText = lcFailed.first().first().toString();
        QVERIFY2(lsText.startsWith(QStringLiteral("Download failed: ")), qPrintable(lsText));
        QVERIFY2(lsText.contains(error), qPrintable(lsText));
        QCOMPARE(filesIn(lcFolder.path()), QStringList());
    }

    void cancelledOrUnwritableDownloadsLeaveNothing()
    {
        tcTestHttpServer::tcRoute lcSlow = answer(installerBytes());
        lcSlow.mnChunk = 4 * 1024;
        mcServer.setRoute(QStringLiteral("/slow.bin"), lcSlow);
        QTemporaryDir lcFolder;
        const tcAppCast lcRelease = release(QByteArray(64, 'f'), "slow.bin");
        QVERIFY(lcRelease.mcInstallerUrl.isValid());

        tcUpdateDownloader lcDownloader;
        QSignalSpy lcProgress(&lcDownloader, &tcUpdateDownloader::progress);
        QSignalSpy lcCancelled(&lcDownloader, &tcUpdateDownloader::downloadCancelled);
        QSignalSpy lcFailed(&lcDownloader, &tcUpdateDownloader::downloadFailed);
        lcDownloader.start(lcRelease, lcFolder.path());
        QVERIFY(lcProgress.wait(kWaitMs));
        lcDownloader.cancel();
        QTRY_COMPARE_WITH_TIMEOUT(lcCancelled.size(), 1, kWaitMs);
        QCOMPARE(lcFailed.size(), 0);
        QVERIFY(!lcDownloader.isRunning());
        QCOMPARE(filesIn(lcFolder.path()), QStringList());

        // Closing the program mid-transfer leaves nothing either.
        {
            tcUpdateDownloader lcClosing;
            QSignalSpy lcStarted(&lcClosing, &tcUpdateDownloader::progress);
            lcClosing.start(lcRelease, lcFolder.path());
            QVERIFY(lcStarted.wait(kWaitMs));
        }
        QCOMPARE(filesIn(lcFolder.path()), QStringList());

        // A folder that cannot be made: its parent is a file.
        QFile lcBlocker(lcFolder.filePath(QStringLiteral("blocker")));
        QVERIFY(lcBlocker.open(QIODevice::WriteOnly));
        lcBlocker.close();
        lcDownloader.start(lcRelease, lcFolder.filePath(QStringLiteral("blocker/sub")));
        QCOMPARE(lcFailed.size(), 1);
        QVERIFY(lcFailed.first().first().toString().contains(QStringLiteral("cannot write")));
        QVERIFY(!lcDownloader.isRunning());
        QCOMPARE(filesIn(lcFolder.path()), QStringList{QStringLiteral("blocker")});
    }

    void installerNamesStayInsideTheFolder()
    {
        tcAppCast lcRelease;
        lcRelease.msVersion = QStringLiteral("1.2");
        lcRelease.mcInstallerUrl = QUrl(QStringLiteral("http://h/dl/kestrix-1.2.exe?x=1"));
        QCOMPARE(tcUpdateDownloader::installerFileName(lcRelease), QStringLiteral("kestrix-1.2.exe"));
        for (const char* lpPath : {"a%2F..%5Cb", "..%5C..%5Cevil.exe", "c:%5Cx.exe"})
        {
            lcRelease.mcInstallerUrl = QUrl(QStringLiteral("http://h/dl/") + QLatin1String(lpPath));
            const QString lsName = tcUpdateDownloader::installerFileName(lcRelease);
            QVERIFY2(!lsName.contains(QLatin1Char('/')) && !lsName.contains(QLatin1Char('\\')) &&
                         !lsName.contains(QLatin1Char(':')) && !lsName.startsWith(QLatin1Char('.')),
                     qPrintable(lsName));
        }
        lcRelease.mcInstallerUrl = QUrl(QStringLiteral("http://h/dl/"));
        QCOMPARE(tcUpdateDownloader::installerFileName(lcRelease), QStringLiteral("kestrix-1.2-installer"));
        lcRelease.mcInstallerUrl = QUrl(QStringLiteral("http://h/dl/.."));
        QVERIFY(!tcUpdateDownloader::installerFileName(lcRelease).startsWith(QLatin1Char('.')));
    }
};

QTEST_GUILESS_MAIN(tst_UpdateChecker)
#include "tst_updatechecker.moc"
