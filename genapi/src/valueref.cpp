#include "valueref.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

namespace
{
void linkReference(tcNode& arOwner, tcNode* apNode, const char* apName)
{
    arOwner.addChild(apNode);
    // Indexed values arrive here named pValue as well.
    if (std::strcmp(apName, "pValue") == 0 || std::strcmp(apName, "pMin") == 0 ||
        std::strcmp(apName, "pMax") == 0)
        arOwner.addValueLink(apNode);
}
} // namespace

void parseIntRef(tcIntRef& arRef, tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                 tcLinker& arLinker)
{
    const std::string sText = xml::text(arElement);
    if (apName[0] == 'p')
    {
        tcNode* pNode = arLinker.require(arOwner, sText);
        linkReference(arOwner, pNode, apName);
        arRef.setNode(pNode);
        return;
    }
    int64_t nValue = 0;
    if (!xml::parseInt(sText, nValue))
    {
        // Some descriptions write integer elements with a fraction.
        double dValue = 0;
        if (!xml::parseFloat(sText, dValue))
            arOwner.KX_FAIL(RuntimeException, "Element <%s> holds '%s', which is not an integer", apName,
                            sText.c_str());
        nValue = truncToInt(dValue);
    }
    arRef.setConstant(nValue);
}

void parseFloatRef(tcFloatRef& arRef, tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                   tcLinker& arLinker)
{
    const std::string sText = xml::text(arElement);
    if (apName[0] == 'p')
    {
        tcNode* pNode = arLinker.require(arOwner, sText);
        linkReference(arOwner, pNode, apName);
        arRef.setNode(pNode);
        return;
    }
    double dValue = 0;
    if (!xml::parseFloat(sText, dValue))
        arOwner.KX_FAIL(RuntimeException, "Element <%s> holds '%s', which is not a number", apName,
                        sText.c_str());
    arRef.setConstant(dValue);
}

ERepresentation parseRepresentation(const std::string& arText)
{
    static const char* const cNames[] = {"Linear",    "Logarithmic", "Boolean",   "PureNumber",
                                         "HexNumber", "IPV4Address", "MACAddress"};
    for (int i = 0; i < 7; ++i)
        if (arText == cNames[i])
            return static_cast<ERepresentation>(i);
    return _UndefinedRepresentation;
}

EAccessMode parseAccessMode(const std::string& arText, EAccessMode aeDefault)
{
    if (arText == "RO")
        return RO;
    if (arText == "WO")
        return WO;
    if (arText == "RW")
        return RW;
    return aeDefault;
}

} // namespace GenApi
