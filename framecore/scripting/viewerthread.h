#pragma once

#include "debugsource.h"
#include "framecore_export.h"

#include <QString>
#include <QThread>

#include <atomic>
#include <mutex>

class QSettings;
class tcCameraInterface;

// A worker thread that reports its progress, messages and outcome through
// signals, so that the main window can show any long job the same way: a
// progress bar, status messages and an "Abort" button.
class FRAMECORE_EXPORT tcViewerThread : public QThread, public tcDebugSource
{
    Q_OBJECT

public:
    tcViewerThread(QObject* apParent, tcCameraInterface* apCamera, QSettings* apSettings,
                   const QString& arSourceName = QStringLiteral("tcViewerThread"));
    ~tcViewerThread() override;

    void setCamera(tcCameraInterface* apCamera) { mpCamera.store(apCamera); }
    tcCameraInterface* camera() const { return mpCamera.load(); }
    QSettings* settings() const { return mpSettings; }
    bool WasSuccessful() const { return mbSuccessful.load(); }

signals:
    void Message(QString);
    void Progress(int PercentComplete);
    void Done(bool Successful, QString arMsg);

public slots:
    // Asks a running job to stop at its next opportunity; ignored when the
    // thread does not run, so that a stale request cannot cut the next run.
    void Abort();

protected:
    // Asks a running job to stop and returns once the thread has ended
    // entirely, Qt's own clean-up after run() included. A derived class calls
    // it first thing in its destructor, before any of its members go.
    void waitForEnd();
    void ThreadComplete(bool abSuccessful, const QString& arMsg);
    bool abortRequested() const { return mbAbort.load(); }
    void clearAbort() { mbAbort.store(false); }

private:
    void markThreadEnd();

    // Taken by the thread as its very last act and by waitForEnd() after the
    // wait, so that everything the thread did is ordered before destruction
    // in a way that the thread sanitizer sees too.
    std::mutex mcEndLock;
    std::atomic<bool> mbSuccessful{false};
    std::atomic<bool> mbAbort{false};
    std::atomic<tcCameraInterface*> mpCamera;
    QSettings* mpSettings;
};
