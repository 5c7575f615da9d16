#include "category.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

bool tcCategory::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (std::strcmp(apName, "pFeature") != 0)
        return tcNode::parseElement(apName, arElement, arLinker);
    // A feature list naming a node that does not exist only loses that row.
    if (tcNode* pFeature = arLinker.optional(xml::text(arElement)))
    {
        mcFeatures.push_back(pFeature);
        pFeature->addDependent(this);
    }
    return true;
}

EAccessMode tcCategory::naturalAccessMode()
{
    if (mcFeatures.empty())
        return RO;
    for (tcNode* pFeature : mcFeatures)
        if (pFeature->accessMode() != NI)
            return RO;
    return NI;
}

EVisibility tcCategory::GetVisibility() const
{
    tcMapLock cLock(mrMap);
    return const_cast<tcCategory*>(this)->visibility();
}

EVisibility tcCategory::visibility()
{
    // A category is as visible as its most visible member, so that a tree
    // filtered by visibility never shows an empty branch.
    if (mbVisiting)
        return Invisible;
    mbVisiting = true;
    EVisibility eMembers = Invisible;
    for (tcNode* pFeature : mcFeatures)
    {
        auto* pCategory = dynamic_cast<tcCategory*>(pFeature);
        const EVisibility eFeature = pCategory ? pCategory->visibility() : pFeature->GetVisibility();
        if (eFeature < eMembers)
            eMembers = eFeature;
    }
    mbVisiting = false;
    return Combine(tcNode::GetVisibility(), eMembers);
}

void tcCategory::GetFeatures(FeatureList_t& Features) const
{
    tcMapLock cLock(mrMap);
    Features.clear();
    for (tcNode* pFeature : mcFeatures)
        if (auto* pValue = dynamic_cast<IValue*>(pFeature))
            Features.push_back(pValue);
}

gcstring tcCategory::ToString(bool, bool)
{
    return GetDisplayName();
}

void tcCategory::FromString(const gcstring&, bool)
{
    tcMapLock cLock(mrMap);
    KX_FAIL(AccessException, "Node is not writable");
}

gcstring tcPlainNode::ToString(bool, bool)
{
    tcMapLock cLock(mrMap);
    KX_FAIL(LogicalErrorException, "Node has no value");
}

void tcPlainNode::FromString(const gcstring&, bool)
{
    tcMapLock cLock(mrMap);
    KX_FAIL(LogicalErrorException, "Node has no value");
}

} // namespace GenApi
