#pragma once

#include "camera.h"
#include "interface.h"
#include "modulemap.h"

#include <GenTL/GenTL.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace simcam
{

// The open system module: the cameras it simulates (alive, and keeping their
// settings, for as long as the system is open) and the interfaces opened on it.
class tcSystem
{
public:
    tcSystem();

    const std::vector<std::string>& interfaceIds() const { return mcInterfaceIds; }
    const std::string& interfaceId(uint32_t anIndex) const;

    tcInterface& open(const std::string& arId);
    tcInterface* openInterface(const std::string& arId) const;
    std::vector<tcInterface*> openInterfaces() const;
    void close(const tcInterface& arInterface);

    // Answers GCGetInfo and TLGetInfo alike.
    static void info(GenTL::TL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);
    // The system's own port.
    tcModuleMap& portMap() { return mcPortMap; }

private:
    std::vector<std::shared_ptr<tcCamera>> mcCameras;
    std::vector<std::string> mcInterfaceIds;
    std::map<std::string, std::unique_ptr<tcInterface>> mhOpen;
    tcModuleMap mcPortMap;
};

} // namespace simcam
