#pragma once

#include "debugsource.h"
#include "framecore_export.h"
#include "genapifuncs.h"
#include "imagebuffer.h"
#include "semaphore.h"
#include "streambuffers.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <mutex>

class tcCameraInterface;
class tcGenTLInterface;

// The body of a camera's acquisition thread: opens the device's first data
// stream, announces a ring of producer buffers, runs the stream on request and
// hands every filled buffer out as a frame without copying it. A buffer goes
// back to the producer when the last reference to its frame is dropped.
class FRAMECORE_EXPORT tcAcquisitionWorker : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcAcquisitionWorker(tcCameraInterface* apCamera);
    ~tcAcquisitionWorker() override;

    // Arms one run and returns once the stream has been started.
    void StartAcquisition(void* apDevice, quint64 anCount, quint64 anWaitTimeMs);
    void StopAcquisition();
    void ShutDown(int anUnused);

    bool IsRunning() const { return mbRunning.load(); }
    quint64 GetFramesCaptured() const { return mnFramesCaptured.load(); }
    tcGenTLInterface* genTLIface() const;
    int outstandingFrames() const { return mpBuffers->outstanding(); }

signals:
    void finished();
    void Message(QString err);
    void Error(QString err);
    void NewFrame(tpImageBuffer pImage);
    void acquiring(bool abOn);
    // A buffer arrived incomplete and went straight back to the stream; its
    // frame id (all bits set when the producer could not tell it) lets
    // frame-integrity monitors tell it from a lost frame.
    void IncompleteFrame(quint64 anFrameId);

public slots:
    void ProcessLoop();

private slots:
    void slot_imageDeleted(QObject* apFrame);

protected:
    bool checkGenApiError(int anError, const QString& arWhat);

private:
    bool waitForBinding();
    void openStream();
    void prepareBuffers();
    bool waitForFrames(int anPasses);
    void announceBuffers(quint64 anPayloadSize);
    void queueFreeBuffers();
    void acquire();
    void handleBuffer(void* apBuffer);
    void reportIncomplete(void* apBuffer);
    void cleanUp();
    void revokeBuffers();
    void revokeRetiredBuffers();
    void revoke(void* apBuffer);
    tpImageBuffer BuildImageFromRAWData(void* apData, int anWidth, int anHeight, quint64 anPixelFormat,
                                        quint64 anPixelFormatNamespace);

    std::atomic<bool> mbRunning{false};
    std::atomic<bool> mbStopRunning{true};
    std::atomic<bool> mbShutDown{false};
    void* mpDevice = nullptr;
    quint64 mnFrameCount = ~quint64(0);
    std::atomic<quint64> mnFramesCaptured{0};
    tcSemaphore mcStarted;
    tcSemaphore mcStartLock;
    std::mutex mcShutDownLock;
    int mnBufferCount = 4;
    tcCameraInterface* mpCamera;
    quint32 mnWaitTime = 100;
    Qt::HANDLE mnThreadId;
    void* mpEvent = nullptr;
    QList<void*> msAnnouncedBuffers;
    quint64 mnAnnouncedPayload = 0;
    QSize mcLastSize{0, 0};
    GenAPIFuncs mcFunctions;
    // Shared with every frame handed out, so that frames may outlive the worker.
    tpStreamBuffers mpBuffers;
};
