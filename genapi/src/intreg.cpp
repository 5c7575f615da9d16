#include "intreg.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

bool tcIntReg::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (mcRegister.parseElement(*this, apName, arElement, arLinker))
        return true;
    auto bit = [&](int64_t& arTarget)
    {
        const std::string sText = xml::text(arElement);
        if (!xml::parseInt(sText, arTarget) || arTarget < 0 || arTarget > 63)
            KX_FAIL(RuntimeException, "Element <%s> holds '%s', which is not a bit number", apName,
                    sText.c_str());
    };
    if (is("Sign"))
        mbSigned = xml::text(arElement) == "Signed";
    else if (is("Bit"))
    {
        bit(mnRawLsb);
        mnRawMsb = mnRawLsb;
    }
    else if (is("LSB"))
        bit(mnRawLsb);
    else if (is("MSB"))
        bit(mnRawMsb);
    else
        return tcIntegerBase::parseElement(apName, arElement, arLinker);
    return true;
}

void tcIntReg::finishLoad()
{
    mcRegister.finish(*this);
    if (!mcRegister.hasConstantLength() && mbMasked)
        KX_FAIL(RuntimeException, "A bit field needs a constant <Length>");
    if (mcRegister.hasConstantLength() && mcRegister.length() > 8)
        KX_FAIL(RuntimeException, "An integer register cannot be longer than 8 bytes (Length %lld)",
                static_cast<long long>(mcRegister.length()));
    if (!mbMasked)
        return;
    if (mnRawLsb < 0 && mnRawMsb < 0)
        KX_FAIL(RuntimeException, "A bit field needs <Bit> or <LSB> and <MSB>");
    if (mnRawLsb < 0)
        mnRawLsb = mnRawMsb;
    if (mnRawMsb < 0)
        mnRawMsb = mnRawLsb;
    const int64_t nBits = 8 * mcRegister.length();
    if (mnRawLsb >= nBits || mnRawMsb >= nBits)
        KX_FAIL(RuntimeException, "Bit %lld lies outside the %lld-bit register",
                static_cast<long long>(std::max(mnRawLsb, mnRawMsb)), static_cast<long long>(nBits));
    // Big-endian registers number their bits from the most significant end.
    int64_t nLsb = mcRegister.endianess() == BigEndian ? nBits - 1 - mnRawLsb : mnRawLsb;
    int64_t nMsb = mcRegister.endianess() == BigEndian ? nBits - 1 - mnRawMsb : mnRawMsb;
    if (nLsb > nMsb)
        std::swap(nLsb, nMsb);
    mnLsb = nLsb;
    mnMsb = nMsb;
}

void tcIntReg::invalidateCache()
{
    tcIntegerBase::invalidateCache();
    mbBytesValid = false;
}

void tcIntReg::readBytes()
{
    const int64_t nLength = mcRegister.length();
    if (nLength <= 0 || nLength > 8)
        KX_FAIL(RuntimeException, "Register length %lld is out of range", static_cast<long long>(nLength));
    mcBytes.assign(static_cast<size_t>(nLength), 0);
    mcRegister.read(*this, mcBytes.data(), nLength);
    mbBytesValid = cacheable();
}

int64_t tcIntReg::readValue(bool, bool)
{
    readBytes();
    return decode();
}

bool tcIntReg::valueAfterWrite(int64_t, int64_t& arValue)
{
    // The register holds exactly the bytes just written.
    arValue = decode();
    return true;
}

int64_t tcIntReg::decode() const
{
    const int64_t nLength = static_cast<int64_t>(mcBytes.size());
    const uint64_t nRaw = bytesToUnsigned(mcBytes.data(), nLength, mcRegister.endianess());
    const int64_t nWidth = mbMasked ? fieldWidth() : 8 * nLength;
    uint64_t nField = mbMasked ? (nRaw >> mnLsb) : nRaw;
    if (nWidth < 64)
        nField &= (uint64_t(1) << nWidth) - 1;
    if (mbSigned && nWidth < 64 && (nField >> (nWidth - 1)) & 1)
        nField |= ~((uint64_t(1) << nWidth) - 1);
    return static_cast<int64_t>(nField);
}

void tcIntReg::writeValue(int64_t anValue, bool)
{
    const int64_t nLength = mcRegister.length();
    if (nLength <= 0 || nLength > 8)
        KX_FAIL(RuntimeException, "Register length %lld is out of range", static_cast<long long>(nLength));
    uint64_t nRaw = static_cast<uint64_t>(anValue);
    if (mbMasked)
    {
        // The other bits of the register keep their content: take it from
        // the cache, from the device, or for a write-only register from the
        // last write.
        if (!mbBytesValid || static_cast<int64_t>(mcBytes.size()) != nLength)
        {
            if (IsReadable(mcRegister.accessMode(*this)))
                readBytes();
            else if (static_cast<int64_t>(mcBytes.size()) != nLength)
                mcBytes.assign(static_cast<size_t>(nLength), 0);
        }
        const uint64_t nOld = bytesToUnsigned(mcBytes.data(), nLength, mcRegister.endianess());
        const int64_t nWidth = fieldWidth();
        const uint64_t nMask = (nWidth >= 64 ? ~uint64_t(0) : ((uint64_t(1) << nWidth) - 1)) << mnLsb;
        nRaw = (nOld & ~nMask) | ((static_cast<uint64_t>(anValue) << mnLsb) & nMask);
    }
    std::vector<uint8_t> cBytes(static_cast<size_t>(nLength));
    unsignedToBytes(nRaw, cBytes.data(), nLength, mcRegister.endianess());
    mcRegister.write(*this, cBytes.data(), nLength);
    mcBytes = cBytes;
    mbBytesValid = writeThrough();
}

int64_t tcIntReg::naturalMin()
{
    const int64_t nWidth = mbMasked ? fieldWidth() : 8 * mcRegister.length();
    if (!mbSigned || nWidth <= 0)
        return 0;
    if (nWidth >= 64)
        return INT64_MIN;
    return -(int64_t(1) << (nWidth - 1));
}

int64_t tcIntReg::naturalMax()
{
    const int64_t nWidth = mbMasked ? fieldWidth() : 8 * mcRegister.length();
    if (nWidth >= 64 || nWidth <= 0)
        return INT64_MAX;
    if (mbSigned)
        return (int64_t(1) << (nWidth - 1)) - 1;
    return static_cast<int64_t>((uint64_t(1) << nWidth) - 1);
}

} // namespace GenApi
