#include "acquisitionworker.h"

#include "camerainterface.h"
#include "gentlinterface.h"

#include <QDebug>

#include <array>

using namespace GenTL;

namespace
{
constexpr size_t kStreamIdSize = 128;
constexpr int kCleanUpPasses = 9;
constexpr unsigned long kCleanUpSleepMs = 10;

QString hex(const void* apAddress)
{
    return QStringLiteral("0x%1").arg(reinterpret_cast<quintptr>(apAddress), 0, 16);
}
} // namespace

#define KX_TRACE(level)                                                                                      \
    if (GetDbgLevel() >= (level))                                                                            \
    qDebug() << "tcAcquisitionWorker::ProcessLoop"                                                           \
             << "[" << getName() << (level) << "]"

tcAcquisitionWorker::tcAcquisitionWorker(tcCameraInterface* apCamera)
    : QObject(nullptr), tcDebugSource(QStringLiteral("tcAcquisitionWorker")), mpCamera(apCamera),
      mnThreadId(QThread::currentThreadId()), mpBuffers(std::make_shared<tcStreamBuffers>())
{
    debugMinLevel(2);
}

tcAcquisitionWorker::~tcAcquisitionWorker() = default;

tcGenTLInterface* tcAcquisitionWorker::genTLIface() const
{
    return mpCamera->genTLIface();
}

void tcAcquisitionWorker::StartAcquisition(void* apDevice, quint64 anCount, quint64 anWaitTimeMs)
{
    if (mbRunning.load())
        return;
    mpDevice = apDevice;
    mnFrameCount = anCount;
    mnWaitTime = static_cast<quint32>(anWaitTimeMs);
    mbStopRunning = false;
    mcStartLock.release();
    mcStarted.acquire();
}

void tcAcquisitionWorker::StopAcquisition()
{
    if (GetDbgLevel() >= 0)
        qDebug() << "tcAcquisitionWorker::StopAcquisition"
                 << "[" << getName() << 0 << "]"
                 << "mbStopRunning=" << mbStopRunning.load();
    mbStopRunning = true;
}

// Once the flags are set the thread may finish and delete this worker; the
// clean-up first waits for this call to have left its lock, so nothing here
// touches a deleted worker. The start lock is released whether or not a run is
// active: a run that ended by itself in the meantime must not leave the
// thread waiting for a start that never comes.
void tcAcquisitionWorker::ShutDown(int /*anUnused*/)
{
    std::lock_guard<std::mutex> lcGuard(mcShutDownLock);
    if (GetDbgLevel() >= 0)
        qDebug() << "tcAcquisitionWorker::ShutDown"
                 << "[" << getName() << 0 << "]";
    mbShutDown = true;
    mbStopRunning = true;
    mcStartLock.release();
}

bool tcAcquisitionWorker::checkGenApiError(int anError, const QString& arWhat)
{
    if (anError == GC_ERR_SUCCESS)
        return true;
    emit Error(tr("%1 : %2").arg(arWhat, QStringLiteral("Error %1").arg(anError)));
    return false;
}

void tcAcquisitionWorker::ProcessLoop()
{
    mnFramesCaptured = 0;
    mnThreadId = QThread::currentThreadId();
    KX_TRACE(0) << "mnThreadId=" << mnThreadId;

    if (!waitForBinding())
        return;
    mcFunctions = genTLIface()->functions();
    mnAnnouncedPayload = 0;
    mpEvent = nullptr;

    while (!mbShutDown.load())
    {
        KX_TRACE(2) << "Waiting for start lock";
        mcStartLock.acquire();
        if (mbShutDown.load())
            break;
        if (mnAnnouncedPayload == 0)
            openStream();
        mbRunning = true;
        emit acquiring(true);
        prepareBuffers();
        checkGenApiError(
            mcFunctions.DSStartAcquisition(mpBuffers->stream(), ACQ_START_FLAGS_DEFAULT, mnFrameCount),
            QStringLiteral("DSStartAcquisition"));
        mcStarted.release();
        KX_TRACE(2) << "Entering acquisition loop";
        acquire();
        mbRunning = false;
        emit acquiring(false);
        KX_TRACE(0) << " stopping...";
        void* lpStream = mpBuffers->stream();
        checkGenApiError(mcFunctions.DSStopAcquisition(lpStream, ACQ_STOP_FLAGS_DEFAULT),
                         QStringLiteral("DSStopAcquisition"));
        checkGenApiError(mcFunctions.DSFlushQueue(lpStream, ACQ_QUEUE_ALL_DISCARD),
                         QStringLiteral("DSFlushQueue"));
    }
    cleanUp();
}

// Waits until the camera has its binding; false when shut down before that.
bool tcAcquisitionWorker::waitForBinding()
{
    while (!genTLIface())
    {
        if (mbShutDown.load())
            return genTLIface() != nullptr;
        QThread::msleep(1);
    }
    return true;
}

void tcAcquisitionWorker::openStream()
{
    std::array<char, kStreamIdSize> lcId{};
    size_t lnSize = lcId.size();
    checkGenApiError(mcFunctions.DevGetDataStreamID(mpDevice, 0, lcId.data(), &lnSize),
                     QStringLiteral("DevGetDataStreamID"));
    DS_HANDLE lpStream = nullptr;
    checkGenApiError(mcFunctions.DevOpenDataStream(mpDevice, lcId.data(), &lpStream),
                     QStringLiteral("DevOpenDataStream"));
    mpBuffers->open(lpStream, mcFunctions);
    checkGenApiError(mcFunctions.GCRegisterEvent(lpStream, EVENT_NEW_BUFFER, &mpEvent),
                     QStringLiteral("GCRegisterEvent"));
}

// Announces buffers for the stream's payload, renewing them when it grew, and
// queues every buffer that no living frame holds.
void tcAcquisitionWorker::prepareBuffers()
{
    quint64 lnPayloadSize = 0;
    INFO_DATATYPE lnType = INFO_DATATYPE_UNKNOWN;
    size_t lnSize = sizeof(lnPayloadSize);
    checkGenApiError(mcFunctions.DSGetInfo(mpBuffers->stream(), STREAM_INFO_PAYLOAD_SIZE, &lnType,
                                           &lnPayloadSize, &lnSize),
                     QStringLiteral("DSGetInfo STREAM_INFO_PAYLOAD_SIZE"));

    revokeRetiredBuffers();
    if (mnAnnouncedPayload < lnPayloadSize)
        announceBuffers(lnPayloadSize);
    queueFreeBuffers();
}

// True once no frame holds a buffer any more, within the given passes.
bool tcAcquisitionWorker::waitForFrames(int anPasses)
{
    int lnPrevious = mpBuffers->outstanding();
    for (int i = 0; i < anPasses && lnPrevious != 0; ++i)
    {
        const int lnNow = mpBuffers->outstanding();
        if (lnNow != lnPrevious)
            emit Message(tr("Cleaning up [%1] outstanding image buffers...").arg(lnNow));
        lnPrevious = lnNow;
        if (lnNow != 0)
            QThread::msleep(kCleanUpSleepMs);
    }
    return mpBuffers->outstanding() == 0;
}

void tcAcquisitionWorker::announceBuffers(quint64 anPayloadSize)
{
    revokeBuffers();
    void* lpStream = mpBuffers->stream();
    for (int i = 0; i < mnBufferCount; ++i)
    {
        BUFFER_HANDLE lpBuffer = nullptr;
        if (checkGenApiError(mcFunctions.DSAllocAndAnnounceBuffer(
                                 lpStream, static_cast<size_t>(anPayloadSize), nullptr, &lpBuffer),
                             QStringLiteral("DSAllocAndAnnounceBuffer")))
            msAnnouncedBuffers.append(lpBuffer);
    }
    mnAnnouncedPayload = anPayloadSize;
}

// Memory under a living frame is never handed back to the producer: such a
// buffer is retired and revoked once its frame has gone. Every buffer is
// retired first, so that a frame released meanwhile no longer queues its
// buffer; then the queues are emptied (a frame released after the stop has
// queued its buffer again, and a queued buffer cannot be revoked) and the free
// buffers revoked. The stream is stopped whenever buffers are revoked.
void tcAcquisitionWorker::revokeBuffers()
{
    for (void* lpBuffer : msAnnouncedBuffers)
        mpBuffers->retire(lpBuffer);
    msAnnouncedBuffers.clear();
    checkGenApiError(mcFunctions.DSFlushQueue(mpBuffers->stream(), ACQ_QUEUE_ALL_DISCARD),
                     QStringLiteral("DSFlushQueue"));
    revokeRetiredBuffers();
}

void tcAcquisitionWorker::revokeRetiredBuffers()
{
    for (void* lpBuffer : mpBuffers->takeFreeRetired())
        revoke(lpBuffer);
}

void tcAcquisitionWorker::revoke(void* apBuffer)
{
    checkGenApiError(mcFunctions.DSRevokeBuffer(mpBuffers->stream(), apBuffer, nullptr, nullptr),
                     QStringLiteral("DSRevokeBuffer"));
}

// With no frame alive every buffer goes to the input pool at once; otherwise
// each free buffer is queued on its own, since moving all of them would give
// the producer the memory under the living frames. Their buffers follow when
// the frames are released.
void tcAcquisitionWorker::queueFreeBuffers()
{
    void* lpStream = mpBuffers->stream();
    if (mpBuffers->outstanding() == 0)
    {
        mcFunctions.DSFlushQueue(lpStream, ACQ_QUEUE_ALL_TO_INPUT);
        return;
    }
    for (void* lpBuffer : msAnnouncedBuffers)
        if (!mpBuffers->isLent(lpBuffer))
            mcFunctions.DSQueueBuffer(lpStream, lpBuffer);
}

void tcAcquisitionWorker::acquire()
{
    while (!mbStopRunning.load())
    {
        KX_TRACE(2) << "mbStopRunning=" << mbStopRunning.load() << "B4"
                    << "mnFramesCaptured=" << mnFramesCaptured.load();
        EVENT_NEW_BUFFER_DATA lcData{};
        size_t lnSize = sizeof(lcData);
        const GC_ERROR lnResult = mcFunctions.EventGetData(mpEvent, &lcData, &lnSize, mnWaitTime);
        if (lnResult == GC_ERR_TIMEOUT)
        {
            KX_TRACE(2) << " Timeout";
            continue;
        }
        if (!checkGenApiError(lnResult, QStringLiteral("Acquisition Failure (EventGetData)")))
            break;
        handleBuffer(lcData.BufferHandle);
    }
}

void tcAcquisitionWorker::handleBuffer(void* apBuffer)
{
    void* lpStream = mpBuffers->stream();
    quint64 lnX = 0, lnY = 0, lnWidth = 0, lnHeight = 0, lnFrameId = ~quint64(0), lnTimeStamp = 0;
    quint64 lnPixelFormat = 0x01080001, lnNamespace = 0;
    void* lpBase = nullptr;
    bool8_t lbIncomplete = 0;
    const QSize lcSensor = mpCamera->sensorSize();

    const auto query = [&](BUFFER_INFO_CMD anCommand, void* apValue, size_t anSize)
    {
        INFO_DATATYPE lnType = INFO_DATATYPE_UNKNOWN;
        return mcFunctions.DSGetBufferInfo(lpStream, apBuffer, anCommand, &lnType, apValue, &anSize);
    };
    GC_ERROR lnResult = query(BUFFER_INFO_IS_INCOMPLETE, &lbIncomplete, sizeof(lbIncomplete));
    const bool lbIncompleteFrame = lnResult == GC_ERR_SUCCESS && lbIncomplete;
    if (lbIncompleteFrame)
        lnResult = GC_ERR_INVALID_BUFFER;
    if (lnResult == GC_ERR_SUCCESS)
        lnResult = query(BUFFER_INFO_WIDTH, &lnWidth, sizeof(lnWidth));
    if (lnResult == GC_ERR_SUCCESS)
        lnResult = query(BUFFER_INFO_HEIGHT, &lnHeight, sizeof(lnHeight));
    if (lnResult == GC_ERR_SUCCESS && lcSensor.isValid() && lnWidth > quint64(lcSensor.width()))
    {
        qWarning() << "tcAcquisitionWorker::ProcessLoop"
                   << "width=" << lnWidth << ">"
                   << "sensor_size=" << lcSensor;
        lnResult = GC_ERR_INVALID_VALUE;
    }
    if (lnResult == GC_ERR_SUCCESS && lcSensor.isValid() && lnHeight > quint64(lcSensor.height()))
    {
        qWarning() << "tcAcquisitionWorker::ProcessLoop"
                   << "height=" << lnHeight << ">"
                   << "sensor_size=" << lcSensor;
        lnResult = GC_ERR_INVALID_VALUE;
    }
    const std::pair<BUFFER_INFO_CMD, quint64*> lcRest[] = {{BUFFER_INFO_PIXELFORMAT, &lnPixelFormat},
                                                           {BUFFER_INFO_PIXELFORMAT_NAMESPACE, &lnNamespace},
                                                           {BUFFER_INFO_FRAMEID, &lnFrameId},
                                                           {BUFFER_INFO_TIMESTAMP_NS, &lnTimeStamp},
                                                           {BUFFER_INFO_XOFFSET, &lnX},
                                                           {BUFFER_INFO_YOFFSET, &lnY}};
    if (lnResult == GC_ERR_SUCCESS)
        lnResult = query(BUFFER_INFO_BASE, &lpBase, sizeof(lpBase));
    for (const auto& lrInfo : lcRest)
        if (lnResult == GC_ERR_SUCCESS)
            lnResult = query(lrInfo.first, lrInfo.second, sizeof(quint64));

    if (lnResult != GC_ERR_SUCCESS)
    {
        GC_ERROR lnCode = lnResult;
        std::array<char, 255> lcText{};
        size_t lnTextSize = lcText.size();
        // An incomplete buffer is no failed call: the producer's last error
        // would name an earlier, unrelated one.
        if (lbIncompleteFrame)
            qstrncpy(lcText.data(), "incomplete buffer", lcText.size());
        else
            mcFunctions.GCGetLastError(&lnCode, lcText.data(), &lnTextSize);
        qWarning() << "tcAcquisitionWorker::ProcessLoop"
                   << "Error retrieving buffer info from genTL:" << lnCode << lcText.data() << hex(lpBase)
                   << lnWidth << lnHeight;
        if (lbIncompleteFrame)
            reportIncomplete(apBuffer);
        mcFunctions.DSQueueBuffer(lpStream, apBuffer);
        return;
    }

    const QSize lcSize(static_cast<int>(lnWidth), static_cast<int>(lnHeight));
    if (lcSize != mcLastSize && GetDbgLevel() >= 0)
        qDebug() << "[" << getName() << 0 << "]"
                 << "Image size changed from" << mcLastSize.width() << mcLastSize.height() << "to"
                 << lcSize.width() << lcSize.height();
    mcLastSize = lcSize;

    tpImageBuffer lpFrame;
    if (lpBase)
        lpFrame = BuildImageFromRAWData(lpBase, lcSize.width(), lcSize.height(), lnPixelFormat, lnNamespace);
    if (!lpFrame || lpFrame->isNull())
    {
        qWarning() << "tcAcquisitionWorker::ProcessLoop"
                   << "Error making QImage" << hex(lpBase) << lnWidth << lnHeight;
        mcFunctions.DSQueueBuffer(lpStream, apBuffer);
        emit NewFrame(lpFrame);
        return;
    }
    lpFrame->setFrameId(lnFrameId);
    lpFrame->setTopLeft(QPoint(static_cast<int>(lnX), static_cast<int>(lnY)));
    // The producer counts nanoseconds; the frame takes microseconds.
    lpFrame->setAcquireTime(lnTimeStamp / 1000u);
    const int lnOutBefore = mpBuffers->outstanding();
    mpBuffers->lend(lpFrame.data(), apBuffer);
    ++mnFramesCaptured;
    if (GetDbgLevel() >= 1)
        qDebug() << "[" << getName() << 1 << "]"
                 << "Frame" << mnFramesCaptured.load() << "emitted"
                 << "buffs_out=" << lnOutBefore;
    if (GetDbgLevel() >= 2)
        qDebug() << "[" << getName() << 2 << "]"
                 << "bufferhash" << static_cast<void*>(lpFrame.data()) << apBuffer;
    emit NewFrame(lpFrame);
}

// Only the frame id is asked for: the rest of an incomplete buffer is not
// to be trusted.
void tcAcquisitionWorker::reportIncomplete(void* apBuffer)
{
    quint64 lnFrameId = ~quint64(0);
    INFO_DATATYPE lnType = INFO_DATATYPE_UNKNOWN;
    size_t lnSize = sizeof(lnFrameId);
    if (mcFunctions.DSGetBufferInfo(mpBuffers->stream(), apBuffer, BUFFER_INFO_FRAMEID, &lnType, &lnFrameId,
                                    &lnSize) != GC_ERR_SUCCESS)
        lnFrameId = ~quint64(0);
    emit IncompleteFrame(lnFrameId);
}

tpImageBuffer tcAcquisitionWorker::BuildImageFromRAWData(void* apData, int anWidth, int anHeight,
                                                         quint64 anPixelFormat,
                                                         quint64 anPixelFormatNamespace)
{
    if (anPixelFormatNamespace != PIXELFORMAT_NAMESPACE_GEV &&
        anPixelFormatNamespace != PIXELFORMAT_NAMESPACE_PFNC_32BIT)
        return tpImageBuffer();
    tpImageBuffer lpFrame =
        tcImageBuffer::newImage(static_cast<uchar*>(apData), anWidth, anHeight, anPixelFormat);
    // The buffers outlive this worker if a frame does; the frame keeps them.
    tpStreamBuffers lpBuffers = mpBuffers;
    const int lnLevel = GetDbgLevel();
    const QString lsName = getName();
    const QMetaObject::Connection lcConnection =
        connect(lpFrame.data(), &QObject::destroyed,
                [lpBuffers, lnLevel, lsName](QObject* apFrame)
                {
                    void* lpBuffer = lpBuffers->giveBack(apFrame);
                    if (lpBuffer && lnLevel >= 2)
                        qDebug() << "tcAcquisitionWorker::slot_imageDeleted"
                                 << "[" << lsName << 2 << "]"
                                 << "released buffer" << static_cast<void*>(apFrame) << lpBuffer;
                });
    if (GetDbgLevel() >= 3)
        qDebug() << "[" << getName() << 3 << "]"
                 << "img" << static_cast<void*>(lpFrame.data()) << "lpBuffer=" << apData
                 << bool(lcConnection);
    return lpFrame;
}

void tcAcquisitionWorker::slot_imageDeleted(QObject* apFrame)
{
    mpBuffers->giveBack(apFrame);
}

void tcAcquisitionWorker::cleanUp()
{
    {
        // A ShutDown still under way finishes before this worker can go.
        std::lock_guard<std::mutex> lcGuard(mcShutDownLock);
    }
    KX_TRACE(0) << " cleaning up...";
    void* lpStream = mpBuffers->stream();
    if (lpStream)
        checkGenApiError(mcFunctions.GCUnregisterEvent(lpStream, EVENT_NEW_BUFFER),
                         QStringLiteral("GCUnregisterEvent"));
    emit NewFrame(tpImageBuffer());

    const int lnOutstanding = mpBuffers->outstanding();
    KX_TRACE(0) << lnOutstanding << "outstanding buffers...";
    if (!waitForFrames(kCleanUpPasses))
        emit Error(
            tr("Unable to clean up all outstanding image buffers.. %1 left").arg(mpBuffers->outstanding()));
    KX_TRACE(1) << "mhImageBufferHash=" << mpBuffers->lentBuffers();

    // Every buffer is revoked before the stream goes; a frame still alive
    // keeps its bookkeeping but never reaches the closed stream.
    if (lpStream)
    {
        revokeRetiredBuffers();
        revokeBuffers();
        revokeRetiredBuffers();
    }
    mpBuffers->close();
    mcFunctions.DSClose(lpStream);
    emit finished();
}
