#include "producer.h"

#include "event.h"
#include "gentlerror.h"
#include "infowriter.h"

#include <algorithm>
#include <cstdlib>

namespace simcam
{

namespace
{

struct tcLastError
{
    GenTL::GC_ERROR mnCode = GenTL::GC_ERR_SUCCESS;
    std::string msText = "No Error";
};

// Static TLS: the library is loaded with dlopen, and dynamically allocated TLS
// would be freed by the loader in ways thread checkers cannot follow.
thread_local tcLastError gcLastError __attribute__((tls_model("initial-exec")));

std::string idText(const char* apId)
{
    require(apId != nullptr, GenTL::GC_ERR_INVALID_PARAMETER, "ID is NULL");
    return apId;
}

template <typename taOut> void requireOut(taOut* apOut)
{
    require(apOut != nullptr, GenTL::GC_ERR_INVALID_PARAMETER, "output pointer is NULL");
}

} // namespace

tcProducer& tcProducer::instance()
{
    static tcProducer scProducer;
    return scProducer;
}

void tcProducer::setLastError(GenTL::GC_ERROR anCode, const std::string& arText)
{
    gcLastError.mnCode = anCode;
    gcLastError.msText = arText;
}

void tcProducer::lastError(GenTL::GC_ERROR* apCode, char* apText, size_t* apSize)
{
    // Before initialisation there is nothing to report, except why a call of
    // this thread failed, GCInitLib above all (a malformed SIMCAM_FAULTS).
    if (gcLastError.mnCode == GenTL::GC_ERR_SUCCESS)
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        checkInit();
    }
    requireOut(apCode);
    writeString(gcLastError.msText, apText, apSize);
    *apCode = gcLastError.mnCode;
}

void tcProducer::checkInit() const
{
    require(mbInitialized, GenTL::GC_ERR_NOT_INITIALIZED, "GCInitLib has not been called");
}

void tcProducer::initLib()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    require(!mbInitialized, GenTL::GC_ERR_RESOURCE_IN_USE, "the library is already initialised");
    const char* lpFaults = std::getenv("SIMCAM_FAULTS");
    try
    {
        mcFaults.configure(lpFaults != nullptr ? lpFaults : "");
    }
    catch (const std::invalid_argument& arError)
    {
        throw tcGenTLError(GenTL::GC_ERR_INVALID_PARAMETER, std::string("SIMCAM_FAULTS: ") + arError.what());
    }
    mbInitialized = true;
}

void tcProducer::closeLib()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    closeSystem();
    mcFaults.clear();
    mbInitialized = false;
}

void tcProducer::getInfo(GenTL::TL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer,
                         size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcSystem::info(anCmd, apType, apBuffer, apSize);
}

void* tcProducer::lookup(const void* apHandle, teKind aeKind, const char* apWhat) const
{
    require(apHandle != nullptr, GenTL::GC_ERR_INVALID_HANDLE, std::string(apWhat) + " handle is NULL");
    const auto lpAt = mhHandles.find(apHandle);
    require(lpAt != mhHandles.end() && lpAt->second == aeKind, GenTL::GC_ERR_INVALID_HANDLE,
            std::string("not an open ") + apWhat + " handle");
    return const_cast<void*>(apHandle);
}

tcSystem& tcProducer::system(GenTL::TL_HANDLE apHandle) const
{
    return *static_cast<tcSystem*>(lookup(apHandle, teKind::System, "system"));
}

tcInterface& tcProducer::iface(GenTL::IF_HANDLE apHandle) const
{
    return *static_cast<tcInterface*>(lookup(apHandle, teKind::Interface, "interface"));
}

tcDevice& tcProducer::device(GenTL::DEV_HANDLE apHandle) const
{
    return *static_cast<tcDevice*>(lookup(apHandle, teKind::Device, "device"));
}

// ------------------------------------------------------------------ ports

tcProducer::tcPortTarget tcProducer::portTarget(GenTL::PORT_HANDLE apPort, bool abWrite) const
{
    require(apPort != nullptr, GenTL::GC_ERR_INVALID_HANDLE, "port handle is NULL");
    const auto lpAt = mhHandles.find(apPort);
    if (lpAt == mhHandles.end())
    {
        // Buffers are ports too, but ones without registers.
        for (tcInterface* lpInterface : mpSystem ? mpSystem->openInterfaces() : std::vector<tcInterface*>())
        {
            for (tcDevice* lpDevice : lpInterface->openDevices())
            {
                require(!(lpDevice->stream() && lpDevice->stream()->ownsBuffer(apPort)),
                        GenTL::GC_ERR_NOT_IMPLEMENTED, "buffers have no register map");
            }
        }
        throw tcGenTLError(GenTL::GC_ERR_INVALID_HANDLE, "not an open port handle");
    }
    tcPortTarget lcTarget;
    switch (lpAt->second)
    {
    case teKind::System:
        lcTarget.mpMap = &static_cast<tcSystem*>(apPort)->portMap();
        break;
    case teKind::Interface:
        lcTarget.mpMap = &static_cast<tcInterface*>(apPort)->portMap();
        break;
    case teKind::Device:
        lcTarget.mpMap = &static_cast<tcDevice*>(apPort)->portMap();
        break;
    case teKind::Stream:
        lcTarget.mpMap = &static_cast<tcStream*>(apPort)->portMap();
        break;
    case teKind::RemotePort:
    {
        const tcDevice& lrDevice = *static_cast<const tcRemotePort*>(apPort)->mpDevice;
        require(!(abWrite && lrDevice.readOnly()), GenTL::GC_ERR_ACCESS_DENIED,
                "the device is open read-only");
        lcTarget.mpCamera = &lrDevice.camera();
        break;
    }
    case teKind::Event:
        throw tcGenTLError(GenTL::GC_ERR_INVALID_HANDLE, "an event is not a port");
    }
    return lcTarget;
}

void tcProducer::tcPortTarget::read(uint64_t anAddress, void* apBuffer, size_t anLength) const
{
    if (mpCamera != nullptr)
    {
        mpCamera->read(anAddress, apBuffer, anLength);
    }
    else
    {
        mpMap->read(anAddress, apBuffer, anLength);
    }
}

void tcProducer::tcPortTarget::write(uint64_t anAddress, const void* apBuffer, size_t anLength) const
{
    if (mpCamera != nullptr)
    {
        mpCamera->write(anAddress, apBuffer, anLength);
    }
    else
    {
        mpMap->write(anAddress, apBuffer, anLength);
    }
}

void tcProducer::readPort(GenTL::PORT_HANDLE apPort, uint64_t anAddress, void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcPortTarget lcTarget = portTarget(apPort, false);
    require(apSize != nullptr && apBuffer != nullptr, GenTL::GC_ERR_INVALID_PARAMETER,
            "buffer or size is NULL");
    lcTarget.read(anAddress, apBuffer, *apSize);
}

void tcProducer::writePort(GenTL::PORT_HANDLE apPort, uint64_t anAddress, const void* apBuffer,
                           size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcPortTarget lcTarget = portTarget(apPort, true);
    require(apSize != nullptr && apBuffer != nullptr, GenTL::GC_ERR_INVALID_PARAMETER,
            "buffer or size is NULL");
    lcTarget.write(anAddress, apBuffer, *apSize);
}

void tcProducer::portStacked(GenTL::PORT_HANDLE apPort, GenTL::PORT_REGISTER_STACK_ENTRY* apEntries,
                             size_t* apCount, bool abWrite)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcPortTarget lcTarget = portTarget(apPort, abWrite);
    require(apEntries != nullptr && apCount != nullptr, GenTL::GC_ERR_INVALID_PARAMETER,
            "entries or count is NULL");
    const size_t lnTotal = *apCount;
    // The count of entries done is reported even when one fails.
    for (size_t lnEntry = 0; lnEntry < lnTotal; ++lnEntry)
    {
        *apCount = lnEntry;
        const GenTL::PORT_REGISTER_STACK_ENTRY& lrEntry = apEntries[lnEntry];
        require(lrEntry.pBuffer != nullptr, GenTL::GC_ERR_INVALID_PARAMETER,
                "entry " + std::to_string(lnEntry) + " has no buffer");
        if (abWrite)
        {
            lcTarget.write(lrEntry.Address, lrEntry.pBuffer, lrEntry.Size);
        }
        else
        {
            lcTarget.read(lrEntry.Address, lrEntry.pBuffer, lrEntry.Size);
        }
    }
    *apCount = lnTotal;
}

std::vector<tcDescriptionUrl> tcProducer::urls(GenTL::PORT_HANDLE apPort) const
{
    const tcPortTarget lcTarget = portTarget(apPort, false);
    if (lcTarget.mpCamera != nullptr)
    {
        return tcDescriptionUrl::forCamera(*lcTarget.mpCamera);
    }
    return {lcTarget.mpMap->url()};
}

void tcProducer::portUrl(GenTL::PORT_HANDLE apPort, char* apUrl, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    std::string lcList;
    for (const tcDescriptionUrl& lrUrl : urls(apPort))
    {
        lcList += lrUrl.text();
        lcList.push_back('\0');
    }
    // writeString adds the list's final NUL.
    writeString(lcList, apUrl, apSize);
}

void tcProducer::numPortUrls(GenTL::PORT_HANDLE apPort, uint32_t* apCount)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    std::vector<tcDescriptionUrl> lcUrls;
    try
    {
        lcUrls = urls(apPort);
    }
    catch (const tcGenTLError& arError)
    {
        // Buffers have no port of their own, so no description either.
        if (arError.code() != GenTL::GC_ERR_NOT_IMPLEMENTED)
        {
            throw;
        }
    }
    requireOut(apCount);
    *apCount = static_cast<uint32_t>(lcUrls.size());
}

void tcProducer::portUrlInfo(GenTL::PORT_HANDLE apPort, uint32_t anIndex, GenTL::URL_INFO_CMD anCmd,
                             GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const std::vector<tcDescriptionUrl> lcUrls = urls(apPort);
    require(anIndex < lcUrls.size(), GenTL::GC_ERR_INVALID_INDEX,
            "URL index " + std::to_string(anIndex) + " beyond " + std::to_string(lcUrls.size()) + " URLs");
    lcUrls[anIndex].info(anCmd, apType, apBuffer, apSize);
}

void tcProducer::portInfo(GenTL::PORT_HANDLE apPort, GenTL::PORT_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                          void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    require(apPort != nullptr, GenTL::GC_ERR_INVALID_HANDLE, "port handle is NULL");
    const auto lpAt = mhHandles.find(apPort);
    require(lpAt != mhHandles.end() && lpAt->second != teKind::Event, GenTL::GC_ERR_INVALID_HANDLE,
            "not an open port handle");
    tcInfoWriter lcOut(apType, apBuffer, apSize);
    const bool lbRemote = lpAt->second == teKind::RemotePort;
    const tcDevice* lpDevice = lbRemote ? static_cast<const tcRemotePort*>(apPort)->mpDevice
                               : lpAt->second == teKind::Device ? static_cast<const tcDevice*>(apPort)
                                                                : nullptr;
    static const char* const scModules[] = {"TLSystem", "TLInterface", "TLDevice", "Device", "TLDataStream"};
    const char* lpModule = scModules[static_cast<int>(lpAt->second)];
    switch (anCmd)
    {
    case GenTL::PORT_INFO_ID:
        lcOut.string(lpDevice                            ? lpDevice->id()
                     : lpAt->second == teKind::Interface ? static_cast<const tcInterface*>(apPort)->id()
                     : lpAt->second == teKind::Stream    ? static_cast<const tcStream*>(apPort)->id()
                                                         : std::string("SimCamTL"));
        break;
    case GenTL::PORT_INFO_VENDOR:
        lcOut.string(lpDevice ? lpDevice->camera().model().msVendor : std::string("Kestrix"));
        break;
    case GenTL::PORT_INFO_MODEL:
        lcOut.string(lpDevice ? lpDevice->camera().model().msModel : std::string("simcam"));
        break;
    case GenTL::PORT_INFO_TLTYPE:
        lcOut.string(TLTypeCustomName);
        break;
    case GenTL::PORT_INFO_MODULE:
        lcOut.string(lpModule);
        break;
    case GenTL::PORT_INFO_LITTLE_ENDIAN:
        lcOut.bool8(true);
        break;
    case GenTL::PORT_INFO_BIG_ENDIAN:
        lcOut.bool8(false);
        break;
    case GenTL::PORT_INFO_ACCESS_READ:
        lcOut.bool8(true);
        break;
    case GenTL::PORT_INFO_ACCESS_WRITE:
        // The modules' selectors and commands are writable; the remote device unless opened read-only.
        lcOut.bool8(!(lbRemote && lpDevice->readOnly()));
        break;
    case GenTL::PORT_INFO_ACCESS_NA:
        lcOut.bool8(lbRemote && lpDevice->camera().vanished());
        break;
    case GenTL::PORT_INFO_ACCESS_NI:
        lcOut.bool8(false);
        break;
    case GenTL::PORT_INFO_VERSION:
        lcOut.string(lpDevice ? lpDevice->camera().model().msFirmware : std::string("1.0.0"));
        break;
    case GenTL::PORT_INFO_PORTNAME:
        // The name of the Port node in every description this producer serves.
        lcOut.string("Device");
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_NOT_IMPLEMENTED,
                           "unknown port info command " + std::to_string(anCmd));
    }
}

// ------------------------------------------------------------------ events

void tcProducer::registerEvent(GenTL::EVENTSRC_HANDLE apSource, GenTL::EVENT_TYPE anType,
                               GenTL::EVENT_HANDLE* apEvent)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    require(apSource != nullptr, GenTL::GC_ERR_INVALID_HANDLE, "event source handle is NULL");
    const auto lpAt = mhHandles.find(apSource);
    require(lpAt != mhHandles.end() && lpAt->second != teKind::Event && lpAt->second != teKind::RemotePort,
            GenTL::GC_ERR_INVALID_HANDLE, "not a module handle that can signal events");
    require(lpAt->second == teKind::Stream, GenTL::GC_ERR_NOT_IMPLEMENTED,
            "only data streams signal events here (new buffers)");
    requireOut(apEvent);
    tcStream& lrStream = *static_cast<tcStream*>(apSource);
    std::shared_ptr<tcEvent> lpEvent = lrStream.registerEvent(anType);
    mhHandles[lpEvent.get()] = teKind::Event;
    mhEvents[lpEvent.get()] = lpEvent;
    *apEvent = lpEvent.get();
}

void tcProducer::unregisterEvent(GenTL::EVENTSRC_HANDLE apSource, GenTL::EVENT_TYPE anType)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    require(apSource != nullptr, GenTL::GC_ERR_INVALID_HANDLE, "event source handle is NULL");
    const auto lpAt = mhHandles.find(apSource);
    require(lpAt != mhHandles.end() && lpAt->second != teKind::Event && lpAt->second != teKind::RemotePort,
            GenTL::GC_ERR_INVALID_HANDLE, "not a module handle that can signal events");
    require(lpAt->second == teKind::Stream, GenTL::GC_ERR_NOT_IMPLEMENTED,
            "only data streams signal events here");
    tcStream& lrStream = *static_cast<tcStream*>(apSource);
    const std::shared_ptr<tcEvent> lpEvent = lrStream.event();
    lrStream.unregisterEvent(anType);
    mhHandles.erase(lpEvent.get());
    mhEvents.erase(lpEvent.get());
}

std::shared_ptr<tcEvent> tcProducer::event(GenTL::EVENT_HANDLE apEvent)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    lookup(apEvent, teKind::Event, "event");
    return mhEvents.at(apEvent);
}

// ------------------------------------------------------------------ system

void tcProducer::tlOpen(GenTL::TL_HANDLE* apSystem)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    requireOut(apSystem);
    require(!mpSystem, GenTL::GC_ERR_RESOURCE_IN_USE, "the system is already open");
    mpSystem = std::make_unique<tcSystem>();
    mhHandles[mpSystem.get()] = teKind::System;
    *apSystem = mpSystem.get();
}

void tcProducer::tlClose(GenTL::TL_HANDLE apSystem)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    system(apSystem);
    closeSystem();
}

void tcProducer::tlInfo(GenTL::TL_HANDLE apSystem, GenTL::TL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                        void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    system(apSystem);
    tcSystem::info(anCmd, apType, apBuffer, apSize);
}

void tcProducer::numInterfaces(GenTL::TL_HANDLE apSystem, uint32_t* apCount)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcSystem& lrSystem = system(apSystem);
    requireOut(apCount);
    *apCount = static_cast<uint32_t>(lrSystem.interfaceIds().size());
}

void tcProducer::interfaceId(GenTL::TL_HANDLE apSystem, uint32_t anIndex, char* apId, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    writeString(system(apSystem).interfaceId(anIndex), apId, apSize);
}

void tcProducer::interfaceInfo(GenTL::TL_HANDLE apSystem, const char* apId, GenTL::INTERFACE_INFO_CMD anCmd,
                               GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcSystem& lrSystem = system(apSystem);
    const std::string lcId = idText(apId);
    const std::vector<std::string>& lrIds = lrSystem.interfaceIds();
    require(std::find(lrIds.begin(), lrIds.end(), lcId) != lrIds.end(), GenTL::GC_ERR_INVALID_ID,
            "no interface \"" + lcId + "\"");
    tcInterface::info(lcId, anCmd, apType, apBuffer, apSize);
}

void tcProducer::openInterface(GenTL::TL_HANDLE apSystem, const char* apId, GenTL::IF_HANDLE* apInterface)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcSystem& lrSystem = system(apSystem);
    const std::string lcId = idText(apId);
    requireOut(apInterface);
    tcInterface& lrInterface = lrSystem.open(lcId);
    mhHandles[&lrInterface] = teKind::Interface;
    *apInterface = &lrInterface;
}

void tcProducer::updateInterfaces(GenTL::TL_HANDLE apSystem, GenTL::bool8_t* apChanged)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    system(apSystem);
    // The interfaces of this system are fixed.
    if (apChanged != nullptr)
    {
        *apChanged = 0;
    }
}

// ------------------------------------------------------------------ interface

void tcProducer::ifClose(GenTL::IF_HANDLE apInterface)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    closeInterface(iface(apInterface));
}

void tcProducer::ifInfo(GenTL::IF_HANDLE apInterface, GenTL::INTERFACE_INFO_CMD anCmd,
                        GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcInterface::info(iface(apInterface).id(), anCmd, apType, apBuffer, apSize);
}

void tcProducer::numDevices(GenTL::IF_HANDLE apInterface, uint32_t* apCount)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcInterface& lrInterface = iface(apInterface);
    requireOut(apCount);
    *apCount = static_cast<uint32_t>(lrInterface.devices().size());
}

void tcProducer::deviceId(GenTL::IF_HANDLE apInterface, uint32_t anIndex, char* apId, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const auto& lrDevices = iface(apInterface).devices();
    require(anIndex < lrDevices.size(), GenTL::GC_ERR_INVALID_INDEX,
            "device index " + std::to_string(anIndex) + " beyond " + std::to_string(lrDevices.size()) +
                " devices");
    writeString(lrDevices[anIndex]->model().msId, apId, apSize);
}

void tcProducer::updateDevices(GenTL::IF_HANDLE apInterface, GenTL::bool8_t* apChanged)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const bool lbChanged = iface(apInterface).updateDevices();
    if (apChanged != nullptr)
    {
        *apChanged = lbChanged ? 1 : 0;
    }
}

void tcProducer::deviceInfo(GenTL::IF_HANDLE apInterface, const char* apId, GenTL::DEVICE_INFO_CMD anCmd,
                            GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcInterface& lrInterface = iface(apInterface);
    const std::shared_ptr<tcCamera> lpCamera = lrInterface.find(idText(apId));
    tcDevice::info(*lpCamera, lrInterface.accessStatus(*lpCamera), anCmd, apType, apBuffer, apSize);
}

void tcProducer::openDevice(GenTL::IF_HANDLE apInterface, const char* apId,
                            GenTL::DEVICE_ACCESS_FLAGS anFlags, GenTL::DEV_HANDLE* apDevice)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcInterface& lrInterface = iface(apInterface);
    const std::string lcId = idText(apId);
    requireOut(apDevice);
    tcDevice& lrDevice = lrInterface.open(lcId, anFlags);
    mhHandles[&lrDevice] = teKind::Device;
    mhHandles[lrDevice.port()] = teKind::RemotePort;
    *apDevice = &lrDevice;
}

void tcProducer::parentTL(GenTL::IF_HANDLE apInterface, GenTL::TL_HANDLE* apSystem)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcInterface& lrInterface = iface(apInterface);
    requireOut(apSystem);
    *apSystem = &lrInterface.parent();
}

// ------------------------------------------------------------------ device

void tcProducer::devPort(GenTL::DEV_HANDLE apDevice, GenTL::PORT_HANDLE* apPort)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcDevice& lrDevice = device(apDevice);
    requireOut(apPort);
    *apPort = lrDevice.port();
}

void tcProducer::numStreams(GenTL::DEV_HANDLE apDevice, uint32_t* apCount)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    device(apDevice);
    requireOut(apCount);
    *apCount = 1;
}

void tcProducer::streamId(GenTL::DEV_HANDLE apDevice, uint32_t anIndex, char* apId, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    device(apDevice);
    require(anIndex == 0, GenTL::GC_ERR_INVALID_INDEX,
            "stream index " + std::to_string(anIndex) + " beyond the device's one stream");
    writeString(tcDevice::streamId(), apId, apSize);
}

void tcProducer::openStream(GenTL::DEV_HANDLE apDevice, const char* apId, GenTL::DS_HANDLE* apStream)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcDevice& lrDevice = device(apDevice);
    const std::string lcId = idText(apId);
    requireOut(apStream);
    tcStream& lrStream = lrDevice.openStream(lcId, mcFaults);
    mhHandles[&lrStream] = teKind::Stream;
    *apStream = &lrStream;
}

void tcProducer::devInfo(GenTL::DEV_HANDLE apDevice, GenTL::DEVICE_INFO_CMD anCmd,
                         GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    const tcDevice& lrDevice = device(apDevice);
    tcDevice::info(lrDevice.camera(), lrDevice.parent().accessStatus(lrDevice.camera()), anCmd, apType,
                   apBuffer, apSize);
}

void tcProducer::devClose(GenTL::DEV_HANDLE apDevice)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    closeDevice(device(apDevice));
}

void tcProducer::parentIF(GenTL::DEV_HANDLE apDevice, GenTL::IF_HANDLE* apInterface)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    tcDevice& lrDevice = device(apDevice);
    requireOut(apInterface);
    *apInterface = &lrDevice.parent();
}

// ------------------------------------------------------------------ stream

void tcProducer::dsClose(GenTL::DS_HANDLE apStream)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    lookup(apStream, teKind::Stream, "data stream");
    for (tcInterface* lpInterface : mpSystem->openInterfaces())
    {
        for (tcDevice* lpDevice : lpInterface->openDevices())
        {
            if (lpDevice->stream() == apStream)
            {
                closeStream(*lpDevice);
                return;
            }
        }
    }
}

void tcProducer::parentDev(GenTL::DS_HANDLE apStream, GenTL::DEV_HANDLE* apDevice)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    checkInit();
    lookup(apStream, teKind::Stream, "data stream");
    requireOut(apDevice);
    for (tcInterface* lpInterface : mpSystem->openInterfaces())
    {
        for (tcDevice* lpDevice : lpInterface->openDevices())
        {
            if (lpDevice->stream() == apStream)
            {
                *apDevice = lpDevice;
                return;
            }
        }
    }
}

// ------------------------------------------------------------------ closing

void tcProducer::closeStream(tcDevice& arDevice)
{
    tcStream* lpStream = arDevice.stream();
    if (lpStream == nullptr)
    {
        return;
    }
    const std::shared_ptr<tcEvent> lpEvent = lpStream->event();
    if (lpEvent)
    {
        mhHandles.erase(lpEvent.get());
        mhEvents.erase(lpEvent.get());
    }
    mhHandles.erase(lpStream);
    // Stops the acquisition, discards the queues, revokes the buffers and ends waits.
    arDevice.closeStream();
}

void tcProducer::closeDevice(tcDevice& arDevice)
{
    closeStream(arDevice);
    mhHandles.erase(arDevice.port());
    mhHandles.erase(&arDevice);
    arDevice.parent().close(arDevice);
}

void tcProducer::closeInterface(tcInterface& arInterface)
{
    for (tcDevice* lpDevice : arInterface.openDevices())
    {
        closeDevice(*lpDevice);
    }
    mhHandles.erase(&arInterface);
    arInterface.parent().close(arInterface);
}

void tcProducer::closeSystem()
{
    if (!mpSystem)
    {
        return;
    }
    for (tcInterface* lpInterface : mpSystem->openInterfaces())
    {
        closeInterface(*lpInterface);
    }
    mhHandles.erase(mpSystem.get());
    mpSystem.reset();
}

} // namespace simcam
