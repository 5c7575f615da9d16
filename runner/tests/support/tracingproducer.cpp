// A producer for the tests of kestrix-run: the simulated producer with a few
// entry points in front of it that write what happened to the buffers and
// the stream to the file named by KX_TRACE_FILE, one line per event. All other
// entry points are the simulated producer's own (it is a dependency of this
// library, so looking a name up here finds it there).
// KX_TRACE_START_DELAY_MS holds DSStartAcquisition back, so a test can act
// while a start is under way.
#define GC_EXPORTS
#include <GenTL/GenTL.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

using namespace GenTL;

namespace
{
std::mutex gcLock;
int gnAnnounced = 0;
int gnEverAnnounced = 0;

void trace(const char* apFormat, ...)
{
    const char* lpPath = std::getenv("KX_TRACE_FILE");
    if (!lpPath)
        return;
    std::FILE* lpFile = std::fopen(lpPath, "a");
    if (!lpFile)
        return;
    va_list lcArgs;
    va_start(lcArgs, apFormat);
    std::vfprintf(lpFile, apFormat, lcArgs);
    va_end(lcArgs);
    std::fputc('\n', lpFile);
    std::fclose(lpFile);
}

template <typename tFunction> tFunction next(const char* apName)
{
    return reinterpret_cast<tFunction>(dlsym(RTLD_NEXT, apName));
}

void countAnnounced(GC_ERROR anResult, int anStep, const char* apWhat)
{
    if (anResult != GC_ERR_SUCCESS)
        return;
    std::lock_guard<std::mutex> lcGuard(gcLock);
    gnAnnounced += anStep;
    if (anStep > 0)
        gnEverAnnounced += anStep;
    trace("%s announced=%d", apWhat, gnAnnounced);
}
} // namespace

extern "C"
{
    GC_API GCCloseLib(void)
    {
        const GC_ERROR lnResult = next<PGCCloseLib>("GCCloseLib")();
        std::lock_guard<std::mutex> lcGuard(gcLock);
        trace("GCCloseLib announced=%d ever=%d", gnAnnounced, gnEverAnnounced);
        return lnResult;
    }

    GC_API DSAllocAndAnnounceBuffer(DS_HANDLE hDataStream, size_t iSize, void* pPrivate,
                                    BUFFER_HANDLE* phBuffer)
    {
        const GC_ERROR lnResult = next<PDSAllocAndAnnounceBuffer>("DSAllocAndAnnounceBuffer")(
            hDataStream, iSize, pPrivate, phBuffer);
        countAnnounced(lnResult, 1, "DSAllocAndAnnounceBuffer");
        return lnResult;
    }

    GC_API DSAnnounceBuffer(DS_HANDLE hDataStream, void* pBuffer, size_t iSize, void* pPrivate,
                            BUFFER_HANDLE* phBuffer)
    {
        const GC_ERROR lnResult =
            next<PDSAnnounceBuffer>("DSAnnounceBuffer")(hDataStream, pBuffer, iSize, pPrivate, phBuffer);
        countAnnounced(lnResult, 1, "DSAnnounceBuffer");
        return lnResult;
    }

    GC_API DSRevokeBuffer(DS_HANDLE hDataStream, BUFFER_HANDLE hBuffer, void** ppBuffer, void** ppPrivate)
    {
        const GC_ERROR lnResult =
            next<PDSRevokeBuffer>("DSRevokeBuffer")(hDataStream, hBuffer, ppBuffer, ppPrivate);
        countAnnounced(lnResult, -1, "DSRevokeBuffer");
        return lnResult;
    }

    GC_API DSStartAcquisition(DS_HANDLE hDataStream, ACQ_START_FLAGS iStartFlags, uint64_t iNumToAcquire)
    {
        trace("DSStartAcquisition begin");
        if (const char* lpDelay = std::getenv("KX_TRACE_START_DELAY_MS"))
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(lpDelay)));
        const GC_ERROR lnResult =
            next<PDSStartAcquisition>("DSStartAcquisition")(hDataStream, iStartFlags, iNumToAcquire);
        trace("DSStartAcquisition end %d", lnResult);
        return lnResult;
    }

    GC_API DSStopAcquisition(DS_HANDLE hDataStream, ACQ_STOP_FLAGS iStopFlags)
    {
        const GC_ERROR lnResult = next<PDSStopAcquisition>("DSStopAcquisition")(hDataStream, iStopFlags);
        trace("DSStopAcquisition %d", lnResult);
        return lnResult;
    }

    GC_API DSClose(DS_HANDLE hDataStream)
    {
        const GC_ERROR lnResult = next<PDSClose>("DSClose")(hDataStream);
        std::lock_guard<std::mutex> lcGuard(gcLock);
        trace("DSClose %d announced=%d", lnResult, gnAnnounced);
        return lnResult;
    }

    GC_API DevClose(DEV_HANDLE hDevice)
    {
        const GC_ERROR lnResult = next<PDevClose>("DevClose")(hDevice);
        trace("DevClose %d", lnResult);
        return lnResult;
    }
}
