#include "converter.h"

#include <Base/GCException.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace GenApi
{

bool tcConverterFormulas::parseElement(const char* apName, const pugi::xml_node& arElement,
                                       tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (is("FormulaTo"))
        msTo = xml::text(arElement);
    else if (is("FormulaFrom"))
        msFrom = xml::text(arElement);
    else if (is("pValue"))
    {
        mpValue = arLinker.require(mrOwner, xml::text(arElement));
        mrOwner.addChild(mpValue);
        mrOwner.addValueLink(mpValue);
    }
    else if (is("IsLinear"))
        mbLinear = xml::text(arElement) == "Yes";
    else if (is("Slope"))
    {
        const std::string sText = xml::text(arElement);
        meSlope = sText == "Increasing"   ? Increasing
                  : sText == "Decreasing" ? Decreasing
                  : sText == "Varying"    ? Varying
                                          : Automatic;
    }
    else
        return mcBindings.parseElement(apName, arElement, arLinker);
    return true;
}

void tcConverterFormulas::finish()
{
    if (!mpValue)
        mrOwner.KX_FAIL(RuntimeException, "Converter has no <pValue>");
    mnToVar = mcBindings.addSpecial("TO");
    mnFromVar = mcBindings.addSpecial("FROM");
    mcBindings.finish();
    mcBindings.compile(msFrom, mcFrom, msFromError);
    mcBindings.compile(msTo, mcTo, msToError);
}

void tcConverterFormulas::failFormula(const std::string& arText, const char* apError)
{
    mrOwner.KX_FAIL(LogicalErrorException, "Formula '%s': %s", arText.c_str(), apError);
}

double tcConverterFormulas::fromRawFloat(double adRaw, int64_t anRaw)
{
    if (!msFromError.empty())
        failFormula(msFrom, msFromError.c_str());
    mcBindings.setSpecial(mnToVar, adRaw, anRaw);
    try
    {
        return mcFrom.evaluateFloat(mcBindings);
    }
    catch (const tcFormulaError& rError)
    {
        failFormula(msFrom, rError.what());
    }
}

int64_t tcConverterFormulas::fromRawInt(int64_t anRaw)
{
    if (!msFromError.empty())
        failFormula(msFrom, msFromError.c_str());
    mcBindings.setSpecial(mnToVar, static_cast<double>(anRaw), anRaw);
    try
    {
        return mcFrom.evaluateInt(mcBindings);
    }
    catch (const tcFormulaError& rError)
    {
        failFormula(msFrom, rError.what());
    }
}

void tcConverterFormulas::toRaw(double adValue, int64_t anValue, bool abIntegerFormula, bool abVerify)
{
    if (!msToError.empty())
        failFormula(msTo, msToError.c_str());
    mcBindings.setSpecial(mnFromVar, adValue, anValue);
    try
    {
        if (abIntegerFormula)
        {
            mpValue->setInt(mcTo.evaluateInt(mcBindings), abVerify);
            return;
        }
        const double dRaw = mcTo.evaluateFloat(mcBindings);
        if (mpValue->isFloatLike())
            mpValue->setFloat(dRaw, abVerify);
        else
            mpValue->setInt(roundToInt(dRaw), abVerify); // 22.9999999 means 23
    }
    catch (const tcFormulaError& rError)
    {
        failFormula(msTo, rError.what());
    }
}

EAccessMode tcConverterFormulas::accessMode() const
{
    EAccessMode eMode = mpValue->accessMode();
    const EAccessMode eGuard = mcBindings.guardMode();
    if (eGuard == NI)
        return NI;
    if (eGuard == NA)
        return Combine(eMode, NA);
    return eMode;
}

// ---- IntConverter

bool tcIntConverter::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (mcFormulas.parseElement(apName, arElement, arLinker))
        return true;
    return tcIntegerBase::parseElement(apName, arElement, arLinker);
}

int64_t tcIntConverter::readValue(bool abVerify, bool abIgnoreCache)
{
    return mcFormulas.fromRawInt(mcFormulas.valueNode()->getInt(abVerify, abIgnoreCache));
}

void tcIntConverter::writeValue(int64_t anValue, bool abVerify)
{
    mcFormulas.toRaw(static_cast<double>(anValue), anValue, true, abVerify);
}

std::pair<int64_t, int64_t> tcIntConverter::range()
{
    tcNode* pValue = mcFormulas.valueNode();
    switch (mcFormulas.slope())
    {
    case Varying:
        return {INT64_MIN, INT64_MAX};
    case Increasing:
        return {mcFormulas.fromRawInt(pValue->getIntMin()), mcFormulas.fromRawInt(pValue->getIntMax())};
    case Decreasing:
        return {mcFormulas.fromRawInt(pValue->getIntMax()), mcFormulas.fromRawInt(pValue->getIntMin())};
    default:
    {
        int64_t nA = INT64_MIN;
        int64_t nB = INT64_MAX;
        try
        {
            nA = mcFormulas.fromRawInt(pValue->getIntMin());
            nB = mcFormulas.fromRawInt(pValue->getIntMax());
        }
        catch (const GenICam::LogicalErrorException&)
        {
            return {INT64_MIN, INT64_MAX};
        }
        return {std::min(nA, nB), std::max(nA, nB)};
    }
    }
}

int64_t tcIntConverter::naturalMin()
{
    return range().first;
}

int64_t tcIntConverter::naturalMax()
{
    return range().second;
}

// ---- Converter

bool tcConverter::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (mcFormulas.parseElement(apName, arElement, arLinker))
        return true;
    return tcFloatBase::parseElement(apName, arElement, arLinker);
}

double tcConverter::readValue(bool abVerify, bool abIgnoreCache)
{
    tcNode* pValue = mcFormulas.valueNode();
    if (pValue->isFloatLike())
    {
        const double dRaw = pValue->getFloat(abVerify, abIgnoreCache);
        return mcFormulas.fromRawFloat(dRaw, truncToInt(dRaw));
    }
    const int64_t nRaw = pValue->getInt(abVerify, abIgnoreCache);
    return mcFormulas.fromRawFloat(static_cast<double>(nRaw), nRaw);
}

void tcConverter::writeValue(double adValue, bool abVerify)
{
    mcFormulas.toRaw(adValue, truncToInt(adValue), false, abVerify);
}

double tcConverter::fromRaw(double adRaw, tcNode* apValue)
{
    if (apValue->isFloatLike())
        return mcFormulas.fromRawFloat(adRaw, truncToInt(adRaw));
    const int64_t nRaw = truncToInt(adRaw);
    return mcFormulas.fromRawFloat(static_cast<double>(nRaw), nRaw);
}

bool tcConverter::naturalHasInc()
{
    return mcFormulas.linear() && sourceHasInc(mcFormulas.valueNode());
}

double tcConverter::naturalInc()
{
    // A linear conversion scales the raw step by its slope, the same
    // everywhere; it is measured at the raw value nearest to zero, where
    // doubles are most precise.
    tcNode* pValue = mcFormulas.valueNode();
    const double dRawInc = pValue->getFloatInc();
    const double dBase = std::max(pValue->getFloatMin(), std::min(0.0, pValue->getFloatMax()));
    return std::fabs(fromRaw(dBase + dRawInc, pValue) - fromRaw(dBase, pValue));
}

double tcConverter::convert(tcNode* apValue, bool abMax)
{
    if (apValue->isFloatLike())
    {
        const double dRaw = abMax ? apValue->getFloatMax() : apValue->getFloatMin();
        return mcFormulas.fromRawFloat(dRaw, truncToInt(dRaw));
    }
    const int64_t nRaw = abMax ? apValue->getIntMax() : apValue->getIntMin();
    return mcFormulas.fromRawFloat(static_cast<double>(nRaw), nRaw);
}

std::pair<double, double> tcConverter::range()
{
    tcNode* pValue = mcFormulas.valueNode();
    switch (mcFormulas.slope())
    {
    case Varying:
        return {-DBL_MAX_VALUE, DBL_MAX_VALUE};
    case Increasing:
        return {convert(pValue, false), convert(pValue, true)};
    case Decreasing:
        return {convert(pValue, true), convert(pValue, false)};
    default:
    {
        // A formula that cannot be evaluated at an end of the raw range
        // (1/TO at 0) leaves that end of the range open.
        double dA = -DBL_MAX_VALUE;
        double dB = DBL_MAX_VALUE;
        try
        {
            dA = convert(pValue, false);
            dB = convert(pValue, true);
        }
        catch (const GenICam::LogicalErrorException&)
        {
            return {-DBL_MAX_VALUE, DBL_MAX_VALUE};
        }
        return {std::min(dA, dB), std::max(dA, dB)};
    }
    }
}

double tcConverter::naturalMin()
{
    return range().first;
}

double tcConverter::naturalMax()
{
    return range().second;
}

} // namespace GenApi
