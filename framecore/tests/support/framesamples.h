#pragma once

// Hand-made frame contents for the image tests: deterministic sample
// patterns, a 12-bit packer that is the inverse of the unpacker under test,
// and Bayer mosaics with a known colour per site.

#include <QtGlobal>

#include <vector>

namespace tnFrameSamples
{
// Sample i of a run of 12-bit values that touches every nibble position.
inline quint16 sample12(qint64 anIndex)
{
    return static_cast<quint16>((anIndex * 2654435761u + 0x5A3) & 0x0FFF);
}

inline std::vector<quint16> samples12(qint64 anCount)
{
    std::vector<quint16> lsSamples(static_cast<size_t>(anCount));
    for (qint64 lnIndex = 0; lnIndex < anCount; ++lnIndex)
        lsSamples[static_cast<size_t>(lnIndex)] = sample12(lnIndex);
    return lsSamples;
}

// Packs samples two into three bytes, running on across lines; the result
// has exactly ceil(12 × count / 8) bytes, so any read past it is an overrun.
inline std::vector<uchar> pack12(const std::vector<quint16>& arSamples)
{
    std::vector<uchar> lsBytes((arSamples.size() * 12 + 7) / 8);
    for (size_t lnIndex = 0; lnIndex < arSamples.size(); ++lnIndex)
    {
        const quint16 lnValue = arSamples[lnIndex] & 0x0FFF;
        const size_t lnByte = lnIndex / 2 * 3;
        if (lnIndex % 2 == 0)
        {
            lsBytes[lnByte] = static_cast<uchar>(lnValue & 0xFF);
            lsBytes[lnByte + 1] = static_cast<uchar>((lsBytes[lnByte + 1] & 0xF0) | (lnValue >> 8));
        }
        else
        {
            lsBytes[lnByte + 1] = static_cast<uchar>((lsBytes[lnByte + 1] & 0x0F) | ((lnValue & 0x0F) << 4));
            lsBytes[lnByte + 2] = static_cast<uchar>(lnValue >> 4);
        }
    }
    return lsBytes;
}

enum class teColour
{
    Red,
    Green,
    Blue
};

// The colour of site (x, y) of a mosaic whose first line starts with the two
// colours named by the pattern ("RG", "GR", "GB" or "BG").
inline teColour bayerColour(const char* apPattern, int anX, int anY)
{
    const auto lcLetter = [apPattern](int anIndex)
    {
        switch (apPattern[anIndex])
        {
        case 'R':
            return teColour::Red;
        case 'B':
            return teColour::Blue;
        default:
            return teColour::Green;
        }
    };
    const int lnFirst = anX % 2;
    if (anY % 2 == 0)
        return lcLetter(lnFirst);
    // The second line swaps red and blue for green and back.
    const teColour leAbove = lcLetter(lnFirst);
    if (leAbove == teColour::Green)
        return lcLetter(0) == teColour::Green
                   ? (lcLetter(1) == teColour::Red ? teColour::Blue : teColour::Red)
                   : (lcLetter(0) == teColour::Red ? teColour::Blue : teColour::Red);
    return teColour::Green;
}

// A mosaic with the given level on every site of one colour and 0 elsewhere.
template <class T>
std::vector<T> bayerMosaic(const char* apPattern, int anWidth, int anHeight, teColour aeLit, T anLevel)
{
    std::vector<T> lsSites(static_cast<size_t>(anWidth) * anHeight, 0);
    for (int lnY = 0; lnY < anHeight; ++lnY)
        for (int lnX = 0; lnX < anWidth; ++lnX)
            if (bayerColour(apPattern, lnX, lnY) == aeLit)
                lsSites[static_cast<size_t>(lnY) * anWidth + lnX] = anLevel;
    return lsSites;
}
} // namespace tnFrameSamples
