#pragma once
#include "nodemap.h"
#include "xmlelements.h"

#include <memory>
#include <string>

namespace GenApi
{

// Builds a node map from description text: flattens groups, expands struct
// registers and enumeration entries, creates every node first and then
// links references by name (they may point forward), and finally prepares
// what the read path needs (cache modes, feature flags, shared registers).
class tcXmlLoader : public tcLinker
{
public:
    static std::shared_ptr<tcNodeMap> load(const char* apData, size_t anSize,
                                           const std::string& arDeviceName);

    tcNode* require(const tcNode& arFrom, const std::string& arName) override;
    tcNode* optional(const std::string& arName) override;
    int schemaMinor() const override { return mnSchemaMinor; }

private:
    explicit tcXmlLoader(tcNodeMap& arMap) : mrMap(arMap) {}
    void readRoot(const pugi::xml_node& arRoot);
    void collect(const pugi::xml_node& arParent);
    void create(const pugi::xml_node& arElement, const pugi::xml_node& arFallback, bool abNested = false);
    void createEntries(const pugi::xml_node& arEnumeration, const std::string& arEnumName);
    void markFeatures();
    void linkSharedRegisters();

    tcNodeMap& mrMap;
    std::vector<std::pair<tcNode*, tsNodeSource>> mcSources;
    int mnSchemaMinor = 1;
};

} // namespace GenApi
