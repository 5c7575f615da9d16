#include "camerainterface.h"

#include "acquisitionworker.h"
#include "genicamiface.h"
#include "gentlinterface.h"

#include <QCoreApplication>
#include <QDebug>

using namespace GenApi;

namespace
{
// The unit and the lines its "Unhandled Execption" warnings are known by.
void warnUnhandled(int anLine)
{
    qWarning() << "camerainterface"
               << ":" << anLine << "Unhandled Execption";
}

constexpr int kClosePolls = 299;
constexpr unsigned long kClosePollMs = 10;
} // namespace

tcCameraInterface::tcCameraInterface(QObject* apParent)
    : QObject(apParent), tcDebugSource(QStringLiteral("tcCameraInterface")), mcNodeMap("Device"),
      mpGenICamIface(new tcGenICamIface(&mcNodeMap, this)), mcSensorSize(-1, -1),
      msDescription(QStringLiteral("No Device open"))
{
    debugMinLevel(1);
    tcImageBuffer::registerMetaType();
}

tcCameraInterface::~tcCameraInterface()
{
    mpCurrentFrame.clear();
    if (mpWorker)
        mpWorker->ShutDown(-2);
}

bool tcCameraInterface::open()
{
    if (!genTLIface())
        return false;
    stopVideo();
    getCameraInfoFromXml();
    mbClosing = false;

    mpThread = new QThread(this);
    mpWorker = new tcAcquisitionWorker(this);
    mpWorker->moveToThread(mpThread);

    connect(mpThread, &QThread::started, mpWorker, &tcAcquisitionWorker::ProcessLoop);
    connect(mpWorker, &tcAcquisitionWorker::Error, this, &tcCameraInterface::Error);
    connect(mpWorker, &tcAcquisitionWorker::acquiring, this, &tcCameraInterface::acquiring);
    connect(mpWorker, &tcAcquisitionWorker::finished, mpThread, &QThread::quit);
    connect(mpWorker, &tcAcquisitionWorker::finished, mpWorker, &QObject::deleteLater);
    connect(mpWorker, &tcAcquisitionWorker::Message, this, &tcCameraInterface::Message);
    connect(mpWorker, &tcAcquisitionWorker::NewFrame, this, &tcCameraInterface::forwardFrame,
            Qt::QueuedConnection);
    // Queued like the frames, so that both arrive in the order they happened.
    connect(mpWorker, &tcAcquisitionWorker::IncompleteFrame, this, &tcCameraInterface::IncompleteFrame,
            Qt::QueuedConnection);
    connect(
        this, &tcCameraInterface::NewFrame, this, [this](tpImageBuffer apImage) { mpCurrentFrame = apImage; },
        Qt::DirectConnection);
    connect(mpThread, &QThread::finished, mpThread, &QObject::deleteLater);

    mpThread->start(QThread::InheritPriority);
    return true;
}

// Frames still queued for the camera while it closes are dropped here, so
// that their buffers go back before the stream does.
void tcCameraInterface::forwardFrame(tpImageBuffer apImage)
{
    if (!mbClosing)
        emit NewFrame(apImage);
}

void tcCameraInterface::getCameraInfoFromXml()
{
    mcSensorSize = QSize(-1, -1);
    try
    {
        CStringPtr lpModel = mpGenICamIface->getNode(QStringLiteral("DeviceModelName"));
        if (IsReadable(lpModel))
            msDescription = QString::fromLocal8Bit(lpModel->GetValue().c_str());
        CStringPtr lpFirmware = mpGenICamIface->getNode(QStringLiteral("DeviceFirmwareVersion"));
        if (IsReadable(lpFirmware))
            msDescription +=
                QStringLiteral(" - version: ") + QString::fromLocal8Bit(lpFirmware->GetValue().c_str());
        const int lnWidth = sizeFromXml("SensorWidth", "Width");
        const int lnHeight = sizeFromXml("SensorHeight", "Height");
        mcSensorSize = QSize(lnWidth, lnHeight);
        if (GetDbgLevel() >= 1)
            qDebug() << "tcCameraInterface::getCameraInfoFromXml"
                     << "[" << getName() << 1 << "]"
                     << "mcSensorSize=" << mcSensorSize;
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        warnUnhandled(343);
    }
}

// The sensor's own extent when the description names it, else the image's.
int tcCameraInterface::sizeFromXml(const char* apSensorName, const char* apImageName)
{
    CNodePtr lpNode = mcNodeMap._GetNode(apSensorName);
    if (!lpNode.IsValid())
        lpNode = mcNodeMap._GetNode(apImageName);
    CIntegerPtr lpInteger(lpNode);
    return IsReadable(lpInteger) ? static_cast<int>(lpInteger->GetValue()) : -1;
}

quint64 tcCameraInterface::waitTimeMs(double adFramePeriodMs, double adExposureMs)
{
    const double ldLonger = qMax(adFramePeriodMs, adExposureMs);
    if (ldLonger == 0)
        return 1000;
    return static_cast<quint64>(2 * ldLonger);
}

void tcCameraInterface::announcePixelFormat()
{
    try
    {
        CEnumerationPtr lpFormat = mpGenICamIface->getNode(QStringLiteral("PixelFormat"));
        if (lpFormat.IsValid() && !IsReadable(lpFormat) && IsWritable(lpFormat))
            lpFormat->FromString("Mono8", true);
        if (IsReadable(lpFormat))
            emit Message(tr("Camera starting acquisition, pixel format = %1")
                             .arg(QString::fromLocal8Bit(lpFormat->ToString().c_str())));
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        emit Error(QStringLiteral("Unable to get pixel format: ") +
                   QString::fromLocal8Bit(arError.GetDescription()));
    }
}

quint64 tcCameraInterface::currentWaitTime()
{
    double ldPeriod = 1;
    CFloatPtr lpRate = mpGenICamIface->getNode(QStringLiteral("AcquisitionFrameRate"));
    if (IsReadable(lpRate) && lpRate->GetValue() != 0)
        ldPeriod = 1000.0 / lpRate->GetValue();
    double ldExposure = 1;
    CFloatPtr lpExposure = mpGenICamIface->getNode(QStringLiteral("ExposureTime"));
    if (IsReadable(lpExposure))
        ldExposure = lpExposure->GetValue() / 1000.0;
    return waitTimeMs(ldPeriod, ldExposure);
}

void tcCameraInterface::startVideo()
{
    mpCurrentFrame.clear();
    announcePixelFormat();
    try
    {
        const quint64 lnWaitTime = currentWaitTime();
        CCommandPtr lpStart = mpGenICamIface->getNode(QStringLiteral("AcquisitionStart"));
        if (!lpStart.IsValid())
            return;
        if (mpWorker && genTLIface())
            mpWorker->StartAcquisition(genTLIface()->device(), ~quint64(0), lnWaitTime);
        lpStart->Execute(true);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        warnUnhandled(250);
    }
}

void tcCameraInterface::stopVideo()
{
    try
    {
        CCommandPtr lpStop = mpGenICamIface->getNode(QStringLiteral("AcquisitionStop"));
        if (lpStop.IsValid())
            lpStop->Execute(true);
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        warnUnhandled(269);
    }
    mpCurrentFrame.clear();
    if (mpWorker)
        mpWorker->StopAcquisition();
}

bool tcCameraInterface::IsRunning() const
{
    return mpWorker && mpWorker->IsRunning();
}

quint64 tcCameraInterface::GetFramesCaptured() const
{
    return mpWorker ? mpWorker->GetFramesCaptured() : 0;
}

QString tcCameraInterface::describe() const
{
    return mpWorker ? msDescription : tr("No Camera Connected");
}

QString tcCameraInterface::getModel() const
{
    QString lsModel = tr("No Camera Connected");
    try
    {
        CStringPtr lpModel = mcNodeMap._GetNode("DeviceModelName");
        if (IsReadable(lpModel))
            lsModel = QString::fromLocal8Bit(lpModel->GetValue().c_str());
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
    }
    catch (...)
    {
        warnUnhandled(173);
    }
    return lsModel;
}

void tcCameraInterface::close(tcGenTLInterface* apBinding)
{
    emit NewFrame(tcImageBuffer::newImage());
    stopThread();

    if (mcNodeMap._Ptr != nullptr)
        mcNodeMap._Destroy();

    tcGenTLInterface* lpBinding = apBinding ? apBinding : genTLIface();
    if (lpBinding)
    {
        const GenAPIFuncs lcFunctions = lpBinding->functions();
        if (lcFunctions.DevClose)
            lcFunctions.DevClose(lpBinding->device());
        if (lcFunctions.IFClose)
            lcFunctions.IFClose(lpBinding->iface());
    }
    msDescription = QStringLiteral("No Device open");
}

// Shuts the worker down and waits for its thread. Frames still queued for the
// camera are dropped on the way, so the worker sees their buffers come back.
void tcCameraInterface::stopThread()
{
    if (!mpWorker)
        return;
    mbClosing = true;
    disconnect(mpWorker, &tcAcquisitionWorker::NewFrame, this, &tcCameraInterface::forwardFrame);
    mpWorker->ShutDown(-2);
    if (mpThread && mpThread->isRunning())
        mpThread->quit();
    int lnPolls = kClosePolls;
    for (; lnPolls > 0; --lnPolls)
    {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        if (!mpThread || !mpThread->isRunning())
            break;
        mpThread->wait(kClosePollMs);
    }
    if (GetDbgLevel() >= 2)
        qDebug() << "tcCameraInterface::close"
                 << "[" << getName() << 2 << "]"
                 << "timeout remaining" << lnPolls * 10 << "ms";
    if (mpThread && mpThread->isRunning())
    {
        if (GetDbgLevel() >= 0)
            qDebug() << "tcCameraInterface::close"
                     << "[" << getName() << 0 << "]"
                     << "Thread is still running!!";
        mpThread->terminate();
        mpThread->wait();
    }
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    mpThread = nullptr;
    mpWorker = nullptr;
}
