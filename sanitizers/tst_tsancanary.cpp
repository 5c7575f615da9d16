// Built in the thread sanitizer build only; see CMakeLists.txt. The test
// itself passes; CTest demands the sanitizer's report of the race below.
#include <QThread>
#include <QtTest>

namespace
{
int gnUnguarded = 0; // deliberately shared without a lock
}

class tcCanaryWorker : public QObject
{
    Q_OBJECT

public slots:
    // Hands over, then writes once more: the write races the receiver's read
    // however Qt orders the delivery itself.
    void work()
    {
        emit ready();
        gnUnguarded = 42;
    }

signals:
    void ready();
};

class tcCanaryReceiver : public QObject
{
    Q_OBJECT

public:
    int mnSeen = -1;

public slots:
    void onReady() { mnSeen = gnUnguarded; }
};

class tst_TsanCanary : public QObject
{
    Q_OBJECT

private slots:
    void unguardedWriteRacesQueuedRead()
    {
        QThread lcThread;
        tcCanaryWorker lcWorker;
        tcCanaryReceiver lcReceiver;
        lcWorker.moveToThread(&lcThread);
        connect(&lcWorker, &tcCanaryWorker::ready, &lcReceiver, &tcCanaryReceiver::onReady,
                Qt::QueuedConnection);
        lcThread.start();
        QMetaObject::invokeMethod(&lcWorker, "work", Qt::QueuedConnection);
        QTRY_VERIFY(lcReceiver.mnSeen != -1);
        lcThread.quit();
        QVERIFY(lcThread.wait(10000));
    }
};

QTEST_GUILESS_MAIN(tst_TsanCanary)
#include "tst_tsancanary.moc"
