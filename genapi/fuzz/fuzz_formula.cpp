// Parses and evaluates arbitrary formula text in both arithmetic modes.
#include "formula.h"

#include <string>

using GenApi::tcFormula;

namespace
{
class tcVariables : public tcFormula::tcVariables
{
public:
    int64_t intValue(int anIndex) override { return anIndex == 0 ? -7 : anIndex == 1 ? INT64_MIN : 3; }
    double floatValue(int anIndex) override { return anIndex == 0 ? -7.5 : anIndex == 1 ? 1e308 : 0.0; }
};

int resolve(const std::string& arName)
{
    if (arName == "A")
        return 0;
    if (arName == "B")
        return 1;
    if (arName == "C.Max")
        return 2;
    return -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* apData, size_t anSize)
{
    const std::string sText(reinterpret_cast<const char*>(apData), anSize);
    tcFormula cFormula;
    tcVariables cVariables;
    try
    {
        cFormula.parse(sText, resolve);
    }
    catch (const GenApi::tcFormulaError&)
    {
        return 0;
    }
    try
    {
        cFormula.evaluateInt(cVariables);
    }
    catch (const GenApi::tcFormulaError&)
    {
    }
    try
    {
        cFormula.evaluateFloat(cVariables);
    }
    catch (const GenApi::tcFormulaError&)
    {
    }
    return 0;
}
