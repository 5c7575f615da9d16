#include "signalwaiter.h"

#include <QCoreApplication>
#include <QTimerEvent>

QxtSignalWaiter::QxtSignalWaiter(const QObject* apSender, const char* apSignal) : QObject(nullptr)
{
    connect(apSender, apSignal, this, SLOT(signalCaught()));
}

bool QxtSignalWaiter::wait(int anMsec, QEventLoop::ProcessEventsFlags anFlags)
{
    mbCaught = false;
    mbCancelled = false;
    if (anMsec == 0 || anMsec < -1)
        return false;
    if (anMsec != -1)
        mnTimerId = startTimer(anMsec, Qt::PreciseTimer);
    while (!mbCaught && !mbCancelled)
        QCoreApplication::processEvents(anFlags | QEventLoop::WaitForMoreEvents);
    if (mnTimerId != 0)
    {
        killTimer(mnTimerId);
        mnTimerId = 0;
    }
    return mbCaught;
}

bool QxtSignalWaiter::wait(const QObject* apSender, const char* apSignal, int anMsec,
                           QEventLoop::ProcessEventsFlags anFlags)
{
    QxtSignalWaiter lcWaiter(apSender, apSignal);
    return lcWaiter.wait(anMsec, anFlags);
}

void QxtSignalWaiter::signalCaught()
{
    mbCaught = true;
}

void QxtSignalWaiter::cancelWait()
{
    mbCancelled = true;
}

void QxtSignalWaiter::timerEvent(QTimerEvent* apEvent)
{
    if (apEvent->timerId() == mnTimerId)
        cancelWait();
}
