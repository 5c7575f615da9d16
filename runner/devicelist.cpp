#include "devicelist.h"

#include "genapifuncs.h"

#include <array>

using namespace GenTL;

namespace
{
constexpr size_t kIdSize = 512;
constexpr uint64_t kUpdateTimeoutMs = 1000;

QString textOf(const std::array<char, kIdSize>& arBuffer)
{
    return QString::fromLocal8Bit(arBuffer.data(), static_cast<int>(qstrnlen(arBuffer.data(), kIdSize)));
}

QString gentlError(const char* apWhat, GC_ERROR anError)
{
    return QStringLiteral("%1 failed with %2").arg(QLatin1String(apWhat)).arg(anError);
}
} // namespace

tcDeviceList::tcDeviceList(const GenAPIFuncs& arFunctions, void* apTLHandle)
{
    bool8_t lbChanged = 0;
    arFunctions.TLUpdateInterfaceList(apTLHandle, &lbChanged, kUpdateTimeoutMs);
    uint32_t lnCount = 0;
    if (arFunctions.TLGetNumInterfaces(apTLHandle, &lnCount) != GC_ERR_SUCCESS)
        return;
    for (uint32_t i = 0; i < lnCount; ++i)
        addInterface(arFunctions, apTLHandle, static_cast<int>(i));
}

void tcDeviceList::addInterface(const GenAPIFuncs& arFunctions, void* apTLHandle, int anIndex)
{
    tcListedInterface lcInterface;
    lcInterface.mnIndex = anIndex;
    std::array<char, kIdSize> lcId{};
    size_t lnSize = lcId.size();
    GC_ERROR lnResult =
        arFunctions.TLGetInterfaceID(apTLHandle, static_cast<uint32_t>(anIndex), lcId.data(), &lnSize);
    lcInterface.msId = textOf(lcId);
    IF_HANDLE lpIface = nullptr;
    if (lnResult == GC_ERR_SUCCESS)
        lnResult = arFunctions.TLOpenInterface(apTLHandle, lcId.data(), &lpIface);
    if (lnResult != GC_ERR_SUCCESS)
        lcInterface.msError = gentlError("TLOpenInterface", lnResult);
    else
    {
        addDevices(arFunctions, lpIface, lcInterface);
        arFunctions.IFClose(lpIface);
    }
    mcInterfaces.append(lcInterface);
}

void tcDeviceList::addDevices(const GenAPIFuncs& arFunctions, void* apIface, tcListedInterface& arInterface)
{
    bool8_t lbChanged = 0;
    uint32_t lnDevices = 0;
    GC_ERROR lnResult = arFunctions.IFUpdateDeviceList(apIface, &lbChanged, kUpdateTimeoutMs);
    if (lnResult == GC_ERR_SUCCESS)
        lnResult = arFunctions.IFGetNumDevices(apIface, &lnDevices);
    if (lnResult != GC_ERR_SUCCESS)
    {
        arInterface.msError = gentlError("IFGetNumDevices", lnResult);
        return;
    }
    for (uint32_t j = 0; j < lnDevices; ++j)
    {
        std::array<char, kIdSize> lcId{};
        size_t lnSize = lcId.size();
        if (arFunctions.IFGetDeviceID(apIface, j, lcId.data(), &lnSize) != GC_ERR_SUCCESS)
            continue;
        tcListedDevice lcDevice;
        lcDevice.mnIndex = mnDeviceCount++;
        lcDevice.mnInterfaceIndex = arInterface.mnIndex;
        lcDevice.msInterfaceId = arInterface.msId;
        lcDevice.msId = textOf(lcId);
        const auto info = [&](DEVICE_INFO_CMD anCommand)
        {
            std::array<char, kIdSize> lcInfo{};
            INFO_DATATYPE lnType = INFO_DATATYPE_UNKNOWN;
            size_t lnInfoSize = lcInfo.size();
            const GC_ERROR lnInfo = arFunctions.IFGetDeviceInfo(apIface, lcId.data(), anCommand, &lnType,
                                                                lcInfo.data(), &lnInfoSize);
            return lnInfo == GC_ERR_SUCCESS ? textOf(lcInfo) : QString();
        };
        lcDevice.msModel = info(DEVICE_INFO_MODEL);
        lcDevice.msSerial = info(DEVICE_INFO_SERIAL_NUMBER);
        arInterface.mcDevices.append(lcDevice);
    }
}

QList<tcListedDevice> tcDeviceList::devices() const
{
    QList<tcListedDevice> lcDevices;
    for (const tcListedInterface& lrInterface : mcInterfaces)
        lcDevices += lrInterface.mcDevices;
    return lcDevices;
}

QString tcDeviceList::text() const
{
    QString lsText;
    for (const tcListedInterface& lrInterface : mcInterfaces)
    {
        lsText += QStringLiteral("interface %1: %2").arg(lrInterface.mnIndex).arg(lrInterface.msId);
        if (!lrInterface.msError.isEmpty())
            lsText += QStringLiteral(" (%1)").arg(lrInterface.msError);
        else if (lrInterface.mcDevices.isEmpty())
            lsText += QStringLiteral(" (no devices)");
        lsText += QLatin1Char('\n');
        for (const tcListedDevice& lrDevice : lrInterface.mcDevices)
            lsText += QStringLiteral("  device %1: id %2, model %3, serial %4\n")
                          .arg(lrDevice.mnIndex)
                          .arg(lrDevice.msId, lrDevice.msModel, lrDevice.msSerial);
    }
    return lsText;
}

const tcListedInterface* tcDeviceList::interfaceNamed(const QString& arInterface) const
{
    for (const tcListedInterface& lrInterface : mcInterfaces)
        if (lrInterface.msId == arInterface)
            return &lrInterface;
    bool lbNumber = false;
    const int lnIndex = arInterface.toInt(&lbNumber);
    return lbNumber && lnIndex >= 0 && lnIndex < mcInterfaces.size() ? &mcInterfaces.at(lnIndex) : nullptr;
}

const tcListedDevice* tcDeviceList::find(const QString& arInterface, const QString& arDeviceId,
                                         QString& arError) const
{
    const tcListedInterface* lpInterface = interfaceNamed(arInterface);
    if (!lpInterface)
    {
        arError = QStringLiteral("No interface \"%1\" (see --list)").arg(arInterface);
        return nullptr;
    }
    for (const tcListedDevice& lrDevice : lpInterface->mcDevices)
        if (lrDevice.msId == arDeviceId)
            return &lrDevice;
    arError =
        QStringLiteral("No device \"%1\" on interface %2 (see --list)").arg(arDeviceId, lpInterface->msId);
    return nullptr;
}

const tcListedDevice* tcDeviceList::byIndex(int anIndex, QString& arError) const
{
    for (const tcListedInterface& lrInterface : mcInterfaces)
        for (const tcListedDevice& lrDevice : lrInterface.mcDevices)
            if (lrDevice.mnIndex == anIndex)
                return &lrDevice;
    arError = QStringLiteral("No device with index %1: the producer lists %2 (see --list)")
                  .arg(anIndex)
                  .arg(mnDeviceCount);
    return nullptr;
}

const tcListedDevice* tcDeviceList::first(QString& arError) const
{
    if (mnDeviceCount == 0)
    {
        arError = QStringLiteral("The producer lists no device");
        return nullptr;
    }
    return byIndex(0, arError);
}
