#include "testhttpserver.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

tcTestHttpServer::tcTestHttpServer(QObject* apParent) : QObject(apParent)
{
    connect(&mcServer, &QTcpServer::newConnection, this, &tcTestHttpServer::onNewConnection);
}

bool tcTestHttpServer::listen()
{
    return mcServer.listen(QHostAddress::LocalHost, 0);
}

QUrl tcTestHttpServer::url(const QString& arPath) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(mcServer.serverPort()).arg(arPath));
}

void tcTestHttpServer::onNewConnection()
{
    while (QTcpSocket* lpSocket = mcServer.nextPendingConnection())
    {
        lpSocket->setParent(this);
        connect(lpSocket, &QTcpSocket::disconnected, lpSocket, &QObject::deleteLater);
        connect(lpSocket, &QObject::destroyed, this, [this, lpSocket]() { mhBuffers.remove(lpSocket); });
        connect(lpSocket, &QTcpSocket::readyRead, this,
                [this, lpSocket]()
                {
                    QByteArray& lrBuffer = mhBuffers[lpSocket];
                    lrBuffer += lpSocket->readAll();
                    if (!lrBuffer.contains("\r\n\r\n"))
                        return;
                    const QList<QByteArray> lcWords = lrBuffer.left(lrBuffer.indexOf("\r\n")).split(' ');
                    lrBuffer.clear();
                    answer(lpSocket, lcWords.size() > 1 ? QString::fromLatin1(lcWords.at(1)) : QString());
                });
    }
}

void tcTestHttpServer::answer(QTcpSocket* apSocket, const QString& arPath)
{
    mhRequests[arPath] += 1;
    const auto lcFound = mhRoutes.constFind(arPath);
    tcRoute lcRoute;
    if (lcFound == mhRoutes.constEnd())
    {
        lcRoute.mnStatus = 404;
        lcRoute.mcBody = "not here";
    }
    else
        lcRoute = *lcFound;
    if (lcRoute.mbSilent)
        return;

    QByteArray lcHead = "HTTP/1.1 " + QByteArray::number(lcRoute.mnStatus) + ' ' +
                        (lcRoute.mnStatus < 400 ? QByteArray("OK") : QByteArray("Failed")) + "\r\n";
    lcHead += "Content-Length: " + QByteArray::number(lcRoute.mcBody.size()) + "\r\n";
    lcHead += "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
    apSocket->write(lcHead);
    if (lcRoute.mnStallAfter >= 0)
    {
        apSocket->write(lcRoute.mcBody.left(lcRoute.mnStallAfter));
        return;
    }
    if (lcRoute.mnChunk > 0)
    {
        sendChunks(apSocket, lcRoute.mcBody, lcRoute.mnChunk);
        return;
    }
    apSocket->write(lcRoute.mcBody);
    apSocket->disconnectFromHost();
}

void tcTestHttpServer::sendChunks(QTcpSocket* apSocket, const QByteArray& arRest, int anChunk)
{
    apSocket->write(arRest.left(anChunk));
    if (arRest.size() <= anChunk)
    {
        apSocket->disconnectFromHost();
        return;
    }
    QPointer<QTcpSocket> lpSocket(apSocket);
    const QByteArray lcRest = arRest.mid(anChunk);
    QTimer::singleShot(5, this,
                       [this, lpSocket, lcRest, anChunk]()
                       {
                           if (lpSocket)
                               sendChunks(lpSocket, lcRest, anChunk);
                       });
}
