#pragma once

#include "descriptionurl.h"
#include "faultinjector.h"
#include "system.h"

#include <GenTL/GenTL.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace simcam
{

class tcEvent;

// The producer as a whole: library state, the open module tree and which
// handles are alive. Every call resolves its handles here, so a stale, foreign
// or wrong-kind handle is refused without being dereferenced. One lock
// serialises the calls; only waiting for events happens outside it.
class tcProducer
{
public:
    static tcProducer& instance();

    tcFaultInjector& faults() { return mcFaults; }
    static void setLastError(GenTL::GC_ERROR anCode, const std::string& arText);
    void lastError(GenTL::GC_ERROR* apCode, char* apText, size_t* apSize);

    void initLib();
    void closeLib();
    void getInfo(GenTL::TL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);

    // Ports
    void readPort(GenTL::PORT_HANDLE apPort, uint64_t anAddress, void* apBuffer, size_t* apSize);
    void writePort(GenTL::PORT_HANDLE apPort, uint64_t anAddress, const void* apBuffer, size_t* apSize);
    void portStacked(GenTL::PORT_HANDLE apPort, GenTL::PORT_REGISTER_STACK_ENTRY* apEntries, size_t* apCount,
                     bool abWrite);
    void portUrl(GenTL::PORT_HANDLE apPort, char* apUrl, size_t* apSize);
    void portInfo(GenTL::PORT_HANDLE apPort, GenTL::PORT_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                  void* apBuffer, size_t* apSize);
    void numPortUrls(GenTL::PORT_HANDLE apPort, uint32_t* apCount);
    void portUrlInfo(GenTL::PORT_HANDLE apPort, uint32_t anIndex, GenTL::URL_INFO_CMD anCmd,
                     GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);

    // Events
    void registerEvent(GenTL::EVENTSRC_HANDLE apSource, GenTL::EVENT_TYPE anType,
                       GenTL::EVENT_HANDLE* apEvent);
    void unregisterEvent(GenTL::EVENTSRC_HANDLE apSource, GenTL::EVENT_TYPE anType);
    std::shared_ptr<tcEvent> event(GenTL::EVENT_HANDLE apEvent);

    // System
    void tlOpen(GenTL::TL_HANDLE* apSystem);
    void tlClose(GenTL::TL_HANDLE apSystem);
    void tlInfo(GenTL::TL_HANDLE apSystem, GenTL::TL_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                void* apBuffer, size_t* apSize);
    void numInterfaces(GenTL::TL_HANDLE apSystem, uint32_t* apCount);
    void interfaceId(GenTL::TL_HANDLE apSystem, uint32_t anIndex, char* apId, size_t* apSize);
    void interfaceInfo(GenTL::TL_HANDLE apSystem, const char* apId, GenTL::INTERFACE_INFO_CMD anCmd,
                       GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);
    void openInterface(GenTL::TL_HANDLE apSystem, const char* apId, GenTL::IF_HANDLE* apInterface);
    void updateInterfaces(GenTL::TL_HANDLE apSystem, GenTL::bool8_t* apChanged);

    // Interface
    void ifClose(GenTL::IF_HANDLE apInterface);
    void ifInfo(GenTL::IF_HANDLE apInterface, GenTL::INTERFACE_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                void* apBuffer, size_t* apSize);
    void numDevices(GenTL::IF_HANDLE apInterface, uint32_t* apCount);
    void deviceId(GenTL::IF_HANDLE apInterface, uint32_t anIndex, char* apId, size_t* apSize);
    void updateDevices(GenTL::IF_HANDLE apInterface, GenTL::bool8_t* apChanged);
    void deviceInfo(GenTL::IF_HANDLE apInterface, const char* apId, GenTL::DEVICE_INFO_CMD anCmd,
                    GenTL::INFO_DATATYPE* apType, void* apBuffer, size_t* apSize);
    void openDevice(GenTL::IF_HANDLE apInterface, const char* apId, GenTL::DEVICE_ACCESS_FLAGS anFlags,
                    GenTL::DEV_HANDLE* apDevice);
    void parentTL(GenTL::IF_HANDLE apInterface, GenTL::TL_HANDLE* apSystem);

    // Device
    void devPort(GenTL::DEV_HANDLE apDevice, GenTL::PORT_HANDLE* apPort);
    void numStreams(GenTL::DEV_HANDLE apDevice, uint32_t* apCount);
    void streamId(GenTL::DEV_HANDLE apDevice, uint32_t anIndex, char* apId, size_t* apSize);
    void openStream(GenTL::DEV_HANDLE apDevice, const char* apId, GenTL::DS_HANDLE* apStream);
    void devInfo(GenTL::DEV_HANDLE apDevice, GenTL::DEVICE_INFO_CMD anCmd, GenTL::INFO_DATATYPE* apType,
                 void* apBuffer, size_t* apSize);
    void devClose(GenTL::DEV_HANDLE apDevice);
    void parentIF(GenTL::DEV_HANDLE apDevice, GenTL::IF_HANDLE* apInterface);

    // Stream: runs afAction on the stream behind the handle, under the producer's lock.
    template <typename taAction> void withStream(GenTL::DS_HANDLE apStream, taAction&& afAction)
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        checkInit();
        afAction(*static_cast<tcStream*>(lookup(apStream, teKind::Stream, "data stream")));
    }
    void dsClose(GenTL::DS_HANDLE apStream);
    void parentDev(GenTL::DS_HANDLE apStream, GenTL::DEV_HANDLE* apDevice);

private:
    enum class teKind
    {
        System,
        Interface,
        Device,
        RemotePort,
        Stream,
        Event
    };

    void checkInit() const;
    void* lookup(const void* apHandle, teKind aeKind, const char* apWhat) const;
    tcSystem& system(GenTL::TL_HANDLE apHandle) const;
    tcInterface& iface(GenTL::IF_HANDLE apHandle) const;
    tcDevice& device(GenTL::DEV_HANDLE apHandle) const;
    // What a port handle reaches: a remote device's camera or a module's own
    // register map. Throws for handles without a register map (buffers).
    struct tcPortTarget
    {
        tcCamera* mpCamera = nullptr;
        tcModuleMap* mpMap = nullptr;
        void read(uint64_t anAddress, void* apBuffer, size_t anLength) const;
        void write(uint64_t anAddress, const void* apBuffer, size_t anLength) const;
    };
    tcPortTarget portTarget(GenTL::PORT_HANDLE apPort, bool abWrite) const;
    std::vector<tcDescriptionUrl> urls(GenTL::PORT_HANDLE apPort) const;

    void closeStream(tcDevice& arDevice);
    void closeDevice(tcDevice& arDevice);
    void closeInterface(tcInterface& arInterface);
    void closeSystem();

    mutable std::mutex mcLock;
    bool mbInitialized = false;
    tcFaultInjector mcFaults;
    std::unique_ptr<tcSystem> mpSystem;
    std::unordered_map<const void*, teKind> mhHandles;
    std::unordered_map<const void*, std::shared_ptr<tcEvent>> mhEvents;
};

} // namespace simcam
