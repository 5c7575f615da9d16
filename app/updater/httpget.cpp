#include "httpget.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

tcHttpGet::tcHttpGet(QNetworkAccessManager& arManager, const QUrl& arUrl, int anTimeoutMs, QObject* apParent)
    : QObject(apParent), mcUrl(arUrl), mnTimeoutMs(anTimeoutMs)
{
    QNetworkRequest lcRequest(arUrl);
    lcRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                           QNetworkRequest::NoLessSafeRedirectPolicy);
    lcRequest.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    mpReply = arManager.get(lcRequest);
    connect(mpReply, &QNetworkReply::readyRead, this, &tcHttpGet::readyRead);
    connect(mpReply, &QNetworkReply::downloadProgress, this, &tcHttpGet::onProgress);
    connect(mpReply, &QNetworkReply::finished, this, &tcHttpGet::onFinished);

    // The time-out counts silence, not total time: a large installer on a slow
    // line must not fail as long as bytes keep coming.
    mcTimer.setSingleShot(true);
    connect(&mcTimer, &QTimer::timeout, this, &tcHttpGet::onTimeout);
    mcTimer.start(mnTimeoutMs);
}

tcHttpGet::~tcHttpGet()
{
    if (mpReply)
    {
        mpReply->disconnect(this);
        mpReply->abort();
        mpReply->deleteLater();
    }
}

void tcHttpGet::abort()
{
    mbAborted = true;
    if (mpReply)
        mpReply->abort();
}

void tcHttpGet::onProgress(qint64 anReceived, qint64 anTotal)
{
    mcTimer.start(mnTimeoutMs);
    emit progress(anReceived, anTotal);
}

void tcHttpGet::onTimeout()
{
    mbTimedOut = true;
    if (mpReply)
        mpReply->abort();
}

void tcHttpGet::onFinished()
{
    mcTimer.stop();
    emit finished(failureText());
}

QString tcHttpGet::failureText() const
{
    const QString lsUrl = mcUrl.toDisplayString();
    if (mbTimedOut)
        return QStringLiteral("%1 did not answer within %2 s").arg(lsUrl).arg(mnTimeoutMs / 1000.0);
    if (mbAborted)
        return QStringLiteral("cancelled");
    const QVariant lcStatus = mpReply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (lcStatus.isValid() && lcStatus.toInt() >= 400)
        return QStringLiteral("%1 answered with HTTP status %2 %3")
            .arg(lsUrl)
            .arg(lcStatus.toInt())
            .arg(mpReply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
            .trimmed();
    if (mpReply->error() != QNetworkReply::NoError)
        return QStringLiteral("%1: %2").arg(lsUrl, mpReply->errorString());
    if (lcStatus.isValid() && lcStatus.toInt() != 200)
        return QStringLiteral("%1 answered with HTTP status %2 instead of content")
            .arg(lsUrl)
            .arg(lcStatus.toInt());
    return QString();
}
