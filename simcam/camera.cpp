#include "camera.h"

#include "gentlerror.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace simcam
{

enum class tcCamera::teReg
{
    VendorName,
    ModelName,
    FirmwareVersion,
    SerialNumber,
    UserId,
    SensorWidth,
    SensorHeight,
    Width,
    Height,
    OffsetX,
    OffsetY,
    PixelFormat,
    PayloadSize,
    AcquisitionConfig,
    AcquisitionFrameCount,
    AcquisitionCommand,
    Status,
    AcquisitionFrameRate,
    ExposureTimeRaw,
    TLParamsLocked,
    GainRaw0,
    GainRaw1,
    GainRaw2,
    GainRaw3,
    DeviceTemperature,
    RegAddress,
    RegValue,
    RegCommand,
    HdmiWidth,
    HdmiHeight,
    HdmiOffsetX,
    HdmiOffsetY,
    HdmiCommand
};

namespace
{

enum teKind
{
    Text,   // NUL-padded ASCII
    Int,    // unsigned integer
    Double, // IEEE 754 double
    Single  // IEEE 754 single
};

constexpr bool RO = false;
constexpr bool RW = true;
constexpr bool BE = true;
constexpr bool LE = false;

constexpr uint32_t AcqModeMask = 0x0000000F;
constexpr uint32_t PatternShift = 8;
constexpr uint32_t PatternMask = 0x0000FF00;

} // namespace

struct tcCamera::tcRegisterDef
{
    uint32_t mnAddress;
    uint32_t mnLength;
    teReg meReg;
    int meKind;
    bool mbWritable;
    bool mbBigEndian;
    bool mbRegisterAccess; // only on cameras with sensor register access and HDMI
};

using teReg = tcCamera::teReg;

// The register map; the descriptions point at these addresses.
const tcCamera::tcRegisterDef* tcCamera::findRegister(uint64_t anAddress, bool abRegisterAccess)
{
    static const tcRegisterDef scRegisters[] = {
        {0x0000, 32, teReg::VendorName, Text, RO, LE, false},
        {0x0020, 32, teReg::ModelName, Text, RO, LE, false},
        {0x0040, 32, teReg::FirmwareVersion, Text, RO, LE, false},
        {0x0060, 32, teReg::SerialNumber, Text, RO, LE, false},
        {0x0080, 32, teReg::UserId, Text, RW, LE, false},
        {0x0100, 4, teReg::SensorWidth, Int, RO, BE, false},
        {0x0104, 4, teReg::SensorHeight, Int, RO, BE, false},
        {0x0108, 4, teReg::Width, Int, RW, BE, false},
        {0x010C, 4, teReg::Height, Int, RW, BE, false},
        {0x0110, 4, teReg::OffsetX, Int, RW, LE, false},
        {0x0114, 4, teReg::OffsetY, Int, RW, LE, false},
        {0x0118, 4, teReg::PixelFormat, Int, RW, LE, false},
        {0x011C, 4, teReg::PayloadSize, Int, RO, BE, false},
        {0x0120, 4, teReg::AcquisitionConfig, Int, RW, LE, false},
        {0x0124, 4, teReg::AcquisitionFrameCount, Int, RW, LE, false},
        {0x0128, 4, teReg::AcquisitionCommand, Int, RW, LE, false},
        {0x012C, 4, teReg::Status, Int, RO, BE, false},
        {0x0130, 8, teReg::AcquisitionFrameRate, Double, RW, BE, false},
        {0x0138, 4, teReg::ExposureTimeRaw, Int, RW, LE, false},
        {0x013C, 4, teReg::TLParamsLocked, Int, RW, LE, false},
        {0x0140, 4, teReg::GainRaw0, Int, RW, LE, false},
        {0x0144, 4, teReg::GainRaw1, Int, RW, LE, false},
        {0x0148, 4, teReg::GainRaw2, Int, RW, LE, false},
        {0x014C, 4, teReg::GainRaw3, Int, RW, LE, false},
        {0x0150, 4, teReg::DeviceTemperature, Single, RO, LE, false},
        {0x0200, 4, teReg::RegAddress, Int, RW, LE, true},
        {0x0204, 4, teReg::RegValue, Int, RW, LE, true},
        {0x0208, 4, teReg::RegCommand, Int, RW, LE, true},
        {0x0300, 4, teReg::HdmiWidth, Int, RW, LE, true},
        {0x0304, 4, teReg::HdmiHeight, Int, RW, LE, true},
        {0x0308, 4, teReg::HdmiOffsetX, Int, RW, LE, true},
        {0x030C, 4, teReg::HdmiOffsetY, Int, RW, LE, true},
        {0x0310, 4, teReg::HdmiCommand, Int, RW, LE, true},
    };
    for (const tcRegisterDef& lrReg : scRegisters)
    {
        if (anAddress >= lrReg.mnAddress && anAddress < lrReg.mnAddress + lrReg.mnLength)
        {
            return (lrReg.mbRegisterAccess && !abRegisterAccess) ? nullptr : &lrReg;
        }
    }
    return nullptr;
}

tcCamera::tcCamera(const tcCameraModel& arModel)
    : mrModel(arModel), mcEpoch(std::chrono::steady_clock::now()), mnWidth(arModel.mnSensorWidth),
      mnHeight(arModel.mnSensorHeight), mnPixelFormat(arModel.mcPixelFormats.front()),
      mnTestPattern(
          static_cast<uint32_t>(arModel.mbColorBars ? tePattern::ColorBars : tePattern::DiagonalRamp)),
      mdFrameRate(arModel.mdDefaultFrameRate), mnHdmiWidth(std::min<uint32_t>(1920, arModel.mnSensorWidth)),
      mnHdmiHeight(std::min<uint32_t>(1080, arModel.mnSensorHeight))
{
    // Every bank starts with its own recognisable contents (16-bit sensor words).
    for (uint32_t lnBank = 0; lnBank < mcBanks.size(); ++lnBank)
    {
        for (uint32_t lnReg = 0; lnReg < mcBanks[lnBank].size(); ++lnReg)
        {
            mcBanks[lnBank][lnReg] = ((lnBank + 1) << 12) | ((lnReg * 7) & 0xFFF);
        }
    }
}

uint64_t tcCamera::integer(teReg aeReg) const
{
    switch (aeReg)
    {
    case teReg::SensorWidth:
        return mrModel.mnSensorWidth;
    case teReg::SensorHeight:
        return mrModel.mnSensorHeight;
    case teReg::Width:
        return mnWidth;
    case teReg::Height:
        return mnHeight;
    case teReg::OffsetX:
        return mnOffsetX;
    case teReg::OffsetY:
        return mnOffsetY;
    case teReg::PixelFormat:
        return mnPixelFormat;
    case teReg::PayloadSize:
        return geometry().payloadSize();
    case teReg::AcquisitionConfig:
        return mnAcquisitionMode | (mnTestPattern << PatternShift);
    case teReg::AcquisitionFrameCount:
        return mnFrameCount;
    case teReg::Status:
        return (mbAcquiring ? 1u : 0u) | (mbHdmiActive ? 2u : 0u);
    case teReg::ExposureTimeRaw:
        return mnExposureRaw;
    case teReg::TLParamsLocked:
        return mnTLParamsLocked;
    case teReg::GainRaw0:
    case teReg::GainRaw1:
    case teReg::GainRaw2:
    case teReg::GainRaw3:
        return mcGainRaw[static_cast<size_t>(aeReg) - static_cast<size_t>(teReg::GainRaw0)];
    case teReg::RegAddress:
        return mnRegAddress;
    case teReg::RegValue:
        return mnRegValue;
    case teReg::HdmiWidth:
        return mnHdmiWidth;
    case teReg::HdmiHeight:
        return mnHdmiHeight;
    case teReg::HdmiOffsetX:
        return mnHdmiOffsetX;
    case teReg::HdmiOffsetY:
        return mnHdmiOffsetY;
    default:
        // Command registers read 0 once the command is done, which it always is.
        return 0;
    }
}

void tcCamera::encode(const tcRegisterDef& arReg, uint8_t* apBytes) const
{
    std::memset(apBytes, 0, arReg.mnLength);
    uint64_t lnBits = 0;
    switch (arReg.meKind)
    {
    case Text:
    {
        std::string lcText;
        switch (arReg.meReg)
        {
        case teReg::VendorName:
            lcText = mrModel.msVendor;
            break;
        case teReg::ModelName:
            lcText = mrModel.msModel;
            break;
        case teReg::FirmwareVersion:
            lcText = mrModel.msFirmware;
            break;
        case teReg::SerialNumber:
            lcText = mrModel.msSerialNumber;
            break;
        default:
            lcText = msUserId;
            break;
        }
        std::memcpy(apBytes, lcText.data(), std::min<size_t>(lcText.size(), arReg.mnLength - 1));
        return;
    }
    case Double:
        std::memcpy(&lnBits, &mdFrameRate, sizeof lnBits);
        break;
    case Single:
    {
        // A sensor slowly warming up while it streams.
        const float lfTemperature = 38.5f + (mbAcquiring ? 4.0f : 0.0f);
        uint32_t lnSingle = 0;
        std::memcpy(&lnSingle, &lfTemperature, sizeof lnSingle);
        lnBits = lnSingle;
        break;
    }
    default:
        lnBits = integer(arReg.meReg);
        break;
    }
    for (uint32_t lnByte = 0; lnByte < arReg.mnLength; ++lnByte)
    {
        const uint32_t lnShift = 8 * (arReg.mbBigEndian ? arReg.mnLength - 1 - lnByte : lnByte);
        apBytes[lnByte] = static_cast<uint8_t>(lnBits >> lnShift);
    }
}

void tcCamera::read(uint64_t anAddress, void* apBuffer, size_t anLength)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    require(!mbVanished, GenTL::GC_ERR_IO, "the device does not answer any more");
    uint8_t* lpOut = static_cast<uint8_t*>(apBuffer);
    const uint64_t lnEnd = anAddress + anLength;
    require(lnEnd >= anAddress, GenTL::GC_ERR_INVALID_ADDRESS, "address range wraps around");
    uint64_t lnAt = anAddress;
    while (lnAt < lnEnd)
    {
        if (lnAt >= DescriptionAddress && lnAt < DescriptionAddress + mrModel.mnDescriptionSize)
        {
            const size_t lnFrom = static_cast<size_t>(lnAt - DescriptionAddress);
            const size_t lnCount =
                static_cast<size_t>(std::min<uint64_t>(lnEnd - lnAt, mrModel.mnDescriptionSize - lnFrom));
            std::memcpy(lpOut + (lnAt - anAddress), mrModel.mpDescription + lnFrom, lnCount);
            lnAt += lnCount;
            continue;
        }
        const tcRegisterDef* lpReg = findRegister(lnAt, mrModel.mbRegisterAccess);
        require(
            lpReg != nullptr, GenTL::GC_ERR_INVALID_ADDRESS,
            "no register at address 0x" +
                [&]
                {
                    char lcHex[32];
                    std::snprintf(lcHex, sizeof lcHex, "%llx", static_cast<unsigned long long>(lnAt));
                    return std::string(lcHex);
                }());
        uint8_t lcBytes[32];
        encode(*lpReg, lcBytes);
        const uint64_t lnRegEnd = lpReg->mnAddress + lpReg->mnLength;
        const size_t lnCount = static_cast<size_t>(std::min(lnEnd, lnRegEnd) - lnAt);
        std::memcpy(lpOut + (lnAt - anAddress), lcBytes + (lnAt - lpReg->mnAddress), lnCount);
        lnAt += lnCount;
    }
}

void tcCamera::write(uint64_t anAddress, const void* apBuffer, size_t anLength)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    require(!mbVanished, GenTL::GC_ERR_IO, "the device does not answer any more");
    const uint64_t lnEnd = anAddress + anLength;
    require(lnEnd >= anAddress, GenTL::GC_ERR_INVALID_ADDRESS, "address range wraps around");
    // Check the whole range first so that a refused write changes nothing.
    for (uint64_t lnAt = anAddress; lnAt < lnEnd;)
    {
        const tcRegisterDef* lpReg = findRegister(lnAt, mrModel.mbRegisterAccess);
        if (lpReg == nullptr)
        {
            const bool lbDescription =
                lnAt >= DescriptionAddress && lnAt < DescriptionAddress + mrModel.mnDescriptionSize;
            require(!lbDescription, GenTL::GC_ERR_ACCESS_DENIED, "the description file is read-only");
            throw tcGenTLError(GenTL::GC_ERR_INVALID_ADDRESS, "no register to write at that address");
        }
        require(lpReg->mbWritable, GenTL::GC_ERR_ACCESS_DENIED, "register is read-only");
        lnAt = lpReg->mnAddress + lpReg->mnLength;
    }
    const uint8_t* lpIn = static_cast<const uint8_t*>(apBuffer);
    for (uint64_t lnAt = anAddress; lnAt < lnEnd;)
    {
        const tcRegisterDef* lpReg = findRegister(lnAt, mrModel.mbRegisterAccess);
        // Partial writes merge into the register's current bytes.
        uint8_t lcBytes[32];
        encode(*lpReg, lcBytes);
        const uint64_t lnRegEnd = lpReg->mnAddress + lpReg->mnLength;
        const size_t lnCount = static_cast<size_t>(std::min(lnEnd, lnRegEnd) - lnAt);
        std::memcpy(lcBytes + (lnAt - lpReg->mnAddress), lpIn + (lnAt - anAddress), lnCount);
        apply(*lpReg, lcBytes);
        lnAt += lnCount;
    }
}

void tcCamera::apply(const tcRegisterDef& arReg, const uint8_t* apBytes)
{
    if (arReg.meKind == Text)
    {
        const char* lpText = reinterpret_cast<const char*>(apBytes);
        msUserId.assign(lpText, strnlen(lpText, arReg.mnLength - 1));
        return;
    }
    uint64_t lnBits = 0;
    for (uint32_t lnByte = 0; lnByte < arReg.mnLength; ++lnByte)
    {
        const uint32_t lnShift = 8 * (arReg.mbBigEndian ? arReg.mnLength - 1 - lnByte : lnByte);
        lnBits |= uint64_t(apBytes[lnByte]) << lnShift;
    }
    if (arReg.meKind == Double)
    {
        double ldRate = 0;
        std::memcpy(&ldRate, &lnBits, sizeof ldRate);
        require(std::isfinite(ldRate) && ldRate >= 0.1 && ldRate <= mrModel.mdMaxFrameRate,
                GenTL::GC_ERR_INVALID_VALUE, "frame rate out of range");
        mdFrameRate = ldRate;
        return;
    }
    setInteger(arReg.meReg, lnBits);
}

void tcCamera::setInteger(teReg aeReg, uint64_t anValue)
{
    const auto lfCheck = [](bool abOk, const char* apWhat)
    { require(abOk, GenTL::GC_ERR_INVALID_VALUE, apWhat); };
    const auto lfUnlocked = [this](const char* apWhat)
    {
        require(!paramsLocked(), GenTL::GC_ERR_ACCESS_DENIED,
                std::string(apWhat) + " cannot change while acquiring or while the parameters are locked");
    };
    const uint32_t lnSensorW = mrModel.mnSensorWidth;
    const uint32_t lnSensorH = mrModel.mnSensorHeight;
    const uint32_t lnIncW = mrModel.mnWidthIncrement;
    const uint32_t lnIncH = mrModel.mnHeightIncrement;
    switch (aeReg)
    {
    case teReg::Width:
        lfUnlocked("Width");
        lfCheck(anValue >= lnIncW && anValue % lnIncW == 0 && anValue + mnOffsetX <= lnSensorW,
                "Width out of range or off its increment");
        mnWidth = static_cast<uint32_t>(anValue);
        break;
    case teReg::Height:
        lfUnlocked("Height");
        lfCheck(anValue >= lnIncH && anValue % lnIncH == 0 && anValue + mnOffsetY <= lnSensorH,
                "Height out of range or off its increment");
        mnHeight = static_cast<uint32_t>(anValue);
        break;
    case teReg::OffsetX:
        lfCheck(anValue % lnIncW == 0 && anValue + mnWidth <= lnSensorW,
                "OffsetX out of range or off its increment");
        mnOffsetX = static_cast<uint32_t>(anValue);
        break;
    case teReg::OffsetY:
        lfCheck(anValue % lnIncH == 0 && anValue + mnHeight <= lnSensorH,
                "OffsetY out of range or off its increment");
        mnOffsetY = static_cast<uint32_t>(anValue);
        break;
    case teReg::PixelFormat:
        lfCheck(std::find(mrModel.mcPixelFormats.begin(), mrModel.mcPixelFormats.end(), anValue) !=
                    mrModel.mcPixelFormats.end(),
                "pixel format not supported by this camera");
        if (anValue != mnPixelFormat)
        {
            lfUnlocked("PixelFormat");
        }
        mnPixelFormat = static_cast<uint32_t>(anValue);
        break;
    case teReg::AcquisitionConfig:
    {
        const uint32_t lnMode = static_cast<uint32_t>(anValue & AcqModeMask);
        const uint32_t lnPattern = static_cast<uint32_t>((anValue & PatternMask) >> PatternShift);
        lfCheck((anValue & ~uint64_t(AcqModeMask | PatternMask)) == 0 && lnMode <= 2,
                "invalid acquisition mode");
        lfCheck(lnPattern == static_cast<uint32_t>(tePattern::DiagonalRamp) ||
                    (lnPattern == static_cast<uint32_t>(tePattern::ColorBars) && mrModel.mbColorBars),
                "test pattern not available on this camera");
        if (lnMode != mnAcquisitionMode)
        {
            lfUnlocked("AcquisitionMode");
        }
        mnAcquisitionMode = lnMode;
        mnTestPattern = lnPattern;
        break;
    }
    case teReg::AcquisitionFrameCount:
        lfCheck(anValue >= 1 && anValue <= 65535, "AcquisitionFrameCount out of range");
        mnFrameCount = static_cast<uint32_t>(anValue);
        break;
    case teReg::AcquisitionCommand:
        command(anValue);
        break;
    case teReg::ExposureTimeRaw:
        lfCheck(anValue >= 100 && anValue <= 10000000, "ExposureTime out of range");
        mnExposureRaw = static_cast<uint32_t>(anValue);
        break;
    case teReg::TLParamsLocked:
        lfCheck(anValue <= 1, "TLParamsLocked is 0 or 1");
        mnTLParamsLocked = static_cast<uint32_t>(anValue);
        break;
    case teReg::GainRaw0:
    case teReg::GainRaw1:
    case teReg::GainRaw2:
    case teReg::GainRaw3:
        lfCheck(anValue <= 240, "Gain out of range");
        mcGainRaw[static_cast<size_t>(aeReg) - static_cast<size_t>(teReg::GainRaw0)] =
            static_cast<uint32_t>(anValue);
        break;
    case teReg::RegAddress:
        lfCheck(anValue < mcBanks[0].size(), "sensor register address out of range");
        mnRegAddress = static_cast<uint32_t>(anValue);
        break;
    case teReg::RegValue:
        mnRegValue = static_cast<uint32_t>(anValue);
        break;
    case teReg::RegCommand:
        registerCommand(anValue);
        break;
    case teReg::HdmiWidth:
    case teReg::HdmiHeight:
    case teReg::HdmiOffsetX:
    case teReg::HdmiOffsetY:
    {
        require(!mbHdmiActive, GenTL::GC_ERR_ACCESS_DENIED,
                "HDMI window cannot change while the output runs");
        const bool lbX = aeReg == teReg::HdmiWidth || aeReg == teReg::HdmiOffsetX;
        const uint64_t lnOther = aeReg == teReg::HdmiWidth     ? mnHdmiOffsetX
                                 : aeReg == teReg::HdmiOffsetX ? mnHdmiWidth
                                 : aeReg == teReg::HdmiHeight  ? mnHdmiOffsetY
                                                               : mnHdmiHeight;
        const bool lbSize = aeReg == teReg::HdmiWidth || aeReg == teReg::HdmiHeight;
        lfCheck((!lbSize || anValue >= 16) && anValue + lnOther <= (lbX ? lnSensorW : lnSensorH),
                "HDMI window out of the sensor");
        uint32_t& lrTarget = aeReg == teReg::HdmiWidth     ? mnHdmiWidth
                             : aeReg == teReg::HdmiHeight  ? mnHdmiHeight
                             : aeReg == teReg::HdmiOffsetX ? mnHdmiOffsetX
                                                           : mnHdmiOffsetY;
        lrTarget = static_cast<uint32_t>(anValue);
        break;
    }
    case teReg::HdmiCommand:
        hdmiCommand(anValue);
        break;
    default:
        throw tcGenTLError(GenTL::GC_ERR_ACCESS_DENIED, "register is read-only");
    }
}

void tcCamera::command(uint64_t anValue)
{
    if (anValue == 1)
    {
        if (!mbAcquiring)
        {
            mbAcquiring = true;
            mnNextFrameId = 0;
            mnFramesLeft = mnAcquisitionMode == 0   ? std::numeric_limits<uint64_t>::max()
                           : mnAcquisitionMode == 1 ? 1
                                                    : mnFrameCount;
        }
        return;
    }
    require(anValue == 2, GenTL::GC_ERR_INVALID_VALUE, "acquisition command is 1 (start) or 2 (stop)");
    mbAcquiring = false;
}

void tcCamera::registerCommand(uint64_t anValue)
{
    // Register 0 is the bank select: reading it gives the bank, writing it selects one.
    if (anValue == 1)
    {
        mnRegValue = mnRegAddress == 0 ? mnBank : mcBanks[mnBank][mnRegAddress];
        return;
    }
    require(anValue == 2, GenTL::GC_ERR_INVALID_VALUE, "register command is 1 (read) or 2 (write)");
    if (mnRegAddress == 0)
    {
        require(mnRegValue < mcBanks.size(), GenTL::GC_ERR_INVALID_VALUE, "sensor bank out of range");
        mnBank = mnRegValue;
        return;
    }
    mcBanks[mnBank][mnRegAddress] = mnRegValue;
}

void tcCamera::hdmiCommand(uint64_t anValue)
{
    require(anValue == 1 || anValue == 2, GenTL::GC_ERR_INVALID_VALUE,
            "HDMI command is 1 (start) or 2 (stop)");
    mbHdmiActive = anValue == 1;
}

tcFrameGeometry tcCamera::geometry() const
{
    tcFrameGeometry lcGeometry;
    lcGeometry.mpLayout = findLayout(mnPixelFormat);
    lcGeometry.mnSensorWidth = mrModel.mnSensorWidth;
    lcGeometry.mnSensorHeight = mrModel.mnSensorHeight;
    lcGeometry.mnOffsetX = mnOffsetX;
    lcGeometry.mnOffsetY = mnOffsetY;
    lcGeometry.mnWidth = mnWidth;
    lcGeometry.mnHeight = mnHeight;
    lcGeometry.mePattern = static_cast<tePattern>(mnTestPattern);
    return lcGeometry;
}

std::string tcCamera::userId() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return msUserId;
}

size_t tcCamera::payloadSize() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return geometry().payloadSize();
}

std::chrono::nanoseconds tcCamera::framePeriod() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    const double ldPeriod = std::max(1e9 / mdFrameRate, mnExposureRaw * 100.0);
    return std::chrono::nanoseconds(static_cast<int64_t>(ldPeriod));
}

bool tcCamera::takeFrame(tcFrameTicket& arTicket, std::chrono::steady_clock::time_point acDue)
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    if (!mbAcquiring || mbVanished)
    {
        return false;
    }
    arTicket.mcGeometry = geometry();
    arTicket.mnFrameId = mnNextFrameId++;
    arTicket.mnTimestamp = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::max(acDue, mcEpoch) - mcEpoch).count());
    if (--mnFramesLeft == 0)
    {
        // SingleFrame and MultiFrame end by themselves.
        mbAcquiring = false;
    }
    return true;
}

bool tcCamera::acquiring() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return mbAcquiring;
}

void tcCamera::vanish()
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    mbVanished = true;
    mbAcquiring = false;
}

bool tcCamera::vanished() const
{
    std::lock_guard<std::mutex> lcGuard(mcLock);
    return mbVanished;
}

} // namespace simcam
