#pragma once
#include "enumentry.h"
#include "valueref.h"

#include <GenApi/IEnumeration.h>

#include <unordered_map>

namespace GenApi
{

// Enumeration: an integer whose valid values are its entries.
class tcEnumeration : public tcValueNode, public virtual IEnumeration
{
public:
    tcEnumeration(tcNodeMap& arMap, std::string asName)
        : tcValueNode(arMap, std::move(asName), intfIEnumeration)
    {
    }
    void finishLoad() override;

    void GetSymbolics(StringList_t& Symbolics) override;
    void GetEntries(NodeList_t& Entries) override;
    void SetIntValue(int64_t Value, bool Verify = true) override;
    int64_t GetIntValue(bool Verify = false, bool IgnoreCache = false) override;
    IEnumEntry* GetEntryByName(const gcstring& Symbolic) override;
    IEnumEntry* GetEntry(const int64_t IntValue) override;
    IEnumEntry* GetCurrentEntry(bool Verify = false, bool IgnoreCache = false) override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;

    bool entryValue(const std::string& arSymbolic, int64_t& arValue) const;
    bool pollActive() override;

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override;
    int64_t doGetInt(bool abVerify, bool abIgnoreCache) override;
    void doSetInt(int64_t anValue, bool abVerify) override;
    void doSetFloat(double adValue, bool abVerify) override;
    int64_t doGetIntMin() override;
    int64_t doGetIntMax() override;

private:
    tcEnumEntry* entryFor(int64_t anValue) const;
    tcEnumEntry* entryFor(const std::string& arSymbolic) const;
    bool selfClearingPending() const;

    tcIntRef mcValue;
    std::vector<tcEnumEntry*> mcEntries;
    std::unordered_map<std::string, tcEnumEntry*> mhBySymbolic;
    int64_t mnCache = 0;
    int64_t mnLast = 0; // last value read or written, cached or not
    bool mbLastKnown = false;
};

} // namespace GenApi
