#pragma once

#include "cameramodel.h"
#include "patterngenerator.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

namespace simcam
{

// One frame the sensor releases: what to draw and how to label it.
struct tcFrameTicket
{
    tcFrameGeometry mcGeometry;
    uint64_t mnFrameId = 0;
    uint64_t mnTimestamp = 0; // device ticks of 1 ns
};

// The remote device: the camera's register map as the port sees it, and its
// acquisition state. The stream's generator thread draws frames from it while
// other threads read and write registers, so every access takes the lock.
class tcCamera
{
public:
    static constexpr uint64_t DescriptionAddress = 0x10000;
    static constexpr uint64_t TimestampFrequency = 1000000000ull;

    explicit tcCamera(const tcCameraModel& arModel);

    const tcCameraModel& model() const { return mrModel; }

    // Port access at any address and alignment; throws tcGenTLError.
    void read(uint64_t anAddress, void* apBuffer, size_t anLength);
    void write(uint64_t anAddress, const void* apBuffer, size_t anLength);

    size_t payloadSize() const;
    std::string userId() const;
    // Time between frames: the frame rate's period, or the exposure when longer.
    std::chrono::nanoseconds framePeriod() const;
    // Releases the next frame while the camera acquires; false otherwise. The
    // frame is stamped with the moment its exposure was due, as a sensor's own
    // clock would, however late the host gets round to it.
    bool takeFrame(tcFrameTicket& arTicket, std::chrono::steady_clock::time_point acDue);
    bool acquiring() const;

    // A vanished camera answers nothing any more: every access is an I/O error.
    void vanish();
    bool vanished() const;

    // Registers by meaning; the register table gives each its address and layout.
    enum class teReg;
    struct tcRegisterDef;

private:
    static const tcRegisterDef* findRegister(uint64_t anAddress, bool abRegisterAccess);
    void encode(const tcRegisterDef& arReg, uint8_t* apBytes) const;
    void apply(const tcRegisterDef& arReg, const uint8_t* apBytes);
    void setInteger(teReg aeReg, uint64_t anValue);
    uint64_t integer(teReg aeReg) const;
    bool paramsLocked() const { return mbAcquiring || mnTLParamsLocked != 0; }
    void command(uint64_t anValue);
    void registerCommand(uint64_t anValue);
    void hdmiCommand(uint64_t anValue);
    tcFrameGeometry geometry() const;

    const tcCameraModel& mrModel;
    mutable std::mutex mcLock;
    const std::chrono::steady_clock::time_point mcEpoch;

    std::string msUserId;
    uint32_t mnWidth, mnHeight, mnOffsetX = 0, mnOffsetY = 0;
    uint32_t mnPixelFormat;
    uint32_t mnAcquisitionMode = 0; // 0 Continuous, 1 SingleFrame, 2 MultiFrame
    uint32_t mnTestPattern;
    uint32_t mnFrameCount = 10;
    double mdFrameRate;
    uint32_t mnExposureRaw = 100000; // 100 ns units
    uint32_t mnTLParamsLocked = 0;
    std::array<uint32_t, 4> mcGainRaw{};

    uint32_t mnRegAddress = 0, mnRegValue = 0, mnBank = 0;
    std::array<std::array<uint32_t, 128>, 4> mcBanks{};

    uint32_t mnHdmiWidth, mnHdmiHeight, mnHdmiOffsetX = 0, mnHdmiOffsetY = 0;
    bool mbHdmiActive = false;

    bool mbAcquiring = false;
    bool mbVanished = false;
    uint64_t mnNextFrameId = 0;
    uint64_t mnFramesLeft = 0;
};

} // namespace simcam
