#pragma once
#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace GenApi
{

class tcNode;

// Helpers to read element texts of a description: names without namespace
// prefix, numbers in decimal or hex, trimmed texts.
namespace xml
{

const char* localName(const pugi::xml_node& arNode);
std::string text(const pugi::xml_node& arNode);
std::string attribute(const pugi::xml_node& arNode, const char* apName);
bool parseInt(const std::string& arText, int64_t& arValue);
bool parseFloat(const std::string& arText, double& arValue);

} // namespace xml

// The elements that describe one node. A StructReg entry sees its own
// elements first and then those of its register that it does not repeat.
struct tsNodeSource
{
    pugi::xml_node mcElement;  // the node's own element (name attributes)
    pugi::xml_node mcFallback; // enclosing StructReg, or empty
    std::vector<pugi::xml_node> children() const;
};

// Resolves references by name while a description is loaded.
class tcLinker
{
public:
    virtual ~tcLinker() = default;
    // A reference that must exist: a missing one makes the load fail.
    virtual tcNode* require(const tcNode& arFrom, const std::string& arName) = 0;
    // A reference that only adds information (feature lists, invalidators).
    virtual tcNode* optional(const std::string& arName) = 0;
    virtual int schemaMinor() const = 0;
};

} // namespace GenApi
