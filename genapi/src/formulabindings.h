#pragma once
#include "formula.h"
#include "node.h"

#include <string>
#include <vector>

namespace GenApi
{

// The names a formula node declares (<pVariable>, <Constant>, <Expression>)
// and how each one yields a value. Name suffixes select a property of the
// referenced node: "X.Min", "X.Max", "X.Inc", "X.Value", "X.AccessMode",
// "X.Visibility", "X.CachingMode" and "X.Entry.Symbolic".
class tcFormulaBindings : public tcFormula::tcVariables
{
public:
    explicit tcFormulaBindings(tcNode& arOwner) : mrOwner(arOwner) {}

    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker);
    // A name whose value the owner sets before each evaluation (TO, FROM).
    int addSpecial(const std::string& arName);
    void setSpecial(int anIndex, double adValue, int64_t anValue);

    // Compiles a formula text against the declared names. Errors are kept
    // and raised when the formula is evaluated, so that one broken formula
    // does not stop the whole description from loading.
    void compile(const std::string& arText, tcFormula& arFormula, std::string& arError);
    void finish();

    int64_t intValue(int anIndex) override;
    double floatValue(int anIndex) override;

    // Access rules: NI when a variable is NI, NA when one is not readable.
    EAccessMode guardMode() const;

private:
    enum class teKind
    {
        Value,
        Min,
        Max,
        Inc,
        AccessMode,
        Visibility,
        CachingMode,
        Entry,
        Constant,
        Expression,
        Special
    };
    struct tsBinding
    {
        std::string msName;
        teKind meKind = teKind::Value;
        tcNode* mpNode = nullptr;
        std::string msEntry;
        bool mbEntryResolved = false;
        int64_t mnInt = 0;
        double mdFloat = 0.0;
        std::string msText;
        tcFormula mcFormula;
        std::string msError;
        bool mbBusy = false;
    };

    int resolve(const std::string& arName, bool abWithExpressions) const;
    void resolveEntry(tsBinding& arBinding);
    tsBinding& expression(int anIndex);

    tcNode& mrOwner;
    std::vector<tsBinding> mcBindings;
};

} // namespace GenApi
