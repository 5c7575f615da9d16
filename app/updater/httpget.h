#pragma once

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

// One GET request with an inactivity time-out. Every way it can end is
// turned into one sentence: the server's address, what went wrong. The
// request is aborted when the object goes, so an owner that is destroyed
// mid-transfer leaves nothing running.
class tcHttpGet : public QObject
{
    Q_OBJECT

public:
    tcHttpGet(QNetworkAccessManager& arManager, const QUrl& arUrl, int anTimeoutMs, QObject* apParent);
    ~tcHttpGet() override;

    QNetworkReply* reply() const { return mpReply; }
    QUrl url() const { return mcUrl; }
    void abort();

signals:
    void readyRead();
    void progress(qint64 anReceived, qint64 anTotal);
    // asError is empty exactly when the request succeeded.
    void finished(const QString& asError);

private slots:
    void onFinished();
    void onTimeout();
    void onProgress(qint64 anReceived, qint64 anTotal);

private:
    QString failureText() const;

    QUrl mcUrl;
    QPointer<QNetworkReply> mpReply;
    QTimer mcTimer;
    int mnTimeoutMs;
    bool mbTimedOut = false;
    bool mbAborted = false;
};
