#include "memoryport.h"

#include <cstring>

void tcMemoryPort::setFailingRange(int64_t anAddress, int64_t anLength)
{
    mnFailAddress = anAddress;
    mnFailLength = anLength;
}

void tcMemoryPort::check(int64_t anAddress, int64_t anLength) const
{
    if (anLength < 0)
        throw INVALID_ARGUMENT_EXCEPTION("negative length %lld", static_cast<long long>(anLength));
    const uint64_t nStart = static_cast<uint64_t>(anAddress);
    const uint64_t nFail = static_cast<uint64_t>(mnFailAddress);
    if (mnFailLength > 0 && nStart < nFail + static_cast<uint64_t>(mnFailLength) &&
        nFail < nStart + static_cast<uint64_t>(anLength))
        throw ACCESS_EXCEPTION("memory port refuses address 0x%llx", static_cast<unsigned long long>(nStart));
}

void tcMemoryPort::Read(void* pBuffer, int64_t Address, int64_t Length)
{
    check(Address, Length);
    ++mnReads;
    const std::vector<uint8_t> cBytes = peek(Address, Length);
    if (Length > 0)
        std::memcpy(pBuffer, cBytes.data(), static_cast<size_t>(Length));
}

void tcMemoryPort::Write(const void* pBuffer, int64_t Address, int64_t Length)
{
    check(Address, Length);
    ++mnWrites;
    const auto* pBytes = static_cast<const uint8_t*>(pBuffer);
    poke(Address, std::vector<uint8_t>(pBytes, pBytes + Length));
}

void tcMemoryPort::poke(int64_t anAddress, const std::vector<uint8_t>& acBytes)
{
    uint64_t nAddress = static_cast<uint64_t>(anAddress);
    for (uint8_t nByte : acBytes)
    {
        tcPage& rPage = mhPages.try_emplace(nAddress / gnPageSize).first->second;
        rPage[nAddress % gnPageSize] = nByte;
        ++nAddress;
    }
}

std::vector<uint8_t> tcMemoryPort::peek(int64_t anAddress, int64_t anLength) const
{
    std::vector<uint8_t> cBytes(static_cast<size_t>(anLength > 0 ? anLength : 0), 0);
    uint64_t nAddress = static_cast<uint64_t>(anAddress);
    for (uint8_t& rByte : cBytes)
    {
        auto it = mhPages.find(nAddress / gnPageSize);
        if (it != mhPages.end())
            rByte = it->second[nAddress % gnPageSize];
        ++nAddress;
    }
    return cBytes;
}

void tcMemoryPort::pokeBE32(int64_t anAddress, uint32_t anValue)
{
    poke(anAddress,
         {uint8_t(anValue >> 24), uint8_t(anValue >> 16), uint8_t(anValue >> 8), uint8_t(anValue)});
}

void tcMemoryPort::pokeLE32(int64_t anAddress, uint32_t anValue)
{
    poke(anAddress,
         {uint8_t(anValue), uint8_t(anValue >> 8), uint8_t(anValue >> 16), uint8_t(anValue >> 24)});
}

uint32_t tcMemoryPort::peekBE32(int64_t anAddress) const
{
    const std::vector<uint8_t> b = peek(anAddress, 4);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
}

uint32_t tcMemoryPort::peekLE32(int64_t anAddress) const
{
    const std::vector<uint8_t> b = peek(anAddress, 4);
    return uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
}
