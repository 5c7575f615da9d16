#include "swissknife.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

bool tcKnifeFormula::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (std::strcmp(apName, "Formula") == 0)
    {
        msText = xml::text(arElement);
        mbHasFormula = true;
        return true;
    }
    return mcBindings.parseElement(apName, arElement, arLinker);
}

void tcKnifeFormula::finish()
{
    mcBindings.finish();
    if (!mbHasFormula)
        msError = "no <Formula> given";
    else
        mcBindings.compile(msText, mcFormula, msError);
}

int64_t tcKnifeFormula::evaluateInt()
{
    if (!msError.empty())
        mrOwner.KX_FAIL(LogicalErrorException, "Formula '%s': %s", msText.c_str(), msError.c_str());
    try
    {
        return mcFormula.evaluateInt(mcBindings);
    }
    catch (const tcFormulaError& rError)
    {
        mrOwner.KX_FAIL(LogicalErrorException, "Formula '%s': %s", msText.c_str(), rError.what());
    }
}

double tcKnifeFormula::evaluateFloat()
{
    if (!msError.empty())
        mrOwner.KX_FAIL(LogicalErrorException, "Formula '%s': %s", msText.c_str(), msError.c_str());
    try
    {
        return mcFormula.evaluateFloat(mcBindings);
    }
    catch (const tcFormulaError& rError)
    {
        mrOwner.KX_FAIL(LogicalErrorException, "Formula '%s': %s", msText.c_str(), rError.what());
    }
}

EAccessMode tcKnifeFormula::accessMode() const
{
    return Combine(RO, mcBindings.guardMode());
}

bool tcIntSwissKnife::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (mcKnife.parseElement(apName, arElement, arLinker))
        return true;
    return tcIntegerBase::parseElement(apName, arElement, arLinker);
}

void tcIntSwissKnife::writeValue(int64_t, bool)
{
    KX_FAIL(AccessException, "Node is not writable.");
}

bool tcSwissKnife::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (mcKnife.parseElement(apName, arElement, arLinker))
        return true;
    return tcFloatBase::parseElement(apName, arElement, arLinker);
}

void tcSwissKnife::writeValue(double, bool)
{
    KX_FAIL(AccessException, "Node is not writable.");
}

} // namespace GenApi
