#include "interruptwatcher.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace
{
const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The self-pipe: the handler may only write a byte, the event loop reads it.
int gnPipe[2] = {-1, -1};

extern "C" void onSignal(int anSignal)
{
    const unsigned char lnByte = static_cast<unsigned char>(anSignal);
    const ssize_t lnWritten = ::write(gnPipe[1], &lnByte, 1);
    (void)lnWritten;
}

void setHandler(int anSignal, void (*apHandler)(int), int anFlags)
{
    struct sigaction lcAction = {};
    lcAction.sa_handler = apHandler;
    lcAction.sa_flags = anFlags;
    sigemptyset(&lcAction.sa_mask);
    sigaction(anSignal, &lcAction, nullptr);
}
} // namespace

tcInterruptWatcher::tcInterruptWatcher(QObject* apParent) : QObject(apParent)
{
    if (gnPipe[0] >= 0 || ::pipe(gnPipe) != 0)
        return;
    for (int lnEnd : gnPipe)
        ::fcntl(lnEnd, F_SETFL, ::fcntl(lnEnd, F_GETFL) | O_NONBLOCK);
    mpNotifier = new QSocketNotifier(gnPipe[0], QSocketNotifier::Read, this);
    connect(mpNotifier, &QSocketNotifier::activated, this, &tcInterruptWatcher::readSignal);
    for (int lnSignal : kStopSignals)
        setHandler(lnSignal, &onSignal, SA_RESETHAND | SA_RESTART);
    // A reader that went away (a pipe into head) costs the output, not the
    // camera: the run goes on and ends in order.
    setHandler(SIGPIPE, SIG_IGN, 0);
}

tcInterruptWatcher::~tcInterruptWatcher()
{
    if (!mpNotifier)
        return;
    for (int lnSignal : kStopSignals)
        setHandler(lnSignal, SIG_DFL, 0);
    ::close(gnPipe[0]);
    ::close(gnPipe[1]);
    gnPipe[0] = gnPipe[1] = -1;
}

void tcInterruptWatcher::readSignal()
{
    unsigned char lnByte = 0;
    while (::read(gnPipe[0], &lnByte, 1) == 1)
        emit interrupted(lnByte);
}

#else
// Elsewhere the signals keep their default action: Ctrl-C ends the program
// at once.
tcInterruptWatcher::tcInterruptWatcher(QObject* apParent) : QObject(apParent) {}
tcInterruptWatcher::~tcInterruptWatcher() = default;
void tcInterruptWatcher::readSignal() {}
#endif
