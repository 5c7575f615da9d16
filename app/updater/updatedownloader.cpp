#include "updatedownloader.h"

#include "httpget.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QStandardPaths>

tcUpdateDownloader::tcUpdateDownloader(QObject* apParent)
    : QObject(apParent), tcDebugSource(QStringLiteral("UpdateDownloader"))
{
}

tcUpdateDownloader::~tcUpdateDownloader()
{
    // The request goes first so that no late signal reaches a half-destroyed
    // object; the unsaved file then removes its temporary.
    delete mpRequest;
    if (mpFile)
        mpFile->cancelWriting();
}

QString tcUpdateDownloader::installerFileName(const tcAppCast& arRelease)
{
    // Only the last path segment, and nothing a file system would read as a
    // folder or drive, whatever the source sends.
    QString lsName = arRelease.mcInstallerUrl.fileName(QUrl::FullyDecoded);
    for (const QChar lcBad : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')})
        lsName.replace(lcBad, QLatin1Char('_'));
    if (lsName.isEmpty() || lsName.startsWith(QLatin1Char('.')))
        lsName = QStringLiteral("kestrix-%1-installer").arg(arRelease.msVersion) + lsName;
    return lsName;
}

QString tcUpdateDownloader::defaultFolder()
{
    const QString lsFolder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return lsFolder.isEmpty() ? QDir::tempPath() : lsFolder;
}

void tcUpdateDownloader::start(const tcAppCast& arRelease, const QString& arFolder)
{
    if (isRunning())
    {
        emit Error(QStringLiteral("A download is already running."));
        return;
    }
    const QString lsPath = QDir(arFolder).filePath(installerFileName(arRelease));
    if (GetDbgLevel() >= 1)
        qDebug() << "tcUpdateDownloader::start"
                 << "[" << getName() << 1 << "]" << arRelease.mcInstallerUrl << "to" << lsPath;
    mpFile = std::make_unique<QSaveFile>(lsPath);
    mcHash.reset();
    msExpectedSha256 = arRelease.msSha256;
    mbWriteFailed = false;
    mbCancelled = false;
    if (!QDir().mkpath(arFolder) || !mpFile->open(QIODevice::WriteOnly))
    {
        fail(QStringLiteral("Download failed: cannot write %1: %2.")
                 .arg(QDir::toNativeSeparators(lsPath), mpFile->errorString()));
        return;
    }
    emit Message(QStringLiteral("Downloading %1 ...").arg(arRelease.mcInstallerUrl.toDisplayString()));
    mpRequest = new tcHttpGet(mcNetwork, arRelease.mcInstallerUrl, mnTimeoutMs, this);
    connect(mpRequest, &tcHttpGet::readyRead, this, &tcUpdateDownloader::onReadyRead);
    connect(mpRequest, &tcHttpGet::progress, this, &tcUpdateDownloader::progress);
    connect(mpRequest, &tcHttpGet::finished, this, &tcUpdateDownloader::onFinished);
}

void tcUpdateDownloader::cancel()
{
    if (!isRunning())
        return;
    mbCancelled = true;
    mpRequest->abort();
}

void tcUpdateDownloader::onReadyRead()
{
    if (mpRequest && !consume(mpRequest->reply()))
        mpRequest->abort();
}

bool tcUpdateDownloader::consume(QNetworkReply* apReply)
{
    // An error page is no installer: only a successful answer is written.
    const QVariant lcStatus = apReply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (mbWriteFailed || (lcStatus.isValid() && lcStatus.toInt() != 200))
        return true;
    const QByteArray lcData = apReply->readAll();
    mcHash.addData(lcData);
    mbWriteFailed = mpFile->write(lcData) != lcData.size();
    return !mbWriteFailed;
}

void tcUpdateDownloader::onFinished(const QString& asError)
{
    std::unique_ptr<tcHttpGet, void (*)(tcHttpGet*)> lpRequest(mpRequest.data(), [](tcHttpGet* apRequest)
                                                               { apRequest->deleteLater(); });
    mpRequest.clear();
    const QString lsPath = QDir::toNativeSeparators(mpFile->fileName());
    if (mbCancelled)
    {
        mpFile->cancelWriting();
        mpFile.reset();
        emit Message(QStringLiteral("Download cancelled."));
        emit downloadCancelled();
        return;
    }
    if (mbWriteFailed)
        return fail(
            QStringLiteral("Download failed: cannot write %1: %2.").arg(lsPath, mpFile->errorString()));
    if (!asError.isEmpty())
        return fail(QStringLiteral("Download failed: %1.").arg(asError));
    if (!consume(lpRequest->reply())) // whatever arrived with the end of the transfer
        return fail(
            QStringLiteral("Download failed: cannot write %1: %2.").arg(lsPath, mpFile->errorString()));
    const QByteArray lsActual = mcHash.result().toHex();
    if (lsActual != msExpectedSha256)
    {
        // The sums themselves are for the log; the user needs the verdict.
        qWarning() << "tcUpdateDownloader: SHA-256 of" << lsPath << "is" << lsActual << "expected"
                   << msExpectedSha256;
        return fail(
            QStringLiteral("Download failed: the installer's SHA-256 checksum does not match the release "
                           "description; the file was discarded."));
    }
    if (!mpFile->commit())
        return fail(
            QStringLiteral("Download failed: cannot write %1: %2.").arg(lsPath, mpFile->errorString()));
    mpFile.reset();
    emit Message(QStringLiteral("Installer saved as %1.").arg(lsPath));
    emit updateDownloaded(lsPath);
}

void tcUpdateDownloader::fail(const QString& arText)
{
    if (mpFile)
    {
        mpFile->cancelWriting();
        mpFile.reset();
    }
    emit Error(arText);
    emit downloadFailed(arText);
}
