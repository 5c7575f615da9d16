#include "linemonitor.h"

#include "cmdhandler.h"
#include "cmdrunner.h"

#include <QElapsedTimer>

namespace
{
// A handler of the runner wrapped by the monitor: same word, same help, same
// work; the monitor sees each line before and after.
class tcMonitoredHandler : public tcCmdHandler
{
public:
    tcMonitoredHandler(QSharedPointer<tcCmdHandler> apInner, tcLineMonitor& arMonitor)
        : tcCmdHandler(apInner->cmd()), mpInner(std::move(apInner)), mrMonitor(arMonitor)
    {
    }

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult) override
    {
        tcHandledLine lcLine;
        lcLine.msLine = arResult;
        lcLine.msCommand = cmd();
        QVariant lcValue;
        QElapsedTimer lcTimer;
        lcTimer.start();
        if (mrMonitor.enter(cmd(), arArgs))
            lcValue = mpInner->handleCommand(apCamera, arArgs, arResult);
        else
            arResult += QStringLiteral("\n   Not run: interrupted");
        const QString lsRefusal = mrMonitor.leave();
        if (!lsRefusal.isEmpty())
        {
            arResult += QStringLiteral("\n   ") + lsRefusal;
            lcValue = QVariant();
        }
        lcLine.mnMicroseconds = lcTimer.nsecsElapsed() / 1000;
        lcLine.msText = arResult;
        lcLine.mbRan = !lcValue.isNull();
        lcLine.mbCompareFailed = cmd() == QLatin1String("CMP") && arArgs.size() > 1 &&
                                 lcValue.type() == QVariant::Bool && !lcValue.toBool();
        mrMonitor.report(lcLine);
        return lcValue;
    }

    QString help() override { return mpInner->help(); }

private:
    QSharedPointer<tcCmdHandler> mpInner;
    tcLineMonitor& mrMonitor;
};
} // namespace

tcLineMonitor::tcLineMonitor(QObject* apParent) : QObject(apParent)
{
    qRegisterMetaType<tcHandledLine>("tcHandledLine");
}

void tcLineMonitor::watch(tcCmdRunner& arRunner)
{
    tcCmdRunner::tcHandlerMap lhHandlers = arRunner.getCmdHandlers();
    for (auto lcIt = lhHandlers.begin(); lcIt != lhHandlers.end(); ++lcIt)
        lcIt.value() = QSharedPointer<tcCmdHandler>(new tcMonitoredHandler(lcIt.value(), *this));
    arRunner.setCmdHandlers(lhHandlers);
}

// Under the lock, so that once this returns a line either is known to be in
// flight or will not reach its handler.
void tcLineMonitor::interrupt()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mbInterrupted.store(true);
}

QString tcLineMonitor::inFlight() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return msInFlight;
}

void tcLineMonitor::refuseCurrentLine(const QString& arReason)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    msRefusal = arReason;
}

bool tcLineMonitor::enter(const QString& arCommand, const QStringList& arArgs)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    msRefusal.clear();
    if (mbInterrupted.load())
        return false;
    msInFlight = (arCommand + QLatin1Char(' ') + arArgs.value(1)).trimmed().toUpper();
    return true;
}

QString tcLineMonitor::leave()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    msInFlight.clear();
    QString lsRefusal;
    lsRefusal.swap(msRefusal);
    return lsRefusal;
}
