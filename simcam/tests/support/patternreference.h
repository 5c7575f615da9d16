#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The simulated cameras' test patterns as README.md defines them, written
// independently of the producer so that its pixels can be checked against it.
struct tcReferenceFormat
{
    std::string msName;
    uint32_t mnCode;
    int mnBits;        // 8, 12 or 16
    bool mbPacked;     // 12p: two samples in three bytes, LSB first
    int mnChannels;    // 3 for RGB8
    std::string msCfa; // "RG", "GR", "GB", "BG" or empty
};

class tcPatternReference
{
public:
    static const std::vector<tcReferenceFormat>& formats();
    static const tcReferenceFormat* format(const std::string& arName);

    // Expected channel values at sensor position (x, y) of frame f.
    // Pattern 1 is the diagonal grey ramp, 2 the colour bars.
    static void expected(const tcReferenceFormat& arFormat, int anPattern, uint32_t anSensorWidth,
                         uint32_t anX, uint32_t anY, uint64_t anFrame, uint32_t acOut[3]);
    // The channel values stored at image position (i, j).
    static void decode(const tcReferenceFormat& arFormat, const uint8_t* apImage, uint32_t anWidth,
                       uint32_t anI, uint32_t anJ, uint32_t acOut[3]);
    static size_t rowBytes(const tcReferenceFormat& arFormat, uint32_t anWidth);
    // Width and height of the frame-id stamp in the top-left corner.
    static uint32_t stampWidth(uint64_t anFrame);
    static constexpr uint32_t StampHeight = 18;
};
