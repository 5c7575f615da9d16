#include "floatbase.h"

#include "nodemap.h"
#include "valueref.h"

#include <Base/GCException.h>

#include <cmath>
#include <cstring>
#include <locale>
#include <sstream>

namespace GenApi
{

bool tcFloatBase::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (is("Unit"))
        msUnit = xml::text(arElement);
    else if (is("Representation"))
        meRepresentation = parseRepresentation(xml::text(arElement));
    else if (is("DisplayNotation"))
    {
        const std::string sText = xml::text(arElement);
        meNotation = sText == "Fixed" ? fnFixed : (sText == "Scientific" ? fnScientific : fnAutomatic);
    }
    else if (is("DisplayPrecision"))
    {
        int64_t nPrecision = 6;
        if (xml::parseInt(xml::text(arElement), nPrecision) && nPrecision >= 0 && nPrecision < 64)
            mnPrecision = nPrecision;
    }
    else
        return tcNode::parseElement(apName, arElement, arLinker);
    return true;
}

void tcFloatBase::checkRange(double adValue)
{
    const double dMin = getFloatMin();
    const double dMax = getFloatMax();
    if (adValue < dMin)
        KX_FAIL(OutOfRangeException, "Value %f must be greater than or equal %f.", adValue, dMin);
    if (adValue > dMax)
        KX_FAIL(OutOfRangeException, "Value %f must be smaller than or equal %f.", adValue, dMax);
}

double tcFloatBase::doGetFloat(bool abVerify, bool abIgnoreCache)
{
    requireReadable("Node is not readable.");
    if (mbValueCacheValid && !abVerify && !abIgnoreCache)
        return mdCache;
    const double dValue = readValue(abVerify, abIgnoreCache);
    if (cacheable())
    {
        mdCache = dValue;
        mbValueCacheValid = true;
    }
    if (abVerify)
        checkRange(dValue);
    return dValue;
}

void tcFloatBase::doSetFloat(double adValue, bool abVerify)
{
    tcChangeScope cScope(mrMap);
    requireWritable("Node is not writable.");
    if (abVerify)
        checkRange(adValue);
    mbValueCacheValid = false;
    writeValue(adValue, abVerify);
    if (cacheable() && ownCaching() == WriteThrough && valueAfterWrite(adValue, mdCache))
        mbValueCacheValid = true;
    changed();
    if (abVerify)
        checkDeviceError();
}

int64_t tcFloatBase::doGetInt(bool abVerify, bool abIgnoreCache)
{
    return truncToInt(doGetFloat(abVerify, abIgnoreCache));
}

void tcFloatBase::doSetInt(int64_t anValue, bool abVerify)
{
    doSetFloat(static_cast<double>(anValue), abVerify);
}

double tcFloatBase::doGetFloatMin()
{
    const double dMin = naturalMin();
    return dMin > mdImposedMin ? dMin : mdImposedMin;
}

double tcFloatBase::doGetFloatMax()
{
    const double dMax = naturalMax();
    return dMax < mdImposedMax ? dMax : mdImposedMax;
}

int64_t tcFloatBase::doGetIntMin()
{
    return truncToInt(std::ceil(doGetFloatMin()));
}

int64_t tcFloatBase::doGetIntMax()
{
    return truncToInt(std::floor(doGetFloatMax()));
}

int64_t tcFloatBase::doGetIntInc()
{
    if (!naturalHasInc())
        return 1;
    const int64_t nInc = truncToInt(naturalInc());
    return nInc > 0 ? nInc : 1;
}

double tcFloatBase::doGetFloatInc()
{
    if (!naturalHasInc())
        KX_FAIL(RuntimeException, "node does not have an increment.");
    return naturalInc();
}

bool tcFloatBase::doHasFloatInc()
{
    return naturalHasInc();
}

void tcFloatBase::SetValue(double Value, bool Verify)
{
    tcMapLock cLock(mrMap);
    setFloat(Value, Verify);
}

double tcFloatBase::GetValue(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    return getFloat(Verify, IgnoreCache);
}

double tcFloatBase::GetMin()
{
    tcMapLock cLock(mrMap);
    return getFloatMin();
}

double tcFloatBase::GetMax()
{
    tcMapLock cLock(mrMap);
    return getFloatMax();
}

bool tcFloatBase::HasInc()
{
    tcMapLock cLock(mrMap);
    return hasFloatInc();
}

EIncMode tcFloatBase::GetIncMode()
{
    return HasInc() ? fixedIncrement : noIncrement;
}

double tcFloatBase::GetInc()
{
    tcMapLock cLock(mrMap);
    return getFloatInc();
}

ERepresentation tcFloatBase::GetRepresentation()
{
    tcMapLock cLock(mrMap);
    return representation();
}

gcstring tcFloatBase::GetUnit() const
{
    tcMapLock cLock(mrMap);
    return const_cast<tcFloatBase*>(this)->unitText();
}

std::string tcFloatBase::unitText()
{
    if (!msUnit.empty())
        return msUnit;
    tcNode* pSource = valueSource();
    return pSource ? pSource->unitText() : std::string();
}

ERepresentation tcFloatBase::representation()
{
    if (meRepresentation != _UndefinedRepresentation)
        return meRepresentation;
    tcNode* pSource = valueSource();
    const ERepresentation eSource = pSource ? pSource->representation() : _UndefinedRepresentation;
    return eSource == _UndefinedRepresentation ? PureNumber : eSource;
}

EDisplayNotation tcFloatBase::GetDisplayNotation() const
{
    tcMapLock cLock(mrMap);
    if (meNotation != _UndefinedEDisplayNotation)
        return meNotation;
    const auto* pSource = dynamic_cast<const tcFloatBase*>(valueSource());
    return pSource ? pSource->GetDisplayNotation() : fnAutomatic;
}

int64_t tcFloatBase::GetDisplayPrecision() const
{
    tcMapLock cLock(mrMap);
    if (mnPrecision >= 0)
        return mnPrecision;
    const auto* pSource = dynamic_cast<const tcFloatBase*>(valueSource());
    return pSource ? pSource->GetDisplayPrecision() : 6;
}

void tcFloatBase::ImposeMin(double Value)
{
    tcMapLock cLock(mrMap);
    tcChangeScope cScope(mrMap);
    mdImposedMin = Value;
    mrMap.noteChanged(this, mbValueCacheValid);
}

void tcFloatBase::ImposeMax(double Value)
{
    tcMapLock cLock(mrMap);
    tcChangeScope cScope(mrMap);
    mdImposedMax = Value;
    mrMap.noteChanged(this, mbValueCacheValid);
}

std::string tcFloatBase::formatFloat(double adValue, EDisplayNotation aeNotation, int64_t anPrecision)
{
    // Always the C locale: a GUI may have switched the process locale.
    std::ostringstream cStream;
    cStream.imbue(std::locale::classic());
    if (aeNotation == fnFixed)
        cStream << std::fixed;
    else if (aeNotation == fnScientific)
        cStream << std::scientific;
    cStream.precision(static_cast<std::streamsize>(anPrecision));
    cStream << adValue;
    return cStream.str();
}

gcstring tcFloatBase::ToString(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    if (!readable())
        KX_FAIL(AccessException, "Node is not readable");
    const double dValue = getFloat(Verify, IgnoreCache);
    return formatFloat(dValue, GetDisplayNotation(), GetDisplayPrecision());
}

void tcFloatBase::FromString(const gcstring& ValueStr, bool Verify)
{
    tcMapLock cLock(mrMap);
    std::istringstream cStream(ValueStr.c_str());
    cStream.imbue(std::locale::classic());
    double dValue = 0.0;
    cStream >> dValue;
    if (cStream.fail() || !(cStream >> std::ws).eof())
        KX_FAIL(InvalidArgumentException, "Node '%s' : cannot convert string '%s' to double.", msName.c_str(),
                ValueStr.c_str());
    if (!writable())
        KX_FAIL(AccessException, "Node is not writable");
    setFloat(dValue, Verify);
}

} // namespace GenApi
