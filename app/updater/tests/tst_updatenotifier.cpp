#include "settings.h"
#include "testhttpserver.h"
#include "updatedialog.h"
#include "updatenotifier.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

namespace
{
constexpr int kWaitMs = 5000;

void configure(const QString& arUrl, bool abDownloader = true)
{
    const std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    lpSettings->setValue(QStringLiteral("updateUrl"), arUrl);
    lpSettings->setValue(QStringLiteral("enableDownloader"), abDownloader);
    lpSettings->setValue(QStringLiteral("showAllNotifcations"), true);
    lpSettings->setValue(QStringLiteral("showUpdateNotifications"), true);
}

QList<QMessageBox*> visibleBoxes()
{
    QList<QMessageBox*> lcBoxes;
    for (QWidget* lpWidget : QApplication::topLevelWidgets())
        if (auto* lpBox = qobject_cast<QMessageBox*>(lpWidget); lpBox && lpBox->isVisible())
            lcBoxes.append(lpBox);
    return lcBoxes;
}

QByteArray appcast(const QByteArray& arSha)
{
    return "<appcast><release><version>1.0.0</version><date>2026-12-01</date>"
           "<notes>Reads the new sensors.\nFaster start.</notes>"
           "<installer url=\"kestrix-1.0.0-setup.bin\" sha256=\"" +
           arSha + "\"/></release></appcast>";
}
} // namespace

class tst_UpdateNotifier : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mcIniDir;
    tcTestHttpServer mcServer;
    QByteArray mcInstaller;
    std::unique_ptr<QMainWindow> mpWindow;
    tcUpdateNotifier* mpNotifier = nullptr;
    std::unique_ptr<QTemporaryDir> mpDownloads;

    void serve(const QByteArray& arSha)
    {
        tcTestHttpServer::tcRoute lcCast;
        lcCast.mcBody = appcast(arSha);
        mcServer.setRoute(QStringLiteral("/cast.xml"), lcCast);
        configure(mcServer.url(QStringLiteral("/cast.xml")).toString());
    }

    // Null when no release was shown in time.
    tcUpdateDialog* waitForRelease()
    {
        mpNotifier->checkForUpdates();
        QDeadlineTimer lcDeadline(kWaitMs);
        while (!mpNotifier->releaseDialog() && !lcDeadline.hasExpired())
            QTest::qWait(10);
        return mpNotifier->releaseDialog();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mcIniDir.isValid());
        tcSettings::setDefaultIniFile(mcIniDir.filePath(QStringLiteral("updater.ini")));
        QVERIFY(mcServer.listen());
        for (int lnIndex = 0; lnIndex < 300 * 1024; ++lnIndex)
            mcInstaller.append(static_cast<char>(lnIndex % 253));
        tcTestHttpServer::tcRoute lcSetup;
        lcSetup.mcBody = mcInstaller;
        lcSetup.mnChunk = 4 * 1024; // slow enough for the network's 100 ms progress steps
        mcServer.setRoute(QStringLiteral("/kestrix-1.0.0-setup.bin"), lcSetup);
    }

    void init()
    {
        mpWindow = std::make_unique<QMainWindow>();
        mpWindow->show();
        mpNotifier = new tcUpdateNotifier(mpWindow.get());
        mpNotifier->checker()->setCurrentVersion(QStringLiteral("0.9.0"));
        mpNotifier->checker()->setTimeoutMs(3000);
        mpDownloads = std::make_unique<QTemporaryDir>();
        mpNotifier->setDownloadFolder(mpDownloads->path());
    }

    void cleanup()
    {
        mpWindow.reset(); // takes the notifier and its windows along
        QTRY_VERIFY(visibleBoxes().isEmpty());
    }

    void unconfiguredSourceIsToldOnceAndOnlyToTheUser()
    {
        configure(QString());
        QSignalSpy lcMessages(mpNotifier, &tcUpdateNotifier::Message);
        QSignalSpy lcErrors(mpNotifier, &tcUpdateNotifier::Error);
        mpNotifier->checker()->checkNow(false);
        QTest::qWait(50);
        QVERIFY(visibleBoxes().isEmpty());

        mpNotifier->checkForUpdates();
        mpNotifier->checkForUpdates(); // asking twice keeps one box
        QTRY_COMPARE(visibleBoxes().size(), 1);
        QMessageBox* lpBox = visibleBoxes().first();
        QCOMPARE(lpBox->text(), QStringLiteral("No update source is configured."));
        QVERIFY(!lpBox->isModal());
        QCOMPARE(lcMessages.size() + lcErrors.size(), 0);
    }

    void failuresOfTheUsersCheckShowAWarning()
    {
        tcTestHttpServer::tcRoute lcError;
        lcError.mnStatus = 503;
        mcServer.setRoute(QStringLiteral("/down.xml"), lcError);
        configure(mcServer.url(QStringLiteral("/down.xml")).toString());
        QSignalSpy lcErrors(mpNotifier, &tcUpdateNotifier::Error);
        mpNotifier->checker()->checkNow(false);
        QVERIFY(lcErrors.wait(kWaitMs));
        QVERIFY(visibleBoxes().isEmpty()); // an automatic check only logs

        mpNotifier->checkForUpdates();
        QTRY_COMPARE(visibleBoxes().size(), 1);
        QCOMPARE(visibleBoxes().first()->icon(), QMessageBox::Warning);
        QVERIFY(visibleBoxes().first()->text().contains(QStringLiteral("HTTP status 503")));
        QCOMPARE(lcErrors.size(), 2);
    }

    void newReleaseIsDownloadedWithProgressAndVerified()
    {
        serve(QCryptographicHash::hash(mcInstaller, QCryptographicHash::Sha256).toHex());
        tcUpdateDialog* lpDialog = waitForRelease();
        QVERIFY(lpDialog);
        QVERIFY(lpDialog->isVisible());
        QVERIFY(!lpDialog->isModal());
        QVERIFY(
            lpDialog->findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("Faster start.")));
        QVERIFY(lpDialog->downloadButton());

        // The bar is read after each step the downloader reports.
        QList<int> lcValues;
        connect(mpNotifier->downloader(), &tcUpdateDownloader::progress, this,
                [&]()
                {
                    if (mpNotifier->progressDialog())
                        lcValues.append(mpNotifier->progressDialog()->value());
                });
        lpDialog->downloadButton()->click();
        QTRY_VERIFY(mpNotifier->progressDialog() != nullptr);
        QVERIFY(!mpNotifier->progressDialog()->isModal());
        QTRY_VERIFY_WITH_TIMEOUT(!visibleBoxes().isEmpty(), kWaitMs);
        const bool lbSawPartial = std::any_of(lcValues.cbegin(), lcValues.cend(),
                                              [](int anValue) { return anValue > 0 && anValue < 1000; });
        QVERIFY2(lbSawPartial, "the progress bar moved through the download");
        QVERIFY(mpNotifier->progressDialog() == nullptr);
        QMessageBox* lpBox = visibleBoxes().first();
        QVERIFY2(lpBox->text().contains(QStringLiteral("checksum verified")), qPrintable(lpBox->text()));
        QFile lcFile(QDir(mpDownloads->path()).filePath(QStringLiteral("kestrix-1.0.0-setup.bin")));
        QVERIFY(lcFile.open(QIODevice::ReadOnly));
        QVERIFY(lcFile.readAll() == mcInstaller);
    }

    void badChecksumWarnsAndKeepsNoFile()
    {
        serve(QByteArray(64, 'e'));
        tcUpdateDialog* lpDialog = waitForRelease();
        QVERIFY(lpDialog);
        lpDialog->downloadButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!visibleBoxes().isEmpty(), kWaitMs);
        QCOMPARE(visibleBoxes().first()->icon(), QMessageBox::Warning);
        QVERIFY(visibleBoxes().first()->text().contains(QStringLiteral("checksum")));
        QVERIFY(mpNotifier->progressDialog() == nullptr);
        QCOMPARE(QDir(mpDownloads->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void cancellingTheProgressDialogStopsTheDownload()
    {
        serve(QCryptographicHash::hash(mcInstaller, QCryptographicHash::Sha256).toHex());
        tcUpdateDialog* lpDialog = waitForRelease();
        QVERIFY(lpDialog);
        QSignalSpy lcCancelled(mpNotifier->downloader(), &tcUpdateDownloader::downloadCancelled);
        lpDialog->downloadButton()->click();
        QTRY_VERIFY(mpNotifier->progressDialog() != nullptr);
        QPushButton* lpCancel = mpNotifier->progressDialog()->findChild<QPushButton*>();
        QVERIFY(lpCancel);
        lpCancel->click();
        QTRY_COMPARE_WITH_TIMEOUT(lcCancelled.size(), 1, kWaitMs);
        QVERIFY(mpNotifier->progressDialog() == nullptr);
        QVERIFY(visibleBoxes().isEmpty());
        QCOMPARE(QDir(mpDownloads->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void withoutDownloaderTheReleaseLinksTheInstaller()
    {
        serve(QByteArray(64, 'a'));
        configure(mcServer.url(QStringLiteral("/cast.xml")).toString(), false);
        tcUpdateDialog* lpDialog = waitForRelease();
        QVERIFY(lpDialog);
        QVERIFY(!lpDialog->downloadButton());
        const QLabel* lpLink = lpDialog->findChild<QLabel*>(QStringLiteral("mpInstallerLink"));
        QVERIFY(lpLink->isVisible());
        QVERIFY(lpLink->text().contains(mcServer.url(QStringLiteral("/kestrix-1.0.0-setup.bin")).toString()));
    }

    void automaticChecksShowOnlyNews()
    {
        // No tray offscreen: news of an automatic check come as the release
        // window, and a check that finds nothing new stays quiet.
        QSystemTrayIcon lcTray;
        mpNotifier->setTrayIcon(&lcTray);
        tcTestHttpServer::tcRoute lcSame;
        lcSame.mcBody = "<appcast><release><version>0.9.0</version>"
                        "<installer url=\"a.bin\" sha256=\"" +
                        QByteArray(64, 'a') + "\"/></release></appcast>";
        mcServer.setRoute(QStringLiteral("/same.xml"), lcSame);
        configure(mcServer.url(QStringLiteral("/same.xml")).toString());
        QSignalSpy lcDone(mpNotifier->checker(), &tcUpdateChecker::checkComplete);
        mpNotifier->checker()->checkNow(false);
        QVERIFY(lcDone.wait(kWaitMs));
        QTest::qWait(20);
        QVERIFY(visibleBoxes().isEmpty());
        QVERIFY(mpNotifier->releaseDialog() == nullptr);

        serve(QByteArray(64, 'a'));
        mpNotifier->checker()->checkNow(false);
        QVERIFY(lcDone.wait(kWaitMs));
        QVERIFY(mpNotifier->releaseDialog() != nullptr);
        QVERIFY(mpNotifier->releaseDialog()->isVisible());
        QVERIFY(visibleBoxes().isEmpty());
    }

    void trayClickWithoutNewsDoesNothing()
    {
        mpNotifier->notificationMessageClicked();
        QVERIFY(mpNotifier->releaseDialog() == nullptr);
    }
};

QTEST_MAIN(tst_UpdateNotifier)
#include "tst_updatenotifier.moc"
