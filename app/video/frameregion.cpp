#include "frameregion.h"

#include "framememory.h"
#include "packed12unpacker.h"
#include "pixelformat.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
#include <vector>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define KX_REGION_SSSE3 1
#include <immintrin.h>
#endif

namespace
{
int floorEven(int anValue)
{
    return anValue & ~1;
}

cv::Rect frameRect(const tcImageBuffer& arFrame)
{
    return cv::Rect(0, 0, std::max(0, arFrame.width()), std::max(0, arFrame.height()));
}

bool hasBytes(const tcImageBuffer& arFrame)
{
    return arFrame.data() != nullptr && arFrame.width() > 0 && arFrame.height() > 0;
}

int matType(const tcFrameRegion::tcLayout& arLayout)
{
    if (arLayout.meKind == tcFrameRegion::teKind::Rgb)
        return CV_8UC3;
    return arLayout.meStorage == tcFrameRegion::teStorage::Bytes8 ? CV_8UC1 : CV_16UC1;
}

// Sets the colour of each mosaic site from the two colours that open the
// first line ("RG" means R G / G B).
void setMosaic(tcFrameRegion::tcLayout& arLayout, char acFirst, char acSecond)
{
    const auto lcChannel = [](char acColour) { return acColour == 'R' ? 0 : acColour == 'G' ? 1 : 2; };
    arLayout.mnColourOfSite[0][0] = lcChannel(acFirst);
    arLayout.mnColourOfSite[0][1] = lcChannel(acSecond);
    // The second line swaps green for the missing colour and back.
    const int lnOther = 2 - (acFirst == 'G' ? lcChannel(acSecond) : lcChannel(acFirst));
    arLayout.mnColourOfSite[1][0] = acFirst == 'G' ? lnOther : 1;
    arLayout.mnColourOfSite[1][1] = acFirst == 'G' ? 1 : lnOther;
}

// Samples [anX, anX + anCount) of line anY as 16-bit values (three per pixel
// for RGB); points into the frame where no conversion is needed.
const quint16* decodeRow(const tcImageBuffer& arFrame, const tcFrameRegion::tcLayout& arLayout, int anY,
                         int anX, int anCount, std::vector<quint16>& arBuffer)
{
    const qint64 lnWidth = arFrame.width();
    const int lnChannels = arLayout.channels();
    const qint64 lnFirst = (anY * lnWidth + anX) * lnChannels;
    const qint64 lnCount = static_cast<qint64>(anCount) * lnChannels;
    switch (arLayout.meStorage)
    {
    case tcFrameRegion::teStorage::Words16:
        return reinterpret_cast<const quint16*>(arFrame.data()) + lnFirst;
    case tcFrameRegion::teStorage::Bytes8:
    {
        arBuffer.resize(static_cast<size_t>(lnCount));
        const uchar* lpSource = arFrame.data() + lnFirst;
        std::copy(lpSource, lpSource + lnCount, arBuffer.begin());
        return arBuffer.data();
    }
    case tcFrameRegion::teStorage::Packed12:
    default:
    {
        // Packed pairs start on even samples; an odd start decodes one more.
        const qint64 lnStart = lnFirst & ~qint64(1);
        const qint64 lnSkip = lnFirst - lnStart;
        arBuffer.resize(static_cast<size_t>(lnCount + lnSkip));
        tcPacked12Unpacker::unpackSamples(0, lnCount + lnSkip, arFrame.data() + lnStart / 2 * 3,
                                          arBuffer.data());
        return arBuffer.data() + lnSkip;
    }
    }
}

// Kept apart, with the pointers declared unaliased, so that the compiler
// turns it into vector instructions: it runs over every sample of a frame.
void addRow(quint32* __restrict apSums, const quint16* __restrict apRow, int anCount)
{
    for (int lnIndex = 0; lnIndex < anCount; ++lnIndex)
        apSums[lnIndex] += apRow[lnIndex];
}

#ifdef KX_REGION_SSSE3
// Eight packed samples per step straight into 16-bit column sums: the same
// shuffle as the frame unpacker, without writing the samples out first. Reads
// at most 16 bytes from a step's start, so it stops 16 samples before the end.
__attribute__((target("ssse3"))) int addPackedBlocksSsse3(quint16* apSums, const uchar* apBytes,
                                                          int anSamples, bool abFirst)
{
    const __m128i lcShuffle = _mm_setr_epi8(0, 1, 1, 2, 3, 4, 4, 5, 6, 7, 7, 8, 9, 10, 10, 11);
    const __m128i lcEvenMask = _mm_set1_epi32(0x00000FFF);
    const __m128i lcOddMask = _mm_set1_epi32(static_cast<int>(0xFFFF0000u));
    int lnDone = 0;
    for (; anSamples - lnDone >= 16; lnDone += 8)
    {
        __m128i lcBytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(apBytes + lnDone / 2 * 3));
        lcBytes = _mm_shuffle_epi8(lcBytes, lcShuffle);
        __m128i lcSamples = _mm_or_si128(_mm_and_si128(lcBytes, lcEvenMask),
                                         _mm_and_si128(_mm_srli_epi16(lcBytes, 4), lcOddMask));
        auto* lpSums = reinterpret_cast<__m128i*>(apSums + lnDone);
        if (!abFirst)
            lcSamples = _mm_add_epi16(lcSamples, _mm_loadu_si128(lpSums));
        _mm_storeu_si128(lpSums, lcSamples);
    }
    return lnDone;
}

// The same with sixteen samples per step: two twelve-byte groups, one in each
// half of the register (the shuffle works within halves). Reads at most 28
// bytes from a step's start, so it stops 32 samples before the end.
__attribute__((target("avx2"))) int addPackedBlocksAvx2(quint16* apSums, const uchar* apBytes, int anSamples,
                                                        bool abFirst)
{
    const __m256i lcShuffle = _mm256_setr_epi8(0, 1, 1, 2, 3, 4, 4, 5, 6, 7, 7, 8, 9, 10, 10, 11, 0, 1, 1, 2,
                                               3, 4, 4, 5, 6, 7, 7, 8, 9, 10, 10, 11);
    const __m256i lcEvenMask = _mm256_set1_epi32(0x00000FFF);
    const __m256i lcOddMask = _mm256_set1_epi32(static_cast<int>(0xFFFF0000u));
    int lnDone = 0;
    for (; anSamples - lnDone >= 32; lnDone += 16)
    {
        const uchar* lpBytes = apBytes + lnDone / 2 * 3;
        __m256i lcBytes = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(lpBytes))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(lpBytes + 12)), 1);
        lcBytes = _mm256_shuffle_epi8(lcBytes, lcShuffle);
        __m256i lcSamples = _mm256_or_si256(_mm256_and_si256(lcBytes, lcEvenMask),
                                            _mm256_and_si256(_mm256_srli_epi16(lcBytes, 4), lcOddMask));
        auto* lpSums = reinterpret_cast<__m256i*>(apSums + lnDone);
        if (!abFirst)
            lcSamples = _mm256_add_epi16(lcSamples, _mm256_loadu_si256(lpSums));
        _mm256_storeu_si256(lpSums, lcSamples);
    }
    return lnDone;
}

bool hasSsse3()
{
    static const bool sbHas = __builtin_cpu_supports("ssse3");
    return sbHas;
}

bool hasAvx2()
{
    static const bool sbHas = __builtin_cpu_supports("avx2");
    return sbHas;
}
#endif

// Adds (or, for a block's first line of this parity, stores) anSamples packed
// 12-bit samples that start on a byte triple to 16-bit column sums.
void addPackedRow(quint16* apSums, const uchar* apBytes, int anSamples, bool abFirst)
{
    int lnDone = 0;
#ifdef KX_REGION_SSSE3
    if (tcPacked12Unpacker::simdAllowed() && hasAvx2())
        lnDone = addPackedBlocksAvx2(apSums, apBytes, anSamples, abFirst);
    if (tcPacked12Unpacker::simdAllowed() && hasSsse3())
        lnDone +=
            addPackedBlocksSsse3(apSums + lnDone, apBytes + lnDone / 2 * 3, anSamples - lnDone, abFirst);
#endif
    for (; lnDone < anSamples; ++lnDone)
    {
        const uchar* lpTriple = apBytes + lnDone / 2 * 3;
        const quint16 lnSample = lnDone % 2 == 0 ? quint16(lpTriple[0] | (lpTriple[1] & 0x0F) << 8)
                                                 : quint16(lpTriple[1] >> 4 | lpTriple[2] << 4);
        apSums[lnDone] = abFirst ? lnSample : quint16(apSums[lnDone] + lnSample);
    }
}

// A block sum turned into an 8-bit value, rounded half up, by one multiply
// and shift: value = sum * weight / (block sites * 2^(bits - 8)). The
// multiplier is exact for every sum a block of up to 64 x 64 samples holds.
class tcBlockScale
{
public:
    tcBlockScale(int anWeight, quint64 anDivisor)
        : mnTwiceWeight(2u * quint64(anWeight)), mnDivisor(anDivisor),
          mnMultiplier(((quint64(1) << scShift) + 2 * anDivisor - 1) / (2 * anDivisor))
    {
    }
    uchar operator()(quint64 anSum) const
    {
        const quint64 lnValue = ((anSum * mnTwiceWeight + mnDivisor) * mnMultiplier) >> scShift;
        return static_cast<uchar>(lnValue > 255 ? 255 : lnValue);
    }

private:
    static constexpr int scShift = 52;
    quint64 mnTwiceWeight;
    quint64 mnDivisor;
    quint64 mnMultiplier;
};

// The lines of a block that are read. Blocks of four lines or more (views
// that shrink the frame four times or more) read one pair of lines near the
// block's middle, an even and an odd one so that every colour of a mosaic is
// there: the columns are still averaged in full, the lines are sampled. This
// halves (or better) the bytes read per frame where the picture is a
// quarter of the sensor's size or less; smaller blocks read every line.
struct tcBlockLines
{
    int mnFirst;
    int mnCount;
};

tcBlockLines blockLines(int anBin)
{
    if (anBin >= 4)
        return {anBin / 2 & ~1, 2};
    return {0, anBin};
}

quint64 blockDivisor(const tcFrameRegion::tcLayout& arLayout, int anBin)
{
    return quint64(blockLines(anBin).mnCount) * quint64(anBin) << (arLayout.mnBits - 8);
}

// Which lines of the source make an output line: those of its block, or,
// with a number of output lines given (blocks of four or more only), the
// even-odd line pair nearest the output line's centre, so that no more line
// pairs are read than the picture has lines.
class tcLineSampler
{
public:
    tcLineSampler(const cv::Rect& arSource, int anBin, int anRows)
        : mcSource(arSource), mnBin(anBin), mnRows(anRows), mcLines(blockLines(anBin))
    {
    }
    int rows() const { return mnRows > 0 ? mnRows : mcSource.height / mnBin; }
    int count() const { return mcLines.mnCount; }
    int first(int anOut) const
    {
        if (mnRows <= 0)
            return mcSource.y + anOut * mnBin + mcLines.mnFirst;
        const qint64 lnCentre = (2 * qint64(anOut) + 1) * mcSource.height / (2 * qint64(mnRows));
        return mcSource.y + std::min(int(lnCentre) & ~1, mcSource.height - 2);
    }

private:
    cv::Rect mcSource;
    int mnBin;
    int mnRows;
    tcBlockLines mcLines;
};

// Output pixels of a mosaic line for blocks of anBin (a compile-time
// constant for the usual blocks, so that the inner loops unroll). Red sits on
// line parity anRedLine and column parity anRedColumn, blue on the other two,
// green on the mixed ones; apRedLines and apBlueLines are the column sums of
// red's and blue's lines.
template <int tnBin, typename T>
void averageMosaicLine(const T* apRedLines, const T* apBlueLines, int anRedColumn, int anBin, int anWidth,
                       const tcBlockScale& arRedBlue, const tcBlockScale& arGreen, uchar* apTarget)
{
    const int lnBin = tnBin > 0 ? tnBin : anBin;
    const T* lpRed = apRedLines + anRedColumn;
    const T* lpGreenOnRed = apRedLines + (1 - anRedColumn);
    const T* lpBlue = apBlueLines + (1 - anRedColumn);
    const T* lpGreenOnBlue = apBlueLines + anRedColumn;
    for (int lnX = 0; lnX < anWidth; ++lnX)
    {
        quint32 lnRed = 0;
        quint32 lnGreen = 0;
        quint32 lnBlue = 0;
        for (int lnColumn = 0; lnColumn < lnBin; lnColumn += 2)
        {
            lnRed += lpRed[lnColumn];
            lnGreen += quint32(lpGreenOnRed[lnColumn]) + lpGreenOnBlue[lnColumn];
            lnBlue += lpBlue[lnColumn];
        }
        lpRed += lnBin;
        lpGreenOnRed += lnBin;
        lpBlue += lnBin;
        lpGreenOnBlue += lnBin;
        apTarget[3 * lnX] = arRedBlue(lnRed);
        apTarget[3 * lnX + 1] = arGreen(lnGreen);
        apTarget[3 * lnX + 2] = arRedBlue(lnBlue);
    }
}

#ifdef KX_REGION_SSSE3
// (sum * 2^tnShift + divisor) * multiplier >> 31, at most 255, per 64-bit lane.
template <int tnShift>
__attribute__((target("avx2"), always_inline)) inline __m256i scaleBlocks(__m256i acSum, __m256i acDivisor,
                                                                          __m256i acMultiplier, __m256i acMax)
{
    const __m256i lcValue = _mm256_add_epi64(_mm256_slli_epi64(acSum, tnShift), acDivisor);
    return _mm256_min_epu32(_mm256_srli_epi64(_mm256_mul_epu32(lcValue, acMultiplier), 31), acMax);
}

// Blocks of four of a mosaic, four output pixels per step, from 16-bit sums of
// one line per parity (each at most 4095): the same exact rounding as
// tcBlockScale, with a multiplier small enough for 32-bit lanes. Returns the
// pixels done; stops while a pixel is left, as each step writes two bytes
// beyond its twelve.
__attribute__((target("avx2"))) int averageMosaicBlocks4Avx2(const quint16* apRedLines,
                                                             const quint16* apBlueLines, int anRedColumn,
                                                             int anWidth, quint64 anDivisor, uchar* apTarget)
{
    // A weighted sum plus the divisor stays below 2^17; 2^31 / (2 * divisor)
    // keeps the rounding exact for divisors below 2^12.
    const __m256i lcMultiplier =
        _mm256_set1_epi64x(qint64(((quint64(1) << 31) + 2 * anDivisor - 1) / (2 * anDivisor)));
    const __m256i lcDivisor = _mm256_set1_epi64x(qint64(anDivisor));
    const __m256i lcLow = _mm256_set1_epi64x(0xFFFF);
    const __m256i lcMax = _mm256_set1_epi64x(255);
    // Bytes 0-2 and 8-10 of each half (two pixels) to its first six bytes.
    const __m256i lcPack = _mm256_setr_epi8(0, 1, 2, 8, 9, 10, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, 0, 1,
                                            2, 8, 9, 10, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    int lnX = 0;
    for (; lnX + 4 < anWidth; lnX += 4)
    {
        // Per block (one 64-bit lane): columns 0 + 2 and 1 + 3 of each line.
        const __m256i lcRedLine = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(apRedLines + 4 * lnX));
        const __m256i lcBlueLine =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(apBlueLines + 4 * lnX));
        const __m256i lcRedPairs = _mm256_add_epi16(lcRedLine, _mm256_srli_epi64(lcRedLine, 32));
        const __m256i lcBluePairs = _mm256_add_epi16(lcBlueLine, _mm256_srli_epi64(lcBlueLine, 32));
        const __m256i lcRedEven = _mm256_and_si256(lcRedPairs, lcLow);
        const __m256i lcRedOdd = _mm256_and_si256(_mm256_srli_epi64(lcRedPairs, 16), lcLow);
        const __m256i lcBlueEven = _mm256_and_si256(lcBluePairs, lcLow);
        const __m256i lcBlueOdd = _mm256_and_si256(_mm256_srli_epi64(lcBluePairs, 16), lcLow);
        const __m256i lcRed = anRedColumn == 0 ? lcRedEven : lcRedOdd;
        const __m256i lcBlue = anRedColumn == 0 ? lcBlueOdd : lcBlueEven;
        const __m256i lcGreen = anRedColumn == 0 ? _mm256_add_epi64(lcRedOdd, lcBlueEven)
                                                 : _mm256_add_epi64(lcRedEven, lcBlueOdd);
        const __m256i lcPixels = _mm256_or_si256(
            _mm256_or_si256(scaleBlocks<3>(lcRed, lcDivisor, lcMultiplier, lcMax),
                            _mm256_slli_epi64(scaleBlocks<2>(lcGreen, lcDivisor, lcMultiplier, lcMax), 8)),
            _mm256_slli_epi64(scaleBlocks<3>(lcBlue, lcDivisor, lcMultiplier, lcMax), 16));
        const __m256i lcPacked = _mm256_shuffle_epi8(lcPixels, lcPack);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(apTarget + 3 * lnX), _mm256_castsi256_si128(lcPacked));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(apTarget + 3 * lnX + 6),
                         _mm256_extracti128_si256(lcPacked, 1));
    }
    return lnX;
}
#endif

// One output line of a mosaic from the column sums of its even and odd lines.
template <typename T>
void averageMosaicBlocks(const T* apEven, const T* apOdd, const tcFrameRegion::tcLayout& arLayout, int anBin,
                         int anWidth, uchar* apTarget)
{
    int lnRedLine = 0;
    int lnRedColumn = 0;
    for (int lnSite = 0; lnSite < 4; ++lnSite)
        if (arLayout.mnColourOfSite[lnSite / 2][lnSite % 2] == 0)
        {
            lnRedLine = lnSite / 2;
            lnRedColumn = lnSite % 2;
        }
    const T* lpRedLines = lnRedLine == 0 ? apEven : apOdd;
    const T* lpBlueLines = lnRedLine == 0 ? apOdd : apEven;
    // The sites read hold a quarter red, a quarter blue and half green ones.
    const quint64 lnDivisor = blockDivisor(arLayout, anBin);
    const tcBlockScale lcRedBlue(4, lnDivisor);
    const tcBlockScale lcGreen(2, lnDivisor);
#ifdef KX_REGION_SSSE3
    // The whole sensor in a screen-sized window: blocks of four.
    if constexpr (std::is_same<T, quint16>::value)
        if (anBin == 4 && 2 * lnDivisor < (1u << 12) && tcPacked12Unpacker::simdAllowed() && hasAvx2())
        {
            const int lnDone =
                averageMosaicBlocks4Avx2(lpRedLines, lpBlueLines, lnRedColumn, anWidth, lnDivisor, apTarget);
            lpRedLines += 4 * lnDone;
            lpBlueLines += 4 * lnDone;
            apTarget += 3 * lnDone;
            anWidth -= lnDone;
        }
#endif
    switch (anBin)
    {
    case 2:
        return averageMosaicLine<2>(lpRedLines, lpBlueLines, lnRedColumn, anBin, anWidth, lcRedBlue, lcGreen,
                                    apTarget);
    case 4:
        return averageMosaicLine<4>(lpRedLines, lpBlueLines, lnRedColumn, anBin, anWidth, lcRedBlue, lcGreen,
                                    apTarget);
    case 6:
        return averageMosaicLine<6>(lpRedLines, lpBlueLines, lnRedColumn, anBin, anWidth, lcRedBlue, lcGreen,
                                    apTarget);
    case 8:
        return averageMosaicLine<8>(lpRedLines, lpBlueLines, lnRedColumn, anBin, anWidth, lcRedBlue, lcGreen,
                                    apTarget);
    default:
        return averageMosaicLine<0>(lpRedLines, lpBlueLines, lnRedColumn, anBin, anWidth, lcRedBlue, lcGreen,
                                    apTarget);
    }
}

// One output line of a mono or RGB frame: the mean of each block.
template <typename T>
void averagePlainBlocks(const T* apEven, const T* apOdd, const tcFrameRegion::tcLayout& arLayout, int anBin,
                        int anWidth, uchar* apTarget)
{
    const int lnChannels = arLayout.channels();
    const tcBlockScale lcScale(1, blockDivisor(arLayout, anBin));
    for (int lnX = 0; lnX < anWidth; ++lnX)
        for (int lnChannel = 0; lnChannel < lnChannels; ++lnChannel)
        {
            quint64 lnSum = 0;
            for (int lnColumn = lnX * anBin; lnColumn < (lnX + 1) * anBin; ++lnColumn)
            {
                const size_t lnIndex = size_t(lnColumn) * lnChannels + lnChannel;
                lnSum += quint64(apEven[lnIndex]) + apOdd[lnIndex];
            }
            apTarget[lnChannels * lnX + lnChannel] = lcScale(lnSum);
        }
}

template <typename T>
void averageBlocks(const std::vector<T> (&arSums)[2], const tcFrameRegion::tcLayout& arLayout, int anBin,
                   int anWidth, uchar* apTarget)
{
    if (arLayout.meKind == tcFrameRegion::teKind::Bayer)
        averageMosaicBlocks(arSums[0].data(), arSums[1].data(), arLayout, anBin, anWidth, apTarget);
    else
        averagePlainBlocks(arSums[0].data(), arSums[1].data(), arLayout, anBin, anWidth, apTarget);
}

// Whether the 16-bit fused path can take a region: packed lines that each
// start on a byte triple, and blocks whose lines of one parity cannot
// overflow 16 bits.
bool fitsPackedPath(const tcImageBuffer& arFrame, const tcFrameRegion::tcLayout& arLayout,
                    const cv::Rect& arSource, int anBin)
{
    return arLayout.meStorage == tcFrameRegion::teStorage::Packed12 && arFrame.width() % 2 == 0 &&
           arSource.x % 2 == 0 && (blockLines(anBin).mnCount + 1) / 2 * 4095 <= 65535;
}

// Output lines [anFirst, anEnd) of a binned packed 12-bit region.
void binPackedLines(const tcImageBuffer& arFrame, const tcFrameRegion::tcLayout& arLayout,
                    const cv::Rect& arSource, int anBin, const tcLineSampler& arLines, QImage& arImage,
                    int anFirst, int anEnd)
{
    const int lnSamples = arSource.width;
    std::vector<quint16> lsSums[2] = {std::vector<quint16>(size_t(lnSamples)),
                                      std::vector<quint16>(size_t(lnSamples))};
    for (int lnOut = anFirst; lnOut < anEnd; ++lnOut)
    {
        bool lbStarted[2] = {false, false};
        for (int lnLine = 0; lnLine < arLines.count(); ++lnLine)
        {
            const int lnY = arLines.first(lnOut) + lnLine;
            const qint64 lnFirstSample = qint64(lnY) * arFrame.width() + arSource.x;
            addPackedRow(lsSums[lnY & 1].data(), arFrame.data() + lnFirstSample / 2 * 3, lnSamples,
                         !lbStarted[lnY & 1]);
            lbStarted[lnY & 1] = true;
        }
        for (int lnParity = 0; lnParity < 2; ++lnParity)
            if (!lbStarted[lnParity])
                std::fill(lsSums[lnParity].begin(), lsSums[lnParity].end(), quint16(0));
        averageBlocks(lsSums, arLayout, anBin, arImage.width(), arImage.scanLine(lnOut));
    }
}

// Output lines [anFirst, anEnd) of a binned region of any known format.
void binLines(const tcImageBuffer& arFrame, const tcFrameRegion::tcLayout& arLayout, const cv::Rect& arSource,
              int anBin, const tcLineSampler& arLines, QImage& arImage, int anFirst, int anEnd)
{
    const int lnSamples = arSource.width * arLayout.channels();
    std::vector<quint16> lsBuffer;
    // Column sums of the block's lines, kept apart for even and odd lines so
    // that the mosaic's four sites can be told apart.
    std::vector<quint32> lsSums[2] = {std::vector<quint32>(size_t(lnSamples)),
                                      std::vector<quint32>(size_t(lnSamples))};
    for (int lnOut = anFirst; lnOut < anEnd; ++lnOut)
    {
        std::fill(lsSums[0].begin(), lsSums[0].end(), 0u);
        std::fill(lsSums[1].begin(), lsSums[1].end(), 0u);
        for (int lnLine = 0; lnLine < arLines.count(); ++lnLine)
        {
            const int lnY = arLines.first(lnOut) + lnLine;
            const quint16* lpRow = decodeRow(arFrame, arLayout, lnY, arSource.x, arSource.width, lsBuffer);
            addRow(lsSums[lnY & 1].data(), lpRow, lnSamples);
        }
        averageBlocks(lsSums, arLayout, anBin, arImage.width(), arImage.scanLine(lnOut));
    }
}
} // namespace

tcFrameRegion::tcLayout tcFrameRegion::layout(quint32 anPixelFormat)
{
    tcLayout lcLayout;
    const auto lcBayer = [&lcLayout, anPixelFormat](teStorage aeStorage, int anBits, const char* apPattern)
    {
        lcLayout.meKind = teKind::Bayer;
        lcLayout.meStorage = aeStorage;
        lcLayout.mnBits = anBits;
        lcLayout.mnDemosaic = PixelFormats::tcPixelFormat::bayerToRgbConversion(anPixelFormat);
        setMosaic(lcLayout, apPattern[0], apPattern[1]);
    };
    switch (anPixelFormat)
    {
    case 0x01080001u: // Mono8
        lcLayout = {teKind::Mono, teStorage::Bytes8, 8};
        break;
    case 0x010C0047u: // Mono12p
        lcLayout = {teKind::Mono, teStorage::Packed12, 12};
        break;
    case 0x01100007u: // Mono16
        lcLayout = {teKind::Mono, teStorage::Words16, 16};
        break;
    case 0x02180014u: // RGB8
        lcLayout = {teKind::Rgb, teStorage::Bytes8, 8};
        break;
    case 0x01080008u: // BayerGR8
        lcBayer(teStorage::Bytes8, 8, "GR");
        break;
    case 0x01080009u: // BayerRG8
        lcBayer(teStorage::Bytes8, 8, "RG");
        break;
    case 0x0108000Au: // BayerGB8
        lcBayer(teStorage::Bytes8, 8, "GB");
        break;
    case 0x0108000Bu: // BayerBG8
        lcBayer(teStorage::Bytes8, 8, "BG");
        break;
    case 0x01100010u: // BayerGR12
        lcBayer(teStorage::Words16, 12, "GR");
        break;
    case 0x01100011u: // BayerRG12
        lcBayer(teStorage::Words16, 12, "RG");
        break;
    case 0x01100012u: // BayerGB12
        lcBayer(teStorage::Words16, 12, "GB");
        break;
    case 0x01100013u: // BayerBG12
        lcBayer(teStorage::Words16, 12, "BG");
        break;
    case 0x010C0057u: // BayerGR12p
        lcBayer(teStorage::Packed12, 12, "GR");
        break;
    case 0x010C0059u: // BayerRG12p
        lcBayer(teStorage::Packed12, 12, "RG");
        break;
    case 0x010C0055u: // BayerGB12p
        lcBayer(teStorage::Packed12, 12, "GB");
        break;
    case 0x010C0053u: // BayerBG12p
        lcBayer(teStorage::Packed12, 12, "BG");
        break;
    default:
        return lcLayout;
    }
    lcLayout.mdTo8Bit = 1.0 / double(1 << (lcLayout.mnBits - 8));
    return lcLayout;
}

tcFrameRegion::tcLayout tcFrameRegion::layout(const tcImageBuffer& arFrame)
{
    return layout(arFrame.getPixelFormat()->getCode());
}

QImage::Format tcFrameRegion::displayFormat(const tcLayout& arLayout)
{
    return arLayout.meKind == teKind::Mono ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
}

QImage tcFrameRegion::pooledImage(const QSize& arSize, QImage::Format aeFormat)
{
    if (arSize.isEmpty())
        return QImage();
    const int lnChannels = aeFormat == QImage::Format_RGB888 ? 3 : 1;
    // QImage lines are padded to 4 bytes.
    const qint64 lnLine = (qint64(arSize.width()) * lnChannels + 3) / 4 * 4;
    if (lnLine > std::numeric_limits<int>::max())
        return QImage();
    uchar* lpBuffer = tcFrameMemory::acquire(size_t(lnLine) * size_t(arSize.height()));
    if (!lpBuffer)
        return QImage();
    QImage lcImage(
        lpBuffer, arSize.width(), arSize.height(), int(lnLine), aeFormat,
        [](void* apBuffer) { tcFrameMemory::release(static_cast<uchar*>(apBuffer)); }, lpBuffer);
    if (lcImage.isNull())
        tcFrameMemory::release(lpBuffer);
    return lcImage;
}

cv::Mat tcFrameRegion::matOf(QImage& arImage)
{
    const int lnType = arImage.format() == QImage::Format_RGB888 ? CV_8UC3 : CV_8UC1;
    return cv::Mat(arImage.height(), arImage.width(), lnType, arImage.bits(),
                   static_cast<size_t>(arImage.bytesPerLine()));
}

cv::Mat tcFrameRegion::raw(const tcImageBuffer& arFrame, const cv::Rect& arRect)
{
    const tcLayout lcLayout = layout(arFrame);
    const cv::Rect lcRect = arRect & frameRect(arFrame);
    if (!lcLayout.isKnown() || !hasBytes(arFrame) || lcRect.empty())
        return cv::Mat();
    if (lcLayout.meStorage != teStorage::Packed12)
    {
        const cv::Mat lcWhole(arFrame.height(), arFrame.width(), matType(lcLayout),
                              const_cast<uchar*>(arFrame.data()));
        return lcWhole(lcRect);
    }
    cv::Mat lcResult(lcRect.size(), CV_16UC1);
    std::vector<quint16> lsBuffer;
    for (int lnRow = 0; lnRow < lcRect.height; ++lnRow)
    {
        const quint16* lpRow =
            decodeRow(arFrame, lcLayout, lcRect.y + lnRow, lcRect.x, lcRect.width, lsBuffer);
        std::copy(lpRow, lpRow + lcRect.width, lcResult.ptr<quint16>(lnRow));
    }
    return lcResult;
}

cv::Mat tcFrameRegion::filtered(const tcImageBuffer& arFrame, const cv::Rect& arRect)
{
    const tcLayout lcLayout = layout(arFrame);
    const cv::Rect lcRect = arRect & frameRect(arFrame);
    if (lcLayout.meKind != teKind::Bayer)
        return raw(arFrame, lcRect);
    if (lcRect.empty() || !hasBytes(arFrame))
        return cv::Mat();
    // Two sites of margin give every pixel of the region the neighbours it
    // has in the whole frame; an even origin keeps the mosaic's phase.
    const int lnLeft = floorEven(std::max(0, lcRect.x - 2));
    const int lnTop = floorEven(std::max(0, lcRect.y - 2));
    const cv::Rect lcExpanded =
        cv::Rect(cv::Point(lnLeft, lnTop), cv::Point(lcRect.br().x + 2, lcRect.br().y + 2)) &
        frameRect(arFrame);
    cv::Mat lcColour;
    cv::cvtColor(raw(arFrame, lcExpanded), lcColour, lcLayout.mnDemosaic);
    return lcColour(lcRect - lcExpanded.tl());
}

QImage tcFrameRegion::display(const tcImageBuffer& arFrame, const cv::Rect& arRect)
{
    const tcLayout lcLayout = layout(arFrame);
    const cv::Mat lcFiltered = filtered(arFrame, arRect);
    if (lcFiltered.empty())
        return QImage();
    QImage lcImage = pooledImage(QSize(lcFiltered.cols, lcFiltered.rows), displayFormat(lcLayout));
    if (lcImage.isNull())
        return lcImage;
    cv::Mat lcTarget = matOf(lcImage);
    if (lcFiltered.depth() == CV_8U)
        lcFiltered.copyTo(lcTarget);
    else
        lcFiltered.convertTo(lcTarget, CV_8U, lcLayout.mdTo8Bit);
    return lcImage;
}

int tcFrameRegion::binFactor(const tcLayout& arLayout, const cv::Size& arSource, const cv::Size& arOutput)
{
    if (!arLayout.isKnown() || arOutput.width <= 0 || arOutput.height <= 0)
        return 1;
    int lnBin = std::min(arSource.width / arOutput.width, arSource.height / arOutput.height);
    if (arLayout.meKind == teKind::Bayer)
        lnBin = floorEven(lnBin);
    return lnBin >= 2 ? lnBin : 1;
}

cv::Rect tcFrameRegion::binnedSource(const tcLayout& arLayout, const cv::Rect& arRect, int anBin)
{
    const bool lbMosaic = arLayout.meKind == teKind::Bayer;
    const int lnLeft = lbMosaic ? floorEven(arRect.x) : arRect.x;
    const int lnTop = lbMosaic ? floorEven(arRect.y) : arRect.y;
    const int lnWidth = (arRect.br().x - lnLeft) / anBin * anBin;
    const int lnHeight = (arRect.br().y - lnTop) / anBin * anBin;
    return cv::Rect(lnLeft, lnTop, lnWidth, lnHeight);
}

QImage tcFrameRegion::binned(const tcImageBuffer& arFrame, const cv::Rect& arRect, int anBin, int anRows)
{
    const tcLayout lcLayout = layout(arFrame);
    if (!lcLayout.isKnown() || !hasBytes(arFrame) || anBin < 1 ||
        (lcLayout.meKind == teKind::Bayer && anBin % 2 != 0))
        return QImage();
    const cv::Rect lcSource = binnedSource(lcLayout, arRect & frameRect(arFrame), anBin);
    if (lcSource.empty())
        return QImage();
    // Sampled lines only where blocks read a line pair, and only to thin them.
    const bool lbSampled = anRows > 0 && anBin >= 4 && anRows < lcSource.height / anBin;
    const tcLineSampler lcLines(lcSource, anBin, lbSampled ? anRows : 0);
    QImage lcImage = pooledImage(QSize(lcSource.width / anBin, lcLines.rows()), displayFormat(lcLayout));
    if (lcImage.isNull())
        return lcImage;
    const bool lbPacked = fitsPackedPath(arFrame, lcLayout, lcSource, anBin);
    // Output lines are independent: both threads' halves give the same
    // pixels as one thread would.
    cv::parallel_for_(cv::Range(0, lcImage.height()),
                      [&](const cv::Range& arRows)
                      {
                          if (lbPacked)
                              binPackedLines(arFrame, lcLayout, lcSource, anBin, lcLines, lcImage,
                                             arRows.start, arRows.end);
                          else
                              binLines(arFrame, lcLayout, lcSource, anBin, lcLines, lcImage, arRows.start,
                                       arRows.end);
                      });
    return lcImage;
}
