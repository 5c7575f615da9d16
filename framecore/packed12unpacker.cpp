#include "packed12unpacker.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

namespace
{
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
