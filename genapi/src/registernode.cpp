#include "registernode.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cctype>
#include <cstring>

namespace GenApi
{

namespace
{
const int64_t gnMaxRegisterLength = 1 << 24;
}

bool tcRegister::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (mcRegister.parseElement(*this, apName, arElement, arLinker))
        return true;
    return tcNode::parseElement(apName, arElement, arLinker);
}

void tcRegister::checkLength(int64_t anLength)
{
    const int64_t nLength = mcRegister.length();
    if (nLength <= 0 || nLength > gnMaxRegisterLength)
        KX_FAIL(RuntimeException, "Register length %lld is out of range", static_cast<long long>(nLength));
    // The caller's buffer must hold exactly the register: a shorter one
    // would be overrun, a longer one would keep stale bytes.
    if (anLength != nLength)
        KX_FAIL(OutOfRangeException, "Buffer of %lld bytes does not match the register length %lld",
                static_cast<long long>(anLength), static_cast<long long>(nLength));
}

void tcRegister::read(uint8_t* apBuffer, int64_t anLength, bool abIgnoreCache)
{
    if (!mbValueCacheValid || abIgnoreCache || static_cast<int64_t>(mcCache.size()) != anLength)
    {
        std::vector<uint8_t> cBytes(static_cast<size_t>(anLength), 0);
        mcRegister.read(*this, cBytes.data(), anLength);
        mcCache.swap(cBytes);
        mbValueCacheValid = cacheable();
    }
    std::memcpy(apBuffer, mcCache.data(), static_cast<size_t>(anLength));
}

void tcRegister::write(const uint8_t* apBuffer, int64_t anLength)
{
    tcChangeScope cScope(mrMap);
    mbValueCacheValid = false;
    mcRegister.write(*this, apBuffer, anLength);
    if (writeThrough())
    {
        mcCache.assign(apBuffer, apBuffer + anLength);
        mbValueCacheValid = true;
    }
    changed();
}

void tcRegister::Get(uint8_t* pBuffer, int64_t Length, bool, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    if (!pBuffer)
        KX_FAIL(InvalidArgumentException, "NULL buffer");
    requireReadable("Node is not readable");
    checkLength(Length);
    read(pBuffer, Length, IgnoreCache);
}

void tcRegister::Set(const uint8_t* pBuffer, int64_t Length, bool)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    if (!pBuffer)
        KX_FAIL(InvalidArgumentException, "NULL buffer");
    requireWritable("Node is not writable");
    checkLength(Length);
    write(pBuffer, Length);
}

int64_t tcRegister::GetLength()
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    return mcRegister.length();
}

int64_t tcRegister::GetAddress()
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    return mcRegister.address();
}

gcstring tcRegister::ToString(bool, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    requireReadable("Node is not readable");
    const int64_t nLength = mcRegister.length();
    checkLength(nLength);
    std::vector<uint8_t> cBytes(static_cast<size_t>(nLength));
    read(cBytes.data(), nLength, IgnoreCache);
    static const char cHex[] = "0123456789abcdef";
    std::string sText = "0x";
    for (uint8_t nByte : cBytes)
    {
        sText += cHex[nByte >> 4];
        sText += cHex[nByte & 15];
    }
    return sText;
}

void tcRegister::FromString(const gcstring& ValueStr, bool)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    const std::string sText = ValueStr.c_str();
    const int64_t nLength = mcRegister.length();
    auto invalid = [&]()
    {
        KX_FAIL(InvalidArgumentException, "Node '%s' : cannot convert string '%s' to register bytes.",
                msName.c_str(), sText.c_str());
    };
    if (sText.size() < 4 || sText[0] != '0' || (sText[1] != 'x' && sText[1] != 'X') || (sText.size() - 2) % 2)
        invalid();
    std::vector<uint8_t> cBytes;
    for (size_t i = 2; i < sText.size(); i += 2)
    {
        if (!std::isxdigit(static_cast<unsigned char>(sText[i])) ||
            !std::isxdigit(static_cast<unsigned char>(sText[i + 1])))
            invalid();
        cBytes.push_back(static_cast<uint8_t>(std::stoi(sText.substr(i, 2), nullptr, 16)));
    }
    requireWritable("Node is not writable");
    checkLength(nLength);
    // Fewer bytes than the register fill its start; the rest stays zero.
    if (static_cast<int64_t>(cBytes.size()) > nLength)
        invalid();
    cBytes.resize(static_cast<size_t>(nLength), 0);
    write(cBytes.data(), nLength);
}

} // namespace GenApi
