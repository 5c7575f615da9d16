#include "signalwaiter.h"

#include <QtTest>

#include <atomic>
#include <thread>

namespace
{
class tcEmitter : public QObject
{
    Q_OBJECT
signals:
    void ping(int);
};
} // namespace

class tst_SignalWaiter : public QObject
{
    Q_OBJECT

private slots:
    void catchesASignalEmittedLater()
    {
        tcEmitter lcEmitter;
        QxtSignalWaiter lcWaiter(&lcEmitter, SIGNAL(ping(int)));
        QTimer::singleShot(20, &lcEmitter, [&lcEmitter] { emit lcEmitter.ping(1); });
        QElapsedTimer lcClock;
        lcClock.start();
        QVERIFY(lcWaiter.wait(5000));
        QVERIFY(lcWaiter.hasCapturedSignal());
        QVERIFY(lcClock.elapsed() < 4000);
    }

    void timesOut()
    {
        tcEmitter lcEmitter;
        QxtSignalWaiter lcWaiter(&lcEmitter, SIGNAL(ping(int)));
        QElapsedTimer lcClock;
        lcClock.start();
        QVERIFY(!lcWaiter.wait(50));
        QVERIFY(lcClock.elapsed() >= 45);
        QVERIFY(!lcWaiter.hasCapturedSignal());
    }

    void invalidTimesReturnAtOnce_data()
    {
        QTest::addColumn<int>("msec");
        QTest::newRow("zero") << 0;
        QTest::newRow("below minus one") << -2;
    }

    void invalidTimesReturnAtOnce()
    {
        QFETCH(int, msec);
        tcEmitter lcEmitter;
        QxtSignalWaiter lcWaiter(&lcEmitter, SIGNAL(ping(int)));
        emit lcEmitter.ping(1); // caught before the wait: cleared by it
        QVERIFY(lcWaiter.hasCapturedSignal());
        QVERIFY(!lcWaiter.wait(msec));
        QVERIFY(!lcWaiter.hasCapturedSignal());
    }

    void cancelEndsAnUnlimitedWait()
    {
        tcEmitter lcEmitter;
        QxtSignalWaiter lcWaiter(&lcEmitter, SIGNAL(ping(int)));
        QTimer::singleShot(20, &lcWaiter, &QxtSignalWaiter::cancelWait);
        QVERIFY(!lcWaiter.wait(-1));
    }

    // From another thread the signal arrives queued and is still caught.
    void signalFromAnotherThread()
    {
        tcEmitter lcEmitter;
        std::thread lcThread(
            [&lcEmitter]
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                emit lcEmitter.ping(2);
            });
        const bool lbCaught = QxtSignalWaiter::wait(&lcEmitter, SIGNAL(ping(int)), 5000);
        lcThread.join();
        QVERIFY(lbCaught);
    }

    void staticWaitTimesOut() { QVERIFY(!QxtSignalWaiter::wait(this, SIGNAL(destroyed()), 30)); }
};

QTEST_MAIN(tst_SignalWaiter)
#include "tst_signalwaiter.moc"
