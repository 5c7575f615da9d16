#pragma once
#include "node.h"

#include <GenApi/IInteger.h>

namespace GenApi
{

// What every integer node shares: the cache, range and increment checks,
// imposed limits and text conversion by representation.
// The node types supply how the value is read and written and the natural
// limits.
class tcIntegerBase : public tcValueNode, public virtual IInteger
{
public:
    tcIntegerBase(tcNodeMap& arMap, std::string asName) : tcValueNode(arMap, std::move(asName), intfIInteger)
    {
    }

    // IInteger
    void SetValue(int64_t Value, bool Verify = true) override;
    int64_t GetValue(bool Verify = false, bool IgnoreCache = false) override;
    int64_t GetMin() override;
    int64_t GetMax() override;
    EIncMode GetIncMode() override { return fixedIncrement; }
    int64_t GetInc() override;
    ERepresentation GetRepresentation() override;
    gcstring GetUnit() const override;
    void ImposeMin(int64_t Value) override;
    void ImposeMax(int64_t Value) override;

    // IValue
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;

    std::string unitText() override;
    ERepresentation representation() override;

    static std::string formatInt(int64_t anValue, ERepresentation aeRepresentation);
    static bool parseIntText(const std::string& arText, ERepresentation aeRepresentation, int64_t& arValue);
    void checkRange(int64_t anValue);
    // The valid value (Min plus a multiple of Inc) nearest to adValue.
    int64_t nearestValid(double adValue);

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    int64_t doGetInt(bool abVerify, bool abIgnoreCache) override;
    void doSetInt(int64_t anValue, bool abVerify) override;
    int64_t doGetIntMin() override;
    int64_t doGetIntMax() override;
    int64_t doGetIntInc() override;

    virtual int64_t readValue(bool abVerify, bool abIgnoreCache) = 0;
    virtual void writeValue(int64_t anValue, bool abVerify) = 0;
    // What a read right after writing anValue would return, when the node
    // knows it without asking the device; otherwise the cache is dropped.
    virtual bool valueAfterWrite(int64_t anWritten, int64_t& arValue)
    {
        (void)anWritten;
        (void)arValue;
        return false;
    }
    virtual int64_t naturalMin() { return INT64_MIN; }
    virtual int64_t naturalMax() { return INT64_MAX; }
    virtual int64_t naturalInc() { return 1; }
    // The node whose unit and representation apply when this one names none.
    virtual tcNode* valueSource() const { return nullptr; }

    int64_t mnCache = 0;
    int64_t mnImposedMin = INT64_MIN;
    int64_t mnImposedMax = INT64_MAX;
    std::string msUnit;
    ERepresentation meRepresentation = _UndefinedRepresentation;
};

} // namespace GenApi
