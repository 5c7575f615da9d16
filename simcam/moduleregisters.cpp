#include "moduleregisters.h"

#include "descriptions.h"
#include "gentlerror.h"
#include "infowriter.h"
#include "system.h"

#include <initializer_list>
#include <memory>

namespace simcam
{

namespace
{

constexpr uint32_t TextLength = 256;
constexpr uint32_t PathLength = 1024;

// A selector register choosing one of afCount() entries; the choice is kept in arIndex.
void addSelector(tcModuleMap& arMap, uint64_t anAddress, const std::shared_ptr<uint32_t>& apIndex,
                 std::function<size_t()> afCount)
{
    arMap.addControl(
        anAddress, [apIndex] { return *apIndex; },
        [apIndex, afCount](uint64_t anValue)
        {
            require(anValue < afCount(), GenTL::GC_ERR_INVALID_VALUE,
                    "selector value " + std::to_string(anValue) + " beyond " + std::to_string(afCount()) +
                        " entries");
            *apIndex = static_cast<uint32_t>(anValue);
        });
}

// A command register: reads 0 (done at once), runs afAction when 1 is written.
void addCommand(tcModuleMap& arMap, uint64_t anAddress, std::function<void()> afAction)
{
    arMap.addControl(
        anAddress, [] { return uint64_t(0); },
        [afAction](uint64_t anValue)
        {
            require(anValue == 1, GenTL::GC_ERR_INVALID_VALUE, "a command register takes only 1");
            afAction();
        });
}

// A register of an enumeration with one entry, value 0.
void addFixedChoice(tcModuleMap& arMap, uint64_t anAddress)
{
    arMap.addControl(
        anAddress, [] { return uint64_t(0); },
        [](uint64_t anValue)
        { require(anValue == 0, GenTL::GC_ERR_INVALID_VALUE, "the stream offers only one choice here"); });
}

// The answer of a string-valued query, as the registers of the selected entries need it.
tcModuleMap::tcQuery text(std::function<std::string()> afValue)
{
    return [afValue](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
    { tcInfoWriter(apType, apBuffer, apSize).string(afValue()); };
}

// Read-only registers side by side from anFirst, one per info command in order:
// strings TextLength apart, numbers 8 bytes apart.
template <typename taCmd, typename taInfo>
void addStrings(tcModuleMap& arMap, uint64_t anFirst, const taInfo& afInfo,
                std::initializer_list<taCmd> acCmds)
{
    for (const taCmd anCmd : acCmds)
    {
        arMap.addString(anFirst, TextLength, afInfo(anCmd));
        anFirst += TextLength;
    }
}

template <typename taCmd, typename taInfo>
void addNumbers(tcModuleMap& arMap, uint64_t anFirst, const taInfo& afInfo,
                std::initializer_list<taCmd> acCmds)
{
    for (const taCmd anCmd : acCmds)
    {
        arMap.addNumber(anFirst, afInfo(anCmd));
        anFirst += 8;
    }
}

tcModuleMap::tcQuery count(std::function<size_t()> afValue)
{
    return [afValue](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
    { tcInfoWriter(apType, apBuffer, apSize).uint64(afValue()); };
}

} // namespace

tcModuleMap systemRegisters(tcSystem& arSystem)
{
    tcModuleMap lcMap("SimCamSystem.xml", gcSimCamSystemXml, gnSimCamSystemXmlSize);
    const auto lfInfo = [](GenTL::TL_INFO_CMD anCmd) -> tcModuleMap::tcQuery
    {
        return [anCmd](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
        { tcSystem::info(anCmd, apType, apBuffer, apSize); };
    };
    addStrings(lcMap, 0x0000, lfInfo,
               {GenTL::TL_INFO_ID, GenTL::TL_INFO_VENDOR, GenTL::TL_INFO_MODEL, GenTL::TL_INFO_VERSION,
                GenTL::TL_INFO_TLTYPE, GenTL::TL_INFO_NAME, GenTL::TL_INFO_DISPLAYNAME});
    lcMap.addString(0x0700, PathLength, lfInfo(GenTL::TL_INFO_PATHNAME));
    addNumbers(lcMap, 0x2000, lfInfo, {GenTL::TL_INFO_GENTL_VER_MAJOR, GenTL::TL_INFO_GENTL_VER_MINOR});
    // The interfaces of this system are fixed: updating finds the same ones.
    addCommand(lcMap, 0x2010, [] {});
    const auto lpSelected = std::make_shared<uint32_t>(0);
    const auto lfCount = [&arSystem] { return arSystem.interfaceIds().size(); };
    addSelector(lcMap, 0x2018, lpSelected, lfCount);
    lcMap.addNumber(0x2020, count(lfCount));
    const auto lfSelected = [&arSystem, lpSelected](GenTL::INTERFACE_INFO_CMD anCmd) -> tcModuleMap::tcQuery
    {
        return [&arSystem, lpSelected, anCmd](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
        { tcInterface::info(arSystem.interfaceId(*lpSelected), anCmd, apType, apBuffer, apSize); };
    };
    addStrings(lcMap, 0x0B00, lfSelected,
               {GenTL::INTERFACE_INFO_ID, GenTL::INTERFACE_INFO_DISPLAYNAME, GenTL::INTERFACE_INFO_TLTYPE});
    return lcMap;
}

tcModuleMap interfaceRegisters(tcInterface& arInterface)
{
    tcModuleMap lcMap("SimCamInterface.xml", gcSimCamInterfaceXml, gnSimCamInterfaceXmlSize);
    const auto lfInfo = [&arInterface](GenTL::INTERFACE_INFO_CMD anCmd) -> tcModuleMap::tcQuery
    {
        return [&arInterface, anCmd](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
        { tcInterface::info(arInterface.id(), anCmd, apType, apBuffer, apSize); };
    };
    addStrings(lcMap, 0x0000, lfInfo,
               {GenTL::INTERFACE_INFO_ID, GenTL::INTERFACE_INFO_DISPLAYNAME, GenTL::INTERFACE_INFO_TLTYPE});
    const auto lpSelected = std::make_shared<uint32_t>(0);
    const auto lfCount = [&arInterface] { return arInterface.devices().size(); };
    addCommand(lcMap, 0x2000,
               [&arInterface, lpSelected]
               {
                   arInterface.updateDevices();
                   // A shorter list must not leave the selector beyond its end.
                   if (*lpSelected >= arInterface.devices().size())
                   {
                       *lpSelected = 0;
                   }
               });
    addSelector(lcMap, 0x2008, lpSelected, lfCount);
    lcMap.addNumber(0x2010, count(lfCount));
    const auto lfSelected = [&arInterface, lpSelected](GenTL::DEVICE_INFO_CMD anCmd) -> tcModuleMap::tcQuery
    {
        return [&arInterface, lpSelected, anCmd](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
        {
            const auto& lrDevices = arInterface.devices();
            require(*lpSelected < lrDevices.size(), GenTL::GC_ERR_NOT_AVAILABLE, "no device is selected");
            const tcCamera& lrCamera = *lrDevices[*lpSelected];
            tcDevice::info(lrCamera, arInterface.accessStatus(lrCamera), anCmd, apType, apBuffer, apSize);
        };
    };
    addStrings(lcMap, 0x0300, lfSelected,
               {GenTL::DEVICE_INFO_ID, GenTL::DEVICE_INFO_VENDOR, GenTL::DEVICE_INFO_MODEL,
                GenTL::DEVICE_INFO_DISPLAYNAME, GenTL::DEVICE_INFO_SERIAL_NUMBER, GenTL::DEVICE_INFO_TLTYPE});
    lcMap.addNumber(0x2018, lfSelected(GenTL::DEVICE_INFO_ACCESS_STATUS));
    return lcMap;
}

tcModuleMap deviceRegisters(tcDevice& arDevice)
{
    tcModuleMap lcMap("SimCamDevice.xml", gcSimCamDeviceXml, gnSimCamDeviceXmlSize);
    const auto lfInfo = [&arDevice](GenTL::DEVICE_INFO_CMD anCmd) -> tcModuleMap::tcQuery
    {
        return [&arDevice, anCmd](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
        {
            tcDevice::info(arDevice.camera(), arDevice.parent().accessStatus(arDevice.camera()), anCmd,
                           apType, apBuffer, apSize);
        };
    };
    addStrings(lcMap, 0x0000, lfInfo,
               {GenTL::DEVICE_INFO_ID, GenTL::DEVICE_INFO_VENDOR, GenTL::DEVICE_INFO_MODEL,
                GenTL::DEVICE_INFO_DISPLAYNAME, GenTL::DEVICE_INFO_SERIAL_NUMBER, GenTL::DEVICE_INFO_VERSION,
                GenTL::DEVICE_INFO_TLTYPE});
    lcMap.addNumber(0x2000, lfInfo(GenTL::DEVICE_INFO_ACCESS_STATUS));
    // One data stream per device.
    addSelector(lcMap, 0x2008, std::make_shared<uint32_t>(0), [] { return size_t(1); });
    lcMap.addString(0x0700, TextLength, text([] { return tcDevice::streamId(); }));
    return lcMap;
}

tcModuleMap streamRegisters(tcStream& arStream)
{
    tcModuleMap lcMap("SimCamStream.xml", gcSimCamStreamXml, gnSimCamStreamXmlSize);
    const auto lfInfo = [&arStream](GenTL::STREAM_INFO_CMD anCmd) -> tcModuleMap::tcQuery
    {
        return [&arStream, anCmd](GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
        { arStream.info(anCmd, apType, apBuffer, apSize); };
    };
    addStrings(lcMap, 0x0000, lfInfo, {GenTL::STREAM_INFO_ID, GenTL::STREAM_INFO_TLTYPE});
    addFixedChoice(lcMap, 0x2000); // StreamAcquisitionModeSelector: Default
    addFixedChoice(lcMap, 0x2008); // StreamBufferHandlingMode: OldestFirst
    addNumbers(lcMap, 0x2010, lfInfo,
               {GenTL::STREAM_INFO_NUM_ANNOUNCED, GenTL::STREAM_INFO_BUF_ANNOUNCE_MIN,
                GenTL::STREAM_INFO_NUM_QUEUED, GenTL::STREAM_INFO_NUM_AWAIT_DELIVERY,
                GenTL::STREAM_INFO_BUF_ALIGNMENT, GenTL::STREAM_INFO_NUM_CHUNKS_MAX,
                GenTL::STREAM_INFO_IS_GRABBING, GenTL::STREAM_INFO_NUM_STARTED,
                GenTL::STREAM_INFO_NUM_DELIVERED, GenTL::STREAM_INFO_NUM_UNDERRUN});
    return lcMap;
}

} // namespace simcam
