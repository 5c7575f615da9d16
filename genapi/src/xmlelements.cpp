#include "xmlelements.h"

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <set>

namespace GenApi
{
namespace xml
{

const char* localName(const pugi::xml_node& arNode)
{
    const char* pName = arNode.name();
    const char* pColon = std::strrchr(pName, ':');
    return pColon ? pColon + 1 : pName;
}

namespace
{
std::string trim(const char* apText)
{
    const char* pBegin = apText;
    while (*pBegin && std::isspace(static_cast<unsigned char>(*pBegin)))
        ++pBegin;
    const char* pEnd = pBegin + std::strlen(pBegin);
    while (pEnd > pBegin && std::isspace(static_cast<unsigned char>(pEnd[-1])))
        --pEnd;
    return std::string(pBegin, pEnd);
}
} // namespace

std::string text(const pugi::xml_node& arNode)
{
    // Texts may be split by comments or given as CDATA: join every piece.
    std::string sText;
    for (pugi::xml_node cChild = arNode.first_child(); cChild; cChild = cChild.next_sibling())
    {
        if (cChild.type() == pugi::node_pcdata || cChild.type() == pugi::node_cdata)
            sText += cChild.value();
    }
    return trim(sText.c_str());
}

std::string attribute(const pugi::xml_node& arNode, const char* apName)
{
    return trim(arNode.attribute(apName).value());
}

bool parseInt(const std::string& arText, int64_t& arValue)
{
    if (arText.empty())
        return false;
    const char* pText = arText.c_str();
    bool bNegative = false;
    if (*pText == '-' || *pText == '+')
    {
        bNegative = *pText == '-';
        ++pText;
    }
    int nBase = 10;
    if (pText[0] == '0' && (pText[1] == 'x' || pText[1] == 'X'))
    {
        nBase = 16;
        pText += 2;
    }
    if (!*pText || !std::isxdigit(static_cast<unsigned char>(*pText)))
        return false;
    char* pEnd = nullptr;
    errno = 0;
    const unsigned long long nValue = std::strtoull(pText, &pEnd, nBase);
    if (errno == ERANGE || *pEnd != '\0')
        return false;
    // Hex literals may use all 64 bits; keep the bit pattern.
    if (nBase == 10 && !bNegative && nValue > static_cast<unsigned long long>(INT64_MAX))
        return false;
    if (nBase == 10 && bNegative && nValue > static_cast<unsigned long long>(INT64_MAX) + 1ULL)
        return false;
    const uint64_t nBits = bNegative ? (0 - static_cast<uint64_t>(nValue)) : static_cast<uint64_t>(nValue);
    arValue = static_cast<int64_t>(nBits);
    return true;
}

bool parseFloat(const std::string& arText, double& arValue)
{
    if (arText.empty())
        return false;
    int64_t nHex = 0;
    if (arText.size() > 2 &&
        (arText.find("0x") != std::string::npos || arText.find("0X") != std::string::npos) &&
        parseInt(arText, nHex))
    {
        arValue = static_cast<double>(nHex);
        return true;
    }
    // strtod honours the C locale only; descriptions always use a point.
    std::string sText = arText;
    const char* pPoint = std::localeconv()->decimal_point;
    if (pPoint && *pPoint && *pPoint != '.')
    {
        for (char& c : sText)
            if (c == '.')
                c = *pPoint;
    }
    char* pEnd = nullptr;
    arValue = std::strtod(sText.c_str(), &pEnd);
    return pEnd && *pEnd == '\0' && pEnd != sText.c_str();
}

} // namespace xml

std::vector<pugi::xml_node> tsNodeSource::children() const
{
    std::vector<pugi::xml_node> cResult;
    std::set<std::string> cOwn;
    for (pugi::xml_node cChild = mcElement.first_child(); cChild; cChild = cChild.next_sibling())
    {
        if (cChild.type() != pugi::node_element)
            continue;
        cResult.push_back(cChild);
        if (mcFallback)
            cOwn.insert(xml::localName(cChild));
    }
    if (mcFallback)
    {
        for (pugi::xml_node cChild = mcFallback.first_child(); cChild; cChild = cChild.next_sibling())
        {
            if (cChild.type() != pugi::node_element)
                continue;
            const char* pName = xml::localName(cChild);
            if (std::strcmp(pName, "StructEntry") == 0 || cOwn.count(pName))
                continue;
            cResult.push_back(cChild);
        }
    }
    return cResult;
}

} // namespace GenApi
