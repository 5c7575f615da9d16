#include "stringnode.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

namespace
{
// Registers of absurd size would make every read allocate that much.
const int64_t gnMaxStringLength = 1 << 24;
} // namespace

std::string tcStringBase::doGetString(bool abVerify, bool abIgnoreCache)
{
    requireReadable("Node is not readable.");
    if (mbValueCacheValid && !abVerify && !abIgnoreCache)
        return msCache;
    std::string sValue = readText(abVerify, abIgnoreCache);
    if (cacheable())
    {
        msCache = sValue;
        mbValueCacheValid = true;
    }
    return sValue;
}

void tcStringBase::doSetString(const std::string& arValue, bool abVerify)
{
    tcChangeScope cScope(mrMap);
    requireWritable("Node is not writable.");
    const int64_t nMax = maxLength();
    if (static_cast<int64_t>(arValue.size()) > nMax)
        KX_FAIL(OutOfRangeException, "String of %zu characters exceeds the maximum length %lld",
                arValue.size(), static_cast<long long>(nMax));
    mbValueCacheValid = false;
    writeText(arValue, abVerify);
    if (writeThrough())
    {
        msCache = arValue;
        mbValueCacheValid = true;
    }
    changed();
    if (abVerify)
        checkDeviceError();
}

void tcStringBase::SetValue(const gcstring& Value, bool Verify)
{
    tcMapLock cLock(mrMap);
    setString(Value.c_str(), Verify);
}

gcstring tcStringBase::GetValue(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    return getString(Verify, IgnoreCache);
}

int64_t tcStringBase::GetMaxLength()
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    return maxLength();
}

gcstring tcStringBase::ToString(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    if (!readable())
        KX_FAIL(AccessException, "Node is not readable");
    return getString(Verify, IgnoreCache);
}

void tcStringBase::FromString(const gcstring& ValueStr, bool Verify)
{
    tcMapLock cLock(mrMap);
    if (!writable())
        KX_FAIL(AccessException, "Node is not writable");
    setString(ValueStr.c_str(), Verify);
}

bool tcString::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (std::strcmp(apName, "Value") == 0)
        msValue = xml::text(arElement);
    else if (std::strcmp(apName, "pValue") == 0)
    {
        mpValue = arLinker.require(*this, xml::text(arElement));
        addChild(mpValue);
        addValueLink(mpValue);
    }
    else
        return tcNode::parseElement(apName, arElement, arLinker);
    return true;
}

std::string tcString::readText(bool abVerify, bool abIgnoreCache)
{
    return mpValue ? mpValue->getString(abVerify, abIgnoreCache) : msValue;
}

void tcString::writeText(const std::string& arValue, bool abVerify)
{
    if (mpValue)
        mpValue->setString(arValue, abVerify);
    else
        msValue = arValue;
}

int64_t tcString::maxLength()
{
    if (auto* pString = dynamic_cast<tcStringBase*>(mpValue))
        return pString->GetMaxLength();
    return gnMaxStringLength;
}

int64_t tcString::GetMaxLength()
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    return mpValue ? maxLength() : static_cast<int64_t>(msValue.size());
}

bool tcStringReg::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (mcRegister.parseElement(*this, apName, arElement, arLinker))
        return true;
    return tcNode::parseElement(apName, arElement, arLinker);
}

std::string tcStringReg::readText(bool, bool)
{
    const int64_t nLength = mcRegister.length();
    if (nLength <= 0 || nLength > gnMaxStringLength)
        KX_FAIL(RuntimeException, "String register length %lld is out of range",
                static_cast<long long>(nLength));
    std::vector<char> cBytes(static_cast<size_t>(nLength), '\0');
    mcRegister.read(*this, reinterpret_cast<uint8_t*>(cBytes.data()), nLength);
    const size_t nText = strnlen(cBytes.data(), cBytes.size());
    return std::string(cBytes.data(), nText);
}

void tcStringReg::writeText(const std::string& arValue, bool)
{
    const int64_t nLength = mcRegister.length();
    if (nLength <= 0 || nLength > gnMaxStringLength)
        KX_FAIL(RuntimeException, "String register length %lld is out of range",
                static_cast<long long>(nLength));
    std::vector<uint8_t> cBytes(static_cast<size_t>(nLength), 0);
    std::memcpy(cBytes.data(), arValue.data(), std::min<size_t>(arValue.size(), cBytes.size()));
    mcRegister.write(*this, cBytes.data(), nLength);
}

} // namespace GenApi
