#pragma once
#include "node.h"

#include <GenApi/ICategory.h>

namespace GenApi
{

// Category: an ordered list of features and sub-categories.
class tcCategory : public tcValueNode, public virtual ICategory
{
public:
    tcCategory(tcNodeMap& arMap, std::string asName) : tcValueNode(arMap, std::move(asName), intfICategory) {}

    void GetFeatures(FeatureList_t& Features) const override;
    EVisibility GetVisibility() const override;
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    const std::vector<tcNode*>& features() const { return mcFeatures; }

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override;
    bool notAvailableMeansNI() const override { return true; }

private:
    EVisibility visibility();

    std::vector<tcNode*> mcFeatures;
    bool mbVisiting = false; // guards against a category that contains itself
};

// A node without a value: the plain Node element, element types of old
// FireWire cameras that have no meaning here, and element types this
// library does not know (so that descriptions of newer schemas still load).
class tcPlainNode : public tcValueNode
{
public:
    tcPlainNode(tcNodeMap& arMap, std::string asName, bool abImplemented)
        : tcValueNode(arMap, std::move(asName), intfIValue), mbImplemented(abImplemented)
    {
    }
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    bool hasValue() const override { return false; }

protected:
    EAccessMode naturalAccessMode() override { return mbImplemented ? RW : NI; }

private:
    bool mbImplemented;
};

} // namespace GenApi
