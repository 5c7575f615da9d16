#include "enumentry.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cinttypes>
#include <cstring>

namespace GenApi
{

bool tcEnumEntry::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (is("Value"))
    {
        const std::string sText = xml::text(arElement);
        if (!xml::parseInt(sText, mnValue))
            KX_FAIL(RuntimeException, "Entry value '%s' is not an integer", sText.c_str());
        mbHasValue = true;
    }
    else if (is("NumericValue"))
        mbHasNumeric = xml::parseFloat(xml::text(arElement), mdNumeric);
    else if (is("Symbolic"))
        msSymbolic = xml::text(arElement);
    else if (is("IsSelfClearing"))
        mbSelfClearing = xml::text(arElement) == "Yes";
    else
        return tcNode::parseElement(apName, arElement, arLinker);
    return true;
}

void tcEnumEntry::finishLoad()
{
    if (!mbHasValue)
        KX_FAIL(RuntimeException, "Enumeration entry has no <Value>");
}

gcstring tcEnumEntry::ToString(bool, bool)
{
    char cText[32];
    std::snprintf(cText, sizeof cText, "%" PRId64, mnValue);
    return cText;
}

void tcEnumEntry::FromString(const gcstring&, bool)
{
    tcMapLock cLock(mrMap);
    KX_FAIL(AccessException, "Node is not writable");
}

} // namespace GenApi
