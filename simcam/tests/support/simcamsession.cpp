#include "simcamsession.h"

#include <cstring>

using namespace GenTL;

const char* const gcSimCamIds[3] = {"SimCam-Mono-0001", "SimCam-Color-0002", "SimCam-CMV50000-0003"};

tcSimCamSession::tcSimCamSession(tcProducerLibrary& arLib, const std::string& arDeviceId,
                                 DEVICE_ACCESS_FLAGS anFlags)
    : mrLib(arLib)
{
    const auto lfStep = [this](GC_ERROR anResult, const char* apWhat)
    {
        if (anResult != GC_ERR_SUCCESS && msFailure.empty())
        {
            msFailure = std::string(apWhat) + " failed: " + mrLib.lastError();
        }
        return anResult == GC_ERR_SUCCESS;
    };
    if (!lfStep(mrLib.GCInitLib(), "GCInitLib") || !lfStep(mrLib.TLOpen(&mhSystem), "TLOpen") ||
        !lfStep(mrLib.TLOpenInterface(mhSystem, "SimIF0", &mhInterface), "TLOpenInterface") ||
        !lfStep(mrLib.IFOpenDevice(mhInterface, arDeviceId.c_str(), anFlags, &mhDevice), "IFOpenDevice"))
    {
        return;
    }
    lfStep(mrLib.DevGetPort(mhDevice, &mhPort), "DevGetPort");
}

tcSimCamSession::~tcSimCamSession()
{
    // Closing the system closes every module below it.
    if (mhSystem != nullptr)
    {
        mrLib.TLClose(mhSystem);
    }
    mrLib.GCCloseLib();
}

GC_ERROR tcSimCamSession::readU32(uint64_t anAddress, uint32_t& arValue, bool abBigEndian)
{
    uint8_t lcBytes[4] = {};
    size_t lnSize = sizeof lcBytes;
    const GC_ERROR lnResult = mrLib.GCReadPort(mhPort, anAddress, lcBytes, &lnSize);
    arValue = 0;
    for (int lnByte = 0; lnByte < 4; ++lnByte)
    {
        arValue |= uint32_t(lcBytes[lnByte]) << (8 * (abBigEndian ? 3 - lnByte : lnByte));
    }
    return lnResult;
}

uint32_t tcSimCamSession::u32(uint64_t anAddress, bool abBigEndian)
{
    uint32_t lnValue = 0;
    return readU32(anAddress, lnValue, abBigEndian) == GC_ERR_SUCCESS ? lnValue : 0xFFFFFFFFu;
}

GC_ERROR tcSimCamSession::writeU32(uint64_t anAddress, uint32_t anValue, bool abBigEndian)
{
    uint8_t lcBytes[4];
    for (int lnByte = 0; lnByte < 4; ++lnByte)
    {
        lcBytes[lnByte] = static_cast<uint8_t>(anValue >> (8 * (abBigEndian ? 3 - lnByte : lnByte)));
    }
    size_t lnSize = sizeof lcBytes;
    return mrLib.GCWritePort(mhPort, anAddress, lcBytes, &lnSize);
}

GC_ERROR tcSimCamSession::writeFrameRate(double adRate)
{
    uint64_t lnBits = 0;
    std::memcpy(&lnBits, &adRate, sizeof lnBits);
    uint8_t lcBytes[8];
    for (int lnByte = 0; lnByte < 8; ++lnByte)
    {
        lcBytes[lnByte] = static_cast<uint8_t>(lnBits >> (8 * (7 - lnByte)));
    }
    size_t lnSize = sizeof lcBytes;
    return mrLib.GCWritePort(mhPort, simcamreg::AcquisitionFrameRate, lcBytes, &lnSize);
}

GC_ERROR tcSimCamSession::openStream()
{
    char lcId[64];
    size_t lnSize = sizeof lcId;
    const GC_ERROR lnResult = mrLib.DevGetDataStreamID(mhDevice, 0, lcId, &lnSize);
    if (lnResult != GC_ERR_SUCCESS)
    {
        return lnResult;
    }
    return mrLib.DevOpenDataStream(mhDevice, lcId, &mhStream);
}

size_t tcSimCamSession::payloadSize()
{
    size_t lnPayload = 0;
    size_t lnSize = sizeof lnPayload;
    INFO_DATATYPE lnType = 0;
    mrLib.DSGetInfo(mhStream, STREAM_INFO_PAYLOAD_SIZE, &lnType, &lnPayload, &lnSize);
    return lnPayload;
}

GC_ERROR tcSimCamSession::announceAndQueue(size_t anCount, size_t anSize, bool abOwnMemory)
{
    for (size_t lnIndex = 0; lnIndex < anCount; ++lnIndex)
    {
        BUFFER_HANDLE lhBuffer = nullptr;
        GC_ERROR lnResult = GC_ERR_SUCCESS;
        if (abOwnMemory)
        {
            mcOwnMemory.emplace_back(anSize);
            lnResult = mrLib.DSAnnounceBuffer(mhStream, mcOwnMemory.back().data(), anSize,
                                              reinterpret_cast<void*>(lnIndex + 1), &lhBuffer);
        }
        else
        {
            lnResult = mrLib.DSAllocAndAnnounceBuffer(mhStream, anSize, reinterpret_cast<void*>(lnIndex + 1),
                                                      &lhBuffer);
        }
        if (lnResult == GC_ERR_SUCCESS)
        {
            lnResult = mrLib.DSQueueBuffer(mhStream, lhBuffer);
        }
        if (lnResult != GC_ERR_SUCCESS)
        {
            return lnResult;
        }
        mcBuffers.push_back(lhBuffer);
    }
    return GC_ERR_SUCCESS;
}

GC_ERROR tcSimCamSession::startAcquisition(uint64_t anCount)
{
    GC_ERROR lnResult = GC_ERR_SUCCESS;
    if (mhEvent == nullptr)
    {
        lnResult = mrLib.GCRegisterEvent(mhStream, EVENT_NEW_BUFFER, &mhEvent);
    }
    if (lnResult == GC_ERR_SUCCESS)
    {
        lnResult = mrLib.DSStartAcquisition(mhStream, ACQ_START_FLAGS_DEFAULT, anCount);
    }
    if (lnResult == GC_ERR_SUCCESS)
    {
        lnResult = writeU32(simcamreg::AcquisitionCommand, 1);
    }
    return lnResult;
}

GC_ERROR tcSimCamSession::waitBuffer(BUFFER_HANDLE& arBuffer, uint64_t anTimeoutMs)
{
    EVENT_NEW_BUFFER_DATA lcData{};
    size_t lnSize = sizeof lcData;
    const GC_ERROR lnResult = mrLib.EventGetData(mhEvent, &lcData, &lnSize, anTimeoutMs);
    arBuffer = lcData.BufferHandle;
    return lnResult;
}

bool tcSimCamSession::tearDownStream()
{
    bool lbOk = writeU32(simcamreg::AcquisitionCommand, 2) == GC_ERR_SUCCESS;
    lbOk = mrLib.DSStopAcquisition(mhStream, ACQ_STOP_FLAGS_DEFAULT) == GC_ERR_SUCCESS && lbOk;
    lbOk = mrLib.DSFlushQueue(mhStream, ACQ_QUEUE_ALL_DISCARD) == GC_ERR_SUCCESS && lbOk;
    for (BUFFER_HANDLE lhBuffer : mcBuffers)
    {
        lbOk = mrLib.DSRevokeBuffer(mhStream, lhBuffer, nullptr, nullptr) == GC_ERR_SUCCESS && lbOk;
    }
    mcBuffers.clear();
    if (mhEvent != nullptr)
    {
        lbOk = mrLib.GCUnregisterEvent(mhStream, EVENT_NEW_BUFFER) == GC_ERR_SUCCESS && lbOk;
        mhEvent = nullptr;
    }
    lbOk = mrLib.DSClose(mhStream) == GC_ERR_SUCCESS && lbOk;
    mhStream = nullptr;
    return lbOk;
}
