#include "integer.h"

#include <cstring>

namespace GenApi
{

bool tcInteger::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (mcSource.parseElement(*this, apName, arElement, arLinker))
        return true;
    if (is("Min") || is("pMin"))
        mcMin.parse(*this, apName, arElement, arLinker);
    else if (is("Max") || is("pMax"))
        mcMax.parse(*this, apName, arElement, arLinker);
    else if (is("Inc") || is("pInc"))
        mcInc.parse(*this, apName, arElement, arLinker);
    else
        return tcIntegerBase::parseElement(apName, arElement, arLinker);
    return true;
}

int64_t tcInteger::naturalMin()
{
    if (mcMin.isSet())
        return mcMin.get();
    tcNode* pSource = mcSource.node();
    return pSource ? pSource->getIntMin() : INT64_MIN;
}

int64_t tcInteger::naturalMax()
{
    if (mcMax.isSet())
        return mcMax.get();
    tcNode* pSource = mcSource.node();
    return pSource ? pSource->getIntMax() : INT64_MAX;
}

int64_t tcInteger::naturalInc()
{
    if (mcInc.isSet())
        return mcInc.get();
    tcNode* pSource = mcSource.node();
    return pSource ? pSource->getIntInc() : 1;
}

} // namespace GenApi
