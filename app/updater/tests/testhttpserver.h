#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A minimal HTTP/1.1 server on 127.0.0.1 for the updater tests. Each path
// answers as configured; the server can also stay silent or stall part-way,
// which is how the time-outs are reached.
class tcTestHttpServer : public QObject
{
    Q_OBJECT

public:
    struct tcRoute
    {
        int mnStatus = 200;
        QByteArray mcBody;
        bool mbSilent = false; // accept the request, never answer
        int mnStallAfter = -1; // send this many body bytes, then nothing
        int mnChunk = 0;       // > 0: send the body in pieces of this size
    };

    explicit tcTestHttpServer(QObject* apParent = nullptr);

    bool listen();
    QUrl url(const QString& arPath) const;
    void setRoute(const QString& arPath, const tcRoute& arRoute) { mhRoutes.insert(arPath, arRoute); }
    int requestCount(const QString& arPath) const { return mhRequests.value(arPath); }

private slots:
    void onNewConnection();

private:
    void answer(QTcpSocket* apSocket, const QString& arPath);
    void sendChunks(QTcpSocket* apSocket, const QByteArray& arRest, int anChunk);

    QTcpServer mcServer;
    QHash<QString, tcRoute> mhRoutes;
    QHash<QString, int> mhRequests;
    QHash<QObject*, QByteArray> mhBuffers;
};
