#include "system.h"

#include "gentlerror.h"
#include "infowriter.h"
#include "moduleregisters.h"

#include <dlfcn.h>

namespace simcam
{

namespace
{

// The file this library was loaded from, for the name and path queries.
std::string libraryPath()
{
    Dl_info lcInfo{};
    if (dladdr(reinterpret_cast<void*>(&libraryPath), &lcInfo) != 0 && lcInfo.dli_fname != nullptr)
    {
        return lcInfo.dli_fname;
    }
    return "simcam.cti";
}

} // namespace

tcSystem::tcSystem() : mcInterfaceIds{"SimIF0", "SimIF1"}, mcPortMap(systemRegisters(*this))
{
    for (const tcCameraModel& lrModel : cameraModels())
    {
        mcCameras.push_back(std::make_shared<tcCamera>(lrModel));
    }
}

const std::string& tcSystem::interfaceId(uint32_t anIndex) const
{
    require(anIndex < mcInterfaceIds.size(), GenTL::GC_ERR_INVALID_INDEX,
            "interface index " + std::to_string(anIndex) + " beyond " +
                std::to_string(mcInterfaceIds.size()) + " interfaces");
    return mcInterfaceIds[anIndex];
}

tcInterface& tcSystem::open(const std::string& arId)
{
    require(arId == mcInterfaceIds[0] || arId == mcInterfaceIds[1], GenTL::GC_ERR_INVALID_ID,
            "no interface \"" + arId + "\"");
    require(mhOpen.count(arId) == 0, GenTL::GC_ERR_RESOURCE_IN_USE,
            "interface \"" + arId + "\" is already open");
    // The second interface is a port with nothing plugged in.
    auto lpInterface = std::make_unique<tcInterface>(
        *this, arId, arId == mcInterfaceIds[0] ? mcCameras : std::vector<std::shared_ptr<tcCamera>>());
    tcInterface& lrInterface = *lpInterface;
    mhOpen[arId] = std::move(lpInterface);
    return lrInterface;
}

tcInterface* tcSystem::openInterface(const std::string& arId) const
{
    const auto lpAt = mhOpen.find(arId);
    return lpAt == mhOpen.end() ? nullptr : lpAt->second.get();
}

std::vector<tcInterface*> tcSystem::openInterfaces() const
{
    std::vector<tcInterface*> lcInterfaces;
    for (const auto& lrEntry : mhOpen)
    {
        lcInterfaces.push_back(lrEntry.second.get());
    }
    return lcInterfaces;
}

void tcSystem::close(const tcInterface& arInterface)
{
    mhOpen.erase(arInterface.id());
}

void tcSystem::info(GenTL::TL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
{
    tcInfoWriter lcOut(apType, apBuffer, apSize);
    switch (anCmd)
    {
    case GenTL::TL_INFO_ID:
        lcOut.string("SimCamTL");
        break;
    case GenTL::TL_INFO_VENDOR:
        lcOut.string("Kestrix");
        break;
    case GenTL::TL_INFO_MODEL:
        lcOut.string("simcam");
        break;
    case GenTL::TL_INFO_VERSION:
        lcOut.string("1.0.0");
        break;
    case GenTL::TL_INFO_TLTYPE:
        lcOut.string(TLTypeCustomName);
        break;
    case GenTL::TL_INFO_NAME:
    {
        const std::string lcPath = libraryPath();
        lcOut.string(lcPath.substr(lcPath.find_last_of('/') + 1));
        break;
    }
    case GenTL::TL_INFO_PATHNAME:
        lcOut.string(libraryPath());
        break;
    case GenTL::TL_INFO_DISPLAYNAME:
        lcOut.string("Kestrix simulated cameras");
        break;
    case GenTL::TL_INFO_CHAR_ENCODING:
        lcOut.int32(GenTL::TL_CHAR_ENCODING_ASCII);
        break;
    case GenTL::TL_INFO_GENTL_VER_MAJOR:
        lcOut.uint32(GenTLMajorVersion);
        break;
    case GenTL::TL_INFO_GENTL_VER_MINOR:
        lcOut.uint32(GenTLMinorVersion);
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown system info command " + std::to_string(anCmd));
    }
}

} // namespace simcam
