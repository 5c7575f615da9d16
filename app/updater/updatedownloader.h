#pragma once

#include "appcast.h"
#include "debugsource.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSaveFile>
#include <QString>

#include <memory>

class QNetworkReply;
class tcHttpGet;

// Fetches a release's installer into a folder and checks its SHA-256. The
// bytes go to a temporary file beside the target that only becomes the
// installer when the transfer and the checksum are good; on any failure or
// cancel nothing is left behind.
class tcUpdateDownloader : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcUpdateDownloader(QObject* apParent = nullptr);
    ~tcUpdateDownloader() override;

    void setTimeoutMs(int anMs) { mnTimeoutMs = anMs; }
    bool isRunning() const { return !mpRequest.isNull(); }

    // The file name the installer of arRelease gets inside any folder.
    static QString installerFileName(const tcAppCast& arRelease);
    // The user's download folder, else the temporary folder.
    static QString defaultFolder();

public slots:
    // Starts the transfer; a second start while one runs is refused with an
    // Error.
    void start(const tcAppCast& arRelease, const QString& arFolder);
    void cancel();

signals:
    void progress(qint64 anReceived, qint64 anTotal);
    void Message(const QString& asText);
    void Error(const QString& asText);
    // Exactly one of these ends every started transfer.
    void updateDownloaded(const QString& asPath);
    void downloadFailed(const QString& asText);
    void downloadCancelled();

private slots:
    void onReadyRead();
    void onFinished(const QString& asError);

private:
    // Writes what the reply holds; false when the file refused it.
    bool consume(QNetworkReply* apReply);
    void fail(const QString& arText);

    QNetworkAccessManager mcNetwork;
    QPointer<tcHttpGet> mpRequest;
    std::unique_ptr<QSaveFile> mpFile;
    QCryptographicHash mcHash{QCryptographicHash::Sha256};
    QByteArray msExpectedSha256;
    int mnTimeoutMs = 10000;
    bool mbWriteFailed = false;
    bool mbCancelled = false;
};
