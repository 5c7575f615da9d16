#include "pixellayout.h"

namespace simcam
{

size_t tcPixelLayout::rowBytes(size_t anWidth) const
{
    if (mbPacked)
    {
        return (anWidth * 3 + 1) / 2;
    }
    return anWidth * static_cast<size_t>(mnChannels) * (mnBits > 8 ? 2 : 1);
}

const std::vector<tcPixelLayout>& allLayouts()
{
    static const std::vector<tcPixelLayout> scLayouts = {
        {0x01080001, "Mono8", 8, false, 1, teCfa::None},
        {0x010C0047, "Mono12p", 12, true, 1, teCfa::None},
        {0x01100007, "Mono16", 16, false, 1, teCfa::None},
        {0x01080009, "BayerRG8", 8, false, 1, teCfa::RG},
        {0x01080008, "BayerGR8", 8, false, 1, teCfa::GR},
        {0x0108000A, "BayerGB8", 8, false, 1, teCfa::GB},
        {0x0108000B, "BayerBG8", 8, false, 1, teCfa::BG},
        {0x01100011, "BayerRG12", 12, false, 1, teCfa::RG},
        {0x01100010, "BayerGR12", 12, false, 1, teCfa::GR},
        {0x01100012, "BayerGB12", 12, false, 1, teCfa::GB},
        {0x01100013, "BayerBG12", 12, false, 1, teCfa::BG},
        {0x010C0059, "BayerRG12p", 12, true, 1, teCfa::RG},
        {0x010C0057, "BayerGR12p", 12, true, 1, teCfa::GR},
        {0x010C0055, "BayerGB12p", 12, true, 1, teCfa::GB},
        {0x010C0053, "BayerBG12p", 12, true, 1, teCfa::BG},
        {0x02180014, "RGB8", 8, false, 3, teCfa::None},
    };
    return scLayouts;
}

const tcPixelLayout* findLayout(uint32_t anCode)
{
    for (const tcPixelLayout& lrLayout : allLayouts())
    {
        if (lrLayout.mnCode == anCode)
        {
            return &lrLayout;
        }
    }
    return nullptr;
}

int cfaChannel(teCfa aeCfa, uint32_t anX, uint32_t anY)
{
    // Index into the 2 x 2 cell: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
    const int lnSite = static_cast<int>((anY & 1u) * 2u + (anX & 1u));
    static const int scCells[4][4] = {
        {0, 1, 1, 2}, // RG
        {1, 0, 2, 1}, // GR
        {1, 2, 0, 1}, // GB
        {2, 1, 1, 0}, // BG
    };
    switch (aeCfa)
    {
    case teCfa::RG:
        return scCells[0][lnSite];
    case teCfa::GR:
        return scCells[1][lnSite];
    case teCfa::GB:
        return scCells[2][lnSite];
    case teCfa::BG:
        return scCells[3][lnSite];
    case teCfa::None:
        break;
    }
    return 1;
}

} // namespace simcam
