#pragma once

#include "producerlibrary.h"

#include <GenTL/GenTL.h>

#include <cstdint>
#include <string>
#include <vector>

// Register addresses of the simulated cameras, as their descriptions give them.
namespace simcamreg
{
constexpr uint64_t ModelName = 0x0020;
constexpr uint64_t SensorWidth = 0x0100;  // big-endian
constexpr uint64_t SensorHeight = 0x0104; // big-endian
constexpr uint64_t Width = 0x0108;        // big-endian
constexpr uint64_t Height = 0x010C;       // big-endian
constexpr uint64_t OffsetX = 0x0110;
constexpr uint64_t OffsetY = 0x0114;
constexpr uint64_t PixelFormat = 0x0118;
constexpr uint64_t PayloadSize = 0x011C;       // big-endian
constexpr uint64_t AcquisitionConfig = 0x0120; // bits 0-3 mode, 8-15 test pattern
constexpr uint64_t AcquisitionFrameCount = 0x0124;
constexpr uint64_t AcquisitionCommand = 0x0128;   // 1 start, 2 stop
constexpr uint64_t Status = 0x012C;               // big-endian; bit 0 acquiring, bit 1 HDMI
constexpr uint64_t AcquisitionFrameRate = 0x0130; // big-endian double
constexpr uint64_t ExposureTimeRaw = 0x0138;      // 100 ns units
constexpr uint64_t TLParamsLocked = 0x013C;
constexpr uint64_t RegAddress = 0x0200;
constexpr uint64_t RegValue = 0x0204;
constexpr uint64_t RegCommand = 0x0208; // 1 read, 2 write
constexpr uint64_t HdmiWidth = 0x0300;
constexpr uint64_t HdmiCommand = 0x0310; // 1 start, 2 stop
} // namespace simcamreg

// The device ids of the three simulated cameras, in enumeration order.
extern const char* const gcSimCamIds[3];

// An open path to one simulated camera: library initialised, system,
// interface, device and remote port open, optionally its stream. Closes in
// the destructor. Setup failures land in failure() instead of throwing.
class tcSimCamSession
{
public:
    tcSimCamSession(tcProducerLibrary& arLib, const std::string& arDeviceId,
                    GenTL::DEVICE_ACCESS_FLAGS anFlags = GenTL::DEVICE_ACCESS_EXCLUSIVE);
    ~tcSimCamSession();
    tcSimCamSession(const tcSimCamSession&) = delete;
    tcSimCamSession& operator=(const tcSimCamSession&) = delete;

    bool ok() const { return msFailure.empty(); }
    const std::string& failure() const { return msFailure; }

    GenTL::GC_ERROR readU32(uint64_t anAddress, uint32_t& arValue, bool abBigEndian = false);
    GenTL::GC_ERROR writeU32(uint64_t anAddress, uint32_t anValue, bool abBigEndian = false);
    GenTL::GC_ERROR writeFrameRate(double adRate);
    uint32_t u32(uint64_t anAddress, bool abBigEndian = false); // 0xFFFFFFFF when the read fails

    // Stream helpers.
    GenTL::GC_ERROR openStream();
    // Announces anCount producer-allocated (or consumer, abOwnMemory) buffers of anSize bytes and queues
    // them.
    GenTL::GC_ERROR announceAndQueue(size_t anCount, size_t anSize, bool abOwnMemory = false);
    size_t payloadSize();
    // Frame acquisition as a consumer does it: event, engine start, camera start.
    GenTL::GC_ERROR startAcquisition(uint64_t anCount = GENTL_INFINITE);
    GenTL::GC_ERROR waitBuffer(GenTL::BUFFER_HANDLE& arBuffer, uint64_t anTimeoutMs = 3000);
    template <typename taValue>
    GenTL::GC_ERROR bufferInfo(GenTL::BUFFER_HANDLE apBuffer, GenTL::BUFFER_INFO_CMD anCmd, taValue& arValue)
    {
        GenTL::INFO_DATATYPE lnType = 0;
        size_t lnSize = sizeof arValue;
        return mrLib.DSGetBufferInfo(mhStream, apBuffer, anCmd, &lnType, &arValue, &lnSize);
    }
    // Stop, discard, revoke, unregister: the usual teardown; true when all succeeded.
    bool tearDownStream();

    tcProducerLibrary& mrLib;
    GenTL::TL_HANDLE mhSystem = nullptr;
    GenTL::IF_HANDLE mhInterface = nullptr;
    GenTL::DEV_HANDLE mhDevice = nullptr;
    GenTL::PORT_HANDLE mhPort = nullptr;
    GenTL::DS_HANDLE mhStream = nullptr;
    GenTL::EVENT_HANDLE mhEvent = nullptr;
    std::vector<GenTL::BUFFER_HANDLE> mcBuffers;
    std::vector<std::vector<uint8_t>> mcOwnMemory;

private:
    std::string msFailure;
};
