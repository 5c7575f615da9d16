#include "xmlloader.h"

#include "boolean.h"
#include "category.h"
#include "command.h"
#include "converter.h"
#include "enumeration.h"
#include "floatnode.h"
#include "integer.h"
#include "intreg.h"
#include "port.h"
#include "registeraccess.h"
#include "registernode.h"
#include "stringnode.h"
#include "swissknife.h"

#include <Base/GCException.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <unordered_map>

namespace GenApi
{

namespace
{

using tfFactory = std::function<std::unique_ptr<tcNode>(tcNodeMap&, const std::string&)>;

template <class T> tfFactory make()
{
    return [](tcNodeMap& arMap, const std::string& arName) { return std::make_unique<T>(arMap, arName); };
}

// One entry per element type that becomes a node.
const std::unordered_map<std::string, tfFactory>& factories()
{
    static const std::unordered_map<std::string, tfFactory> cTable = {
        {"Node",
         [](tcNodeMap& m, const std::string& n) { return std::make_unique<tcPlainNode>(m, n, true); }},
        {"Category", make<tcCategory>()},
        {"Integer", make<tcInteger>()},
        {"IntReg",
         [](tcNodeMap& m, const std::string& n) { return std::make_unique<tcIntReg>(m, n, false); }},
        {"MaskedIntReg",
         [](tcNodeMap& m, const std::string& n) { return std::make_unique<tcIntReg>(m, n, true); }},
        {"IntConverter", make<tcIntConverter>()},
        {"IntSwissKnife", make<tcIntSwissKnife>()},
        {"Float", make<tcFloat>()},
        {"FloatReg", make<tcFloatReg>()},
        {"Converter", make<tcConverter>()},
        {"SwissKnife", make<tcSwissKnife>()},
        {"Boolean", make<tcBoolean>()},
        {"Command", make<tcCommand>()},
        {"Enumeration", make<tcEnumeration>()},
        {"String", make<tcString>()},
        {"StringReg", make<tcStringReg>()},
        {"Register", make<tcRegister>()},
        {"Port", make<tcPort>()},
        {"ConfRom", make<tcPort>()},
        // FireWire-only element types: kept as nodes that are not implemented.
        {"TextDesc",
         [](tcNodeMap& m, const std::string& n) { return std::make_unique<tcPlainNode>(m, n, false); }},
        {"IntKey",
         [](tcNodeMap& m, const std::string& n) { return std::make_unique<tcPlainNode>(m, n, false); }},
        {"AdvFeatureLock",
         [](tcNodeMap& m, const std::string& n) { return std::make_unique<tcPlainNode>(m, n, false); }},
        {"SmartFeature",
         [](tcNodeMap& m, const std::string& n) { return std::make_unique<tcPlainNode>(m, n, false); }},
    };
    return cTable;
}

pugi::xml_node childNamed(const pugi::xml_node& arParent, const char* apName)
{
    for (pugi::xml_node cChild = arParent.first_child(); cChild; cChild = cChild.next_sibling())
        if (cChild.type() == pugi::node_element && std::strcmp(xml::localName(cChild), apName) == 0)
            return cChild;
    return pugi::xml_node();
}

} // namespace

std::shared_ptr<tcNodeMap> tcXmlLoader::load(const char* apData, size_t anSize,
                                             const std::string& arDeviceName)
{
    auto pDocument = std::make_unique<pugi::xml_document>();
    pugi::xml_document& cDocument = *pDocument;
    const pugi::xml_parse_result cResult = cDocument.load_buffer(
        apData, anSize, pugi::parse_default & ~pugi::parse_wconv_attribute, pugi::encoding_auto);
    if (!cResult)
        throw RUNTIME_EXCEPTION("The description is not well-formed XML: %s at offset %lld",
                                cResult.description(), static_cast<long long>(cResult.offset));
    pugi::xml_node cRoot = cDocument.document_element();
    if (!cRoot || std::strcmp(xml::localName(cRoot), "RegisterDescription") != 0)
        throw RUNTIME_EXCEPTION("The description has no <RegisterDescription> root element");

    auto pMap = std::make_shared<tcNodeMap>(arDeviceName);
    tcXmlLoader cLoader(*pMap);
    cLoader.readRoot(cRoot);
    cLoader.collect(cRoot);
    for (auto& rSource : cLoader.mcSources)
        rSource.first->configure(rSource.second, cLoader);
    pMap->finishLoad();
    cLoader.markFeatures();
    cLoader.linkSharedRegisters();
    pMap->keepDocument(std::move(pDocument));
    return pMap;
}

void tcXmlLoader::readRoot(const pugi::xml_node& arRoot)
{
    const std::string sMajor = xml::attribute(arRoot, "SchemaMajorVersion");
    int64_t nMajor = 1;
    if (!sMajor.empty() && (!xml::parseInt(sMajor, nMajor) || nMajor != 1))
        throw RUNTIME_EXCEPTION("Schema version %s of the description is not supported", sMajor.c_str());
    const std::string sNamespace = xml::attribute(arRoot, "xmlns");
    int64_t nMinor = 1;
    if (sNamespace.find("Version_1_0") != std::string::npos)
        nMinor = 0;
    else if (sNamespace.find("Version_1_1") == std::string::npos)
        xml::parseInt(xml::attribute(arRoot, "SchemaMinorVersion"), nMinor);
    mnSchemaMinor = static_cast<int>(nMinor);
    mrMap.setModelInfo(xml::attribute(arRoot, "VendorName"), xml::attribute(arRoot, "ModelName"));
}

void tcXmlLoader::collect(const pugi::xml_node& arParent)
{
    // Groups nest to any depth; walk them with a stack of positions.
    std::vector<pugi::xml_node> cPending{arParent.first_child()};
    while (!cPending.empty())
    {
        pugi::xml_node cChild = cPending.back();
        if (!cChild)
        {
            cPending.pop_back();
            continue;
        }
        cPending.back() = cChild.next_sibling();
        if (cChild.type() != pugi::node_element)
            continue;
        const char* pName = xml::localName(cChild);
        if (std::strcmp(pName, "Group") == 0)
            cPending.push_back(cChild.first_child());
        else if (std::strcmp(pName, "StructReg") == 0)
        {
            for (pugi::xml_node cEntry = cChild.first_child(); cEntry; cEntry = cEntry.next_sibling())
                if (cEntry.type() == pugi::node_element &&
                    std::strcmp(xml::localName(cEntry), "StructEntry") == 0)
                    create(cEntry, cChild);
            for (pugi::xml_node cKnife = cChild.first_child(); cKnife; cKnife = cKnife.next_sibling())
                if (cKnife.type() == pugi::node_element &&
                    std::strcmp(xml::localName(cKnife), "IntSwissKnife") == 0)
                    create(cKnife, pugi::xml_node());
        }
        else
            create(cChild, pugi::xml_node());
    }
}

void tcXmlLoader::create(const pugi::xml_node& arElement, const pugi::xml_node& arFallback, bool abNested)
{
    const char* pType = arFallback ? "MaskedIntReg" : xml::localName(arElement);
    const std::string sName = xml::attribute(arElement, "Name");
    if (sName.empty())
        throw RUNTIME_EXCEPTION("Element <%s> at offset %lld has no Name", xml::localName(arElement),
                                static_cast<long long>(arElement.offset_debug()));
    const auto& rFactories = factories();
    auto it = rFactories.find(pType);
    std::unique_ptr<tcNode> pNode;
    if (std::strcmp(pType, "EnumEntry") == 0)
    {
        // A free-standing entry (older schema) keeps its own name.
        const pugi::xml_node cSymbolic = childNamed(arElement, "Symbolic");
        pNode = std::make_unique<tcEnumEntry>(mrMap, sName, cSymbolic ? xml::text(cSymbolic) : sName);
    }
    else if (it != rFactories.end())
        pNode = it->second(mrMap, sName);
    else // a newer element type: still a node, so that references to it resolve
        pNode = std::make_unique<tcPlainNode>(mrMap, sName, true);
    tcNode* pCreated = mrMap.add(std::move(pNode));
    mcSources.push_back({pCreated, tsNodeSource{arElement, arFallback}});

    // Nodes written inside this one: enumeration entries and address knives
    // (one level deep: a knife inside a knife means nothing).
    if (std::strcmp(pType, "Enumeration") == 0)
        createEntries(arElement, sName);
    if (abNested)
        return;
    for (pugi::xml_node cChild = arElement.first_child(); cChild; cChild = cChild.next_sibling())
        if (cChild.type() == pugi::node_element && std::strcmp(xml::localName(cChild), "IntSwissKnife") == 0)
            create(cChild, pugi::xml_node(), true);
}

void tcXmlLoader::createEntries(const pugi::xml_node& arEnumeration, const std::string& arEnumName)
{
    for (pugi::xml_node cEntry = arEnumeration.first_child(); cEntry; cEntry = cEntry.next_sibling())
    {
        if (cEntry.type() != pugi::node_element || std::strcmp(xml::localName(cEntry), "EnumEntry") != 0)
            continue;
        const std::string sEntry = xml::attribute(cEntry, "Name");
        if (sEntry.empty())
            throw RUNTIME_EXCEPTION("An entry of enumeration '%s' has no Name", arEnumName.c_str());
        const pugi::xml_node cSymbolic = childNamed(cEntry, "Symbolic");
        tcNode* pEntry = mrMap.add(std::make_unique<tcEnumEntry>(
            mrMap, "EnumEntry_" + arEnumName + "_" + sEntry, cSymbolic ? xml::text(cSymbolic) : sEntry));
        mcSources.push_back({pEntry, tsNodeSource{cEntry, pugi::xml_node()}});
    }
}

tcNode* tcXmlLoader::require(const tcNode& arFrom, const std::string& arName)
{
    tcNode* pNode = mrMap.find(arName);
    if (!pNode)
        arFrom.KX_FAIL(RuntimeException, "Reference to the missing node '%s'", arName.c_str());
    return pNode;
}

tcNode* tcXmlLoader::optional(const std::string& arName)
{
    return mrMap.find(arName);
}

void tcXmlLoader::markFeatures()
{
    auto* pRoot = dynamic_cast<tcCategory*>(mrMap.find("Root"));
    if (!pRoot)
        return;
    std::vector<tcCategory*> cStack{pRoot};
    std::vector<tcCategory*> cSeen;
    while (!cStack.empty())
    {
        tcCategory* pCategory = cStack.back();
        cStack.pop_back();
        if (std::find(cSeen.begin(), cSeen.end(), pCategory) != cSeen.end())
            continue;
        cSeen.push_back(pCategory);
        for (tcNode* pFeature : pCategory->features())
        {
            pFeature->setFeature();
            if (auto* pSub = dynamic_cast<tcCategory*>(pFeature))
                cStack.push_back(pSub);
        }
    }
}

void tcXmlLoader::linkSharedRegisters()
{
    // Bit fields usually share one register. Writing one must drop the
    // cached bytes of the others, or a later read-modify-write would put
    // stale bits back. Registers are compared when their addresses differ
    // only in constant parts.
    struct tsEntry
    {
        tcRegisterAccess::tsKey mcKey;
        int64_t mnAddress;
        int64_t mnEnd;
        tcNode* mpNode;
    };
    std::vector<tsEntry> cEntries;
    for (const auto& rNode : mrMap.nodes())
    {
        const tcRegisterAccess* pAccess = rNode->registerInfo();
        if (!pAccess || !pAccess->hasConstantLength())
            continue;
        const int64_t nAddress = pAccess->constantAddress();
        cEntries.push_back({pAccess->key(), nAddress, nAddress + pAccess->length(), rNode.get()});
    }
    std::sort(cEntries.begin(), cEntries.end(),
              [](const tsEntry& a, const tsEntry& b)
              {
                  if (a.mcKey < b.mcKey)
                      return true;
                  if (b.mcKey < a.mcKey)
                      return false;
                  return a.mnAddress < b.mnAddress;
              });
    for (size_t i = 0; i < cEntries.size(); ++i)
    {
        for (size_t j = i + 1; j < cEntries.size(); ++j)
        {
            if (cEntries[i].mcKey < cEntries[j].mcKey || cEntries[j].mnAddress >= cEntries[i].mnEnd)
                break;
            cEntries[i].mpNode->addDependent(cEntries[j].mpNode);
            cEntries[j].mpNode->addDependent(cEntries[i].mpNode);
        }
    }
}

} // namespace GenApi
