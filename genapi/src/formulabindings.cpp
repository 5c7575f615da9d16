#include "formulabindings.h"

#include "enumeration.h"

#include <Base/GCException.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

namespace GenApi
{

bool tcFormulaBindings::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    tsBinding cBinding;
    cBinding.msName = xml::attribute(arElement, "Name");
    if (std::strcmp(apName, "pVariable") == 0)
    {
        cBinding.mpNode = arLinker.require(mrOwner, xml::text(arElement));
        mrOwner.addChild(cBinding.mpNode);
        static const std::pair<const char*, teKind> cSuffixes[] = {{".Value", teKind::Value},
                                                                   {".Min", teKind::Min},
                                                                   {".Max", teKind::Max},
                                                                   {".Inc", teKind::Inc},
                                                                   {".AccessMode", teKind::AccessMode},
                                                                   {".Visibility", teKind::Visibility},
                                                                   {".CachingMode", teKind::CachingMode}};
        const std::string& rName = cBinding.msName;
        const size_t nEntry = rName.find(".Entry.");
        if (nEntry != std::string::npos)
        {
            cBinding.meKind = teKind::Entry;
            cBinding.msEntry = rName.substr(nEntry + 7);
        }
        else
        {
            for (const auto& rSuffix : cSuffixes)
            {
                const size_t nLen = std::strlen(rSuffix.first);
                if (rName.size() > nLen && rName.compare(rName.size() - nLen, nLen, rSuffix.first) == 0)
                {
                    cBinding.meKind = rSuffix.second;
                    break;
                }
            }
        }
    }
    else if (std::strcmp(apName, "Constant") == 0)
    {
        cBinding.meKind = teKind::Constant;
        const std::string sText = xml::text(arElement);
        if (!xml::parseFloat(sText, cBinding.mdFloat))
            mrOwner.KX_FAIL(RuntimeException, "Constant '%s' holds '%s', which is not a number",
                            cBinding.msName.c_str(), sText.c_str());
        if (!xml::parseInt(sText, cBinding.mnInt))
            cBinding.mnInt = truncToInt(cBinding.mdFloat);
        else
            cBinding.mdFloat = static_cast<double>(cBinding.mnInt);
    }
    else if (std::strcmp(apName, "Expression") == 0)
    {
        cBinding.meKind = teKind::Expression;
        cBinding.msText = xml::text(arElement);
    }
    else
        return false;
    mcBindings.push_back(std::move(cBinding));
    return true;
}

int tcFormulaBindings::addSpecial(const std::string& arName)
{
    tsBinding cBinding;
    cBinding.msName = arName;
    cBinding.meKind = teKind::Special;
    mcBindings.push_back(std::move(cBinding));
    return static_cast<int>(mcBindings.size() - 1);
}

void tcFormulaBindings::setSpecial(int anIndex, double adValue, int64_t anValue)
{
    tsBinding& rBinding = mcBindings[static_cast<size_t>(anIndex)];
    rBinding.mdFloat = adValue;
    rBinding.mnInt = anValue;
}

int tcFormulaBindings::resolve(const std::string& arName, bool abWithExpressions) const
{
    // Exact match first; older descriptions upper-case their formulas, so a
    // match ignoring case is accepted next.
    for (int i = 0; i < static_cast<int>(mcBindings.size()); ++i)
    {
        const tsBinding& rBinding = mcBindings[static_cast<size_t>(i)];
        if (rBinding.msName == arName && (abWithExpressions || rBinding.meKind != teKind::Expression))
            return i;
    }
    for (int i = 0; i < static_cast<int>(mcBindings.size()); ++i)
    {
        const tsBinding& rBinding = mcBindings[static_cast<size_t>(i)];
        // TO and FROM are keywords and only ever upper case.
        if (rBinding.meKind != teKind::Special && strcasecmp(rBinding.msName.c_str(), arName.c_str()) == 0 &&
            (abWithExpressions || rBinding.meKind != teKind::Expression))
            return i;
    }
    return -1;
}

void tcFormulaBindings::compile(const std::string& arText, tcFormula& arFormula, std::string& arError)
{
    try
    {
        arFormula.parse(arText, [this](const std::string& arName) { return resolve(arName, true); });
        arError.clear();
    }
    catch (const tcFormulaError& rError)
    {
        arError = rError.what();
    }
}

void tcFormulaBindings::finish()
{
    for (tsBinding& rBinding : mcBindings)
    {
        if (rBinding.meKind != teKind::Expression)
            continue;
        try
        {
            rBinding.mcFormula.parse(rBinding.msText,
                                     [this](const std::string& arName) { return resolve(arName, false); });
        }
        catch (const tcFormulaError& rError)
        {
            rBinding.msError = rError.what();
        }
    }
}

void tcFormulaBindings::resolveEntry(tsBinding& arBinding)
{
    if (arBinding.mbEntryResolved)
        return;
    auto* pEnum = dynamic_cast<tcEnumeration*>(arBinding.mpNode);
    if (!pEnum)
        mrOwner.KX_FAIL(RuntimeException, "Variable '%s' needs an enumeration, but '%s' is none",
                        arBinding.msName.c_str(), arBinding.mpNode->name().c_str());
    int64_t nValue = 0;
    if (!pEnum->entryValue(arBinding.msEntry, nValue))
        mrOwner.KX_FAIL(RuntimeException, "Enumeration '%s' has no entry '%s'",
                        arBinding.mpNode->name().c_str(), arBinding.msEntry.c_str());
    arBinding.mnInt = nValue;
    arBinding.mbEntryResolved = true;
}

tcFormulaBindings::tsBinding& tcFormulaBindings::expression(int anIndex)
{
    tsBinding& rBinding = mcBindings[static_cast<size_t>(anIndex)];
    if (!rBinding.msError.empty())
        mrOwner.KX_FAIL(LogicalErrorException, "Expression '%s': %s", rBinding.msName.c_str(),
                        rBinding.msError.c_str());
    return rBinding;
}

int64_t tcFormulaBindings::intValue(int anIndex)
{
    tsBinding& rBinding = mcBindings[static_cast<size_t>(anIndex)];
    switch (rBinding.meKind)
    {
    case teKind::Value:
        return rBinding.mpNode->getInt();
    case teKind::Min:
        return rBinding.mpNode->getIntMin();
    case teKind::Max:
        return rBinding.mpNode->getIntMax();
    case teKind::Inc:
        return rBinding.mpNode->getIntInc();
    case teKind::AccessMode:
        return rBinding.mpNode->accessMode();
    case teKind::Visibility:
        return rBinding.mpNode->GetVisibility();
    case teKind::CachingMode:
        return rBinding.mpNode->GetCachingMode();
    case teKind::Entry:
        resolveEntry(rBinding);
        return rBinding.mnInt;
    case teKind::Constant:
    case teKind::Special:
        return rBinding.mnInt;
    case teKind::Expression:
        return expression(anIndex).mcFormula.evaluateInt(*this);
    }
    return 0;
}

double tcFormulaBindings::floatValue(int anIndex)
{
    tsBinding& rBinding = mcBindings[static_cast<size_t>(anIndex)];
    switch (rBinding.meKind)
    {
    case teKind::Value:
        return rBinding.mpNode->getFloat();
    case teKind::Min:
        return rBinding.mpNode->getFloatMin();
    case teKind::Max:
        return rBinding.mpNode->getFloatMax();
    case teKind::Inc:
        return rBinding.mpNode->getFloatInc();
    case teKind::Constant:
    case teKind::Special:
        return rBinding.mdFloat;
    case teKind::Expression:
        return expression(anIndex).mcFormula.evaluateFloat(*this);
    default:
        return static_cast<double>(intValue(anIndex));
    }
}

EAccessMode tcFormulaBindings::guardMode() const
{
    EAccessMode eMode = RW;
    for (const tsBinding& rBinding : mcBindings)
    {
        if (!rBinding.mpNode || rBinding.meKind == teKind::AccessMode)
            continue;
        const EAccessMode eNode = rBinding.mpNode->accessMode();
        if (eNode == NI)
            return NI;
        if (rBinding.meKind == teKind::Value && !IsReadable(eNode))
            eMode = NA;
    }
    return eMode;
}

} // namespace GenApi
