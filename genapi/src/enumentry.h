#pragma once
#include "node.h"

#include <GenApi/IEnumEntry.h>

namespace GenApi
{

// One named value of an enumeration.
class tcEnumEntry : public tcValueNode, public virtual IEnumEntry
{
public:
    tcEnumEntry(tcNodeMap& arMap, std::string asName, std::string asSymbolic)
        : tcValueNode(arMap, std::move(asName), intfIEnumEntry), msSymbolic(std::move(asSymbolic))
    {
    }
    void finishLoad() override;

    int64_t GetValue() override { return mnValue; }
    gcstring GetSymbolic() const override { return msSymbolic; }
    double GetNumericValue() override { return mbHasNumeric ? mdNumeric : static_cast<double>(mnValue); }
    bool IsSelfClearing() override { return mbSelfClearing; }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;

    int64_t value() const { return mnValue; }
    const std::string& symbolic() const { return msSymbolic; }
    double numericValue() const { return mbHasNumeric ? mdNumeric : static_cast<double>(mnValue); }
    bool selfClearing() const { return mbSelfClearing; }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override { return RO; }
    int64_t doGetInt(bool, bool) override { return mnValue; }
    int64_t doGetIntMin() override { return mnValue; }
    int64_t doGetIntMax() override { return mnValue; }

private:
    std::string msSymbolic;
    int64_t mnValue = 0;
    bool mbHasValue = false;
    double mdNumeric = 0.0;
    bool mbHasNumeric = false;
    bool mbSelfClearing = false;
};

} // namespace GenApi
