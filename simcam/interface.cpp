#include "interface.h"

#include "gentlerror.h"
#include "infowriter.h"
#include "moduleregisters.h"

#include <algorithm>

namespace simcam
{

tcInterface::tcInterface(tcSystem& arParent, std::string acId,
                         std::vector<std::shared_ptr<tcCamera>> acCameras)
    : mrParent(arParent), msId(std::move(acId)), mcCameras(std::move(acCameras)),
      mcPortMap(interfaceRegisters(*this))
{
    updateDevices();
}

bool tcInterface::updateDevices()
{
    std::vector<std::shared_ptr<tcCamera>> lcNow;
    for (const std::shared_ptr<tcCamera>& lpCamera : mcCameras)
    {
        if (!lpCamera->vanished())
        {
            lcNow.push_back(lpCamera);
        }
    }
    const bool lbChanged = lcNow != mcVisible;
    mcVisible.swap(lcNow);
    return lbChanged;
}

std::shared_ptr<tcCamera> tcInterface::find(const std::string& arId) const
{
    for (const std::shared_ptr<tcCamera>& lpCamera : mcVisible)
    {
        if (lpCamera->model().msId == arId)
        {
            return lpCamera;
        }
    }
    throw tcGenTLError(GenTL::GC_ERR_INVALID_ID, "no device \"" + arId + "\" on interface " + msId);
}

tcDevice& tcInterface::open(const std::string& arId, GenTL::DEVICE_ACCESS_FLAGS anFlags)
{
    std::shared_ptr<tcCamera> lpCamera = find(arId);
    require(anFlags == GenTL::DEVICE_ACCESS_READONLY || anFlags == GenTL::DEVICE_ACCESS_CONTROL ||
                anFlags == GenTL::DEVICE_ACCESS_EXCLUSIVE,
            GenTL::GC_ERR_NOT_IMPLEMENTED, "unsupported access mode " + std::to_string(anFlags));
    require(mhOpen.count(arId) == 0, GenTL::GC_ERR_RESOURCE_IN_USE,
            "device \"" + arId + "\" is already open");
    require(!lpCamera->vanished(), GenTL::GC_ERR_IO, "device \"" + arId + "\" does not answer");
    auto lpDevice = std::make_unique<tcDevice>(*this, lpCamera, anFlags == GenTL::DEVICE_ACCESS_READONLY);
    tcDevice& lrDevice = *lpDevice;
    mhOpen[arId] = std::move(lpDevice);
    return lrDevice;
}

tcDevice* tcInterface::openDevice(const std::string& arId) const
{
    const auto lpAt = mhOpen.find(arId);
    return lpAt == mhOpen.end() ? nullptr : lpAt->second.get();
}

std::vector<tcDevice*> tcInterface::openDevices() const
{
    std::vector<tcDevice*> lcDevices;
    for (const auto& lrEntry : mhOpen)
    {
        lcDevices.push_back(lrEntry.second.get());
    }
    return lcDevices;
}

void tcInterface::close(const tcDevice& arDevice)
{
    mhOpen.erase(arDevice.id());
}

GenTL::DEVICE_ACCESS_STATUS tcInterface::accessStatus(const tcCamera& arCamera) const
{
    if (arCamera.vanished())
    {
        return GenTL::DEVICE_ACCESS_STATUS_NOACCESS;
    }
    const tcDevice* lpOpen = openDevice(arCamera.model().msId);
    if (lpOpen == nullptr)
    {
        return GenTL::DEVICE_ACCESS_STATUS_READWRITE;
    }
    return lpOpen->readOnly() ? GenTL::DEVICE_ACCESS_STATUS_OPEN_READONLY
                              : GenTL::DEVICE_ACCESS_STATUS_OPEN_READWRITE;
}

void tcInterface::info(const std::string& arId, GenTL::INTERFACE_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                       void* apBuffer, size_t* apSize)
{
    tcInfoWriter lcOut(apType, apBuffer, apSize);
    switch (anCmd)
    {
    case GenTL::INTERFACE_INFO_ID:
        lcOut.string(arId);
        break;
    case GenTL::INTERFACE_INFO_DISPLAYNAME:
        lcOut.string("Simulated interface " + arId);
        break;
    case GenTL::INTERFACE_INFO_TLTYPE:
        lcOut.string(TLTypeCustomName);
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown interface info command " + std::to_string(anCmd));
    }
}

} // namespace simcam
