#pragma once
#include "floatbase.h"
#include "formulabindings.h"
#include "integerbase.h"

namespace GenApi
{

// Evaluation shared by both read-only formula nodes.
class tcKnifeFormula
{
public:
    explicit tcKnifeFormula(tcNode& arOwner) : mcBindings(arOwner), mrOwner(arOwner) {}
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker);
    void finish();
    int64_t evaluateInt();
    double evaluateFloat();
    EAccessMode accessMode() const;

private:
    tcFormulaBindings mcBindings;
    tcNode& mrOwner;
    std::string msText;
    bool mbHasFormula = false;
    tcFormula mcFormula;
    std::string msError;
};

// IntSwissKnife: a read-only integer computed in 64-bit integer arithmetic.
class tcIntSwissKnife : public tcIntegerBase
{
public:
    tcIntSwissKnife(tcNodeMap& arMap, std::string asName)
        : tcIntegerBase(arMap, std::move(asName)), mcKnife(*this)
    {
    }
    void finishLoad() override { mcKnife.finish(); }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcKnife.accessMode(); }
    int64_t readValue(bool, bool) override { return mcKnife.evaluateInt(); }
    void writeValue(int64_t, bool) override;

private:
    tcKnifeFormula mcKnife;
};

// SwissKnife: a read-only value computed in floating point.
class tcSwissKnife : public tcFloatBase
{
public:
    tcSwissKnife(tcNodeMap& arMap, std::string asName) : tcFloatBase(arMap, std::move(asName)), mcKnife(*this)
    {
    }
    void finishLoad() override { mcKnife.finish(); }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcKnife.accessMode(); }
    double readValue(bool, bool) override { return mcKnife.evaluateFloat(); }
    void writeValue(double, bool) override;

private:
    tcKnifeFormula mcKnife;
};

} // namespace GenApi
