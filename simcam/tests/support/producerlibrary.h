#pragma once

#include <GenTL/GenTL.h>

#include <functional>
#include <string>
#include <vector>

// Every GenTL 1.5 entry point, in one list, so that loading and checking stay in step.
#define SIMCAM_GENTL_FUNCTIONS(X)                                                                            \
    X(GCGetInfo)                                                                                             \
    X(GCGetLastError)                                                                                        \
    X(GCInitLib)                                                                                             \
    X(GCCloseLib)                                                                                            \
    X(GCReadPort)                                                                                            \
    X(GCWritePort)                                                                                           \
    X(GCGetPortURL)                                                                                          \
    X(GCGetPortInfo)                                                                                         \
    X(GCRegisterEvent)                                                                                       \
    X(GCUnregisterEvent)                                                                                     \
    X(EventGetData)                                                                                          \
    X(EventGetDataInfo)                                                                                      \
    X(EventGetInfo)                                                                                          \
    X(EventFlush)                                                                                            \
    X(EventKill)                                                                                             \
    X(TLOpen)                                                                                                \
    X(TLClose)                                                                                               \
    X(TLGetInfo)                                                                                             \
    X(TLGetNumInterfaces)                                                                                    \
    X(TLGetInterfaceID)                                                                                      \
    X(TLGetInterfaceInfo)                                                                                    \
    X(TLOpenInterface)                                                                                       \
    X(TLUpdateInterfaceList)                                                                                 \
    X(IFClose)                                                                                               \
    X(IFGetInfo)                                                                                             \
    X(IFGetNumDevices)                                                                                       \
    X(IFGetDeviceID)                                                                                         \
    X(IFUpdateDeviceList)                                                                                    \
    X(IFGetDeviceInfo)                                                                                       \
    X(IFOpenDevice)                                                                                          \
    X(DevGetPort)                                                                                            \
    X(DevGetNumDataStreams)                                                                                  \
    X(DevGetDataStreamID)                                                                                    \
    X(DevOpenDataStream)                                                                                     \
    X(DevGetInfo)                                                                                            \
    X(DevClose)                                                                                              \
    X(DSAnnounceBuffer)                                                                                      \
    X(DSAllocAndAnnounceBuffer)                                                                              \
    X(DSFlushQueue)                                                                                          \
    X(DSStartAcquisition)                                                                                    \
    X(DSStopAcquisition)                                                                                     \
    X(DSGetInfo)                                                                                             \
    X(DSGetBufferID)                                                                                         \
    X(DSClose)                                                                                               \
    X(DSRevokeBuffer)                                                                                        \
    X(DSQueueBuffer)                                                                                         \
    X(DSGetBufferInfo)                                                                                       \
    X(GCGetNumPortURLs)                                                                                      \
    X(GCGetPortURLInfo)                                                                                      \
    X(GCReadPortStacked)                                                                                     \
    X(GCWritePortStacked)                                                                                    \
    X(DSGetBufferChunkData)                                                                                  \
    X(IFGetParentTL)                                                                                         \
    X(DevGetParentIF)                                                                                        \
    X(DSGetParentDev)                                                                                        \
    X(DSGetNumBufferParts)                                                                                   \
    X(DSGetBufferPartInfo)

// A producer loaded the way any consumer loads one: dlopen, then every entry
// point by name through dlsym. Unloads in the destructor.
class tcProducerLibrary
{
public:
    // The simulated producer of this build, in its own folder.
    static std::string defaultPath();

    explicit tcProducerLibrary(const std::string& arPath = defaultPath());
    ~tcProducerLibrary();
    tcProducerLibrary(const tcProducerLibrary&) = delete;
    tcProducerLibrary& operator=(const tcProducerLibrary&) = delete;

    bool loaded() const { return mpHandle != nullptr; }
    const std::string& loadError() const { return msError; }
    const std::vector<std::string>& missing() const { return mcMissing; }
    // Any symbol by name, for checking what else the library exports.
    void* symbol(const char* apName) const;

    // The producer's last error text, for test messages.
    std::string lastError() const;

#define SIMCAM_DECLARE(name) GenTL::P##name name = nullptr;
    SIMCAM_GENTL_FUNCTIONS(SIMCAM_DECLARE)
#undef SIMCAM_DECLARE

private:
    void* mpHandle = nullptr;
    std::string msError;
    std::vector<std::string> mcMissing;
};

// One info query, bound to its module and command: (type, buffer, size).
using tcInfoQuery = std::function<GenTL::GC_ERROR(GenTL::INFO_DATATYPE*, void*, size_t*)>;
// A string answer, asked for its size first; empty unless the query succeeds with a
// NUL-terminated string. apResult receives the query's result.
std::string infoString(const tcInfoQuery& afQuery, GenTL::GC_ERROR* apResult = nullptr);
// Any answer as text: strings as they are, numbers and booleans in decimal;
// "(failed N)" when the query fails.
std::string infoText(const tcInfoQuery& afQuery);
