#pragma once
#include "node.h"
#include "valueref.h"

#include <GenApi/IBoolean.h>

namespace GenApi
{

// Boolean: true and false stand for the OnValue and OffValue of an integer.
class tcBoolean : public tcValueNode, public virtual IBoolean
{
public:
    tcBoolean(tcNodeMap& arMap, std::string asName) : tcValueNode(arMap, std::move(asName), intfIBoolean) {}
    void finishLoad() override;

    void SetValue(bool Value, bool Verify = true) override;
    bool GetValue(bool Verify = false, bool IgnoreCache = false) const override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override;
    int64_t doGetInt(bool abVerify, bool abIgnoreCache) override;
    void doSetInt(int64_t anValue, bool abVerify) override;
    int64_t doGetIntMin() override { return 0; }
    int64_t doGetIntMax() override { return 1; }

private:
    bool readBool(bool abVerify, bool abIgnoreCache);
    void writeBool(bool abValue, bool abVerify);

    tcIntRef mcValue;
    int64_t mnOn = 1;
    int64_t mnOff = 0;
    bool mbCache = false;
};

} // namespace GenApi
