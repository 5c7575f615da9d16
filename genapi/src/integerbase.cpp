#include "integerbase.h"

#include "nodemap.h"
#include "valueref.h"

#include <Base/GCException.h>

#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cmath>
#include <cstring>

namespace GenApi
{

bool tcIntegerBase::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (std::strcmp(apName, "Unit") == 0)
        msUnit = xml::text(arElement);
    else if (std::strcmp(apName, "Representation") == 0)
        meRepresentation = parseRepresentation(xml::text(arElement));
    else
        return tcNode::parseElement(apName, arElement, arLinker);
    return true;
}

void tcIntegerBase::checkRange(int64_t anValue)
{
    const int64_t nMin = getIntMin();
    const int64_t nMax = getIntMax();
    if (anValue < nMin)
        KX_FAIL(OutOfRangeException, "Value = %" PRId64 " must be equal or greater than Min = %" PRId64 ".",
                anValue, nMin);
    if (anValue > nMax)
        KX_FAIL(OutOfRangeException, "Value = %" PRId64 " must be equal or smaller than Max = %" PRId64 ".",
                anValue, nMax);
    const int64_t nInc = getIntInc();
    if (nInc <= 0)
        KX_FAIL(LogicalErrorException, "Increment must be larger than 0.");
    const __int128 nDiff = static_cast<__int128>(anValue) - static_cast<__int128>(nMin);
    if (nDiff % nInc != 0)
        KX_FAIL(OutOfRangeException,
                "The difference between Value = %" PRId64 " and Min = %" PRId64
                " must be dividable without rest by Inc = %" PRId64 ".",
                anValue, nMin, nInc);
}

int64_t tcIntegerBase::nearestValid(double adValue)
{
    // Limits are only asked for when there are steps to snap to: computing
    // them may fail where a plain write would not.
    const int64_t nInc = getIntInc();
    if (nInc <= 1 || !std::isfinite(adValue))
        return roundToInt(adValue);
    const int64_t nMin = getIntMin();
    const int64_t nMax = getIntMax();
    const long double dSteps = std::roundl((static_cast<long double>(adValue) - nMin) / nInc);
    const long double dLimit = 9.2e18L;
    const __int128 nSteps = static_cast<__int128>(std::max(-dLimit, std::min(dLimit, dSteps)));
    __int128 nValue = nMin + nSteps * nInc;
    // Rounding up must not leave a range whose maximum lies off the steps.
    if (nValue > nMax && adValue <= static_cast<double>(nMax))
        nValue -= nInc;
    if (nValue > INT64_MAX)
        return INT64_MAX;
    if (nValue < INT64_MIN)
        return INT64_MIN;
    return static_cast<int64_t>(nValue);
}

int64_t tcIntegerBase::doGetInt(bool abVerify, bool abIgnoreCache)
{
    requireReadable("Node is not readable.");
    if (mbValueCacheValid && !abVerify && !abIgnoreCache)
        return mnCache;
    const int64_t nValue = readValue(abVerify, abIgnoreCache);
    if (cacheable())
    {
        mnCache = nValue;
        mbValueCacheValid = true;
    }
    if (abVerify)
        checkRange(nValue);
    return nValue;
}

void tcIntegerBase::doSetInt(int64_t anValue, bool abVerify)
{
    tcChangeScope cScope(mrMap);
    requireWritable("Node is not writable.");
    if (abVerify)
        checkRange(anValue);
    mbValueCacheValid = false;
    writeValue(anValue, abVerify);
    if (writeThrough() && valueAfterWrite(anValue, mnCache))
        mbValueCacheValid = true;
    changed();
    if (abVerify)
        checkDeviceError();
}

int64_t tcIntegerBase::doGetIntMin()
{
    const int64_t nMin = naturalMin();
    return nMin > mnImposedMin ? nMin : mnImposedMin;
}

int64_t tcIntegerBase::doGetIntMax()
{
    const int64_t nMax = naturalMax();
    return nMax < mnImposedMax ? nMax : mnImposedMax;
}

int64_t tcIntegerBase::doGetIntInc()
{
    return naturalInc();
}

void tcIntegerBase::SetValue(int64_t Value, bool Verify)
{
    tcMapLock cLock(mrMap);
    setInt(Value, Verify);
}

int64_t tcIntegerBase::GetValue(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    return getInt(Verify, IgnoreCache);
}

int64_t tcIntegerBase::GetMin()
{
    tcMapLock cLock(mrMap);
    return getIntMin();
}

int64_t tcIntegerBase::GetMax()
{
    tcMapLock cLock(mrMap);
    return getIntMax();
}

int64_t tcIntegerBase::GetInc()
{
    tcMapLock cLock(mrMap);
    return getIntInc();
}

ERepresentation tcIntegerBase::GetRepresentation()
{
    tcMapLock cLock(mrMap);
    return representation();
}

gcstring tcIntegerBase::GetUnit() const
{
    tcMapLock cLock(mrMap);
    return const_cast<tcIntegerBase*>(this)->unitText();
}

std::string tcIntegerBase::unitText()
{
    if (!msUnit.empty())
        return msUnit;
    tcNode* pSource = valueSource();
    return pSource ? pSource->unitText() : std::string();
}

ERepresentation tcIntegerBase::representation()
{
    if (meRepresentation != _UndefinedRepresentation)
        return meRepresentation;
    tcNode* pSource = valueSource();
    const ERepresentation eSource = pSource ? pSource->representation() : _UndefinedRepresentation;
    return eSource == _UndefinedRepresentation ? PureNumber : eSource;
}

void tcIntegerBase::ImposeMin(int64_t Value)
{
    tcMapLock cLock(mrMap);
    tcChangeScope cScope(mrMap);
    mnImposedMin = Value;
    mrMap.noteChanged(this, mbValueCacheValid);
}

void tcIntegerBase::ImposeMax(int64_t Value)
{
    tcMapLock cLock(mrMap);
    tcChangeScope cScope(mrMap);
    mnImposedMax = Value;
    mrMap.noteChanged(this, mbValueCacheValid);
}

std::string tcIntegerBase::formatInt(int64_t anValue, ERepresentation aeRepresentation)
{
    char cText[64];
    const uint64_t nBits = static_cast<uint64_t>(anValue);
    switch (aeRepresentation)
    {
    case HexNumber:
        std::snprintf(cText, sizeof cText, "0x%" PRIx64, nBits);
        break;
    case IPV4Address:
        std::snprintf(cText, sizeof cText, "%u.%u.%u.%u", unsigned(nBits >> 24 & 0xff),
                      unsigned(nBits >> 16 & 0xff), unsigned(nBits >> 8 & 0xff), unsigned(nBits & 0xff));
        break;
    case MACAddress:
        std::snprintf(cText, sizeof cText, "%02x:%02x:%02x:%02x:%02x:%02x", unsigned(nBits >> 40 & 0xff),
                      unsigned(nBits >> 32 & 0xff), unsigned(nBits >> 24 & 0xff),
                      unsigned(nBits >> 16 & 0xff), unsigned(nBits >> 8 & 0xff), unsigned(nBits & 0xff));
        break;
    default:
        std::snprintf(cText, sizeof cText, "%" PRId64, anValue);
        break;
    }
    return cText;
}

bool tcIntegerBase::parseIntText(const std::string& arText, ERepresentation aeRepresentation,
                                 int64_t& arValue)
{
    if (aeRepresentation == IPV4Address || aeRepresentation == MACAddress)
    {
        const char cSeparator = aeRepresentation == IPV4Address ? '.' : ':';
        const int nParts = aeRepresentation == IPV4Address ? 4 : 6;
        const int nBase = aeRepresentation == IPV4Address ? 10 : 16;
        if (arText.find(cSeparator) != std::string::npos)
        {
            uint64_t nValue = 0;
            size_t nPos = 0;
            for (int i = 0; i < nParts; ++i)
            {
                const size_t nEnd = i + 1 < nParts ? arText.find(cSeparator, nPos) : arText.size();
                if (nEnd == std::string::npos || nEnd == nPos || nEnd - nPos > 3)
                    return false;
                char* pEnd = nullptr;
                const std::string sPart = arText.substr(nPos, nEnd - nPos);
                const unsigned long nPart = std::strtoul(sPart.c_str(), &pEnd, nBase);
                if (*pEnd || nPart > 255)
                    return false;
                nValue = (nValue << 8) | nPart;
                nPos = nEnd + 1;
            }
            arValue = static_cast<int64_t>(nValue);
            return true;
        }
    }
    if (aeRepresentation == Boolean)
    {
        if (arText == "true")
        {
            arValue = 1;
            return true;
        }
        if (arText == "false")
        {
            arValue = 0;
            return true;
        }
    }
    return xml::parseInt(arText, arValue);
}

gcstring tcIntegerBase::ToString(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    if (!readable())
        KX_FAIL(AccessException, "Node is not readable");
    const int64_t nValue = getInt(Verify, IgnoreCache);
    const ERepresentation eRep = representation();
    if (eRep == Boolean)
        return nValue ? "true" : "false";
    return formatInt(nValue, eRep);
}

void tcIntegerBase::FromString(const gcstring& ValueStr, bool Verify)
{
    tcMapLock cLock(mrMap);
    int64_t nValue = 0;
    const std::string sText = ValueStr.c_str();
    std::string sTrimmed = sText;
    while (!sTrimmed.empty() && std::isspace(static_cast<unsigned char>(sTrimmed.back())))
        sTrimmed.pop_back();
    while (!sTrimmed.empty() && std::isspace(static_cast<unsigned char>(sTrimmed.front())))
        sTrimmed.erase(0, 1);
    if (!parseIntText(sTrimmed, representation(), nValue))
        KX_FAIL(InvalidArgumentException, "Node '%s' : cannot convert string '%s' to int.", msName.c_str(),
                sText.c_str());
    if (!writable())
        KX_FAIL(AccessException, "Node is not writable");
    setInt(nValue, Verify);
}

} // namespace GenApi
