#include "runmain.h"

#include "interruptwatcher.h"
#include "runlog.h"
#include "runoptions.h"
#include "runsession.h"
#include "settings.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace
{
// How long an interrupted script thread may still take once the camera is
// closed (a CAM WAIT wakes at once; a long SLEEP does not).
constexpr int kScriptEndMs = 2000;

void printTo(std::FILE* apStream, const QString& arText)
{
    std::fputs(qPrintable(arText), apStream);
    std::fflush(apStream);
}

int runSession(const tcRunOptions& arOptions)
{
    tcInterruptWatcher lcWatcher;
    tcRunSession lcSession(arOptions);
    QObject::connect(&lcWatcher, &tcInterruptWatcher::interrupted, &lcSession, &tcRunSession::interrupt);
    if (!lcSession.prepare())
        return lcSession.exitCode();
    if (arOptions.mbList)
    {
        lcSession.list();
        return tcRunSession::ePassed;
    }
    if (!lcSession.start())
        return lcSession.exitCode();
    QObject::connect(&lcSession, &tcRunSession::finished, qApp, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    const int lnCode = QCoreApplication::exec();
    if (!lcSession.waitForScript(kScriptEndMs))
    {
        // Camera and producer are closed; only the script's thread is left.
        printTo(stderr,
                QStringLiteral("kestrix-run: the script is still busy in its current line; leaving it\n"));
        tcRunLog::close();
        std::_Exit(lnCode);
    }
    return lnCode;
}
} // namespace

int kestrixRunMain(int anArgc, char** apArgv)
{
    QCoreApplication lcApp(anArgc, apArgv);
    tcRunOptions lcOptions;
    if (!lcOptions.parse(QCoreApplication::arguments()))
    {
        printTo(stderr,
                QStringLiteral("kestrix-run: %1\n%2").arg(lcOptions.errorText(), tcRunOptions::usage()));
        return tcRunSession::eSetupError;
    }
    if (lcOptions.mbHelp)
    {
        printTo(stdout, tcRunOptions::usage());
        return tcRunSession::ePassed;
    }
    if (lcOptions.mbVersion)
    {
        printTo(stdout, QStringLiteral("kestrix-run %1\n").arg(appVersion()));
        return tcRunSession::ePassed;
    }
    QString lsError;
    if (!tcRunLog::install(lcOptions.msLogFile, &lsError))
    {
        printTo(stderr, QStringLiteral("kestrix-run: %1\n").arg(lsError));
        return tcRunSession::eSetupError;
    }
    const int lnCode = runSession(lcOptions);
    tcRunLog::close();
    return lnCode;
}
