#include "floatbase.h"

#include "integerbase.h"
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
    if (writeThrough() && valueAfterWrite(adValue, mdCache))
        mbValueCacheValid = true;
    changed();
    if (abVerify)
        checkDeviceError();
}

int64_t tcFloatBase::doGetInt(bool abVerify, bool abIgnoreCache)
{
    const double dValue = doGetFloat(abVerify, abIgnoreCache);
    // A clamped value would be a wrong one that looks right.
    if (!(dValue >= -9223372036854775808.0 && dValue < 9223372036854775808.0))
        KX_FAIL(RuntimeException, "Value %g does not fit a 64-bit integer", dValue);
    return static_cast<int64_t>(dValue);
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

bool tcFloatBase::sourceHasInc(tcNode* apSource)
{
    if (!apSource)
        return false;
    if (apSource->isFloatLike())
        return apSource->hasFloatInc();
    return dynamic_cast<tcIntegerBase*>(apSource) != nullptr;
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

bool tcFloatBase::parseFloatText(const std::string& arText, double& arValue)
{
    std::istringstream cStream(arText);
    cStream.imbue(std::locale::classic());
    arValue = 0.0;
    cStream >> arValue;
    return !cStream.fail() && (cStream >> std::ws).eof();
}

double tcFloatBase::displayStep(double adValue, EDisplayNotation aeNotation, int64_t anPrecision)
{
    if (aeNotation == fnFixed)
        return std::pow(10.0, static_cast<double>(-anPrecision));
    // Digits count from the leading one: the last shown digit's weight
    // depends on the magnitude.
    const double dExponent = std::floor(std::log10(std::fabs(adValue)));
    if (aeNotation == fnScientific)
        return std::pow(10.0, dExponent - static_cast<double>(anPrecision));
    const int64_t nDigits = anPrecision > 0 ? anPrecision : 1;
    return std::pow(10.0, dExponent - static_cast<double>(nDigits) + 1.0);
}

std::string tcFloatBase::displayText(double adValue)
{
    const EDisplayNotation eNotation = GetDisplayNotation();
    const int64_t nPrecision = GetDisplayPrecision();
    std::string sText = formatFloat(adValue, eNotation, nPrecision);
    double dShown = 0.0;
    if (!std::isfinite(adValue) || adValue == 0.0 || !parseFloatText(sText, dShown) || dShown == adValue)
        return sText;
    // Rounding to the display precision can carry a value at a limit beyond
    // it (Max 2.71828 shown as "2.7183"); a user typing back what is shown
    // would be refused. Such texts round inward instead.
    const bool bAbove = dShown > adValue;
    double dLimit = 0.0;
    try
    {
        dLimit = bAbove ? getFloatMax() : getFloatMin();
    }
    catch (const GenICam::GenericException&)
    {
        return sText; // without a known limit the plain text is the best there is
    }
    const bool bOutside =
        bAbove ? (dShown > dLimit && adValue <= dLimit) : (dShown < dLimit && adValue >= dLimit);
    if (!bOutside)
        return sText;
    const double dStep = displayStep(adValue, eNotation, nPrecision);
    double dCandidate = (bAbove ? std::floor(adValue / dStep) : std::ceil(adValue / dStep)) * dStep;
    for (int i = 0; i < 4 && std::isfinite(dCandidate); ++i)
    {
        const std::string sCandidate = formatFloat(dCandidate, eNotation, nPrecision);
        if (parseFloatText(sCandidate, dShown) && (bAbove ? dShown <= dLimit : dShown >= dLimit))
            return sCandidate;
        dCandidate += bAbove ? -dStep : dStep;
    }
    return sText;
}

gcstring tcFloatBase::ToString(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    if (!readable())
        KX_FAIL(AccessException, "Node is not readable");
    return displayText(getFloat(Verify, IgnoreCache));
}

void tcFloatBase::FromString(const gcstring& ValueStr, bool Verify)
{
    tcMapLock cLock(mrMap);
    double dValue = 0.0;
    if (!parseFloatText(ValueStr.c_str(), dValue))
        KX_FAIL(InvalidArgumentException, "Node '%s' : cannot convert string '%s' to double.", msName.c_str(),
                ValueStr.c_str());
    if (!writable())
        KX_FAIL(AccessException, "Node is not writable");
    setFloat(dValue, Verify);
}

} // namespace GenApi
