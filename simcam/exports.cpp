// The exported GenTL entry points. Each one only hands over to the producer:
// here every failure becomes the returned GC_ERROR plus the text that
// GCGetLastError gives, and no exception leaves the library.
#include "event.h"
#include "gentlerror.h"
#include "producer.h"

#include <GenTL/GenTL.h>

#include <new>
#include <string>

using namespace GenTL;
using simcam::tcProducer;

namespace
{

template <typename taAction> GC_ERROR call(const char* apName, taAction&& afAction, bool abKeepError = true)
{
    GC_ERROR lnCode = GC_ERR_SUCCESS;
    std::string lcText;
    try
    {
        tcProducer& lrProducer = tcProducer::instance();
        lnCode = lrProducer.faults().onCall(apName);
        if (lnCode != GC_ERR_SUCCESS)
        {
            lcText = "fault injected by SIMCAM_FAULTS";
        }
        else
        {
            afAction(lrProducer);
            return GC_ERR_SUCCESS;
        }
    }
    catch (const simcam::tcGenTLError& arError)
    {
        lnCode = arError.code();
        lcText = arError.what();
    }
    catch (const std::bad_alloc&)
    {
        lnCode = GC_ERR_OUT_OF_MEMORY;
        lcText = "out of memory";
    }
    catch (const std::exception& arError)
    {
        lnCode = GC_ERR_ERROR;
        lcText = arError.what();
    }
    catch (...)
    {
        lnCode = GC_ERR_ERROR;
        lcText = "unexpected failure";
    }
    if (abKeepError)
    {
        try
        {
            tcProducer::setLastError(lnCode, std::string(apName) + ": " + lcText);
        }
        catch (...)
        {
            // Without memory for the text the code alone must do.
        }
    }
    return lnCode;
}

} // namespace

#define GC_CALL(name, body) call(name, [&](tcProducer& p) { body; })

extern "C"
{

    // ------------------------------------------------------------------ library

    GC_API GCGetInfo(TL_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pBuffer, size_t* piSize)
    {
        return GC_CALL("GCGetInfo", p.getInfo(iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API GCGetLastError(GC_ERROR* piErrorCode, char* sErrText, size_t* piSize)
    {
        // Its own failures are not stored, so the error asked about survives.
        return call(
            "GCGetLastError", [&](tcProducer& p) { p.lastError(piErrorCode, sErrText, piSize); }, false);
    }

    GC_API GCInitLib(void)
    {
        return GC_CALL("GCInitLib", p.initLib());
    }

    GC_API GCCloseLib(void)
    {
        return GC_CALL("GCCloseLib", p.closeLib());
    }

    // ------------------------------------------------------------------ ports

    GC_API GCReadPort(PORT_HANDLE hPort, uint64_t iAddress, void* pBuffer, size_t* piSize)
    {
        return GC_CALL("GCReadPort", p.readPort(hPort, iAddress, pBuffer, piSize));
    }

    GC_API GCWritePort(PORT_HANDLE hPort, uint64_t iAddress, const void* pBuffer, size_t* piSize)
    {
        return GC_CALL("GCWritePort", p.writePort(hPort, iAddress, pBuffer, piSize));
    }

    GC_API GCGetPortURL(PORT_HANDLE hPort, char* sURL, size_t* piSize)
    {
        return GC_CALL("GCGetPortURL", p.portUrl(hPort, sURL, piSize));
    }

    GC_API GCGetPortInfo(PORT_HANDLE hPort, PORT_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pBuffer,
                         size_t* piSize)
    {
        return GC_CALL("GCGetPortInfo", p.portInfo(hPort, iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API GCGetNumPortURLs(PORT_HANDLE hPort, uint32_t* piNumURLs)
    {
        return GC_CALL("GCGetNumPortURLs", p.numPortUrls(hPort, piNumURLs));
    }

    GC_API GCGetPortURLInfo(PORT_HANDLE hPort, uint32_t iURLIndex, URL_INFO_CMD iInfoCmd,
                            INFO_DATATYPE* piType, void* pBuffer, size_t* piSize)
    {
        return GC_CALL("GCGetPortURLInfo",
                       p.portUrlInfo(hPort, iURLIndex, iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API GCReadPortStacked(PORT_HANDLE hPort, PORT_REGISTER_STACK_ENTRY* pEntries, size_t* piNumEntries)
    {
        return GC_CALL("GCReadPortStacked", p.portStacked(hPort, pEntries, piNumEntries, false));
    }

    GC_API GCWritePortStacked(PORT_HANDLE hPort, PORT_REGISTER_STACK_ENTRY* pEntries, size_t* piNumEntries)
    {
        return GC_CALL("GCWritePortStacked", p.portStacked(hPort, pEntries, piNumEntries, true));
    }

    // ------------------------------------------------------------------ events

    GC_API GCRegisterEvent(EVENTSRC_HANDLE hEventSrc, EVENT_TYPE iEventID, EVENT_HANDLE* phEvent)
    {
        return GC_CALL("GCRegisterEvent", p.registerEvent(hEventSrc, iEventID, phEvent));
    }

    GC_API GCUnregisterEvent(EVENTSRC_HANDLE hEventSrc, EVENT_TYPE iEventID)
    {
        return GC_CALL("GCUnregisterEvent", p.unregisterEvent(hEventSrc, iEventID));
    }

    GC_API EventGetData(EVENT_HANDLE hEvent, void* pBuffer, size_t* piSize, uint64_t iTimeout)
    {
        return GC_CALL("EventGetData", p.event(hEvent)->getData(pBuffer, piSize, iTimeout));
    }

    GC_API EventGetDataInfo(EVENT_HANDLE hEvent, const void* pInBuffer, size_t iInSize,
                            EVENT_DATA_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pOutBuffer,
                            size_t* piOutSize)
    {
        return GC_CALL("EventGetDataInfo", p.event(hEvent)->getDataInfo(pInBuffer, iInSize, iInfoCmd, piType,
                                                                        pOutBuffer, piOutSize));
    }

    GC_API EventGetInfo(EVENT_HANDLE hEvent, EVENT_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pBuffer,
                        size_t* piSize)
    {
        return GC_CALL("EventGetInfo", p.event(hEvent)->getInfo(iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API EventFlush(EVENT_HANDLE hEvent)
    {
        return GC_CALL("EventFlush", p.event(hEvent)->flush());
    }

    GC_API EventKill(EVENT_HANDLE hEvent)
    {
        return GC_CALL("EventKill", p.event(hEvent)->kill());
    }

    // ------------------------------------------------------------------ system

    GC_API TLOpen(TL_HANDLE* phTL)
    {
        return GC_CALL("TLOpen", p.tlOpen(phTL));
    }

    GC_API TLClose(TL_HANDLE hTL)
    {
        return GC_CALL("TLClose", p.tlClose(hTL));
    }

    GC_API TLGetInfo(TL_HANDLE hTL, TL_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pBuffer,
                     size_t* piSize)
    {
        return GC_CALL("TLGetInfo", p.tlInfo(hTL, iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API TLGetNumInterfaces(TL_HANDLE hTL, uint32_t* piNumIfaces)
    {
        return GC_CALL("TLGetNumInterfaces", p.numInterfaces(hTL, piNumIfaces));
    }

    GC_API TLGetInterfaceID(TL_HANDLE hTL, uint32_t iIndex, char* sID, size_t* piSize)
    {
        return GC_CALL("TLGetInterfaceID", p.interfaceId(hTL, iIndex, sID, piSize));
    }

    GC_API TLGetInterfaceInfo(TL_HANDLE hTL, const char* sIfaceID, INTERFACE_INFO_CMD iInfoCmd,
                              INFO_DATATYPE* piType, void* pBuffer, size_t* piSize)
    {
        return GC_CALL("TLGetInterfaceInfo",
                       p.interfaceInfo(hTL, sIfaceID, iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API TLOpenInterface(TL_HANDLE hTL, const char* sIfaceID, IF_HANDLE* phIface)
    {
        return GC_CALL("TLOpenInterface", p.openInterface(hTL, sIfaceID, phIface));
    }

    GC_API TLUpdateInterfaceList(TL_HANDLE hTL, bool8_t* pbChanged,
                                 uint64_t /*iTimeout: the list is immediate*/)
    {
        return GC_CALL("TLUpdateInterfaceList", p.updateInterfaces(hTL, pbChanged));
    }

    // ------------------------------------------------------------------ interface

    GC_API IFClose(IF_HANDLE hIface)
    {
        return GC_CALL("IFClose", p.ifClose(hIface));
    }

    GC_API IFGetInfo(IF_HANDLE hIface, INTERFACE_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pBuffer,
                     size_t* piSize)
    {
        return GC_CALL("IFGetInfo", p.ifInfo(hIface, iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API IFGetNumDevices(IF_HANDLE hIface, uint32_t* piNumDevices)
    {
        return GC_CALL("IFGetNumDevices", p.numDevices(hIface, piNumDevices));
    }

    GC_API IFGetDeviceID(IF_HANDLE hIface, uint32_t iIndex, char* sDeviceID, size_t* piSize)
    {
        return GC_CALL("IFGetDeviceID", p.deviceId(hIface, iIndex, sDeviceID, piSize));
    }

    GC_API IFUpdateDeviceList(IF_HANDLE hIface, bool8_t* pbChanged,
                              uint64_t /*iTimeout: the list is immediate*/)
    {
        return GC_CALL("IFUpdateDeviceList", p.updateDevices(hIface, pbChanged));
    }

    GC_API IFGetDeviceInfo(IF_HANDLE hIface, const char* sDeviceID, DEVICE_INFO_CMD iInfoCmd,
                           INFO_DATATYPE* piType, void* pBuffer, size_t* piSize)
    {
        return GC_CALL("IFGetDeviceInfo", p.deviceInfo(hIface, sDeviceID, iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API IFOpenDevice(IF_HANDLE hIface, const char* sDeviceID, DEVICE_ACCESS_FLAGS iOpenFlag,
                        DEV_HANDLE* phDevice)
    {
        return GC_CALL("IFOpenDevice", p.openDevice(hIface, sDeviceID, iOpenFlag, phDevice));
    }

    GC_API IFGetParentTL(IF_HANDLE hIface, TL_HANDLE* phSystem)
    {
        return GC_CALL("IFGetParentTL", p.parentTL(hIface, phSystem));
    }

    // ------------------------------------------------------------------ device

    GC_API DevGetPort(DEV_HANDLE hDevice, PORT_HANDLE* phRemoteDevice)
    {
        return GC_CALL("DevGetPort", p.devPort(hDevice, phRemoteDevice));
    }

    GC_API DevGetNumDataStreams(DEV_HANDLE hDevice, uint32_t* piNumDataStreams)
    {
        return GC_CALL("DevGetNumDataStreams", p.numStreams(hDevice, piNumDataStreams));
    }

    GC_API DevGetDataStreamID(DEV_HANDLE hDevice, uint32_t iIndex, char* sDataStreamID, size_t* piSize)
    {
        return GC_CALL("DevGetDataStreamID", p.streamId(hDevice, iIndex, sDataStreamID, piSize));
    }

    GC_API DevOpenDataStream(DEV_HANDLE hDevice, const char* sDataStreamID, DS_HANDLE* phDataStream)
    {
        return GC_CALL("DevOpenDataStream", p.openStream(hDevice, sDataStreamID, phDataStream));
    }

    GC_API DevGetInfo(DEV_HANDLE hDevice, DEVICE_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pBuffer,
                      size_t* piSize)
    {
        return GC_CALL("DevGetInfo", p.devInfo(hDevice, iInfoCmd, piType, pBuffer, piSize));
    }

    GC_API DevClose(DEV_HANDLE hDevice)
    {
        return GC_CALL("DevClose", p.devClose(hDevice));
    }

    GC_API DevGetParentIF(DEV_HANDLE hDevice, IF_HANDLE* phIface)
    {
        return GC_CALL("DevGetParentIF", p.parentIF(hDevice, phIface));
    }

    // ------------------------------------------------------------------ stream and buffers

    GC_API DSAnnounceBuffer(DS_HANDLE hDataStream, void* pBuffer, size_t iSize, void* pPrivate,
                            BUFFER_HANDLE* phBuffer)
    {
        return GC_CALL("DSAnnounceBuffer", p.withStream(hDataStream,
                                                        [&](simcam::tcStream& s)
                                                        {
                                                            simcam::require(phBuffer != nullptr,
                                                                            GC_ERR_INVALID_PARAMETER,
                                                                            "buffer handle pointer is NULL");
                                                            *phBuffer = s.announce(pBuffer, iSize, pPrivate);
                                                        }));
    }

    GC_API DSAllocAndAnnounceBuffer(DS_HANDLE hDataStream, size_t iSize, void* pPrivate,
                                    BUFFER_HANDLE* phBuffer)
    {
        return GC_CALL("DSAllocAndAnnounceBuffer",
                       p.withStream(hDataStream,
                                    [&](simcam::tcStream& s)
                                    {
                                        simcam::require(phBuffer != nullptr, GC_ERR_INVALID_PARAMETER,
                                                        "buffer handle pointer is NULL");
                                        *phBuffer = s.allocAndAnnounce(iSize, pPrivate);
                                    }));
    }

    GC_API DSFlushQueue(DS_HANDLE hDataStream, ACQ_QUEUE_TYPE iOperation)
    {
        return GC_CALL("DSFlushQueue",
                       p.withStream(hDataStream, [&](simcam::tcStream& s) { s.flush(iOperation); }));
    }

    GC_API DSStartAcquisition(DS_HANDLE hDataStream, ACQ_START_FLAGS iStartFlags, uint64_t iNumToAcquire)
    {
        return GC_CALL("DSStartAcquisition", p.withStream(hDataStream, [&](simcam::tcStream& s)
                                                          { s.start(iStartFlags, iNumToAcquire); }));
    }

    GC_API DSStopAcquisition(DS_HANDLE hDataStream, ACQ_STOP_FLAGS iStopFlags)
    {
        return GC_CALL("DSStopAcquisition",
                       p.withStream(hDataStream, [&](simcam::tcStream& s) { s.stop(iStopFlags); }));
    }

    GC_API DSGetInfo(DS_HANDLE hDataStream, STREAM_INFO_CMD iInfoCmd, INFO_DATATYPE* piType, void* pBuffer,
                     size_t* piSize)
    {
        return GC_CALL("DSGetInfo", p.withStream(hDataStream, [&](simcam::tcStream& s)
                                                 { s.info(iInfoCmd, piType, pBuffer, piSize); }));
    }

    GC_API DSGetBufferID(DS_HANDLE hDataStream, uint32_t iIndex, BUFFER_HANDLE* phBuffer)
    {
        return GC_CALL("DSGetBufferID", p.withStream(hDataStream,
                                                     [&](simcam::tcStream& s)
                                                     {
                                                         simcam::require(phBuffer != nullptr,
                                                                         GC_ERR_INVALID_PARAMETER,
                                                                         "buffer handle pointer is NULL");
                                                         *phBuffer = s.bufferId(iIndex);
                                                     }));
    }

    GC_API DSClose(DS_HANDLE hDataStream)
    {
        return GC_CALL("DSClose", p.dsClose(hDataStream));
    }

    GC_API DSRevokeBuffer(DS_HANDLE hDataStream, BUFFER_HANDLE hBuffer, void** ppBuffer, void** ppPrivate)
    {
        return GC_CALL("DSRevokeBuffer", p.withStream(hDataStream, [&](simcam::tcStream& s)
                                                      { s.revoke(hBuffer, ppBuffer, ppPrivate); }));
    }

    GC_API DSQueueBuffer(DS_HANDLE hDataStream, BUFFER_HANDLE hBuffer)
    {
        return GC_CALL("DSQueueBuffer",
                       p.withStream(hDataStream, [&](simcam::tcStream& s) { s.queue(hBuffer); }));
    }

    GC_API DSGetBufferInfo(DS_HANDLE hDataStream, BUFFER_HANDLE hBuffer, BUFFER_INFO_CMD iInfoCmd,
                           INFO_DATATYPE* piType, void* pBuffer, size_t* piSize)
    {
        return GC_CALL("DSGetBufferInfo",
                       p.withStream(hDataStream, [&](simcam::tcStream& s)
                                    { s.bufferInfo(hBuffer, iInfoCmd, piType, pBuffer, piSize); }));
    }

    GC_API DSGetBufferChunkData(DS_HANDLE hDataStream, BUFFER_HANDLE hBuffer,
                                SINGLE_CHUNK_DATA* /*pChunkData*/, size_t* /*piNumChunks*/)
    {
        return GC_CALL("DSGetBufferChunkData",
                       p.withStream(hDataStream,
                                    [&](simcam::tcStream& s)
                                    {
                                        s.checkBuffer(hBuffer);
                                        throw simcam::tcGenTLError(GC_ERR_NO_DATA,
                                                                   "frames carry no chunk data");
                                    }));
    }

    GC_API DSGetParentDev(DS_HANDLE hDataStream, DEV_HANDLE* phDevice)
    {
        return GC_CALL("DSGetParentDev", p.parentDev(hDataStream, phDevice));
    }

    GC_API DSGetNumBufferParts(DS_HANDLE hDataStream, BUFFER_HANDLE hBuffer, uint32_t* /*piNumParts*/)
    {
        return GC_CALL("DSGetNumBufferParts",
                       p.withStream(hDataStream,
                                    [&](simcam::tcStream& s)
                                    {
                                        s.checkBuffer(hBuffer);
                                        throw simcam::tcGenTLError(GC_ERR_NO_DATA,
                                                                   "buffers hold single images, not parts");
                                    }));
    }

    GC_API DSGetBufferPartInfo(DS_HANDLE hDataStream, BUFFER_HANDLE hBuffer, uint32_t /*iPartIndex*/,
                               BUFFER_PART_INFO_CMD /*iInfoCmd*/, INFO_DATATYPE* /*piType*/,
                               void* /*pBuffer*/, size_t* /*piSize*/)
    {
        return GC_CALL("DSGetBufferPartInfo",
                       p.withStream(hDataStream,
                                    [&](simcam::tcStream& s)
                                    {
                                        s.checkBuffer(hBuffer);
                                        throw simcam::tcGenTLError(GC_ERR_NO_DATA,
                                                                   "buffers hold single images, not parts");
                                    }));
    }

} // extern "C"
