#pragma once

#include "framecore_export.h"

#include <QEventLoop>
#include <QObject>

// Waits in the calling thread, processing its events, until a given signal of
// another object has been emitted, a time-out has passed or the wait was
// cancelled. The signal reaches the waiter queued when it is emitted in
// another thread, so the waiter must live in the thread that waits.
class FRAMECORE_EXPORT QxtSignalWaiter : public QObject
{
    Q_OBJECT

public:
    // apSignal is a signature as produced by SIGNAL(), e.g. "2NewFrame(tpImageBuffer)".
    QxtSignalWaiter(const QObject* apSender, const char* apSignal);

    // msec -1 waits without limit; 0 and values below -1 return false at once.
    bool wait(int anMsec = -1, QEventLoop::ProcessEventsFlags anFlags = QEventLoop::AllEvents);
    static bool wait(const QObject* apSender, const char* apSignal, int anMsec = -1,
                     QEventLoop::ProcessEventsFlags anFlags = QEventLoop::AllEvents);
    bool hasCapturedSignal() const { return mbCaught; }

public slots:
    void signalCaught();
    void cancelWait();

protected:
    void timerEvent(QTimerEvent* apEvent) override;

private:
    bool mbCaught = false;
    bool mbCancelled = false;
    int mnTimerId = 0;
};
