#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace simcam
{

// Colour filter arrangement of a Bayer sensor, named after the colours of the
// top-left 2 x 2 cell read row by row (RG = red, green / green, blue).
enum class teCfa
{
    None,
    RG,
    GR,
    GB,
    BG
};

// How one pixel format lays its samples out in memory.
struct tcPixelLayout
{
    uint32_t mnCode;    // 32-bit PFNC code
    const char* mpName; // PFNC name, as the PixelFormat enumeration shows it
    int mnBits;         // significant bits per sample: 8, 12 or 16
    bool mbPacked;      // 12-bit samples packed two into three bytes, LSB first
    int mnChannels;     // 1 for mono and Bayer, 3 for RGB
    teCfa meCfa;

    size_t rowBytes(size_t anWidth) const;
    uint32_t maxValue() const { return (1u << mnBits) - 1u; }
};

// The layouts this producer knows; nullptr for an unknown code.
const tcPixelLayout* findLayout(uint32_t anCode);
const std::vector<tcPixelLayout>& allLayouts();

// Colour channel (0 red, 1 green, 2 blue) a Bayer sensor samples at (anX, anY).
int cfaChannel(teCfa aeCfa, uint32_t anX, uint32_t anY);

} // namespace simcam
