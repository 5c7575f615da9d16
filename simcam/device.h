#pragma once

#include "camera.h"
#include "modulemap.h"
#include "stream.h"

#include <GenTL/GenTL.h>

#include <memory>
#include <string>

namespace simcam
{

class tcInterface;
class tcFaultInjector;
class tcDevice;

// The remote device's port; its own object so that its handle differs from the device's.
struct tcRemotePort
{
    tcDevice* mpDevice;
};

// An open device: the local device module, its remote port and its stream.
class tcDevice
{
public:
    tcDevice(tcInterface& arParent, std::shared_ptr<tcCamera> apCamera, bool abReadOnly);

    static std::string streamId() { return "Stream0"; }

    const std::string& id() const { return mpCamera->model().msId; }
    tcInterface& parent() const { return mrParent; }
    tcCamera& camera() const { return *mpCamera; }
    bool readOnly() const { return mbReadOnly; }
    tcRemotePort* port() { return &mcPort; }
    // The local device module's own port.
    tcModuleMap& portMap() { return mcPortMap; }

    tcStream& openStream(const std::string& arId, tcFaultInjector& arFaults);
    tcStream* stream() const { return mpStream.get(); }
    void closeStream() { mpStream.reset(); }

    // Device info as the interface and the device report it alike.
    static void info(const tcCamera& arCamera, GenTL::DEVICE_ACCESS_STATUS anStatus,
                     GenTL::DEVICE_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer,
                     size_t* apSize);

private:
    tcInterface& mrParent;
    std::shared_ptr<tcCamera> mpCamera;
    const bool mbReadOnly;
    tcRemotePort mcPort;
    std::unique_ptr<tcStream> mpStream;
    tcModuleMap mcPortMap;
};

} // namespace simcam
