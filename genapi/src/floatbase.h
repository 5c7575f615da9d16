#pragma once
#include "node.h"

#include <GenApi/IFloat.h>

namespace GenApi
{

// What every floating-point node shares: the cache, range checks, imposed
// limits, display settings and text conversion.
class tcFloatBase : public tcValueNode, public virtual IFloat
{
public:
    tcFloatBase(tcNodeMap& arMap, std::string asName) : tcValueNode(arMap, std::move(asName), intfIFloat) {}

    // IFloat
    void SetValue(double Value, bool Verify = true) override;
    double GetValue(bool Verify = false, bool IgnoreCache = false) override;
    double GetMin() override;
    double GetMax() override;
    bool HasInc() override;
    EIncMode GetIncMode() override;
    double GetInc() override;
    ERepresentation GetRepresentation() override;
    gcstring GetUnit() const override;
    EDisplayNotation GetDisplayNotation() const override;
    int64_t GetDisplayPrecision() const override;
    void ImposeMin(double Value) override;
    void ImposeMax(double Value) override;

    // IValue
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;

    bool isFloatLike() const override { return true; }
    std::string unitText() override;
    ERepresentation representation() override;
    static std::string formatFloat(double adValue, EDisplayNotation aeNotation, int64_t anPrecision);
    static bool parseFloatText(const std::string& arText, double& arValue);

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    double doGetFloat(bool abVerify, bool abIgnoreCache) override;
    void doSetFloat(double adValue, bool abVerify) override;
    int64_t doGetInt(bool abVerify, bool abIgnoreCache) override;
    void doSetInt(int64_t anValue, bool abVerify) override;
    double doGetFloatMin() override;
    double doGetFloatMax() override;
    int64_t doGetIntMin() override;
    int64_t doGetIntMax() override;
    int64_t doGetIntInc() override;
    double doGetFloatInc() override;
    bool doHasFloatInc() override;

    virtual double readValue(bool abVerify, bool abIgnoreCache) = 0;
    virtual void writeValue(double adValue, bool abVerify) = 0;
    // See tcIntegerBase::valueAfterWrite.
    virtual bool valueAfterWrite(double adWritten, double& arValue)
    {
        (void)adWritten;
        (void)arValue;
        return false;
    }
    virtual double naturalMin() { return -DBL_MAX_VALUE; }
    virtual double naturalMax() { return DBL_MAX_VALUE; }
    virtual bool naturalHasInc() { return false; }
    virtual double naturalInc() { return 0.0; }
    virtual tcNode* valueSource() const { return nullptr; }
    void checkRange(double adValue);
    // The value as shown: display notation and precision, kept inside the
    // limits so that the text is accepted when written back.
    std::string displayText(double adValue);
    // The weight of the last digit shown for adValue.
    static double displayStep(double adValue, EDisplayNotation aeNotation, int64_t anPrecision);
    // Whether a value taken from apSource has an increment: a float's own,
    // or an integer's.
    static bool sourceHasInc(tcNode* apSource);

    static constexpr double DBL_MAX_VALUE = 1.7976931348623157e308;

    double mdCache = 0.0;
    double mdImposedMin = -DBL_MAX_VALUE;
    double mdImposedMax = DBL_MAX_VALUE;
    std::string msUnit;
    ERepresentation meRepresentation = _UndefinedRepresentation;
    EDisplayNotation meNotation = _UndefinedEDisplayNotation;
    int64_t mnPrecision = -1;
};

} // namespace GenApi
