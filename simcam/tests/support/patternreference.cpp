#include "patternreference.h"

const std::vector<tcReferenceFormat>& tcPatternReference::formats()
{
    static const std::vector<tcReferenceFormat> scFormats = {
        {"Mono8", 0x01080001, 8, false, 1, ""},        {"Mono12p", 0x010C0047, 12, true, 1, ""},
        {"Mono16", 0x01100007, 16, false, 1, ""},      {"BayerRG8", 0x01080009, 8, false, 1, "RG"},
        {"BayerGR8", 0x01080008, 8, false, 1, "GR"},   {"BayerGB8", 0x0108000A, 8, false, 1, "GB"},
        {"BayerBG8", 0x0108000B, 8, false, 1, "BG"},   {"BayerRG12", 0x01100011, 12, false, 1, "RG"},
        {"BayerGR12", 0x01100010, 12, false, 1, "GR"}, {"BayerGB12", 0x01100012, 12, false, 1, "GB"},
        {"BayerBG12", 0x01100013, 12, false, 1, "BG"}, {"BayerRG12p", 0x010C0059, 12, true, 1, "RG"},
        {"BayerGR12p", 0x010C0057, 12, true, 1, "GR"}, {"BayerGB12p", 0x010C0055, 12, true, 1, "GB"},
        {"BayerBG12p", 0x010C0053, 12, true, 1, "BG"}, {"RGB8", 0x02180014, 8, false, 3, ""},
    };
    return scFormats;
}

const tcReferenceFormat* tcPatternReference::format(const std::string& arName)
{
    for (const tcReferenceFormat& lrFormat : formats())
    {
        if (lrFormat.msName == arName)
        {
            return &lrFormat;
        }
    }
    return nullptr;
}

void tcPatternReference::expected(const tcReferenceFormat& arFormat, int anPattern, uint32_t anSensorWidth,
                                  uint32_t anX, uint32_t anY, uint64_t anFrame, uint32_t acOut[3])
{
    const uint32_t lnMax = (1u << arFormat.mnBits) - 1;
    if (anPattern == 1)
    {
        // t runs through 12 bits; 8-bit formats show its top 8 bits, 16-bit ones
        // repeat its top nibble below it.
        const uint32_t lnT = static_cast<uint32_t>((anX + anY + anFrame) % 4096);
        const uint32_t lnValue = arFormat.mnBits == 8    ? lnT >> 4
                                 : arFormat.mnBits == 16 ? (lnT << 4) | (lnT >> 8)
                                                         : lnT;
        acOut[0] = acOut[1] = acOut[2] = lnValue;
        return;
    }
    // White, yellow, cyan, green, magenta, red, blue, black.
    static const int scBars[8][3] = {{1, 1, 1}, {1, 1, 0}, {0, 1, 1}, {0, 1, 0},
                                     {1, 0, 1}, {1, 0, 0}, {0, 0, 1}, {0, 0, 0}};
    uint32_t lnBarWidth = (anSensorWidth / 8) & ~1u;
    if (lnBarWidth < 2)
    {
        lnBarWidth = 2;
    }
    const uint32_t lnBar = static_cast<uint32_t>(((anX + 2 * anFrame) % (8 * lnBarWidth)) / lnBarWidth);
    uint32_t lcRgb[3];
    for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
    {
        lcRgb[lnChannel] = scBars[lnBar][lnChannel] ? lnMax : 0;
    }
    if (arFormat.msCfa.empty())
    {
        acOut[0] = lcRgb[0];
        acOut[1] = lcRgb[1];
        acOut[2] = lcRgb[2];
        return;
    }
    // The filter colour at this site: the pattern names the top-left 2 x 2 cell,
    // whose second row follows from the first.
    std::string lcRow = arFormat.msCfa;
    if (anY % 2 == 1)
    {
        const std::string lcSecondRows[4][2] = {{"RG", "GB"}, {"GR", "BG"}, {"GB", "RG"}, {"BG", "GR"}};
        for (const auto& lrPair : lcSecondRows)
        {
            if (lrPair[0] == arFormat.msCfa)
            {
                lcRow = lrPair[1];
            }
        }
    }
    const char lnFilter = lcRow[anX % 2];
    const int lnChannel = lnFilter == 'R' ? 0 : lnFilter == 'G' ? 1 : 2;
    acOut[0] = acOut[1] = acOut[2] = lcRgb[lnChannel];
}

size_t tcPatternReference::rowBytes(const tcReferenceFormat& arFormat, uint32_t anWidth)
{
    if (arFormat.mbPacked)
    {
        return (size_t(anWidth) * 3 + 1) / 2;
    }
    return size_t(anWidth) * arFormat.mnChannels * (arFormat.mnBits > 8 ? 2 : 1);
}

void tcPatternReference::decode(const tcReferenceFormat& arFormat, const uint8_t* apImage, uint32_t anWidth,
                                uint32_t anI, uint32_t anJ, uint32_t acOut[3])
{
    const uint8_t* lpRow = apImage + rowBytes(arFormat, anWidth) * anJ;
    for (int lnChannel = 0; lnChannel < 3; ++lnChannel)
    {
        const uint32_t lnSample = anI * arFormat.mnChannels + (arFormat.mnChannels == 3 ? lnChannel : 0);
        if (arFormat.mbPacked)
        {
            const uint8_t* lpPair = lpRow + (lnSample / 2) * 3;
            acOut[lnChannel] = (lnSample % 2 == 0) ? (lpPair[0] | ((lpPair[1] & 0x0F) << 8))
                                                   : ((lpPair[1] >> 4) | (lpPair[2] << 4));
        }
        else if (arFormat.mnBits > 8)
        {
            acOut[lnChannel] = lpRow[lnSample * 2] | (lpRow[lnSample * 2 + 1] << 8);
        }
        else
        {
            acOut[lnChannel] = lpRow[lnSample];
        }
    }
}

uint32_t tcPatternReference::stampWidth(uint64_t anFrame)
{
    return static_cast<uint32_t>((1 + 6 * std::to_string(anFrame).size()) * 2);
}
