#pragma once
#include "node.h"

#include <GenApi/INodeMap.h>
#include <GenApi/IPort.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace GenApi
{

class tcPort;

// One loaded description: owns its nodes, the one recursive lock that guards
// every operation on them, the bookkeeping of changes (which caches to drop,
// which callbacks to fire) and the guard against endless recursion.
class tcNodeMap : public INodeMap, public std::enable_shared_from_this<tcNodeMap>
{
public:
    explicit tcNodeMap(std::string asDeviceName);
    ~tcNodeMap() override;
    tcNodeMap(const tcNodeMap&) = delete;
    tcNodeMap& operator=(const tcNodeMap&) = delete;

    // ---- INodeMap
    void GetNodes(NodeList_t& Nodes) const override;
    INode* GetNode(const gcstring& Name) const override;
    void InvalidateNodes() const override;
    bool Connect(IPort* pPort, const gcstring& PortName) const override;
    bool Connect(IPort* pPort) const override;
    gcstring GetDeviceName() override { return msDeviceName; }
    void Poll(int64_t ElapsedTime) override;
    uint64_t GetNumNodes() const override { return mcNodes.size(); }

    // ---- building
    tcNode* add(std::unique_ptr<tcNode> apNode);
    tcNode* find(const std::string& arName) const;
    const std::vector<std::unique_ptr<tcNode>>& nodes() const { return mcNodes; }
    void finishLoad();
    void setModelInfo(std::string asVendor, std::string asModel)
    {
        msVendorName = std::move(asVendor);
        msModelName = std::move(asModel);
    }
    const std::string& modelName() const { return msModelName; }
    const std::string& vendorName() const { return msVendorName; }
    // The parsed description stays with the map: nodes answer GetProperty
    // from their elements.
    void keepDocument(std::unique_ptr<pugi::xml_document> apDocument) { mpDocument = std::move(apDocument); }

    // ---- locking (recursive; callbacks of the "outside" kind run when the
    // outermost lock is released)
    void lock() const;
    void unlock() const;

    // ---- changes: every write opens a scope; when the outermost scope
    // closes, dependents of the written nodes lose their caches and callbacks
    // fire once per node.
    void beginChange();
    void noteChanged(tcNode* apRoot, bool abKeepsCache);
    void endChange(bool abFireCallbacks);

    // ---- recursion guard
    void enter(const tcNode& arNode);
    void leave() { --mnDepth; }

private:
    void invalidateAll(bool abFireCallbacks);

    std::string msDeviceName;
    std::string msVendorName;
    std::string msModelName;
    std::unique_ptr<pugi::xml_document> mpDocument; // outlives the nodes, see ~tcNodeMap
    std::vector<std::unique_ptr<tcNode>> mcNodes;
    std::unordered_map<std::string, tcNode*> mhByName;
    std::vector<tcNode*> mcPolled;

    mutable std::recursive_mutex mcMutex;
    mutable int mnLockDepth = 0;
    mutable std::vector<std::shared_ptr<tsCallbackEntry>> mcPendingOutside;

    int mnChangeDepth = 0;
    std::vector<tcNode*> mcChangedRoots;
    std::unordered_set<tcNode*> mcKeptCaches;
    uint64_t mnStamp = 0;
    int mnDepth = 0;
    int64_t mnWork = 0;
};

// Holds the node map's lock for a scope.
class tcMapLock
{
public:
    explicit tcMapLock(const tcNodeMap& arMap) : mrMap(arMap) { mrMap.lock(); }
    ~tcMapLock() { mrMap.unlock(); }
    tcMapLock(const tcMapLock&) = delete;
    tcMapLock& operator=(const tcMapLock&) = delete;

private:
    const tcNodeMap& mrMap;
};

// Collects the changes of one write; see tcNodeMap::beginChange.
class tcChangeScope
{
public:
    explicit tcChangeScope(tcNodeMap& arMap) : mrMap(arMap), mnUncaught(std::uncaught_exceptions())
    {
        mrMap.beginChange();
    }
    ~tcChangeScope() { mrMap.endChange(std::uncaught_exceptions() == mnUncaught); }
    tcChangeScope(const tcChangeScope&) = delete;
    tcChangeScope& operator=(const tcChangeScope&) = delete;

private:
    tcNodeMap& mrMap;
    int mnUncaught;
};

// Counts nested evaluations; a cyclic description ends in an exception
// instead of a stack overflow.
class tcDepthGuard
{
public:
    explicit tcDepthGuard(const tcNode& arNode) : mrMap(arNode.map()) { mrMap.enter(arNode); }
    ~tcDepthGuard() { mrMap.leave(); }
    tcDepthGuard(const tcDepthGuard&) = delete;
    tcDepthGuard& operator=(const tcDepthGuard&) = delete;

private:
    tcNodeMap& mrMap;
};

} // namespace GenApi
