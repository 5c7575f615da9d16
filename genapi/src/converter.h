#pragma once
#include "floatbase.h"
#include "formulabindings.h"
#include "integerbase.h"

namespace GenApi
{

// The two formulas of a converter: FormulaFrom turns the raw value of
// <pValue> (named TO) into the value shown, FormulaTo turns a value to write
// (named FROM) into the raw value.
class tcConverterFormulas
{
public:
    explicit tcConverterFormulas(tcNode& arOwner) : mcBindings(arOwner), mrOwner(arOwner) {}
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker);
    void finish();
    tcNode* valueNode() const { return mpValue; }

    double fromRawFloat(double adRaw, int64_t anRaw);
    int64_t fromRawInt(int64_t anRaw);
    void toRaw(double adValue, int64_t anValue, bool abIntegerFormula, bool abVerify);
    EAccessMode accessMode() const;
    ESlope slope() const { return meSlope; }
    bool linear() const { return mbLinear; }

private:
    [[noreturn]] void failFormula(const std::string& arText, const char* apError);

    tcFormulaBindings mcBindings;
    tcNode& mrOwner;
    tcNode* mpValue = nullptr;
    std::string msTo;
    std::string msFrom;
    tcFormula mcTo;
    tcFormula mcFrom;
    std::string msToError;
    std::string msFromError;
    int mnToVar = -1;
    int mnFromVar = -1;
    ESlope meSlope = Automatic;
    bool mbLinear = false;
};

// IntConverter: both formulas in integer arithmetic.
class tcIntConverter : public tcIntegerBase
{
public:
    tcIntConverter(tcNodeMap& arMap, std::string asName)
        : tcIntegerBase(arMap, std::move(asName)), mcFormulas(*this)
    {
    }
    void finishLoad() override { mcFormulas.finish(); }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcFormulas.accessMode(); }
    int64_t readValue(bool abVerify, bool abIgnoreCache) override;
    void writeValue(int64_t anValue, bool abVerify) override;
    int64_t naturalMin() override;
    int64_t naturalMax() override;
    tcNode* valueSource() const override { return mcFormulas.valueNode(); }

private:
    std::pair<int64_t, int64_t> range();
    tcConverterFormulas mcFormulas;
};

// Converter: both formulas in floating point.
class tcConverter : public tcFloatBase
{
public:
    tcConverter(tcNodeMap& arMap, std::string asName)
        : tcFloatBase(arMap, std::move(asName)), mcFormulas(*this)
    {
    }
    void finishLoad() override { mcFormulas.finish(); }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcFormulas.accessMode(); }
    double readValue(bool abVerify, bool abIgnoreCache) override;
    void writeValue(double adValue, bool abVerify) override;
    double naturalMin() override;
    double naturalMax() override;
    bool naturalHasInc() override;
    double naturalInc() override;
    tcNode* valueSource() const override { return mcFormulas.valueNode(); }

private:
    std::pair<double, double> range();
    double convert(tcNode* apValue, bool abMax);
    double fromRaw(double adRaw, tcNode* apValue);
    tcConverterFormulas mcFormulas;
};

} // namespace GenApi
