#include "packed12unpacker.h"

#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define KX_UNPACK_SSSE3 1
#include <immintrin.h>
#endif

namespace
{
// The block converters below read a few bytes beyond the triples they
// convert; they only run while this many samples remain, so that those bytes
// still belong to the range's own samples.
constexpr qint64 scBlockMargin = 16;

#ifdef KX_UNPACK_SSSE3
// Eight samples from twelve bytes per step: a byte shuffle puts b0 b1 and b1 b2
// of every triple into 16-bit lanes, then even lanes keep their low 12 bits
// and odd lanes drop their low nibble.
__attribute__((target("ssse3"))) qint64 unpackBlocksSsse3(const uchar*& arSource, quint16*& arDestination,
                                                          qint64 anSamples)
{
    const __m128i lcShuffle = _mm_setr_epi8(0, 1, 1, 2, 3, 4, 4, 5, 6, 7, 7, 8, 9, 10, 10, 11);
    const __m128i lcEvenMask = _mm_set1_epi32(0x00000FFF);
    const __m128i lcOddMask = _mm_set1_epi32(static_cast<int>(0xFFFF0000u));
    // Local copies: stores through the destination could otherwise alias
    // the caller's pointers and force them through memory every step.
    const uchar* lpSource = arSource;
    quint16* lpDestination = arDestination;
    qint64 lnDone = 0;
    for (; anSamples - lnDone >= scBlockMargin; lnDone += 8)
    {
        __m128i lcBytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lpSource));
        lcBytes = _mm_shuffle_epi8(lcBytes, lcShuffle);
        const __m128i lcEven = _mm_and_si128(lcBytes, lcEvenMask);
        const __m128i lcOdd = _mm_and_si128(_mm_srli_epi16(lcBytes, 4), lcOddMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lpDestination), _mm_or_si128(lcEven, lcOdd));
        lpSource += 12;
        lpDestination += 8;
    }
    arSource = lpSource;
    arDestination = lpDestination;
    return lnDone;
}

bool hasSsse3()
{
    static const bool sbHas = __builtin_cpu_supports("ssse3");
    return sbHas;
}
#endif

// Four samples from six bytes per step through one 64-bit word, for
// processors without the shuffle above.
qint64 unpackBlocksWord(const uchar*& arSource, quint16*& arDestination, qint64 anSamples)
{
    const uchar* lpSource = arSource;
    quint16* lpDestination = arDestination;
    qint64 lnDone = 0;
    for (; anSamples - lnDone >= scBlockMargin; lnDone += 4)
    {
        const quint64 lnWord = qFromLittleEndian<quint64>(lpSource);
        for (int lnIndex = 0; lnIndex < 4; ++lnIndex)
            lpDestination[lnIndex] = static_cast<quint16>(lnWord >> (12 * lnIndex) & 0x0FFF);
        lpSource += 6;
        lpDestination += 4;
    }
    arSource = lpSource;
    arDestination = lpDestination;
    return lnDone;
}

std::atomic<bool> gbSimdAllowed{true};

qint64 unpackBlocks(const uchar*& arSource, quint16*& arDestination, qint64 anSamples)
{
#ifdef KX_UNPACK_SSSE3
    if (gbSimdAllowed.load(std::memory_order_relaxed) && hasSsse3())
        return unpackBlocksSsse3(arSource, arDestination, anSamples);
#endif
    return unpackBlocksWord(arSource, arDestination, anSamples);
}

inline quint16 firstOfPair(const uchar* apTriple)
{
    return static_cast<quint16>(apTriple[0] | (apTriple[1] & 0x0F) << 8);
}

inline quint16 secondOfPair(const uchar* apTriple)
{
    return static_cast<quint16>(apTriple[1] >> 4 | apTriple[2] << 4);
}

// Joins every joinable thread even if one join fails, then reports the first
// failure: a std::thread destroyed while joinable would end the program.
void joinAll(std::vector<std::thread>& arThreads)
{
    std::exception_ptr lpFirstError;
    for (std::thread& lrThread : arThreads)
    {
        if (!lrThread.joinable())
            continue;
        try
        {
            lrThread.join();
        }
        catch (...)
        {
            if (!lpFirstError)
                lpFirstError = std::current_exception();
        }
    }
    if (lpFirstError)
        std::rethrow_exception(lpFirstError);
}
} // namespace

void tcPacked12Unpacker::setSimdAllowed(bool abAllowed)
{
    gbSimdAllowed.store(abAllowed, std::memory_order_relaxed);
}

bool tcPacked12Unpacker::simdAllowed()
{
    return gbSimdAllowed.load(std::memory_order_relaxed);
}

void tcPacked12Unpacker::unpackSamples(qint64 anFirst, qint64 anEnd, const uchar* apSource,
                                       quint16* apDestination) noexcept
{
    if (anEnd <= anFirst)
        return;
    qint64 lnSample = anFirst;
    // A range may start on the second pixel of a byte triple.
    if (lnSample % 2 != 0)
    {
        apDestination[lnSample] = secondOfPair(apSource + (lnSample / 2) * 3);
        ++lnSample;
    }
    const uchar* lpSource = apSource + (lnSample / 2) * 3;
    quint16* lpDestination = apDestination + lnSample;
    lnSample += unpackBlocks(lpSource, lpDestination, anEnd - lnSample);
    const qint64 lnPairs = (anEnd - lnSample) / 2;
    for (qint64 lnPair = 0; lnPair < lnPairs; ++lnPair)
    {
        lpDestination[0] = firstOfPair(lpSource);
        lpDestination[1] = secondOfPair(lpSource);
        lpSource += 3;
        lpDestination += 2;
    }
    // ... and may end on the first pixel of one; its second byte is the last
    // one the range needs.
    if ((anEnd - lnSample) % 2 != 0)
        *lpDestination = static_cast<quint16>(lpSource[0] | (lpSource[1] & 0x0F) << 8);
}

void tcPacked12Unpacker::unpackRows(int anFirstRow, int anEndRow, int anWidth, const uchar* apSource,
                                    quint16* apDestination) noexcept
{
    if (anWidth <= 0)
        return;
    unpackSamples(static_cast<qint64>(anFirstRow) * anWidth, static_cast<qint64>(anEndRow) * anWidth,
                  apSource, apDestination);
}

std::vector<tcPacked12Unpacker::tpRowRange> tcPacked12Unpacker::splitRows(int anHeight)
{
    std::vector<tpRowRange> lsRanges;
    if (anHeight <= 0)
        return lsRanges;
    const int lnThreads = std::min(anHeight / 4, scMaxThreads);
    if (lnThreads <= 1)
    {
        lsRanges.emplace_back(0, anHeight);
        return lsRanges;
    }
    const int lnRowsPerThread = anHeight / lnThreads;
    for (int lnThread = 0; lnThread < lnThreads; ++lnThread)
    {
        const int lnFirst = lnThread * lnRowsPerThread;
        const int lnEnd = lnThread == lnThreads - 1 ? anHeight : lnFirst + lnRowsPerThread;
        lsRanges.emplace_back(lnFirst, lnEnd);
    }
    return lsRanges;
}

void tcPacked12Unpacker::unpack(const uchar* apSource, int anWidth, int anHeight, quint16* apDestination)
{
    const std::vector<tpRowRange> lsRanges = splitRows(anHeight);
    if (anWidth <= 0 || lsRanges.empty())
        return;
    if (lsRanges.size() == 1)
    {
        unpackRows(0, anHeight, anWidth, apSource, apDestination);
        return;
    }
    std::vector<std::thread> lsThreads;
    lsThreads.reserve(lsRanges.size());
    try
    {
        for (const tpRowRange& lrRange : lsRanges)
            lsThreads.emplace_back(&tcPacked12Unpacker::unpackRows, lrRange.first, lrRange.second, anWidth,
                                   apSource, apDestination);
    }
    catch (...)
    {
        // Threads already running still write into the destination: wait for
        // them before the caller learns of the failure.
        try
        {
            joinAll(lsThreads);
        }
        catch (...)
        {
        }
        throw;
    }
    joinAll(lsThreads);
}
