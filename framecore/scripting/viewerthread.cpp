#include "viewerthread.h"

#include <QThreadStorage>

namespace
{
// Lives in the storage of the thread it was made in. Qt destroys that storage
// after run() has returned and finished() has been delivered (which reads the
// thread object), and before wait() returns: the destructor is the last code
// of the thread that touches the thread object.
class tcEndMark
{
public:
    explicit tcEndMark(std::mutex& arLock) : mrLock(arLock) {}
    ~tcEndMark() { std::lock_guard<std::mutex> lcGuard(mrLock); }
    tcEndMark(const tcEndMark&) = delete;
    tcEndMark& operator=(const tcEndMark&) = delete;

private:
    std::mutex& mrLock;
};

QThreadStorage<tcEndMark*> gcEndMarks;
} // namespace

tcViewerThread::tcViewerThread(QObject* apParent, tcCameraInterface* apCamera, QSettings* apSettings,
                               const QString& arSourceName)
    : QThread(apParent), tcDebugSource(arSourceName), mpCamera(apCamera), mpSettings(apSettings)
{
    // started() is emitted in the new thread before run().
    connect(this, &QThread::started, this, &tcViewerThread::markThreadEnd, Qt::DirectConnection);
}

tcViewerThread::~tcViewerThread()
{
    waitForEnd();
}

// A running thread cannot be destroyed: ask it to stop and wait for it. The
// lock pairs with the end mark of the thread's last run.
void tcViewerThread::waitForEnd()
{
    Abort();
    wait();
    std::lock_guard<std::mutex> lcGuard(mcEndLock);
}

void tcViewerThread::markThreadEnd()
{
    gcEndMarks.setLocalData(new tcEndMark(mcEndLock));
}

void tcViewerThread::Abort()
{
    if (isRunning())
        mbAbort.store(true);
}

void tcViewerThread::ThreadComplete(bool abSuccessful, const QString& arMsg)
{
    mbSuccessful.store(abSuccessful);
    emit Done(abSuccessful, arMsg);
}
