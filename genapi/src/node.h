#pragma once
#include "xmlelements.h"

#include <GenApi/INode.h>
#include <GenApi/INodeMap.h>
#include <GenApi/ISelector.h>
#include <GenApi/IValue.h>
#include <GenApi/NodeCallback.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace GenApi
{

class tcNodeMap;
class tcRegisterAccess;

// Conversions from floating point that never overflow.
int64_t truncToInt(double adValue);
int64_t roundToInt(double adValue);

// printf-style text for exception descriptions.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
formatText(const char* apFormat, ...);

// Base of every node: the common descriptive elements, the access-mode rules,
// the links to other nodes and the value cache flag. Values are reached
// through the non-virtual get/set functions below, which guard against
// endless recursion and delegate to the node type.
class tcNode : public virtual INode
{
public:
    tcNode(tcNodeMap& arMap, std::string asName, EInterfaceType aePrincipal);
    ~tcNode() override;
    tcNode(const tcNode&) = delete;
    tcNode& operator=(const tcNode&) = delete;

    // ---- loading
    void configure(const tsNodeSource& arSource, tcLinker& arLinker);
    virtual void finishLoad() {}
    void addChild(tcNode* apChild);
    void addDependent(tcNode* apDependent);
    void addInvalidator(tcNode* apInvalidator);
    // This node takes its value or a limit (pValue, pMin, pMax,
    // pValueIndexed) from apSource; selector lists follow these links.
    void addValueLink(tcNode* apSource);
    void addSelected(tcNode* apSelected);
    void setFeature() { mbIsFeature = true; }
    void computeEffectiveCaching();

    // ---- INode
    gcstring GetName(bool FullQualified = false) const override;
    ENameSpace GetNameSpace() const override { return meNameSpace; }
    EVisibility GetVisibility() const override;
    void InvalidateNode() override;
    bool IsCachable() const override;
    ECachingMode GetCachingMode() const override;
    int64_t GetPollingTime() const override { return mnPollingTime; }
    gcstring GetToolTip() const override { return msToolTip; }
    gcstring GetDescription() const override { return msDescription; }
    gcstring GetDisplayName() const override { return msDisplayName.empty() ? msName : msDisplayName; }
    gcstring GetDeviceName() const override;
    void GetChildren(NodeList_t& Children, ELinkType LinkType = ctReadingChildren) const override;
    void GetParents(NodeList_t& Parents) const override;
    CallbackHandleType RegisterCallback(CNodeCallback* pCallback) override;
    bool DeregisterCallback(CallbackHandleType hCallback) override;
    INodeMap* GetNodeMap() const override;
    gcstring GetEventID() const override { return msEventID; }
    bool IsStreamable() const override { return mbStreamable; }
    void GetPropertyNames(gcstring_vector& PropertyNames) const override;
    bool GetProperty(const gcstring& PropertyName, gcstring& ValueStr, gcstring& AttributeStr) override;
    void ImposeAccessMode(EAccessMode AccessMode) override;
    void ImposeVisibility(EVisibility Visibility) override;
    INode* GetAlias() const override { return mpAlias; }
    INode* GetCastAlias() const override { return mpCastAlias; }
    gcstring GetDocuURL() const override;
    bool IsDeprecated() const override { return mbDeprecated; }
    EInterfaceType GetPrincipalInterfaceType() const override { return mePrincipal; }
    bool IsFeature() const override { return mbIsFeature; }
    EAccessMode GetAccessMode() const override;

    // ---- internal access (the node map lock is held by the caller)
    const std::string& name() const { return msName; }
    tcNodeMap& map() const { return mrMap; }
    EAccessMode accessMode();
    bool readable() { return IsReadable(accessMode()); }
    bool writable() { return IsWritable(accessMode()); }

    int64_t getInt(bool abVerify = false, bool abIgnoreCache = false);
    double getFloat(bool abVerify = false, bool abIgnoreCache = false);
    void setInt(int64_t anValue, bool abVerify);
    void setFloat(double adValue, bool abVerify);
    int64_t getIntMin();
    int64_t getIntMax();
    int64_t getIntInc();
    double getFloatMin();
    double getFloatMax();
    double getFloatInc();
    bool hasFloatInc();
    std::string getString(bool abVerify = false, bool abIgnoreCache = false);
    void setString(const std::string& arValue, bool abVerify);
    virtual bool isFloatLike() const { return false; }
    virtual const tcRegisterAccess* registerInfo() const { return nullptr; }
    virtual bool hasValue() const { return false; }
    virtual std::string unitText() { return std::string(); }
    virtual ERepresentation representation() { return _UndefinedRepresentation; }

    bool cacheValid() const { return mbValueCacheValid; }
    bool cacheable() const { return meEffectiveCaching != NoCache; }
    // A write may keep the written value as the cached one.
    bool writeThrough() const { return meEffectiveCaching == WriteThrough; }
    ECachingMode ownCaching() const { return meOwnCaching; }
    void setOwnCaching(ECachingMode aeMode) { meOwnCaching = aeMode; }
    virtual void invalidateCache();
    void invalidateAccess() { mbAccessValid = false; }
    const std::vector<tcNode*>& dependents() const { return mcDependents; }
    const std::vector<tcNode*>& valueSources() const { return mcValueSources; }
    const std::vector<tcNode*>& valueReaders() const { return mcValueReaders; }
    const std::vector<tcNode*>& selecting() const { return mcSelecting; }
    bool hasCallbacks() const { return !mcCallbacks.empty(); }
    void fireCallbacks(ECallbackType aeType);
    void collectOutsideCallbacks(std::vector<std::shared_ptr<struct tsCallbackEntry>>& arList);
    void dropCallbacks();

    // Polling: returns true when the node is due for invalidation.
    bool pollDue(int64_t anElapsed);
    virtual bool pollActive() { return true; }

    uint64_t mnMark = 0; // traversal stamp used by the node map

    // Exception with the node's name in its description.
    template <class E>
    [[noreturn]] void fail(const char* apFile, unsigned int anLine, const std::string& arText) const
    {
        const std::string sText = arText + " : " + E::TypeName() + " thrown in node '" + msName + "'";
        throw E(sText.c_str(), apFile, anLine);
    }

protected:
    // Per-type hooks; the defaults say the node has no such value.
    virtual bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker);
    virtual EAccessMode naturalAccessMode() { return RW; }
    virtual bool notAvailableMeansNI() const { return false; }
    virtual int64_t doGetInt(bool abVerify, bool abIgnoreCache);
    virtual double doGetFloat(bool abVerify, bool abIgnoreCache);
    virtual void doSetInt(int64_t anValue, bool abVerify);
    virtual void doSetFloat(double adValue, bool abVerify);
    virtual int64_t doGetIntMin();
    virtual int64_t doGetIntMax();
    virtual int64_t doGetIntInc();
    virtual double doGetFloatMin();
    virtual double doGetFloatMax();
    virtual double doGetFloatInc();
    virtual bool doHasFloatInc();
    virtual std::string doGetString(bool abVerify, bool abIgnoreCache);
    virtual void doSetString(const std::string& arValue, bool abVerify);
    [[noreturn]] void noValue(const char* apWhat) const;

    // Reads a guard node (pIsImplemented and the like) as an integer.
    EAccessMode guardMode(tcNode* apGuard);
    void requireReadable(const char* apText);
    void requireWritable(const char* apText);
    // The text and attributes of the description elements named arName.
    bool elementProperty(const std::string& arName, std::string& arValue, std::string& arAttribute) const;
    // After a successful write: caches and callbacks of dependents.
    void changed();
    // After a verified write: the device's error state, when described.
    void checkDeviceError();

    tcNodeMap& mrMap;
    std::string msName;
    EInterfaceType mePrincipal;
    ENameSpace meNameSpace = Custom;
    std::string msToolTip;
    std::string msDescription;
    std::string msDisplayName;
    std::string msDocuURL;
    std::string msEventID;
    EVisibility meVisibility = Beginner;
    EVisibility meImposedVisibility = Beginner;
    bool mbDeprecated = false;
    bool mbStreamable = false;
    bool mbIsFeature = false;
    int64_t mnPollingTime = -1;
    int64_t mnPollElapsed = 0;

    tcNode* mpIsImplemented = nullptr;
    tcNode* mpIsAvailable = nullptr;
    tcNode* mpIsLocked = nullptr;
    tcNode* mpBlockPolling = nullptr;
    tcNode* mpError = nullptr;
    tcNode* mpAlias = nullptr;
    tcNode* mpCastAlias = nullptr;
    EAccessMode meImposedByXml = RW;
    EAccessMode meImposedByApi = RW;

    ECachingMode meOwnCaching = WriteThrough;
    ECachingMode meEffectiveCaching = WriteThrough;
    bool mbCachingComputed = false;
    bool mbValueCacheValid = false;
    bool mbAccessValid = false;
    int mnAccessBusy = 0;
    EAccessMode meAccess = NI;

    std::vector<tcNode*> mcChildren;     // nodes this one reads from
    std::vector<tcNode*> mcParents;      // nodes that read from this one
    std::vector<tcNode*> mcDependents;   // nodes to invalidate when this one changes
    std::vector<tcNode*> mcValueSources; // value and limit links, see addValueLink
    std::vector<tcNode*> mcValueReaders;
    std::vector<tcNode*> mcSelected;  // pSelected as written
    std::vector<tcNode*> mcSelecting; // nodes naming this one in pSelected
    pugi::xml_node mcElement;         // own description element, see GetProperty
    pugi::xml_node mcFallback;
    std::vector<std::shared_ptr<struct tsCallbackEntry>> mcCallbacks;
};

// A registered callback; "alive" turns false when it is removed so that a
// queued call is dropped.
struct tsCallbackEntry
{
    std::unique_ptr<CNodeCallback, void (*)(CNodeCallback*)> mpCallback{nullptr, nullptr};
    std::atomic<bool> mbAlive{true};
};

// Node that carries a value: offers IValue, and ISelector because any value
// may select others.
class tcValueNode : public tcNode, public virtual IValue, public virtual ISelector
{
public:
    using tcNode::tcNode;
    INode* GetNode() override { return this; }
    bool IsValueCacheValid() const override;
    bool hasValue() const override { return true; }

    // ISelector: besides the nodes named in pSelected, every node that takes
    // its value or limits from a selected one is selected too.
    bool IsSelector() const override;
    void GetSelectedFeatures(FeatureList_t& Features) const override;
    void GetSelectingFeatures(FeatureList_t& Features) const override;
};

#define KX_FAIL(Type, ...) fail<GenICam::Type>(__FILE__, __LINE__, formatText(__VA_ARGS__))

} // namespace GenApi
