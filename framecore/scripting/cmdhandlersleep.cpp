#include "cmdhandlersleep.h"

#include <QThread>

tcCmdHandlerSleep::tcCmdHandlerSleep() : tcCmdHandler(QStringLiteral("SLEEP")) {}

QVariant tcCmdHandlerSleep::handleCommand(tcCameraInterface*, const QStringList& arArgs, QString& arResult)
{
    if (arArgs.size() == 2)
    {
        // The delay goes to the sleep in microseconds as a 32-bit count, so
        // delays above 4294967 ms wrap. A negative delay is no delay rather
        // than the hour-long one its bit pattern would give.
        const int lnMilliseconds = qMax(0, arArgs.at(1).toInt());
        const quint32 lnMicroseconds = static_cast<quint32>(lnMilliseconds) * 1000u;
        QThread::usleep(lnMicroseconds);
        arResult += QStringLiteral(" = OK");
    }
    return QVariant(true);
}

QString tcCmdHandlerSleep::help()
{
    return QStringLiteral("%1 - Used to delay script for Nms.\n%1 <sleep_time_in_ms>\n").arg(cmd());
}
