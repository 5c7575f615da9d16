#include "modulemap.h"

#include "gentlerror.h"

#include <cstring>

namespace simcam
{

namespace
{

std::vector<uint8_t> littleEndian(uint64_t anValue)
{
    std::vector<uint8_t> lcBytes(8);
    for (uint8_t& lrByte : lcBytes)
    {
        lrByte = static_cast<uint8_t>(anValue);
        anValue >>= 8;
    }
    return lcBytes;
}

// The query's answer as raw bytes, sized as the query says.
std::vector<uint8_t> answer(const tcModuleMap::tcQuery& afQuery, GenTL::INFO_DATATYPE& arType)
{
    size_t lnSize = 0;
    afQuery(&arType, nullptr, &lnSize);
    std::vector<uint8_t> lcBytes(lnSize);
    afQuery(&arType, lcBytes.data(), &lnSize);
    lcBytes.resize(lnSize);
    return lcBytes;
}

uint64_t number(const tcModuleMap::tcQuery& afQuery)
{
    GenTL::INFO_DATATYPE lnType = GenTL::INFO_DATATYPE_UNKNOWN;
    const std::vector<uint8_t> lcBytes = answer(afQuery, lnType);
    require(lcBytes.size() <= 8, GenTL::GC_ERR_ERROR, "info answer too wide for a register");
    uint64_t lnValue = 0;
    std::memcpy(&lnValue, lcBytes.data(), lcBytes.size()); // this host is little-endian, as the registers are
    // Signed answers keep their sign in the 64-bit register.
    if (lnType == GenTL::INFO_DATATYPE_INT32 && (lnValue & 0x80000000u) != 0)
    {
        lnValue |= 0xFFFFFFFF00000000ull;
    }
    return lnValue;
}

} // namespace

tcModuleMap::tcModuleMap(std::string acDescriptionName, const unsigned char* apDescription,
                         size_t anDescriptionSize)
    : msDescriptionName(std::move(acDescriptionName)), mpDescription(apDescription),
      mnDescriptionSize(anDescriptionSize)
{
}

void tcModuleMap::addString(uint64_t anAddress, uint32_t anLength, tcQuery afQuery)
{
    mcRegisters.push_back({anAddress, anLength,
                           [afQuery, anLength]
                           {
                               GenTL::INFO_DATATYPE lnType = GenTL::INFO_DATATYPE_UNKNOWN;
                               std::vector<uint8_t> lcBytes = answer(afQuery, lnType);
                               // Always NUL-terminated: a longer text is cut.
                               lcBytes.resize(anLength, 0);
                               lcBytes.back() = 0;
                               return lcBytes;
                           },
                           nullptr});
}

void tcModuleMap::addNumber(uint64_t anAddress, tcQuery afQuery)
{
    mcRegisters.push_back({anAddress, 8, [afQuery] { return littleEndian(number(afQuery)); }, nullptr});
}

void tcModuleMap::addControl(uint64_t anAddress, std::function<uint64_t()> afRead,
                             std::function<void(uint64_t)> afWrite)
{
    mcRegisters.push_back({anAddress, 8, [afRead] { return littleEndian(afRead()); }, std::move(afWrite)});
}

const tcModuleMap::tcRegister* tcModuleMap::find(uint64_t anAddress, size_t anLength) const
{
    for (const tcRegister& lrRegister : mcRegisters)
    {
        if (anAddress >= lrRegister.mnAddress && anAddress - lrRegister.mnAddress < lrRegister.mnLength)
        {
            require(anLength <= lrRegister.mnLength - (anAddress - lrRegister.mnAddress),
                    GenTL::GC_ERR_INVALID_ADDRESS, "access runs past the end of a register");
            return &lrRegister;
        }
    }
    throw tcGenTLError(GenTL::GC_ERR_INVALID_ADDRESS, "no register at address " + std::to_string(anAddress));
}

void tcModuleMap::read(uint64_t anAddress, void* apBuffer, size_t anLength) const
{
    if (anAddress >= DescriptionAddress && anAddress - DescriptionAddress < mnDescriptionSize)
    {
        const uint64_t lnOffset = anAddress - DescriptionAddress;
        require(anLength <= mnDescriptionSize - lnOffset, GenTL::GC_ERR_INVALID_ADDRESS,
                "read runs past the end of the description");
        std::memcpy(apBuffer, mpDescription + lnOffset, anLength);
        return;
    }
    const tcRegister* lpRegister = find(anAddress, anLength);
    const std::vector<uint8_t> lcBytes = lpRegister->mfRead();
    std::memcpy(apBuffer, lcBytes.data() + (anAddress - lpRegister->mnAddress), anLength);
}

void tcModuleMap::write(uint64_t anAddress, const void* apBuffer, size_t anLength)
{
    require(!(anAddress >= DescriptionAddress && anAddress - DescriptionAddress < mnDescriptionSize),
            GenTL::GC_ERR_ACCESS_DENIED, "the description is read-only");
    const tcRegister* lpRegister = find(anAddress, anLength);
    require(static_cast<bool>(lpRegister->mfWrite), GenTL::GC_ERR_ACCESS_DENIED, "the register is read-only");
    require(anAddress == lpRegister->mnAddress && anLength == lpRegister->mnLength,
            GenTL::GC_ERR_INVALID_ADDRESS, "a control register is written whole");
    const uint8_t* lpBytes = static_cast<const uint8_t*>(apBuffer);
    uint64_t lnValue = 0;
    for (size_t lnByte = anLength; lnByte-- > 0;)
    {
        lnValue = (lnValue << 8) | lpBytes[lnByte];
    }
    lpRegister->mfWrite(lnValue);
}

tcDescriptionUrl tcModuleMap::url() const
{
    return tcDescriptionUrl::local(msDescriptionName, DescriptionAddress, mnDescriptionSize);
}

} // namespace simcam
