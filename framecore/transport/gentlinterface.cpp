#include "gentlinterface.h"

#include "camerainterface.h"
#include "gentlport.h"
#include "settings.h"

#include <GenApi/GenApi.h>

#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <memory>

using namespace GenTL;

namespace
{
// Every throw of this unit names the unit and the line its messages are known by.
const char* const kUnit = "gentlinterface";

struct tcEntryPoint
{
    int mnGroup;
    const char* mpName;
    void (*mpAssign)(GenAPIFuncs&, QFunctionPointer);
};

const tcEntryPoint kEntryPoints[] = {
#define KX_GENTL_ENTRY(group, name)                                                                          \
    {group, #name, [](GenAPIFuncs& arFuncs, QFunctionPointer apFunc) {                                       \
         arFuncs.name = reinterpret_cast<GenTL::P##name>(apFunc);                                            \
     }},
    KX_GENTL_FUNCTIONS(KX_GENTL_ENTRY)
#undef KX_GENTL_ENTRY
};

constexpr size_t kIdSize = 256;

void check(GC_ERROR anResult, const char* apWhat, unsigned anLine)
{
    if (anResult != GC_ERR_SUCCESS)
        throw GenTLExcept(kUnit, anLine, apWhat, anResult);
}
} // namespace

tcGenTLInterface::tcGenTLInterface(const QString& arPath, QObject* apParent)
    : QLibrary(arPath, apParent), tcDebugSource(QStringLiteral("tcGenTLInterface"))
{
    if (!load())
        return;
    mnLevel = resolveFunctions();
    if (mnLevel < tnGenTLLevel::kRequired)
    {
        qCritical("Unable to resolve all required GenTL functions.. GenTL library not loaded");
        mcFunctions = GenAPIFuncs();
        unload();
    }
}

tcGenTLInterface::~tcGenTLInterface()
{
    close();
}

// Resolves group after group; the first incomplete group ends the search after
// all of its names were tried, so every missing name of it is reported.
unsigned tcGenTLInterface::resolveFunctions()
{
    unsigned lnLevel = 0;
    int lnGroup = 1;
    bool lbGroupComplete = true;
    for (const tcEntryPoint& lrEntry : kEntryPoints)
    {
        if (lrEntry.mnGroup != lnGroup)
        {
            if (!lbGroupComplete)
                return lnLevel;
            lnLevel = tnGenTLLevel::kGroupLevels[lnGroup - 1];
            lnGroup = lrEntry.mnGroup;
        }
        const QFunctionPointer lpFunc = resolve(lrEntry.mpName);
        if (!lpFunc)
        {
            qWarning() << "unable to resolve" << lrEntry.mpName;
            if (msFirstMissing.isEmpty())
                msFirstMissing = QString::fromLatin1(lrEntry.mpName);
            lbGroupComplete = false;
            continue;
        }
        lrEntry.mpAssign(mcFunctions, lpFunc);
    }
    return lbGroupComplete ? tnGenTLLevel::kGroupLevels[lnGroup - 1] : lnLevel;
}

QString tcGenTLInterface::loadError() const
{
    if (msFirstMissing.isEmpty())
        return errorString();
    if (mnLevel == 0)
        return QStringLiteral("not a GenTL producer: it does not export %1").arg(msFirstMissing);
    return QStringLiteral("a GenTL %1.%2 producer, GenTL 1.5 is needed: it does not export %3")
        .arg(mnLevel >> 24)
        .arg((mnLevel >> 16) & 0xFF)
        .arg(msFirstMissing);
}

// A failed initialisation leaves the producer unusable, so it is reported as
// an error that the application shows, with the producer's own explanation
// when it gives one.
bool tcGenTLInterface::initialize()
{
    if (!mcFunctions.GCInitLib)
    {
        emit Error(QStringLiteral("No binding found for GCInitLib"));
        return false;
    }
    const GC_ERROR lnInit = mcFunctions.GCInitLib();
    if (lnInit != GC_ERR_SUCCESS)
    {
        reportFailure(QStringLiteral("Unable to initialise GenTL library %1 : %2")
                          .arg(fileName(), callFailure("GCInitLib", lnInit)));
        return false;
    }
    if (!mcFunctions.TLOpen)
    {
        emit Error(QStringLiteral("No binding found for TLOpen"));
        return false;
    }
    const GC_ERROR lnOpen = mcFunctions.TLOpen(&mpTL);
    if (lnOpen != GC_ERR_SUCCESS)
    {
        mpTL = nullptr;
        reportFailure(QStringLiteral("Unable to open the transport layer of GenTL library %1 : %2")
                          .arg(fileName(), callFailure("TLOpen", lnOpen)));
        return false;
    }

    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    lpSettings->setGrpValue(QStringLiteral("GenTL"), QStringLiteral("default_path"),
                            QFileInfo(fileName()).absoluteFilePath());
    return true;
}

// "TLOpen failed with -1005 Access Denied (the producer's last error text)"
QString tcGenTLInterface::callFailure(const char* apFunction, GC_ERROR anResult) const
{
    QString lsText = QStringLiteral("%1 failed with %2 %3")
                         .arg(QLatin1String(apFunction))
                         .arg(anResult)
                         .arg(QLatin1String(GenTLExcept::errortxt(anResult)));
    if (!mcFunctions.GCGetLastError)
        return lsText;
    GC_ERROR lnLast = GC_ERR_SUCCESS;
    std::array<char, kIdSize> lcLast{};
    size_t lnSize = lcLast.size();
    if (mcFunctions.GCGetLastError(&lnLast, lcLast.data(), &lnSize) == GC_ERR_SUCCESS && lcLast[0] != '\0')
    {
        lcLast.back() = '\0';
        lsText += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(lcLast.data()));
    }
    return lsText;
}

void tcGenTLInterface::reportFailure(const QString& arText)
{
    qWarning().noquote() << arText;
    emit Error(arText);
}

bool tcGenTLInterface::OpenDevice(int anInterfaceIndex, const QString& arDeviceId)
{
    try
    {
        std::array<char, kIdSize> lcId{};
        size_t lnSize = lcId.size();
        check(
            mcFunctions.TLGetInterfaceID(mpTL, static_cast<uint32_t>(anInterfaceIndex), lcId.data(), &lnSize),
            "TLGetInterfaceID", 79);
        check(mcFunctions.TLOpenInterface(mpTL, lcId.data(), &mpIface), "TLOpenInterface", 84);

        const GC_ERROR lnOpen = mcFunctions.IFOpenDevice(mpIface, arDeviceId.toLocal8Bit().constData(),
                                                         DEVICE_ACCESS_EXCLUSIVE, &mpDevice);
        if (lnOpen != GC_ERR_SUCCESS)
            mpDevice = nullptr;
        check(lnOpen, "IFOpenDevice", 91);

        const GC_ERROR lnPort = mcFunctions.DevGetPort(mpDevice, &mpPort);
        if (lnPort != GC_ERR_SUCCESS)
            mpPort = nullptr;
        check(lnPort, "DevGetPort", 97);
        return true;
    }
    catch (const GenTLExcept& arError)
    {
        qWarning().noquote() << arError.message();
    }
    catch (...)
    {
        qWarning("Unhandled Execption");
    }
    return false;
}

QByteArray tcGenTLInterface::loadXMLFromDevice()
{
    if (!mpPort)
    {
        qWarning() << "tcGenTLInterface::loadXMLFromDevice"
                   << "tcGenTLInterface::loadXMLFromDevice"
                   << "Port Not open...";
        return QByteArray();
    }
    QByteArray lcData;
    try
    {
        lcData = readDescription();
    }
    catch (const GenTLExcept& arError)
    {
        qWarning().noquote() << arError.message();
        lcData.clear();
    }
    catch (...)
    {
        qWarning("Unhandled Execption");
        lcData.clear();
    }
    return lcData;
}

// The first URL of the port names either a file the producer can point at or
// a register range of the device; the text of the URL is not parsed.
QByteArray tcGenTLInterface::readDescription()
{
    std::array<char, kIdSize> lcUrl{};
    INFO_DATATYPE lnType = INFO_DATATYPE_UNKNOWN;
    size_t lnSize = lcUrl.size();
    check(mcFunctions.GCGetPortURLInfo(mpPort, 0, URL_INFO_URL, &lnType, lcUrl.data(), &lnSize),
          "GCGetPortURLInfo", 133);
    const QString lsUrl = QString::fromLatin1(lcUrl.data());

    if (lsUrl.startsWith(QLatin1String("file:")))
    {
        const QByteArray lcFile = readDescriptionFile();
        if (!lcFile.isNull())
            return lcFile;
    }

    uint64_t lnAddress = 0;
    uint64_t lnFileSize = 0;
    lnSize = sizeof(lnAddress);
    check(
        mcFunctions.GCGetPortURLInfo(mpPort, 0, URL_INFO_FILE_REGISTER_ADDRESS, &lnType, &lnAddress, &lnSize),
        "GCGetPortURLInfo", 156);
    lnSize = sizeof(lnFileSize);
    check(mcFunctions.GCGetPortURLInfo(mpPort, 0, URL_INFO_FILE_SIZE, &lnType, &lnFileSize, &lnSize),
          "GCGetPortURLInfo", 165);

    if (GetDbgLevel() >= 1)
        qDebug() << "tcGenTLInterface::loadXMLFromDevice"
                 << "[" << getName() << 1 << "]"
                 << "url=" << lsUrl << "addr=" << lnAddress << "filesize=" << lnFileSize;

    QByteArray lcData;
    lcData.resize(static_cast<int>(static_cast<uint32_t>(lnFileSize)));
    size_t lnReadSize = static_cast<size_t>(lcData.size());
    check(mcFunctions.GCReadPort(mpPort, lnAddress, lcData.data(), &lnReadSize), "GCReadPort", 175);
    return lcData;
}

// A null array when the producer cannot name a readable file.
QByteArray tcGenTLInterface::readDescriptionFile()
{
    std::array<char, kIdSize> lcName{};
    INFO_DATATYPE lnType = INFO_DATATYPE_UNKNOWN;
    size_t lnSize = lcName.size();
    if (mcFunctions.GCGetPortURLInfo(mpPort, 0, URL_INFO_FILENAME, &lnType, lcName.data(), &lnSize) !=
        GC_ERR_SUCCESS)
        return QByteArray();
    QFile lcFile(QString::fromLocal8Bit(lcName.data()));
    if (!lcFile.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray lcData = lcFile.readAll();
    if (lcData.isNull())
        lcData = QByteArray(""); // an empty file is still the producer's answer
    return lcData;
}

bool tcGenTLInterface::open(tcCameraInterface* apCamera)
{
    if (!attachPort(apCamera->nodeMap()))
        return false;
    apCamera->setGenTLIface(this);
    return apCamera->open();
}

bool tcGenTLInterface::attachPort(GenApi::CNodeMapRef& arNodeMap)
{
    mpGenTLPort = std::make_unique<tcGenTLPort>(mpPort, this);
    if (arNodeMap._Connect(mpGenTLPort.get(), "Device"))
        return true;
    reportFailure(
        QStringLiteral("The description of the device has no port named \"Device\": the camera cannot "
                       "be reached through it"));
    return false;
}

void tcGenTLInterface::close()
{
    mpGenTLPort.reset();
    mpPort = nullptr;
    mpDevice = nullptr;
    mpIface = nullptr;
}
