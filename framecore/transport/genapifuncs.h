#pragma once

#include <GenTL/GenTL.h>

// Every GenTL entry point up to version 1.5, in resolution order, with the
// group it belongs to. A producer reaches the level of a group when it exports
// every function of that group and of all groups before it.
#define KX_GENTL_FUNCTIONS(X)                                                                                \
    X(1, GCGetInfo)                                                                                          \
    X(1, GCGetLastError)                                                                                     \
    X(1, GCInitLib)                                                                                          \
    X(1, GCCloseLib)                                                                                         \
    X(1, GCReadPort)                                                                                         \
    X(1, GCWritePort)                                                                                        \
    X(1, GCGetPortURL)                                                                                       \
    X(1, GCGetPortInfo)                                                                                      \
    X(1, GCRegisterEvent)                                                                                    \
    X(1, GCUnregisterEvent)                                                                                  \
    X(1, EventGetData)                                                                                       \
    X(1, EventGetDataInfo)                                                                                   \
    X(1, EventGetInfo)                                                                                       \
    X(1, EventFlush)                                                                                         \
    X(1, EventKill)                                                                                          \
    X(1, TLOpen)                                                                                             \
    X(1, TLClose)                                                                                            \
    X(1, TLGetInfo)                                                                                          \
    X(1, TLGetNumInterfaces)                                                                                 \
    X(1, TLGetInterfaceID)                                                                                   \
    X(1, TLGetInterfaceInfo)                                                                                 \
    X(1, TLOpenInterface)                                                                                    \
    X(1, TLUpdateInterfaceList)                                                                              \
    X(1, IFClose)                                                                                            \
    X(1, IFGetInfo)                                                                                          \
    X(1, IFGetNumDevices)                                                                                    \
    X(1, IFGetDeviceID)                                                                                      \
    X(1, IFUpdateDeviceList)                                                                                 \
    X(1, IFGetDeviceInfo)                                                                                    \
    X(1, IFOpenDevice)                                                                                       \
    X(1, DevGetPort)                                                                                         \
    X(1, DevGetNumDataStreams)                                                                               \
    X(1, DevGetDataStreamID)                                                                                 \
    X(1, DevOpenDataStream)                                                                                  \
    X(1, DevGetInfo)                                                                                         \
    X(1, DevClose)                                                                                           \
    X(1, DSAnnounceBuffer)                                                                                   \
    X(1, DSAllocAndAnnounceBuffer)                                                                           \
    X(1, DSFlushQueue)                                                                                       \
    X(1, DSStartAcquisition)                                                                                 \
    X(1, DSStopAcquisition)                                                                                  \
    X(1, DSGetInfo)                                                                                          \
    X(1, DSGetBufferID)                                                                                      \
    X(1, DSClose)                                                                                            \
    X(1, DSRevokeBuffer)                                                                                     \
    X(1, DSQueueBuffer)                                                                                      \
    X(1, DSGetBufferInfo)                                                                                    \
    X(2, GCGetNumPortURLs)                                                                                   \
    X(2, GCGetPortURLInfo)                                                                                   \
    X(2, GCReadPortStacked)                                                                                  \
    X(2, GCWritePortStacked)                                                                                 \
    X(3, DSGetBufferChunkData)                                                                               \
    X(4, IFGetParentTL)                                                                                      \
    X(4, DevGetParentIF)                                                                                     \
    X(4, DSGetParentDev)                                                                                     \
    X(5, DSGetNumBufferParts)                                                                                \
    X(5, DSGetBufferPartInfo)

// The resolved entry points of one producer. Users copy the table and call
// through their copy; in an accepted producer every entry is set.
struct GenAPIFuncs
{
#define KX_GENTL_MEMBER(group, name) GenTL::P##name name = nullptr;
    KX_GENTL_FUNCTIONS(KX_GENTL_MEMBER)
#undef KX_GENTL_MEMBER
};

// Resolution levels: major version in the top byte, minor in the next.
namespace tnGenTLLevel
{
constexpr unsigned kGroupLevels[] = {0x01000000u, 0x01010000u, 0x01030000u, 0x01040000u, 0x01050000u};
constexpr unsigned kRequired = 0x01050000u;
} // namespace tnGenTLLevel
