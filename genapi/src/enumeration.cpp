#include "enumeration.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cinttypes>
#include <cmath>
#include <cstring>

namespace GenApi
{

bool tcEnumeration::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (is("Value") || is("pValue"))
        mcValue.parse(*this, apName, arElement, arLinker);
    else if (is("EnumEntry"))
    {
        const std::string sEntry = "EnumEntry_" + msName + "_" + xml::attribute(arElement, "Name");
        if (auto* pEntry = dynamic_cast<tcEnumEntry*>(arLinker.require(*this, sEntry)))
            mcEntries.push_back(pEntry);
    }
    else if (is("pEnumEntry"))
    {
        tcNode* pNode = arLinker.require(*this, xml::text(arElement));
        auto* pEntry = dynamic_cast<tcEnumEntry*>(pNode);
        if (!pEntry)
            KX_FAIL(RuntimeException, "pEnumEntry names '%s', which is not an enumeration entry",
                    pNode->name().c_str());
        mcEntries.push_back(pEntry);
    }
    else
        return tcNode::parseElement(apName, arElement, arLinker);
    return true;
}

void tcEnumeration::finishLoad()
{
    if (!mcValue.isSet())
        KX_FAIL(RuntimeException, "Enumeration has neither <Value> nor <pValue>");
    for (tcEnumEntry* pEntry : mcEntries)
    {
        mhBySymbolic.emplace(pEntry->symbolic(), pEntry);
        // An entry's availability usually depends on other nodes; changes
        // there reach the enumeration's users through this link.
        pEntry->addDependent(this);
    }
}

EAccessMode tcEnumeration::naturalAccessMode()
{
    const EAccessMode eMode = mcValue.node() ? mcValue.node()->accessMode() : RW;
    // Only entries give the value a meaning: without an implemented one the
    // feature does not exist, without an available one it cannot be used now.
    bool bImplemented = false;
    for (tcEnumEntry* pEntry : mcEntries)
    {
        const EAccessMode eEntry = pEntry->accessMode();
        if (IsAvailable(eEntry))
            return eMode;
        bImplemented = bImplemented || eEntry != NI;
    }
    return bImplemented ? Combine(eMode, NA) : NI;
}

tcEnumEntry* tcEnumeration::entryFor(int64_t anValue) const
{
    for (tcEnumEntry* pEntry : mcEntries)
        if (pEntry->value() == anValue)
            return pEntry;
    return nullptr;
}

tcEnumEntry* tcEnumeration::entryFor(const std::string& arSymbolic) const
{
    auto it = mhBySymbolic.find(arSymbolic);
    return it == mhBySymbolic.end() ? nullptr : it->second;
}

bool tcEnumeration::entryValue(const std::string& arSymbolic, int64_t& arValue) const
{
    tcEnumEntry* pEntry = entryFor(arSymbolic);
    if (!pEntry)
        return false;
    arValue = pEntry->value();
    return true;
}

bool tcEnumeration::selfClearingPending() const
{
    if (!mbLastKnown)
        return false;
    tcEnumEntry* pEntry = entryFor(mnLast);
    return pEntry && pEntry->selfClearing();
}

bool tcEnumeration::pollActive()
{
    // Polling only matters while a self-clearing entry (such as "Once") is
    // current; it then returns to another value on its own.
    return !mbLastKnown || selfClearingPending();
}

int64_t tcEnumeration::doGetInt(bool abVerify, bool abIgnoreCache)
{
    requireReadable("Node is not readable.");
    // A self-clearing value is about to change on the device; only the
    // device can tell when it has.
    const bool bPending = selfClearingPending();
    if (mbValueCacheValid && !abVerify && !abIgnoreCache && !bPending)
        return mnCache;
    const int64_t nValue = mcValue.get(abVerify, abIgnoreCache || bPending);
    const bool bCleared = bPending && nValue != mnLast;
    mnLast = nValue;
    mbLastKnown = true;
    if (cacheable())
    {
        mnCache = nValue;
        mbValueCacheValid = true;
    }
    if (bCleared)
    {
        // The device has finished: what depends on this feature may have
        // changed with it (GainAuto = Once has set Gain).
        tcChangeScope cScope(mrMap);
        mrMap.noteChanged(this, mbValueCacheValid);
    }
    if (abVerify)
    {
        tcEnumEntry* pEntry = entryFor(nValue);
        if (pEntry && !IsAvailable(pEntry->accessMode()))
            KX_FAIL(AccessException, "The current entry '%s' is not available", pEntry->symbolic().c_str());
    }
    return nValue;
}

void tcEnumeration::doSetInt(int64_t anValue, bool abVerify)
{
    tcChangeScope cScope(mrMap);
    tcEnumEntry* pEntry = entryFor(anValue);
    if (!pEntry)
        KX_FAIL(InvalidArgumentException, "The value %" PRId64 " is not a valid entry", anValue);
    if (!IsAvailable(pEntry->accessMode()))
        KX_FAIL(AccessException, "The entry '%s' is not available", pEntry->symbolic().c_str());
    requireWritable("Node is not writable.");
    mbValueCacheValid = false;
    if (mcValue.node())
        mcValue.set(anValue, abVerify);
    else
        mcValue.setConstant(anValue);
    mnLast = anValue;
    mbLastKnown = true;
    if (writeThrough())
    {
        mnCache = anValue;
        mbValueCacheValid = true;
    }
    changed();
    if (abVerify)
        checkDeviceError();
}

void tcEnumeration::doSetFloat(double adValue, bool abVerify)
{
    // Written as a number: the available entry with the nearest numeric value.
    tcEnumEntry* pBest = nullptr;
    for (tcEnumEntry* pEntry : mcEntries)
    {
        if (!IsAvailable(pEntry->accessMode()))
            continue;
        if (!pBest ||
            std::fabs(pEntry->numericValue() - adValue) < std::fabs(pBest->numericValue() - adValue))
            pBest = pEntry;
    }
    if (!pBest)
        KX_FAIL(AccessException, "The enumeration has no available entry");
    doSetInt(pBest->value(), abVerify);
}

int64_t tcEnumeration::doGetIntMin()
{
    int64_t nMin = INT64_MAX;
    for (tcEnumEntry* pEntry : mcEntries)
        nMin = std::min(nMin, pEntry->value());
    return mcEntries.empty() ? 0 : nMin;
}

int64_t tcEnumeration::doGetIntMax()
{
    int64_t nMax = INT64_MIN;
    for (tcEnumEntry* pEntry : mcEntries)
        nMax = std::max(nMax, pEntry->value());
    return mcEntries.empty() ? 0 : nMax;
}

void tcEnumeration::GetSymbolics(StringList_t& Symbolics)
{
    tcMapLock cLock(mrMap);
    Symbolics.clear();
    for (tcEnumEntry* pEntry : mcEntries)
        if (IsAvailable(pEntry->accessMode()))
            Symbolics.push_back(pEntry->symbolic());
}

void tcEnumeration::GetEntries(NodeList_t& Entries)
{
    tcMapLock cLock(mrMap);
    Entries.clear();
    for (tcEnumEntry* pEntry : mcEntries)
        Entries.push_back(pEntry);
}

void tcEnumeration::SetIntValue(int64_t Value, bool Verify)
{
    tcMapLock cLock(mrMap);
    setInt(Value, Verify);
}

int64_t tcEnumeration::GetIntValue(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    return getInt(Verify, IgnoreCache);
}

IEnumEntry* tcEnumeration::GetEntryByName(const gcstring& Symbolic)
{
    tcMapLock cLock(mrMap);
    return entryFor(std::string(Symbolic.c_str()));
}

IEnumEntry* tcEnumeration::GetEntry(const int64_t IntValue)
{
    tcMapLock cLock(mrMap);
    return entryFor(IntValue);
}

IEnumEntry* tcEnumeration::GetCurrentEntry(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    return entryFor(getInt(Verify, IgnoreCache));
}

gcstring tcEnumeration::ToString(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    if (!readable())
        KX_FAIL(AccessException, "Node is not readable");
    const int64_t nValue = getInt(Verify, IgnoreCache);
    tcEnumEntry* pEntry = entryFor(nValue);
    if (!pEntry)
        KX_FAIL(InvalidArgumentException, "The value %" PRId64 " has no entry", nValue);
    if (Verify && !IsAvailable(pEntry->accessMode()))
        KX_FAIL(AccessException, "The current entry '%s' is not available", pEntry->symbolic().c_str());
    return pEntry->symbolic();
}

void tcEnumeration::FromString(const gcstring& ValueStr, bool Verify)
{
    tcMapLock cLock(mrMap);
    tcEnumEntry* pEntry = entryFor(std::string(ValueStr.c_str()));
    if (!pEntry)
        KX_FAIL(InvalidArgumentException, "Feature '%s' : cannot convert value '%s', the value is invalid.",
                msName.c_str(), ValueStr.c_str());
    if (!IsAvailable(pEntry->accessMode()))
        KX_FAIL(AccessException, "The entry '%s' is not available", pEntry->symbolic().c_str());
    if (!writable())
        KX_FAIL(AccessException, "Node is not writable");
    setInt(pEntry->value(), Verify);
}

} // namespace GenApi
