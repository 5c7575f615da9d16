#include "patterngenerator.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace simcam
{

namespace
{

// 5 x 7 digit glyphs, one byte per row, bit 4 the leftmost column.
const uint8_t gcDigits[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

// Bar colours from left to right as red, green, blue switches.
const uint8_t gcBars[8][3] = {{1, 1, 1}, {1, 1, 0}, {0, 1, 1}, {0, 1, 0},
                              {1, 0, 1}, {1, 0, 0}, {0, 0, 1}, {0, 0, 0}};

uint32_t barWidth(const tcFrameGeometry& arGeometry)
{
    // Even, so that moving the bars keeps every colour on its filter site.
    return std::max<uint32_t>(2, (arGeometry.mnSensorWidth / 8) & ~1u);
}

void writeSample(const tcPixelLayout& arLayout, uint8_t* apRow, uint32_t anIndex, uint32_t anValue)
{
    if (arLayout.mbPacked)
    {
        uint8_t* lpPair = apRow + (anIndex / 2) * 3;
        if ((anIndex & 1u) == 0)
        {
            lpPair[0] = static_cast<uint8_t>(anValue);
            lpPair[1] = static_cast<uint8_t>((lpPair[1] & 0xF0) | ((anValue >> 8) & 0x0F));
        }
        else
        {
            lpPair[1] = static_cast<uint8_t>((lpPair[1] & 0x0F) | ((anValue << 4) & 0xF0));
            lpPair[2] = static_cast<uint8_t>(anValue >> 4);
        }
    }
    else if (arLayout.mnBits > 8)
    {
        apRow[anIndex * 2] = static_cast<uint8_t>(anValue);
        apRow[anIndex * 2 + 1] = static_cast<uint8_t>(anValue >> 8);
    }
    else
    {
        apRow[anIndex] = static_cast<uint8_t>(anValue);
    }
}

} // namespace

uint32_t rampValue(const tcPixelLayout& arLayout, uint32_t anStep)
{
    // The same picture at every depth: 12-bit steps shown at 8 bits drop the low
    // nibble, at 16 bits the top nibble is repeated below to reach full scale.
    const uint32_t lnStep = anStep % tcPatternGenerator::RampPeriod;
    switch (arLayout.mnBits)
    {
    case 8:
        return lnStep >> 4;
    case 16:
        return (lnStep << 4) | (lnStep >> 8);
    default:
        return lnStep;
    }
}

bool tcFrameGeometry::operator==(const tcFrameGeometry& arOther) const
{
    return mpLayout == arOther.mpLayout && mnSensorWidth == arOther.mnSensorWidth &&
           mnSensorHeight == arOther.mnSensorHeight && mnOffsetX == arOther.mnOffsetX &&
           mnOffsetY == arOther.mnOffsetY && mnWidth == arOther.mnWidth && mnHeight == arOther.mnHeight &&
           mePattern == arOther.mePattern;
}

void tcPatternGenerator::sampleAt(const tcFrameGeometry& arGeometry, uint64_t anFrameId, uint32_t anX,
                                  uint32_t anY, uint32_t acValues[3])
{
    const tcPixelLayout& lrLayout = *arGeometry.mpLayout;
    if (arGeometry.mePattern == tePattern::DiagonalRamp)
    {
        const uint32_t lnStep = static_cast<uint32_t>((anX + anY + anFrameId) % RampPeriod);
        acValues[0] = acValues[1] = acValues[2] = rampValue(lrLayout, lnStep);
        return;
    }
    const uint32_t lnBar = barWidth(arGeometry);
    const uint64_t lnPeriod = uint64_t(lnBar) * 8;
    const uint32_t lnIndex = static_cast<uint32_t>(((anX + 2 * anFrameId) % lnPeriod) / lnBar);
    for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
    {
        acValues[lnChannel] = gcBars[lnIndex][lnChannel] ? lrLayout.maxValue() : 0;
    }
    if (lrLayout.meCfa != teCfa::None)
    {
        // A Bayer sensor sees only the colour of its filter at this site.
        const uint32_t lnValue = acValues[cfaChannel(lrLayout.meCfa, anX, anY)];
        acValues[0] = acValues[1] = acValues[2] = lnValue;
    }
}

uint32_t tcPatternGenerator::period() const
{
    if (mcGeometry.mePattern == tePattern::DiagonalRamp)
    {
        return RampPeriod;
    }
    return barWidth(mcGeometry) * 8;
}

uint32_t tcPatternGenerator::rowStart(uint32_t anSensorY, uint64_t anFrameId) const
{
    const uint64_t lnPeriod = period();
    if (mcGeometry.mePattern == tePattern::DiagonalRamp)
    {
        return static_cast<uint32_t>((mcGeometry.mnOffsetX + anSensorY + anFrameId) % lnPeriod);
    }
    return static_cast<uint32_t>((mcGeometry.mnOffsetX + 2 * anFrameId) % lnPeriod);
}

void tcPatternGenerator::prepare(const tcFrameGeometry& arGeometry)
{
    if (mbPrepared && mcGeometry == arGeometry)
    {
        return;
    }
    mcGeometry = arGeometry;
    const tcPixelLayout& lrLayout = *arGeometry.mpLayout;
    const uint32_t lnLength = arGeometry.mnWidth + period() + 2;
    for (uint32_t lnRowParity = 0; lnRowParity < 2; ++lnRowParity)
    {
        for (uint32_t lnShift = 0; lnShift < 2; ++lnShift)
        {
            std::vector<uint8_t>& lrLine = mcLines[lnRowParity][lnShift];
            lrLine.assign(lrLayout.rowBytes(lnLength) + 3, 0);
            // Line position q shows pattern column q + shift; the ramp's row term is
            // folded into where each row starts, so frame 0 and row parity suffice.
            for (uint32_t lnQ = 0; lnQ < lnLength; ++lnQ)
            {
                uint32_t lcValues[3];
                const uint32_t lnX = lnQ + lnShift;
                if (arGeometry.mePattern == tePattern::DiagonalRamp)
                {
                    lcValues[0] = lcValues[1] = lcValues[2] = rampValue(lrLayout, lnX % RampPeriod);
                }
                else
                {
                    sampleAt(arGeometry, 0, lnX, lnRowParity, lcValues);
                }
                for (int lnChannel = 0; lnChannel < lrLayout.mnChannels; ++lnChannel)
                {
                    writeSample(lrLayout, lrLine.data(), lnQ * lrLayout.mnChannels + lnChannel,
                                lcValues[lnChannel]);
                }
            }
        }
    }
    mbPrepared = true;
}

void tcPatternGenerator::putPixel(uint8_t* apRow, uint32_t anX, uint32_t anValue) const
{
    const tcPixelLayout& lrLayout = *mcGeometry.mpLayout;
    for (int lnChannel = 0; lnChannel < lrLayout.mnChannels; ++lnChannel)
    {
        writeSample(lrLayout, apRow, anX * lrLayout.mnChannels + lnChannel, anValue);
    }
}

void tcPatternGenerator::stamp(uint64_t anFrameId, uint8_t* apDest, size_t anRows) const
{
    const std::string lcText = std::to_string(anFrameId);
    const uint32_t lnBoxWidth = static_cast<uint32_t>((1 + 6 * lcText.size()) * StampScale);
    const uint32_t lnWidth = std::min(lnBoxWidth, mcGeometry.mnWidth);
    const uint32_t lnHeight = static_cast<uint32_t>(std::min<size_t>(StampHeight, anRows));
    const size_t lnRowBytes = mcGeometry.mpLayout->rowBytes(mcGeometry.mnWidth);
    const uint32_t lnWhite = mcGeometry.mpLayout->maxValue();
    for (uint32_t lnY = 0; lnY < lnHeight; ++lnY)
    {
        uint8_t* lpRow = apDest + lnY * lnRowBytes;
        const int lnGlyphRow = static_cast<int>(lnY / StampScale) - 1;
        for (uint32_t lnX = 0; lnX < lnWidth; ++lnX)
        {
            const uint32_t lnCell = lnX / StampScale;
            const uint32_t lnDigit = lnCell / 6;
            const uint32_t lnColumn = lnCell % 6;
            bool lbOn = false;
            if (lnGlyphRow >= 0 && lnGlyphRow < 7 && lnColumn >= 1 && lnDigit < lcText.size())
            {
                const uint8_t lnBits = gcDigits[lcText[lnDigit] - '0'][lnGlyphRow];
                lbOn = (lnBits >> (5 - lnColumn)) & 1u;
            }
            putPixel(lpRow, lnX, lbOn ? lnWhite : 0);
        }
    }
}

size_t tcPatternGenerator::render(const tcFrameGeometry& arGeometry, uint64_t anFrameId, uint8_t* apDest,
                                  size_t anCapacity)
{
    prepare(arGeometry);
    const tcPixelLayout& lrLayout = *arGeometry.mpLayout;
    const size_t lnRowBytes = lrLayout.rowBytes(arGeometry.mnWidth);
    if (lnRowBytes == 0)
    {
        return 0;
    }
    const size_t lnRows = std::min<size_t>(arGeometry.mnHeight, anCapacity / lnRowBytes);
    for (size_t lnRow = 0; lnRow < lnRows; ++lnRow)
    {
        const uint32_t lnSensorY = arGeometry.mnOffsetY + static_cast<uint32_t>(lnRow);
        const uint32_t lnStart = rowStart(lnSensorY, anFrameId);
        const uint32_t lnShift = lnStart & 1u;
        const std::vector<uint8_t>& lrLine = mcLines[lnSensorY & 1u][lnShift];
        const size_t lnFrom = lrLayout.rowBytes(lnStart - lnShift);
        std::memcpy(apDest + lnRow * lnRowBytes, lrLine.data() + lnFrom, lnRowBytes);
    }
    stamp(anFrameId, apDest, lnRows);
    // A buffer too small for the whole frame still gets what fits of the next row.
    size_t lnWritten = lnRows * lnRowBytes;
    if (lnRows < arGeometry.mnHeight && lnWritten < anCapacity)
    {
        const uint32_t lnSensorY = arGeometry.mnOffsetY + static_cast<uint32_t>(lnRows);
        const uint32_t lnStart = rowStart(lnSensorY, anFrameId);
        const std::vector<uint8_t>& lrLine = mcLines[lnSensorY & 1u][lnStart & 1u];
        const size_t lnFrom = lrLayout.rowBytes(lnStart - (lnStart & 1u));
        std::memcpy(apDest + lnWritten, lrLine.data() + lnFrom, anCapacity - lnWritten);
        lnWritten = anCapacity;
    }
    return lnWritten;
}

} // namespace simcam
