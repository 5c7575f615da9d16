// A minimal GenTL producer for binding tests. It exports every GenTL 1.5
// function unless the build leaves some out (STUB_WITHOUT_<name>), and serves
// one description through its port, shaped by environment variables read at
// each call:
//   STUB_URL       the text of URL 0
//   STUB_FILENAME  the file name of URL 0 (none when unset)
//   STUB_CONTENT   the bytes behind the register range of URL 0
//   STUB_SIZE      the size reported for that range (default: content length)
//   STUB_INTERFACES_CHANGED / STUB_DEVICES_CHANGED  "1": every list update
//                  reports a change (one interface "StubIF", no devices)
// StubReadCount() tells how many port reads were made, StubOpenInterfaces()
// how many interfaces are open.
#define GC_EXPORTS
#include <GenTL/GenTL.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace GenTL;

namespace
{
constexpr uint64_t kDescriptionAddress = 0x10000;
std::atomic<int> gnReads{0};
std::atomic<int> gnOpenInterfaces{0};
int gnTL = 0;
int gnIface = 0;

std::string env(const char* apName)
{
    const char* lpValue = std::getenv(apName);
    return lpValue ? std::string(lpValue) : std::string();
}

GC_ERROR copyString(const std::string& arText, void* apBuffer, size_t* apSize)
{
    if (!apSize)
        return GC_ERR_INVALID_PARAMETER;
    if (!apBuffer)
    {
        *apSize = arText.size() + 1;
        return GC_ERR_SUCCESS;
    }
    if (*apSize < arText.size() + 1)
        return GC_ERR_BUFFER_TOO_SMALL;
    std::memcpy(apBuffer, arText.c_str(), arText.size() + 1);
    *apSize = arText.size() + 1;
    return GC_ERR_SUCCESS;
}

GC_ERROR copyU64(uint64_t anValue, void* apBuffer, size_t* apSize)
{
    if (!apSize || !apBuffer || *apSize < sizeof(anValue))
        return GC_ERR_INVALID_PARAMETER;
    std::memcpy(apBuffer, &anValue, sizeof(anValue));
    *apSize = sizeof(anValue);
    return GC_ERR_SUCCESS;
}
} // namespace

extern "C" GC_IMPORT_EXPORT int StubReadCount()
{
    return gnReads.load();
}

extern "C" GC_IMPORT_EXPORT int StubOpenInterfaces()
{
    return gnOpenInterfaces.load();
}

#define STUB_UNIMPLEMENTED(name, ...)                                                                        \
    GC_API name(__VA_ARGS__)                                                                                 \
    {                                                                                                        \
        return GC_ERR_NOT_IMPLEMENTED;                                                                       \
    }

GENTL_BEGIN_DECLARATIONS

#ifndef STUB_WITHOUT_GCGetInfo
STUB_UNIMPLEMENTED(GCGetInfo, TL_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
#endif
STUB_UNIMPLEMENTED(GCGetLastError, GC_ERROR*, char*, size_t*)
GC_API GCInitLib(void)
{
    return GC_ERR_SUCCESS;
}
GC_API GCCloseLib(void)
{
    return GC_ERR_SUCCESS;
}
GC_API GCReadPort(PORT_HANDLE, uint64_t iAddress, void* pBuffer, size_t* piSize)
{
    ++gnReads;
    const std::string lsContent = env("STUB_CONTENT");
    if (iAddress < kDescriptionAddress || iAddress - kDescriptionAddress + *piSize > lsContent.size())
        return GC_ERR_INVALID_ADDRESS;
    if (*piSize > 0)
        std::memcpy(pBuffer, lsContent.data() + (iAddress - kDescriptionAddress), *piSize);
    return GC_ERR_SUCCESS;
}
STUB_UNIMPLEMENTED(GCWritePort, PORT_HANDLE, uint64_t, const void*, size_t*)
STUB_UNIMPLEMENTED(GCGetPortURL, PORT_HANDLE, char*, size_t*)
STUB_UNIMPLEMENTED(GCGetPortInfo, PORT_HANDLE, PORT_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
STUB_UNIMPLEMENTED(GCRegisterEvent, EVENTSRC_HANDLE, EVENT_TYPE, EVENT_HANDLE*)
STUB_UNIMPLEMENTED(GCUnregisterEvent, EVENTSRC_HANDLE, EVENT_TYPE)
STUB_UNIMPLEMENTED(EventGetData, EVENT_HANDLE, void*, size_t*, uint64_t)
STUB_UNIMPLEMENTED(EventGetDataInfo, EVENT_HANDLE, const void*, size_t, EVENT_DATA_INFO_CMD, INFO_DATATYPE*,
                   void*, size_t*)
STUB_UNIMPLEMENTED(EventGetInfo, EVENT_HANDLE, EVENT_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
STUB_UNIMPLEMENTED(EventFlush, EVENT_HANDLE)
STUB_UNIMPLEMENTED(EventKill, EVENT_HANDLE)
GC_API TLOpen(TL_HANDLE* phTL)
{
    *phTL = &gnTL;
    return GC_ERR_SUCCESS;
}
#ifndef STUB_WITHOUT_TLClose
STUB_UNIMPLEMENTED(TLClose, TL_HANDLE)
#endif
STUB_UNIMPLEMENTED(TLGetInfo, TL_HANDLE, TL_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
GC_API TLGetNumInterfaces(TL_HANDLE, uint32_t* piNumIfaces)
{
    *piNumIfaces = 1;
    return GC_ERR_SUCCESS;
}
GC_API TLGetInterfaceID(TL_HANDLE, uint32_t iIndex, char* sID, size_t* piSize)
{
    return iIndex == 0 ? copyString("StubIF", sID, piSize) : GC_ERR_INVALID_INDEX;
}
STUB_UNIMPLEMENTED(TLGetInterfaceInfo, TL_HANDLE, const char*, INTERFACE_INFO_CMD, INFO_DATATYPE*, void*,
                   size_t*)
GC_API TLOpenInterface(TL_HANDLE, const char*, IF_HANDLE* phIface)
{
    ++gnOpenInterfaces;
    *phIface = &gnIface;
    return GC_ERR_SUCCESS;
}
GC_API TLUpdateInterfaceList(TL_HANDLE, bool8_t* pbChanged, uint64_t)
{
    *pbChanged = env("STUB_INTERFACES_CHANGED") == "1";
    return GC_ERR_SUCCESS;
}
GC_API IFClose(IF_HANDLE)
{
    --gnOpenInterfaces;
    return GC_ERR_SUCCESS;
}
STUB_UNIMPLEMENTED(IFGetInfo, IF_HANDLE, INTERFACE_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
GC_API IFGetNumDevices(IF_HANDLE, uint32_t* piNumDevices)
{
    *piNumDevices = 0;
    return GC_ERR_SUCCESS;
}
STUB_UNIMPLEMENTED(IFGetDeviceID, IF_HANDLE, uint32_t, char*, size_t*)
GC_API IFUpdateDeviceList(IF_HANDLE, bool8_t* pbChanged, uint64_t)
{
    *pbChanged = env("STUB_DEVICES_CHANGED") == "1";
    return GC_ERR_SUCCESS;
}
STUB_UNIMPLEMENTED(IFGetDeviceInfo, IF_HANDLE, const char*, DEVICE_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
STUB_UNIMPLEMENTED(IFOpenDevice, IF_HANDLE, const char*, DEVICE_ACCESS_FLAGS, DEV_HANDLE*)
STUB_UNIMPLEMENTED(DevGetPort, DEV_HANDLE, PORT_HANDLE*)
STUB_UNIMPLEMENTED(DevGetNumDataStreams, DEV_HANDLE, uint32_t*)
STUB_UNIMPLEMENTED(DevGetDataStreamID, DEV_HANDLE, uint32_t, char*, size_t*)
STUB_UNIMPLEMENTED(DevOpenDataStream, DEV_HANDLE, const char*, DS_HANDLE*)
STUB_UNIMPLEMENTED(DevGetInfo, DEV_HANDLE, DEVICE_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
STUB_UNIMPLEMENTED(DevClose, DEV_HANDLE)
STUB_UNIMPLEMENTED(DSAnnounceBuffer, DS_HANDLE, void*, size_t, void*, BUFFER_HANDLE*)
STUB_UNIMPLEMENTED(DSAllocAndAnnounceBuffer, DS_HANDLE, size_t, void*, BUFFER_HANDLE*)
STUB_UNIMPLEMENTED(DSFlushQueue, DS_HANDLE, ACQ_QUEUE_TYPE)
STUB_UNIMPLEMENTED(DSStartAcquisition, DS_HANDLE, ACQ_START_FLAGS, uint64_t)
STUB_UNIMPLEMENTED(DSStopAcquisition, DS_HANDLE, ACQ_STOP_FLAGS)
STUB_UNIMPLEMENTED(DSGetInfo, DS_HANDLE, STREAM_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
STUB_UNIMPLEMENTED(DSGetBufferID, DS_HANDLE, uint32_t, BUFFER_HANDLE*)
STUB_UNIMPLEMENTED(DSClose, DS_HANDLE)
STUB_UNIMPLEMENTED(DSRevokeBuffer, DS_HANDLE, BUFFER_HANDLE, void**, void**)
STUB_UNIMPLEMENTED(DSQueueBuffer, DS_HANDLE, BUFFER_HANDLE)
STUB_UNIMPLEMENTED(DSGetBufferInfo, DS_HANDLE, BUFFER_HANDLE, BUFFER_INFO_CMD, INFO_DATATYPE*, void*, size_t*)
STUB_UNIMPLEMENTED(GCGetNumPortURLs, PORT_HANDLE, uint32_t*)
GC_API GCGetPortURLInfo(PORT_HANDLE, uint32_t iURLIndex, URL_INFO_CMD iInfoCmd, INFO_DATATYPE* piType,
                        void* pBuffer, size_t* piSize)
{
    if (iURLIndex != 0)
        return GC_ERR_INVALID_INDEX;
    if (piType)
        *piType = INFO_DATATYPE_STRING;
    const std::string lsContent = env("STUB_CONTENT");
    const std::string lsSize = env("STUB_SIZE");
    switch (iInfoCmd)
    {
    case URL_INFO_URL:
        return copyString(env("STUB_URL"), pBuffer, piSize);
    case URL_INFO_FILENAME:
        if (env("STUB_FILENAME").empty())
            return GC_ERR_NOT_AVAILABLE;
        return copyString(env("STUB_FILENAME"), pBuffer, piSize);
    case URL_INFO_FILE_REGISTER_ADDRESS:
        return copyU64(kDescriptionAddress, pBuffer, piSize);
    case URL_INFO_FILE_SIZE:
        return copyU64(lsSize.empty() ? lsContent.size() : std::stoull(lsSize), pBuffer, piSize);
    default:
        return GC_ERR_NOT_IMPLEMENTED;
    }
}
STUB_UNIMPLEMENTED(GCReadPortStacked, PORT_HANDLE, PORT_REGISTER_STACK_ENTRY*, size_t*)
STUB_UNIMPLEMENTED(GCWritePortStacked, PORT_HANDLE, PORT_REGISTER_STACK_ENTRY*, size_t*)
STUB_UNIMPLEMENTED(DSGetBufferChunkData, DS_HANDLE, BUFFER_HANDLE, SINGLE_CHUNK_DATA*, size_t*)
STUB_UNIMPLEMENTED(IFGetParentTL, IF_HANDLE, TL_HANDLE*)
STUB_UNIMPLEMENTED(DevGetParentIF, DEV_HANDLE, IF_HANDLE*)
STUB_UNIMPLEMENTED(DSGetParentDev, DS_HANDLE, DEV_HANDLE*)
STUB_UNIMPLEMENTED(DSGetNumBufferParts, DS_HANDLE, BUFFER_HANDLE, uint32_t*)
#ifndef STUB_WITHOUT_DSGetBufferPartInfo
STUB_UNIMPLEMENTED(DSGetBufferPartInfo, DS_HANDLE, BUFFER_HANDLE, uint32_t, BUFFER_PART_INFO_CMD,
                   INFO_DATATYPE*, void*, size_t*)
#endif

GENTL_END_DECLARATIONS
