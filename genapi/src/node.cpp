#include "node.h"

#include "nodemap.h"

#include <Base/GCException.h>
#include <GenApi/IEnumeration.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

namespace GenApi
{

int64_t truncToInt(double adValue)
{
    if (std::isnan(adValue))
        return 0;
    if (adValue >= 9223372036854775807.0)
        return INT64_MAX;
    if (adValue <= -9223372036854775808.0)
        return INT64_MIN;
    return static_cast<int64_t>(adValue);
}

int64_t roundToInt(double adValue)
{
    return truncToInt(std::round(adValue));
}

std::string formatText(const char* apFormat, ...)
{
    va_list cArgs;
    va_start(cArgs, apFormat);
    std::string sText = GenICam::FormatExceptionText(apFormat, cArgs);
    va_end(cArgs);
    return sText;
}

// Handles of live callbacks, so that Deregister can tell a valid handle from
// one whose node map is already gone.
namespace
{
struct tsRegistry
{
    std::mutex mcMutex;
    std::unordered_map<CallbackHandleType, std::weak_ptr<tcNodeMap>> mhMaps;
};

tsRegistry& registry()
{
    static tsRegistry cRegistry;
    return cRegistry;
}

EVisibility parseVisibility(const std::string& arText)
{
    if (arText == "Expert")
        return Expert;
    if (arText == "Guru")
        return Guru;
    if (arText == "Invisible")
        return Invisible;
    return Beginner;
}

EAccessMode parseAccess(const std::string& arText, EAccessMode aeDefault)
{
    if (arText == "RO")
        return RO;
    if (arText == "WO")
        return WO;
    if (arText == "RW")
        return RW;
    return aeDefault;
}
} // namespace

void Deregister(CallbackHandleType hCallback)
{
    std::shared_ptr<tcNodeMap> pMap;
    {
        tsRegistry& rRegistry = registry();
        std::lock_guard<std::mutex> cLock(rRegistry.mcMutex);
        auto it = rRegistry.mhMaps.find(hCallback);
        if (it == rRegistry.mhMaps.end())
            return;
        pMap = it->second.lock();
        rRegistry.mhMaps.erase(it);
    }
    if (!pMap)
        return;
    tcMapLock cLock(*pMap);
    for (const auto& rNode : pMap->nodes())
        if (rNode->DeregisterCallback(hCallback))
            return;
}

tcNode::tcNode(tcNodeMap& arMap, std::string asName, EInterfaceType aePrincipal)
    : mrMap(arMap), msName(std::move(asName)), mePrincipal(aePrincipal)
{
}

tcNode::~tcNode() = default;

void tcNode::configure(const tsNodeSource& arSource, tcLinker& arLinker)
{
    if (xml::attribute(arSource.mcElement, "NameSpace") == "Standard")
        meNameSpace = Standard;
    mcElement = arSource.mcElement;
    mcFallback = arSource.mcFallback;
    for (const pugi::xml_node& rChild : arSource.children())
        parseElement(xml::localName(rChild), rChild, arLinker);
}

bool tcNode::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    auto guard = [&](tcNode*& arTarget)
    {
        arTarget = arLinker.require(*this, xml::text(arElement));
        addChild(arTarget);
    };
    if (is("ToolTip"))
        msToolTip = xml::text(arElement);
    else if (is("Description"))
        msDescription = xml::text(arElement);
    else if (is("DisplayName"))
        msDisplayName = xml::text(arElement);
    else if (is("Visibility"))
        meVisibility = parseVisibility(xml::text(arElement));
    else if (is("DocuURL"))
        msDocuURL = xml::text(arElement);
    else if (is("IsDeprecated"))
        mbDeprecated = xml::text(arElement) == "Yes";
    else if (is("EventID"))
        msEventID = xml::text(arElement);
    else if (is("Streamable"))
        mbStreamable = xml::text(arElement) == "Yes";
    else if (is("pIsImplemented"))
        guard(mpIsImplemented);
    else if (is("pIsAvailable"))
        guard(mpIsAvailable);
    else if (is("pIsLocked"))
        guard(mpIsLocked);
    else if (is("pBlockPolling"))
        guard(mpBlockPolling);
    else if (is("pError"))
        mpError = arLinker.optional(xml::text(arElement));
    else if (is("ImposedAccessMode"))
        meImposedByXml = parseAccess(xml::text(arElement), RW);
    else if (is("pAlias"))
        mpAlias = arLinker.optional(xml::text(arElement));
    else if (is("pCastAlias"))
        mpCastAlias = arLinker.optional(xml::text(arElement));
    else if (is("pSelected"))
        addSelected(arLinker.optional(xml::text(arElement)));
    else if (is("pInvalidator"))
    {
        if (tcNode* pInvalidator = arLinker.optional(xml::text(arElement)))
            addInvalidator(pInvalidator);
    }
    else if (is("PollingTime"))
    {
        int64_t nTime = -1;
        if (xml::parseInt(xml::text(arElement), nTime))
            mnPollingTime = nTime;
    }
    else if (is("Cachable"))
    {
        const std::string sMode = xml::text(arElement);
        meOwnCaching = sMode == "NoCache" ? NoCache : (sMode == "WriteAround" ? WriteAround : WriteThrough);
    }
    else
        return false;
    return true;
}

void tcNode::addChild(tcNode* apChild)
{
    if (!apChild || apChild == this)
        return;
    mcChildren.push_back(apChild);
    apChild->mcParents.push_back(this);
    apChild->mcDependents.push_back(this);
}

void tcNode::addDependent(tcNode* apDependent)
{
    if (apDependent && apDependent != this)
        mcDependents.push_back(apDependent);
}

void tcNode::addInvalidator(tcNode* apInvalidator)
{
    if (apInvalidator)
        apInvalidator->addDependent(this);
}

void tcNode::addValueLink(tcNode* apSource)
{
    if (!apSource || apSource == this)
        return;
    mcValueSources.push_back(apSource);
    apSource->mcValueReaders.push_back(this);
}

void tcNode::addSelected(tcNode* apSelected)
{
    if (!apSelected || apSelected == this)
        return;
    mcSelected.push_back(apSelected);
    apSelected->mcSelecting.push_back(this);
    // A selector change alters what the selected feature shows.
    addDependent(apSelected);
}

void tcNode::computeEffectiveCaching()
{
    // Depth-first over what this node reads from, with an explicit stack so
    // that long reference chains cannot exhaust the call stack. A node met
    // again while still open is part of a cycle and contributes its own mode.
    if (mbCachingComputed)
        return;
    struct tsFrame
    {
        tcNode* mpNode;
        size_t mnNext;
    };
    std::vector<tsFrame> cStack{{this, 0}};
    mbCachingComputed = true;
    meEffectiveCaching = meOwnCaching;
    while (!cStack.empty())
    {
        tsFrame& rFrame = cStack.back();
        tcNode* pNode = rFrame.mpNode;
        if (rFrame.mnNext < pNode->mcChildren.size())
        {
            tcNode* pChild = pNode->mcChildren[rFrame.mnNext++];
            if (!pChild->mbCachingComputed)
            {
                pChild->mbCachingComputed = true;
                pChild->meEffectiveCaching = pChild->meOwnCaching;
                cStack.push_back({pChild, 0});
            }
            else
                pNode->meEffectiveCaching = Combine(pNode->meEffectiveCaching, pChild->meEffectiveCaching);
            continue;
        }
        cStack.pop_back();
        if (!cStack.empty())
        {
            tcNode* pParent = cStack.back().mpNode;
            pParent->meEffectiveCaching = Combine(pParent->meEffectiveCaching, pNode->meEffectiveCaching);
        }
    }
}

gcstring tcNode::GetName(bool FullQualified) const
{
    if (!FullQualified)
        return msName;
    return gcstring((meNameSpace == Standard ? "Std::" : "Cust::") + msName);
}

EVisibility tcNode::GetVisibility() const
{
    tcMapLock cLock(mrMap);
    return Combine(meVisibility, meImposedVisibility);
}

void tcNode::InvalidateNode()
{
    tcMapLock cLock(mrMap);
    tcChangeScope cScope(mrMap);
    invalidateCache();
    mrMap.noteChanged(this, false);
}

bool tcNode::IsCachable() const
{
    tcMapLock cLock(mrMap);
    return meEffectiveCaching != NoCache;
}

ECachingMode tcNode::GetCachingMode() const
{
    tcMapLock cLock(mrMap);
    return meEffectiveCaching;
}

gcstring tcNode::GetDeviceName() const
{
    return const_cast<tcNodeMap&>(mrMap).GetDeviceName();
}

void tcNode::GetChildren(NodeList_t& Children, ELinkType LinkType) const
{
    tcMapLock cLock(mrMap);
    Children.clear();
    const std::vector<tcNode*>& rSource =
        (LinkType == ctInvalidatingChildren || LinkType == ctDependingNodes) ? mcDependents : mcChildren;
    for (tcNode* pNode : rSource)
        if (std::find(Children.begin(), Children.end(), pNode) == Children.end())
            Children.push_back(pNode);
}

void tcNode::GetParents(NodeList_t& Parents) const
{
    tcMapLock cLock(mrMap);
    Parents.clear();
    for (tcNode* pNode : mcParents)
        if (std::find(Parents.begin(), Parents.end(), pNode) == Parents.end())
            Parents.push_back(pNode);
}

CallbackHandleType tcNode::RegisterCallback(CNodeCallback* pCallback)
{
    if (!pCallback)
        throw LOGICAL_ERROR_EXCEPTION("NULL pointer dereferenced");
    tcMapLock cLock(mrMap);
    auto pEntry = std::make_shared<tsCallbackEntry>();
    pEntry->mpCallback = std::unique_ptr<CNodeCallback, void (*)(CNodeCallback*)>(
        pCallback, [](CNodeCallback* apCallback) { apCallback->Destroy(); });
    mcCallbacks.push_back(pEntry);
    const CallbackHandleType hHandle = reinterpret_cast<CallbackHandleType>(pCallback);
    tsRegistry& rRegistry = registry();
    std::lock_guard<std::mutex> cRegistryLock(rRegistry.mcMutex);
    rRegistry.mhMaps[hHandle] = mrMap.weak_from_this();
    return hHandle;
}

bool tcNode::DeregisterCallback(CallbackHandleType hCallback)
{
    tcMapLock cLock(mrMap);
    for (auto it = mcCallbacks.begin(); it != mcCallbacks.end(); ++it)
    {
        if (reinterpret_cast<CallbackHandleType>((*it)->mpCallback.get()) == hCallback)
        {
            (*it)->mbAlive = false;
            mcCallbacks.erase(it);
            tsRegistry& rRegistry = registry();
            std::lock_guard<std::mutex> cRegistryLock(rRegistry.mcMutex);
            rRegistry.mhMaps.erase(hCallback);
            return true;
        }
    }
    return false;
}

void tcNode::dropCallbacks()
{
    for (auto& rEntry : mcCallbacks)
        rEntry->mbAlive = false;
    mcCallbacks.clear();
}

void tcNode::fireCallbacks(ECallbackType aeType)
{
    // Copy first: a callback may deregister itself or others.
    const auto cCallbacks = mcCallbacks;
    for (const auto& rEntry : cCallbacks)
    {
        if (rEntry->mbAlive && rEntry->mpCallback->GetCallbackType() == aeType)
            (*rEntry->mpCallback)(aeType);
    }
}

void tcNode::collectOutsideCallbacks(std::vector<std::shared_ptr<tsCallbackEntry>>& arList)
{
    for (const auto& rEntry : mcCallbacks)
        if (rEntry->mpCallback->GetCallbackType() == cbPostOutsideLock)
            arList.push_back(rEntry);
}

INodeMap* tcNode::GetNodeMap() const
{
    return &mrMap;
}

namespace
{
const char* const gcFixedProperties[] = {"Name",        "NameSpace",  "ToolTip", "Description",
                                         "DisplayName", "Visibility", "EventID"};
}

void tcNode::GetPropertyNames(gcstring_vector& PropertyNames) const
{
    tcMapLock cLock(mrMap);
    PropertyNames.clear();
    std::vector<std::string> cNames(std::begin(gcFixedProperties), std::end(gcFixedProperties));
    for (const pugi::xml_node& rChild : tsNodeSource{mcElement, mcFallback}.children())
    {
        const char* pName = xml::localName(rChild);
        if (std::find(cNames.begin(), cNames.end(), pName) == cNames.end())
            cNames.emplace_back(pName);
    }
    for (const std::string& rName : cNames)
        PropertyNames.push_back(rName.c_str());
}

bool tcNode::elementProperty(const std::string& arName, std::string& arValue, std::string& arAttribute) const
{
    // Read from the description itself, so that every element a node was
    // given can be asked for without keeping a copy of each while loading.
    // Repeated elements (pFeature, pVariable) answer tab-separated lists.
    bool bFound = false;
    for (const pugi::xml_node& rChild : tsNodeSource{mcElement, mcFallback}.children())
    {
        if (arName != xml::localName(rChild))
            continue;
        if (bFound)
        {
            arValue += '\t';
            arAttribute += '\t';
        }
        arValue += xml::text(rChild);
        bool bFirst = true;
        for (const pugi::xml_attribute& rAttribute : rChild.attributes())
        {
            if (!bFirst)
                arAttribute += ' ';
            arAttribute += std::string(rAttribute.name()) + "=" + rAttribute.value();
            bFirst = false;
        }
        bFound = true;
    }
    return bFound;
}

bool tcNode::GetProperty(const gcstring& PropertyName, gcstring& ValueStr, gcstring& AttributeStr)
{
    tcMapLock cLock(mrMap);
    static const char* const cVisibility[] = {"Beginner", "Expert", "Guru", "Invisible"};
    AttributeStr = "";
    const std::string sName = PropertyName.c_str();
    if (sName == "Name")
        ValueStr = msName;
    else if (sName == "NameSpace")
        ValueStr = meNameSpace == Standard ? "Standard" : "Custom";
    else if (sName == "ToolTip")
        ValueStr = msToolTip;
    else if (sName == "Description")
        ValueStr = msDescription;
    else if (sName == "DisplayName")
        ValueStr = GetDisplayName();
    else if (sName == "Visibility")
        ValueStr = cVisibility[std::min<int>(GetVisibility(), 3)];
    else if (sName == "EventID")
        ValueStr = msEventID;
    else
    {
        std::string sValue;
        std::string sAttribute;
        if (!elementProperty(sName, sValue, sAttribute))
            return false;
        ValueStr = sValue;
        AttributeStr = sAttribute;
    }
    return true;
}

void tcNode::ImposeAccessMode(EAccessMode AccessMode)
{
    tcMapLock cLock(mrMap);
    tcChangeScope cScope(mrMap);
    meImposedByApi = AccessMode;
    invalidateCache();
    mrMap.noteChanged(this, false);
}

void tcNode::ImposeVisibility(EVisibility Visibility)
{
    tcMapLock cLock(mrMap);
    meImposedVisibility = Visibility;
}

gcstring tcNode::GetDocuURL() const
{
    return msDocuURL;
}

EAccessMode tcNode::GetAccessMode() const
{
    tcMapLock cLock(mrMap);
    return const_cast<tcNode*>(this)->accessMode();
}

EAccessMode tcNode::guardMode(tcNode* apGuard)
{
    const EAccessMode eMode = apGuard->accessMode();
    if (eMode == NI)
        return NI;
    if (!IsReadable(eMode))
        return NA;
    return RW;
}

EAccessMode tcNode::accessMode()
{
    if (mbAccessValid)
        return meAccess;
    if (mnAccessBusy > 0)
        return RW; // a cycle through access rules: treat the inner visit as unrestricted
    tcDepthGuard cGuard(*this);
    ++mnAccessBusy;
    struct tsRelease
    {
        int& mrBusy;
        ~tsRelease() { --mrBusy; }
    } cRelease{mnAccessBusy};

    EAccessMode eMode = RW;
    if (mpIsImplemented)
    {
        const EAccessMode eGuard = guardMode(mpIsImplemented);
        if (eGuard != RW)
            eMode = NA;
        else if (mpIsImplemented->getInt() == 0)
            eMode = NI;
    }
    if (eMode == RW && mpIsAvailable)
    {
        const EAccessMode eGuard = guardMode(mpIsAvailable);
        if (eGuard != RW)
            eMode = NA;
        else if (mpIsAvailable->getInt() == 0)
            eMode = notAvailableMeansNI() ? NI : NA;
    }
    if (eMode == RW)
    {
        eMode = naturalAccessMode();
        if (mpIsLocked && IsImplemented(eMode))
        {
            const EAccessMode eGuard = guardMode(mpIsLocked);
            if (eGuard != RW)
                eMode = Combine(eMode, NA);
            else if (mpIsLocked->getInt() != 0)
                eMode = Combine(eMode, RO);
        }
    }
    // What is imposed holds whatever the guards said: an imposed NI wins
    // over a guard's NA.
    eMode = Combine(Combine(eMode, meImposedByXml), meImposedByApi);
    if (cacheable())
    {
        meAccess = eMode;
        mbAccessValid = true;
    }
    return eMode;
}

void tcNode::invalidateCache()
{
    mbValueCacheValid = false;
    mbAccessValid = false;
}

bool tcNode::pollDue(int64_t anElapsed)
{
    if (mnPollingTime <= 0 || !pollActive())
        return false;
    mnPollElapsed += anElapsed;
    if (mnPollElapsed < mnPollingTime)
        return false;
    mnPollElapsed = 0;
    if (mpBlockPolling && mpBlockPolling->readable() && mpBlockPolling->getInt() != 0)
        return false;
    return true;
}

void tcNode::requireReadable(const char* apText)
{
    if (!readable())
        KX_FAIL(AccessException, "%s", apText);
}

void tcNode::requireWritable(const char* apText)
{
    if (!writable())
        KX_FAIL(AccessException, "%s", apText);
}

void tcNode::changed()
{
    mrMap.noteChanged(this, mbValueCacheValid);
}

void tcNode::checkDeviceError()
{
    if (!mpError || !mpError->readable())
        return;
    const int64_t nError = mpError->getInt(false, true);
    if (nError == 0)
        return;
    std::string sText = "The device reports error " + std::to_string(nError);
    if (auto* pEnum = dynamic_cast<IEnumeration*>(mpError))
    {
        if (IEnumEntry* pEntry = pEnum->GetEntry(nError))
        {
            INode* pEntryNode = pEntry->GetNode();
            sText += " (" + std::string(pEntryNode->GetDisplayName().c_str());
            if (!pEntryNode->GetToolTip().empty())
                sText += ": " + std::string(pEntryNode->GetToolTip().c_str());
            sText += ")";
        }
    }
    KX_FAIL(RuntimeException, "%s", sText.c_str());
}

void tcNode::noValue(const char* apWhat) const
{
    KX_FAIL(LogicalErrorException, "Node has no %s value", apWhat);
}

// ---- guarded entry points

int64_t tcNode::getInt(bool abVerify, bool abIgnoreCache)
{
    tcDepthGuard cGuard(*this);
    return doGetInt(abVerify, abIgnoreCache);
}
double tcNode::getFloat(bool abVerify, bool abIgnoreCache)
{
    tcDepthGuard cGuard(*this);
    return doGetFloat(abVerify, abIgnoreCache);
}
void tcNode::setInt(int64_t anValue, bool abVerify)
{
    tcDepthGuard cGuard(*this);
    doSetInt(anValue, abVerify);
}
void tcNode::setFloat(double adValue, bool abVerify)
{
    tcDepthGuard cGuard(*this);
    doSetFloat(adValue, abVerify);
}
int64_t tcNode::getIntMin()
{
    tcDepthGuard cGuard(*this);
    return doGetIntMin();
}
int64_t tcNode::getIntMax()
{
    tcDepthGuard cGuard(*this);
    return doGetIntMax();
}
int64_t tcNode::getIntInc()
{
    tcDepthGuard cGuard(*this);
    return doGetIntInc();
}
double tcNode::getFloatMin()
{
    tcDepthGuard cGuard(*this);
    return doGetFloatMin();
}
double tcNode::getFloatMax()
{
    tcDepthGuard cGuard(*this);
    return doGetFloatMax();
}
double tcNode::getFloatInc()
{
    tcDepthGuard cGuard(*this);
    return doGetFloatInc();
}
bool tcNode::hasFloatInc()
{
    tcDepthGuard cGuard(*this);
    return doHasFloatInc();
}
std::string tcNode::getString(bool abVerify, bool abIgnoreCache)
{
    tcDepthGuard cGuard(*this);
    return doGetString(abVerify, abIgnoreCache);
}
void tcNode::setString(const std::string& arValue, bool abVerify)
{
    tcDepthGuard cGuard(*this);
    doSetString(arValue, abVerify);
}

// ---- defaults: this node has no such value

int64_t tcNode::doGetInt(bool, bool)
{
    noValue("integer");
}
double tcNode::doGetFloat(bool abVerify, bool abIgnoreCache)
{
    return static_cast<double>(doGetInt(abVerify, abIgnoreCache));
}
void tcNode::doSetInt(int64_t, bool)
{
    noValue("integer");
}
void tcNode::doSetFloat(double adValue, bool abVerify)
{
    doSetInt(roundToInt(adValue), abVerify);
}
int64_t tcNode::doGetIntMin()
{
    noValue("integer");
}
int64_t tcNode::doGetIntMax()
{
    noValue("integer");
}
int64_t tcNode::doGetIntInc()
{
    return 1;
}
double tcNode::doGetFloatMin()
{
    return static_cast<double>(doGetIntMin());
}
double tcNode::doGetFloatMax()
{
    return static_cast<double>(doGetIntMax());
}
double tcNode::doGetFloatInc()
{
    return static_cast<double>(doGetIntInc());
}
bool tcNode::doHasFloatInc()
{
    return true;
}
std::string tcNode::doGetString(bool, bool)
{
    noValue("string");
}
void tcNode::doSetString(const std::string&, bool)
{
    noValue("string");
}

bool tcValueNode::IsValueCacheValid() const
{
    tcMapLock cLock(mrMap);
    return mbValueCacheValid;
}

bool tcValueNode::IsSelector() const
{
    tcMapLock cLock(mrMap);
    return !mcSelected.empty();
}

namespace
{
// The nodes reached from acStart by following one kind of link, each once,
// in the order met; the starting nodes come first.
template <class F> std::vector<tcNode*> reach(const std::vector<tcNode*>& acStart, F afNext)
{
    std::vector<tcNode*> cResult;
    std::unordered_set<tcNode*> cSeen;
    for (tcNode* pNode : acStart)
        if (cSeen.insert(pNode).second)
            cResult.push_back(pNode);
    for (size_t i = 0; i < cResult.size(); ++i)
        for (tcNode* pNext : afNext(cResult[i]))
            if (cSeen.insert(pNext).second)
                cResult.push_back(pNext);
    return cResult;
}

void toFeatureList(const std::vector<tcNode*>& acNodes, const tcNode* apExclude, FeatureList_t& arList)
{
    arList.clear();
    for (tcNode* pNode : acNodes)
        if (pNode != apExclude)
            if (auto* pValue = dynamic_cast<IValue*>(pNode))
                arList.push_back(pValue);
}
} // namespace

void tcValueNode::GetSelectedFeatures(FeatureList_t& Features) const
{
    tcMapLock cLock(mrMap);
    // pInvalidator links are not followed: a node that is merely refreshed
    // by a selected one does not change its meaning with the selector.
    const std::vector<tcNode*> cSelected = reach(
        mcSelected, [](tcNode* apNode) -> const std::vector<tcNode*>& { return apNode->valueReaders(); });
    toFeatureList(cSelected, this, Features);
}

void tcValueNode::GetSelectingFeatures(FeatureList_t& Features) const
{
    tcMapLock cLock(mrMap);
    // Whatever selects a node this one takes its value from selects this
    // one as well.
    const std::vector<tcNode*> cSources =
        reach({const_cast<tcValueNode*>(this)},
              [](tcNode* apNode) -> const std::vector<tcNode*>& { return apNode->valueSources(); });
    std::vector<tcNode*> cSelecting;
    for (tcNode* pSource : cSources)
        for (tcNode* pSelector : pSource->selecting())
            if (std::find(cSelecting.begin(), cSelecting.end(), pSelector) == cSelecting.end())
                cSelecting.push_back(pSelector);
    toFeatureList(cSelecting, this, Features);
}

} // namespace GenApi
