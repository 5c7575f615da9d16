#include "cmdhandlercamera.h"

#include "camerainterface.h"
#include "signalwaiter.h"

#include <QThread>

namespace
{
const char* const kStart = "START";
const char* const kStop = "STOP";
const char* const kWait = "WAIT";

// The camera belongs to the GUI thread: starting and stopping from a script
// thread is handed over to it, so the camera's own state is never touched
// from two threads. The slot is called by name, so that the queued call is
// built and handed over by Qt alone.
void callInCameraThread(tcCameraInterface* apCamera, const char* apSlot)
{
    const bool lbSameThread = apCamera->thread() == QThread::currentThread();
    QMetaObject::invokeMethod(apCamera, apSlot,
                              lbSameThread ? Qt::DirectConnection : Qt::BlockingQueuedConnection);
}
} // namespace

tcCmdHandlerCamera::tcCmdHandlerCamera() : tcCmdHandler(QStringLiteral("CAM")) {}

QVariant tcCmdHandlerCamera::handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                                           QString& arResult)
{
    if (!apCamera)
    {
        arResult = QStringLiteral("NULL camera");
        return QVariant();
    }
    if (arArgs.size() < 2)
        return QVariant();
    const QString lsCmd = arArgs.at(1).toUpper();
    if (lsCmd == QLatin1String(kStart) || lsCmd == QLatin1String(kStop))
        return handleAcquire(apCamera, lsCmd, arResult);
    if (lsCmd == QLatin1String(kWait))
        return handleWait(apCamera, arArgs, arResult);
    arResult = QStringLiteral("Unknown %1 cmd %2").arg(cmd(), lsCmd);
    return QVariant();
}

QVariant tcCmdHandlerCamera::handleAcquire(tcCameraInterface* apCamera, const QString& arCmd,
                                           QString& arResult)
{
    callInCameraThread(apCamera, arCmd == QLatin1String(kStart) ? "startVideo" : "stopVideo");
    arResult = QStringLiteral("%1 %2").arg(arCmd, QStringLiteral("OK"));
    return QVariant(true);
}

// A time-out is a negative outcome, not a failed line.
QVariant tcCmdHandlerCamera::handleWait(tcCameraInterface* apCamera, const QStringList& arArgs,
                                        QString& arResult)
{
    const int lnTimeout = arArgs.size() > 2 ? arArgs.at(2).toInt() : -1;
    QxtSignalWaiter lcWaiter(apCamera, "2NewFrame(tpImageBuffer)");
    const bool lbFrame = lcWaiter.wait(lnTimeout);
    arResult = QStringLiteral("%1 %2 %3")
                   .arg(QLatin1String(kWait), QString::number(lnTimeout),
                        lbFrame ? QStringLiteral("OK") : QStringLiteral("ERR"));
    return QVariant(lbFrame);
}

QString tcCmdHandlerCamera::help()
{
    return QStringLiteral(
               "%1 - Used to start/stop acquisition.\n%1 %2 - Start Acquisition\n%1 %3 - Stop "
               "Acquisition\n%1 %4 [msec] - Wait for a frame (optional) msec milliseconds to wait (def = "
               "oo)\n")
        .arg(cmd(), QLatin1String(kStart), QLatin1String(kStop), QLatin1String(kWait));
}
