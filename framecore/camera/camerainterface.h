#pragma once

#include "debugsource.h"
#include "framecore_export.h"
#include "imagebuffer.h"

#include <GenApi/GenApi.h>

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>

class tcAcquisitionWorker;
class tcGenICamIface;
class tcGenTLInterface;

// The open camera as the rest of the system sees it: its node map, its
// identity, its acquisition thread and the most recent frame. Frames from the
// thread are re-emitted here, on the GUI thread.
class FRAMECORE_EXPORT tcCameraInterface : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    explicit tcCameraInterface(QObject* apParent = nullptr);
    ~tcCameraInterface() override;

    bool open();
    void close(tcGenTLInterface* apBinding);

    bool IsRunning() const;
    quint64 GetFramesCaptured() const;
    tpImageBuffer currentFrame() const { return mpCurrentFrame; }
    QString describe() const;
    QString getModel() const;
    QSize sensorSize() const { return mcSensorSize; }
    GenApi::CNodeMapRef& nodeMap() { return mcNodeMap; }
    tcGenICamIface* getGenICamIface() const { return mpGenICamIface; }
    tcGenTLInterface* genTLIface() const { return mpGenTLIface.load(); }
    void setGenTLIface(tcGenTLInterface* apBinding) { mpGenTLIface = apBinding; }

    // The wait time of one event, from frame period and exposure in ms.
    static quint64 waitTimeMs(double adFramePeriodMs, double adExposureMs);

signals:
    void Message(QString txt);
    void Error(QString err);
    void NewFrame(tpImageBuffer pImage);
    void acquiring(bool abOn);
    // The acquisition thread received the frame with this id incomplete and
    // gave its buffer back without a NewFrame.
    void IncompleteFrame(quint64 anFrameId);

public slots:
    void startVideo();
    void stopVideo();

private slots:
    void forwardFrame(tpImageBuffer apImage);

private:
    void getCameraInfoFromXml();
    int sizeFromXml(const char* apSensorName, const char* apImageName);
    void announcePixelFormat();
    quint64 currentWaitTime();
    void stopThread();

    GenApi::CNodeMapRef mcNodeMap;
    std::atomic<tcGenTLInterface*> mpGenTLIface{nullptr};
    QPointer<QThread> mpThread;
    QPointer<tcAcquisitionWorker> mpWorker;
    tcGenICamIface* mpGenICamIface;
    QSize mcSensorSize;
    tpImageBuffer mpCurrentFrame;
    QString msDescription;
    bool mbClosing = false;
};
