#pragma once

#include "pixellayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace simcam
{

enum class tePattern
{
    DiagonalRamp = 1, // grey ramp over x + y, moving one pixel per frame
    ColorBars = 2     // eight colour bars laid through the colour filter, moving two pixels per frame
};

// What one frame shows: format, region of the sensor and pattern.
struct tcFrameGeometry
{
    const tcPixelLayout* mpLayout = nullptr;
    uint32_t mnSensorWidth = 0;
    uint32_t mnSensorHeight = 0;
    uint32_t mnOffsetX = 0;
    uint32_t mnOffsetY = 0;
    uint32_t mnWidth = 0;
    uint32_t mnHeight = 0;
    tePattern mePattern = tePattern::DiagonalRamp;

    size_t payloadSize() const { return mpLayout ? mpLayout->rowBytes(mnWidth) * mnHeight : 0; }
    bool operator==(const tcFrameGeometry& arOther) const;
};

// Renders the moving test patterns. The rows of a pattern only differ by where
// they start in a long precomputed line (and by the row's parity under a colour
// filter), so a frame is one memcpy per row plus the frame id stamped top left.
class tcPatternGenerator
{
public:
    // Period of the grey ramp in pixels: 4096 steps cover 12 bits exactly.
    static constexpr uint32_t RampPeriod = 4096;
    // Size of the frame-id stamp: digits of 5 x 7 cells, each cell Scale pixels.
    static constexpr uint32_t StampScale = 2;
    static constexpr uint32_t StampHeight = 9 * StampScale;

    // Writes frame anFrameId into apDest; at most anCapacity bytes, whole rows
    // first. Returns the number of bytes written.
    size_t render(const tcFrameGeometry& arGeometry, uint64_t anFrameId, uint8_t* apDest, size_t anCapacity);

    // The sample values (one per channel) of sensor pixel (anX, anY) in frame
    // anFrameId, before the stamp is drawn. Shared by the renderer and its checks.
    static void sampleAt(const tcFrameGeometry& arGeometry, uint64_t anFrameId, uint32_t anX, uint32_t anY,
                         uint32_t acValues[3]);

private:
    void prepare(const tcFrameGeometry& arGeometry);
    uint32_t period() const;
    uint32_t rowStart(uint32_t anSensorY, uint64_t anFrameId) const;
    void stamp(uint64_t anFrameId, uint8_t* apDest, size_t anRows) const;
    void putPixel(uint8_t* apRow, uint32_t anX, uint32_t anValue) const;

    tcFrameGeometry mcGeometry;
    bool mbPrepared = false;
    // Precomputed lines by [row parity][start parity].
    std::vector<uint8_t> mcLines[2][2];
};

// Shorthand used by both sides: value of a full-scale sample at the layout's depth.
uint32_t rampValue(const tcPixelLayout& arLayout, uint32_t anStep);

} // namespace simcam
