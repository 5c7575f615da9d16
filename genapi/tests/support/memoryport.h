#pragma once
#include <GenApi/GenApi.h>

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

// A device port backed by memory, for tests: the whole 64-bit address space
// reads as zero until written, in pages allocated on first write. It counts
// accesses so that tests can tell a cached read from a device read, and can
// be told to fail or to refuse access.
class tcMemoryPort : public GenApi::IPort
{
public:
    explicit tcMemoryPort(GenApi::EAccessMode aeMode = GenApi::RW) : meMode(aeMode) {}

    GenApi::EAccessMode GetAccessMode() const override { return meMode; }
    void Read(void* pBuffer, int64_t Address, int64_t Length) override;
    void Write(const void* pBuffer, int64_t Address, int64_t Length) override;

    void setAccessMode(GenApi::EAccessMode aeMode) { meMode = aeMode; }
    // Accesses touching [anAddress, anAddress + anLength) raise an exception.
    void setFailingRange(int64_t anAddress, int64_t anLength);

    // Direct access that does not count as a device access.
    void poke(int64_t anAddress, const std::vector<uint8_t>& acBytes);
    std::vector<uint8_t> peek(int64_t anAddress, int64_t anLength) const;
    void pokeBE32(int64_t anAddress, uint32_t anValue);
    void pokeLE32(int64_t anAddress, uint32_t anValue);
    uint32_t peekBE32(int64_t anAddress) const;
    uint32_t peekLE32(int64_t anAddress) const;

    int readCount() const { return mnReads; }
    int writeCount() const { return mnWrites; }
    void resetCounts() { mnReads = mnWrites = 0; }

private:
    static const int64_t gnPageSize = 4096;
    using tcPage = std::array<uint8_t, gnPageSize>;
    void check(int64_t anAddress, int64_t anLength) const;

    GenApi::EAccessMode meMode;
    std::unordered_map<uint64_t, tcPage> mhPages;
    int mnReads = 0;
    int mnWrites = 0;
    int64_t mnFailAddress = 0;
    int64_t mnFailLength = 0;
};
