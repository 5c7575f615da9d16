#include "device.h"

#include "gentlerror.h"
#include "infowriter.h"
#include "interface.h"
#include "moduleregisters.h"

namespace simcam
{

tcDevice::tcDevice(tcInterface& arParent, std::shared_ptr<tcCamera> apCamera, bool abReadOnly)
    : mrParent(arParent), mpCamera(std::move(apCamera)), mbReadOnly(abReadOnly), mcPort{this},
      mcPortMap(deviceRegisters(*this))
{
}

tcStream& tcDevice::openStream(const std::string& arId, tcFaultInjector& arFaults)
{
    require(arId == streamId(), GenTL::GC_ERR_INVALID_ID, "no data stream \"" + arId + "\" on this device");
    require(!mpStream, GenTL::GC_ERR_RESOURCE_IN_USE, "the data stream is already open");
    mpStream = std::make_unique<tcStream>(arId, mpCamera, arFaults);
    return *mpStream;
}

void tcDevice::info(const tcCamera& arCamera, GenTL::DEVICE_ACCESS_STATUS anStatus,
                    GenTL::DEVICE_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer,
                    size_t* apSize)
{
    tcInfoWriter lcOut(apType, apBuffer, apSize);
    const tcCameraModel& lrModel = arCamera.model();
    switch (anCmd)
    {
    case GenTL::DEVICE_INFO_ID:
        lcOut.string(lrModel.msId);
        break;
    case GenTL::DEVICE_INFO_VENDOR:
        lcOut.string(lrModel.msVendor);
        break;
    case GenTL::DEVICE_INFO_MODEL:
        lcOut.string(lrModel.msModel);
        break;
    case GenTL::DEVICE_INFO_TLTYPE:
        lcOut.string(TLTypeCustomName);
        break;
    case GenTL::DEVICE_INFO_DISPLAYNAME:
        lcOut.string(lrModel.msDisplayName);
        break;
    case GenTL::DEVICE_INFO_ACCESS_STATUS:
        lcOut.int32(anStatus);
        break;
    case GenTL::DEVICE_INFO_USER_DEFINED_NAME:
        // The name the user gave the camera (DeviceUserID); none until one is given.
        {
            const std::string lcName = arCamera.userId();
            require(!lcName.empty(), GenTL::GC_ERR_NOT_AVAILABLE, "the device has no user-defined name");
            lcOut.string(lcName);
            break;
        }
    case GenTL::DEVICE_INFO_SERIAL_NUMBER:
        lcOut.string(lrModel.msSerialNumber);
        break;
    case GenTL::DEVICE_INFO_VERSION:
        lcOut.string(lrModel.msFirmware);
        break;
    case GenTL::DEVICE_INFO_TIMESTAMP_FREQUENCY:
        lcOut.uint64(tcCamera::TimestampFrequency);
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown device info command " + std::to_string(anCmd));
    }
}

} // namespace simcam
