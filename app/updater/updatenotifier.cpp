#include "updatenotifier.h"

#include "updatedialog.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QUrl>

namespace
{
constexpr int kTrayMessageMs = 10000;
constexpr int kProgressSteps = 1000;

QString noticeTitle()
{
    return QObject::tr("%1 Update").arg(QGuiApplication::applicationDisplayName());
}
} // namespace

tcUpdateNotifier::tcUpdateNotifier(QWidget* apWindow)
    : QObject(apWindow), tcDebugSource(QStringLiteral("UpdateNotifier")), mpWindow(apWindow),
      msDownloadFolder(tcUpdateDownloader::defaultFolder())
{
    connect(&mcChecker, &tcUpdateChecker::Message, this, &tcUpdateNotifier::Message);
    connect(&mcChecker, &tcUpdateChecker::Error, this, &tcUpdateNotifier::Error);
    connect(&mcChecker, &tcUpdateChecker::checkComplete, this, &tcUpdateNotifier::updaterCheckComplete);
    connect(&mcDownloader, &tcUpdateDownloader::Message, this, &tcUpdateNotifier::Message);
    connect(&mcDownloader, &tcUpdateDownloader::Error, this, &tcUpdateNotifier::Error);
    connect(&mcDownloader, &tcUpdateDownloader::progress, this, &tcUpdateNotifier::onDownloadProgress);
    connect(&mcDownloader, &tcUpdateDownloader::updateDownloaded, this, &tcUpdateNotifier::updateDownloaded);
    connect(&mcDownloader, &tcUpdateDownloader::downloadFailed, this, &tcUpdateNotifier::onDownloadFailed);
    connect(&mcDownloader, &tcUpdateDownloader::downloadCancelled, this,
            &tcUpdateNotifier::onDownloadCancelled);
}

tcUpdateNotifier::~tcUpdateNotifier()
{
    // The progress dialog would report its own closing as a cancel.
    if (mpProgress)
        mpProgress->disconnect(this);
}

void tcUpdateNotifier::setTrayIcon(QSystemTrayIcon* apTray)
{
    if (mpTray)
        mpTray->disconnect(this);
    mpTray = apTray;
    if (mpTray)
        connect(mpTray, &QSystemTrayIcon::messageClicked, this,
                &tcUpdateNotifier::notificationMessageClicked);
}

void tcUpdateNotifier::checkForUpdates()
{
    mcChecker.checkNow(true);
}

bool tcUpdateNotifier::trayUsable() const
{
    return mpTray && mpTray->isVisible() && QSystemTrayIcon::supportsMessages();
}

void tcUpdateNotifier::updaterCheckComplete(const tcUpdateCheckResult& arResult)
{
    if (!arResult.mbNotify)
        return;
    const bool lbUpdate = arResult.meOutcome == tcUpdateCheckResult::eUpdateAvailable;
    if (!arResult.mbUserInitiated && trayUsable())
    {
        mcPending = arResult;
        mbHasPending = lbUpdate;
        mpTray->showMessage(noticeTitle(), arResult.msText,
                            arResult.meOutcome == tcUpdateCheckResult::eFailed ? QSystemTrayIcon::Warning
                                                                               : QSystemTrayIcon::Information,
                            kTrayMessageMs);
        return;
    }
    if (lbUpdate)
        showRelease(arResult);
    else if (arResult.meOutcome == tcUpdateCheckResult::eFailed)
        showBox(QMessageBox::Warning, arResult.msText);
    else
        showBox(QMessageBox::Information, arResult.msText);
}

void tcUpdateNotifier::notificationMessageClicked()
{
    if (!mbHasPending)
        return;
    mbHasPending = false;
    showRelease(mcPending);
}

QMessageBox* tcUpdateNotifier::showBox(QMessageBox::Icon aeIcon, const QString& arText)
{
    // One notice at a time: a newer one replaces an open box.
    delete mpBox;
    mpBox = new QMessageBox(aeIcon, noticeTitle(), arText, QMessageBox::Ok, mpWindow);
    mpBox->setAttribute(Qt::WA_DeleteOnClose);
    mpBox->setWindowModality(Qt::NonModal);
    mpBox->show();
    mpBox->raise();
    return mpBox;
}

void tcUpdateNotifier::showRelease(const tcUpdateCheckResult& arResult)
{
    delete mpDialog;
    const bool lbOffer = arResult.mbOfferDownload && !mcDownloader.isRunning();
    mpDialog = new tcUpdateDialog(mpWindow, arResult.mcRelease, arResult.msText, lbOffer);
    mpDialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(mpDialog, &tcUpdateDialog::downloadRequested, this, &tcUpdateNotifier::downloadRelease);
    mpDialog->show();
    mpDialog->raise();
}

void tcUpdateNotifier::downloadRelease(const tcAppCast& arRelease)
{
    if (mcDownloader.isRunning())
        return;
    mcDownloader.setTimeoutMs(mcChecker.timeoutMs());
    closeProgress();
    mpProgress =
        new QProgressDialog(tr("Downloading %1 ...").arg(tcUpdateDownloader::installerFileName(arRelease)),
                            tr("Cancel"), 0, 0, mpWindow);
    mpProgress->setWindowTitle(noticeTitle());
    mpProgress->setAttribute(Qt::WA_DeleteOnClose);
    mpProgress->setWindowModality(Qt::NonModal);
    mpProgress->setAutoClose(false);
    mpProgress->setAutoReset(false);
    mpProgress->setMinimumDuration(0);
    connect(mpProgress, &QProgressDialog::canceled, &mcDownloader, &tcUpdateDownloader::cancel);
    mpProgress->show();
    mcDownloader.start(arRelease, msDownloadFolder);
}

void tcUpdateNotifier::onDownloadProgress(qint64 anReceived, qint64 anTotal)
{
    if (!mpProgress)
        return;
    if (anTotal <= 0)
    {
        mpProgress->setRange(0, 0); // size unknown: a busy bar
        return;
    }
    mpProgress->setRange(0, kProgressSteps);
    mpProgress->setValue(
        static_cast<int>(qBound<qint64>(0, anReceived * kProgressSteps / anTotal, kProgressSteps)));
}

void tcUpdateNotifier::closeProgress()
{
    if (!mpProgress)
        return;
    mpProgress->disconnect(&mcDownloader);
    mpProgress->close();
    mpProgress = nullptr;
}

void tcUpdateNotifier::updateDownloaded(const QString& asPath)
{
    closeProgress();
    QMessageBox* lpBox = showBox(QMessageBox::Information,
                                 tr("The installer was saved as %1 and its checksum verified.\nClose %2 "
                                    "before you run it.")
                                     .arg(asPath, QGuiApplication::applicationDisplayName()));
    QPushButton* lpOpen = lpBox->addButton(tr("Open Folder"), QMessageBox::ActionRole);
    const QString lsFolder = QFileInfo(asPath).absolutePath();
    connect(lpOpen, &QPushButton::clicked, this,
            [lsFolder]() { QDesktopServices::openUrl(QUrl::fromLocalFile(lsFolder)); });
}

void tcUpdateNotifier::onDownloadFailed(const QString& asText)
{
    closeProgress();
    showBox(QMessageBox::Warning, asText);
}

void tcUpdateNotifier::onDownloadCancelled()
{
    // The user's own doing: no box, the log has the line.
    closeProgress();
}
