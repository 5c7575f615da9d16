#include "viewerthread.h"

tcViewerThread::tcViewerThread(QObject* apParent, tcCameraInterface* apCamera, QSettings* apSettings,
                               const QString& arSourceName)
    : QThread(apParent), tcDebugSource(arSourceName), mpCamera(apCamera), mpSettings(apSettings)
{
}

// A running thread cannot be destroyed: ask it to stop and wait for it.
tcViewerThread::~tcViewerThread()
{
    Abort();
    wait();
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
