#include "nodemap.h"

#include "port.h"

#include <Base/GCException.h>

namespace GenApi
{

namespace
{
const int gnMaxDepth = 256;
// Evaluations within one outermost call. Real descriptions stay far below;
// a hostile one (each formula reading the previous one twice, uncached)
// would otherwise take exponential time.
const int64_t gnMaxWork = 2000000;
} // namespace

tcNodeMap::tcNodeMap(std::string asDeviceName) : msDeviceName(std::move(asDeviceName)) {}

tcNodeMap::~tcNodeMap()
{
    for (auto& rNode : mcNodes)
        rNode->dropCallbacks();
}

void tcNodeMap::lock() const
{
    mcMutex.lock();
    ++mnLockDepth;
}

void tcNodeMap::unlock() const
{
    if (mnLockDepth == 1 && !mcPendingOutside.empty())
    {
        std::vector<std::shared_ptr<tsCallbackEntry>> cPending;
        cPending.swap(mcPendingOutside);
        --mnLockDepth;
        mcMutex.unlock();
        for (const auto& rEntry : cPending)
        {
            if (!rEntry->mbAlive)
                continue;
            try
            {
                (*rEntry->mpCallback)(cbPostOutsideLock);
            }
            catch (...)
            {
                // A callback cannot undo the change it reports; its failure
                // must not unwind through the caller's unlock.
            }
        }
        return;
    }
    --mnLockDepth;
    mcMutex.unlock();
}

void tcNodeMap::enter(const tcNode& arNode)
{
    if (mnDepth == 0)
        mnWork = 0;
    if (++mnWork > gnMaxWork)
        arNode.fail<GenICam::LogicalErrorException>(
            __FILE__, __LINE__, "Evaluation takes too many steps; the description is too complex");
    if (++mnDepth > gnMaxDepth)
    {
        --mnDepth;
        arNode.fail<GenICam::LogicalErrorException>(
            __FILE__, __LINE__,
            "Evaluation nested too deeply; the description probably contains a cyclic reference");
    }
}

void tcNodeMap::beginChange()
{
    ++mnChangeDepth;
}

void tcNodeMap::noteChanged(tcNode* apRoot, bool abKeepsCache)
{
    mcChangedRoots.push_back(apRoot);
    if (abKeepsCache)
        mcKeptCaches.insert(apRoot);
    else
        mcKeptCaches.erase(apRoot);
}

void tcNodeMap::endChange(bool abFireCallbacks)
{
    if (--mnChangeDepth > 0 || mcChangedRoots.empty())
        return;
    std::vector<tcNode*> cRoots;
    cRoots.swap(mcChangedRoots);
    std::unordered_set<tcNode*> cKept;
    cKept.swap(mcKeptCaches);

    // Every node that depends on a written one, transitively, once.
    ++mnStamp;
    std::vector<tcNode*> cAffected;
    std::vector<tcNode*> cStack(cRoots.begin(), cRoots.end());
    while (!cStack.empty())
    {
        tcNode* pNode = cStack.back();
        cStack.pop_back();
        if (pNode->mnMark == mnStamp)
            continue;
        pNode->mnMark = mnStamp;
        cAffected.push_back(pNode);
        for (tcNode* pDependent : pNode->dependents())
            if (pDependent->mnMark != mnStamp)
                cStack.push_back(pDependent);
    }
    for (tcNode* pNode : cAffected)
    {
        if (cKept.count(pNode))
            pNode->invalidateAccess();
        else
            pNode->invalidateCache();
    }
    if (!abFireCallbacks)
        return;
    for (tcNode* pNode : cAffected)
    {
        if (!pNode->hasCallbacks())
            continue;
        try
        {
            pNode->fireCallbacks(cbPostInsideLock);
        }
        catch (...)
        {
            // See unlock(): the change has happened whatever the callback does.
        }
        pNode->collectOutsideCallbacks(mcPendingOutside);
    }
}

tcNode* tcNodeMap::add(std::unique_ptr<tcNode> apNode)
{
    tcNode* pNode = apNode.get();
    if (!mhByName.emplace(pNode->name(), pNode).second)
        throw RUNTIME_EXCEPTION("The description defines the node '%s' more than once",
                                pNode->name().c_str());
    mcNodes.push_back(std::move(apNode));
    return pNode;
}

tcNode* tcNodeMap::find(const std::string& arName) const
{
    auto it = mhByName.find(arName);
    return it == mhByName.end() ? nullptr : it->second;
}

void tcNodeMap::finishLoad()
{
    for (auto& rNode : mcNodes)
        rNode->finishLoad();
    for (auto& rNode : mcNodes)
    {
        rNode->computeEffectiveCaching();
        if (rNode->GetPollingTime() > 0)
            mcPolled.push_back(rNode.get());
    }
}

void tcNodeMap::GetNodes(NodeList_t& Nodes) const
{
    tcMapLock cLock(*this);
    Nodes.clear();
    Nodes.reserve(mcNodes.size());
    for (const auto& rNode : mcNodes)
        Nodes.push_back(rNode.get());
}

INode* tcNodeMap::GetNode(const gcstring& Name) const
{
    tcMapLock cLock(*this);
    std::string sName = Name.c_str();
    int nSpace = -1;
    if (sName.compare(0, 5, "Std::") == 0)
    {
        nSpace = Standard;
        sName.erase(0, 5);
    }
    else if (sName.compare(0, 6, "Cust::") == 0)
    {
        nSpace = Custom;
        sName.erase(0, 6);
    }
    tcNode* pNode = find(sName);
    if (pNode && nSpace >= 0 && pNode->GetNameSpace() != nSpace)
        return nullptr;
    return pNode;
}

void tcNodeMap::invalidateAll(bool abFireCallbacks)
{
    tcChangeScope cScope(*this);
    for (auto& rNode : mcNodes)
    {
        rNode->invalidateCache();
        if (abFireCallbacks)
            noteChanged(rNode.get(), false);
    }
}

void tcNodeMap::InvalidateNodes() const
{
    tcMapLock cLock(*this);
    // Invalidation changes only caches, which are not part of the logical
    // state of the map. Every node's callbacks fire: whoever shows a value
    // must fetch it again.
    const_cast<tcNodeMap*>(this)->invalidateAll(true);
}

bool tcNodeMap::Connect(IPort* pPort, const gcstring& PortName) const
{
    tcMapLock cLock(*this);
    tcPort* pNode = dynamic_cast<tcPort*>(find(PortName.c_str()));
    if (!pNode)
        return false;
    pNode->attach(pPort);
    const_cast<tcNodeMap*>(this)->invalidateAll(true);
    return true;
}

bool tcNodeMap::Connect(IPort* pPort) const
{
    return Connect(pPort, "Device");
}

void tcNodeMap::Poll(int64_t ElapsedTime)
{
    tcMapLock cLock(*this);
    tcChangeScope cScope(*this);
    for (tcNode* pNode : mcPolled)
    {
        if (pNode->pollDue(ElapsedTime))
        {
            pNode->invalidateCache();
            noteChanged(pNode, false);
        }
    }
}

} // namespace GenApi
