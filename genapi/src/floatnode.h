#pragma once
#include "floatbase.h"
#include "registeraccess.h"
#include "valuesource.h"

namespace GenApi
{

// The Float node: like Integer, over double values; without <Inc> it has no
// increment.
class tcFloat : public tcFloatBase
{
public:
    using tcFloatBase::tcFloatBase;
    void finishLoad() override { mcSource.finish(*this); }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return mcSource.accessMode(); }
    double readValue(bool abVerify, bool abIgnoreCache) override
    {
        return mcSource.read(abVerify, abIgnoreCache);
    }
    void writeValue(double adValue, bool abVerify) override;
    bool valueAfterWrite(double adWritten, double& arValue) override
    {
        arValue = adWritten;
        return mcSource.isFloating();
    }
    double naturalMin() override;
    double naturalMax() override;
    bool naturalHasInc() override { return mcInc.isSet() || sourceHasInc(mcSource.node()); }
    double naturalInc() override { return mcInc.isSet() ? mcInc.get() : mcSource.node()->getFloatInc(); }
    tcNode* valueSource() const override { return mcSource.node(); }

private:
    tcValueSource<double> mcSource;
    tcFloatRef mcMin;
    tcFloatRef mcMax;
    tcFloatRef mcInc;
};

// FloatReg: an IEEE 754 number of 4 or 8 bytes in a register.
class tcFloatReg : public tcFloatBase, public tcRawRegister
{
public:
    using tcFloatBase::tcFloatBase;
    void finishLoad() override;
    const tcRegisterAccess* registerInfo() const override { return &mcRegister; }

protected:
    tcNode& rawNode() override { return *this; }
    const tcRegisterAccess& rawAccess() const override { return mcRegister; }
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override;
    double readValue(bool abVerify, bool abIgnoreCache) override;
    void writeValue(double adValue, bool abVerify) override;
    bool valueAfterWrite(double adWritten, double& arValue) override;

private:
    int64_t checkedLength();
    tcRegisterAccess mcRegister;
};

} // namespace GenApi
