#pragma once

#include "updatechecker.h"
#include "updatedialog.h"
#include "updatedownloader.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

class QSystemTrayIcon;

// The user's side of the update checker: turns check results into a tray
// message or a box, shows a newer release, and runs the download with a
// progress dialog. Owns the checker and the downloader. Nothing here runs a
// modal loop, so the main window is never blocked.
//
// Results of checks the user asked for answer in a box (the user is looking
// at the window); those of automatic checks go to the tray when there is one,
// and clicking the tray message opens the release.
class tcUpdateNotifier : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcUpdateNotifier(QWidget* apWindow);
    ~tcUpdateNotifier() override;

    tcUpdateChecker* checker() { return &mcChecker; }
    tcUpdateDownloader* downloader() { return &mcDownloader; }

    // The main window's tray icon, or null where the platform has no tray.
    void setTrayIcon(QSystemTrayIcon* apTray);
    void setDownloadFolder(const QString& arFolder) { msDownloadFolder = arFolder; }
    QString downloadFolder() const { return msDownloadFolder; }

    // The box or dialog that is open now, if any; for the window's own use.
    QMessageBox* noticeBox() const { return mpBox; }
    tcUpdateDialog* releaseDialog() const { return mpDialog; }
    QProgressDialog* progressDialog() const { return mpProgress; }

public slots:
    // "Check for updates..."
    void checkForUpdates();
    void notificationMessageClicked();
    void updaterCheckComplete(const tcUpdateCheckResult& arResult);
    void downloadRelease(const tcAppCast& arRelease);

signals:
    void Message(const QString& asText);
    void Error(const QString& asText);

private slots:
    void onDownloadProgress(qint64 anReceived, qint64 anTotal);
    void updateDownloaded(const QString& asPath);
    void onDownloadFailed(const QString& asText);
    void onDownloadCancelled();

private:
    bool trayUsable() const;
    QMessageBox* showBox(QMessageBox::Icon aeIcon, const QString& arText);
    void showRelease(const tcUpdateCheckResult& arResult);
    void closeProgress();

    QPointer<QWidget> mpWindow;
    tcUpdateChecker mcChecker;
    tcUpdateDownloader mcDownloader;
    QPointer<QSystemTrayIcon> mpTray;
    QPointer<QMessageBox> mpBox;
    QPointer<tcUpdateDialog> mpDialog;
    QPointer<QProgressDialog> mpProgress;
    tcUpdateCheckResult mcPending; // the release the last tray message told about
    bool mbHasPending = false;
    QString msDownloadFolder;
};
