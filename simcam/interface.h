#pragma once

#include "camera.h"
#include "device.h"
#include "modulemap.h"

#include <GenTL/GenTL.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace simcam
{

class tcSystem;

// An open interface: the devices it sees and those opened through it.
class tcInterface
{
public:
    tcInterface(tcSystem& arParent, std::string acId, std::vector<std::shared_ptr<tcCamera>> acCameras);

    const std::string& id() const { return msId; }
    tcSystem& parent() const { return mrParent; }

    // Takes in the cameras that can be reached now; true when the list changed.
    bool updateDevices();
    const std::vector<std::shared_ptr<tcCamera>>& devices() const { return mcVisible; }
    std::shared_ptr<tcCamera> find(const std::string& arId) const;

    tcDevice& open(const std::string& arId, GenTL::DEVICE_ACCESS_FLAGS anFlags);
    tcDevice* openDevice(const std::string& arId) const;
    std::vector<tcDevice*> openDevices() const;
    void close(const tcDevice& arDevice);
    GenTL::DEVICE_ACCESS_STATUS accessStatus(const tcCamera& arCamera) const;

    // The interface's own port.
    tcModuleMap& portMap() { return mcPortMap; }

    static void info(const std::string& arId, GenTL::INTERFACE_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                     void* apBuffer, size_t* apSize);

private:
    tcSystem& mrParent;
    const std::string msId;
    std::vector<std::shared_ptr<tcCamera>> mcCameras; // every camera ever on this interface
    std::vector<std::shared_ptr<tcCamera>> mcVisible; // as of the last update
    std::map<std::string, std::unique_ptr<tcDevice>> mhOpen;
    tcModuleMap mcPortMap;
};

} // namespace simcam
