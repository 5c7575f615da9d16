#include "boolean.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

bool tcBoolean::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    auto constant = [&](int64_t& arTarget)
    {
        const std::string sText = xml::text(arElement);
        if (!xml::parseInt(sText, arTarget))
            KX_FAIL(RuntimeException, "Element <%s> holds '%s', which is not an integer", apName,
                    sText.c_str());
    };
    if (is("Value"))
    {
        const std::string sText = xml::text(arElement);
        mcValue.setConstant(sText == "true" || sText == "1" ? 1 : 0);
    }
    else if (is("pValue"))
        mcValue.parse(*this, apName, arElement, arLinker);
    else if (is("OnValue"))
        constant(mnOn);
    else if (is("OffValue"))
        constant(mnOff);
    else
        return tcNode::parseElement(apName, arElement, arLinker);
    return true;
}

void tcBoolean::finishLoad()
{
    if (!mcValue.isSet())
        KX_FAIL(RuntimeException, "Boolean has neither <Value> nor <pValue>");
    if (mnOn == mnOff)
        KX_FAIL(RuntimeException, "OnValue and OffValue are both %lld", static_cast<long long>(mnOn));
    if (!mcValue.node())
        mcValue.setConstant(mcValue.constant() ? mnOn : mnOff);
}

EAccessMode tcBoolean::naturalAccessMode()
{
    return mcValue.node() ? mcValue.node()->accessMode() : RW;
}

bool tcBoolean::readBool(bool abVerify, bool abIgnoreCache)
{
    requireReadable("Node is not readable.");
    if (mbValueCacheValid && !abVerify && !abIgnoreCache)
        return mbCache;
    const int64_t nValue = mcValue.get(abVerify, abIgnoreCache);
    bool bValue;
    if (nValue == mnOn)
        bValue = true;
    else if (nValue == mnOff)
        bValue = false;
    else
        KX_FAIL(LogicalErrorException, "Value %lld is neither OnValue %lld nor OffValue %lld",
                static_cast<long long>(nValue), static_cast<long long>(mnOn), static_cast<long long>(mnOff));
    if (cacheable())
    {
        mbCache = bValue;
        mbValueCacheValid = true;
    }
    return bValue;
}

void tcBoolean::writeBool(bool abValue, bool abVerify)
{
    tcChangeScope cScope(mrMap);
    requireWritable("Node is not writable.");
    mbValueCacheValid = false;
    if (mcValue.node())
        mcValue.set(abValue ? mnOn : mnOff, abVerify);
    else
        mcValue.setConstant(abValue ? mnOn : mnOff);
    if (writeThrough())
    {
        mbCache = abValue;
        mbValueCacheValid = true;
    }
    changed();
    if (abVerify)
        checkDeviceError();
}

int64_t tcBoolean::doGetInt(bool abVerify, bool abIgnoreCache)
{
    return readBool(abVerify, abIgnoreCache) ? 1 : 0;
}

void tcBoolean::doSetInt(int64_t anValue, bool abVerify)
{
    writeBool(anValue != 0, abVerify);
}

void tcBoolean::SetValue(bool Value, bool Verify)
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    writeBool(Value, Verify);
}

bool tcBoolean::GetValue(bool Verify, bool IgnoreCache) const
{
    tcMapLock cLock(mrMap);
    tcDepthGuard cGuard(*this);
    return const_cast<tcBoolean*>(this)->readBool(Verify, IgnoreCache);
}

gcstring tcBoolean::ToString(bool Verify, bool IgnoreCache)
{
    tcMapLock cLock(mrMap);
    if (!readable())
        KX_FAIL(AccessException, "Node is not readable");
    return GetValue(Verify, IgnoreCache) ? "1" : "0";
}

void tcBoolean::FromString(const gcstring& ValueStr, bool Verify)
{
    tcMapLock cLock(mrMap);
    const std::string sText = ValueStr.c_str();
    bool bValue;
    if (sText == "1" || sText == "true" || sText == "True" || sText == "TRUE")
        bValue = true;
    else if (sText == "0" || sText == "false" || sText == "False" || sText == "FALSE")
        bValue = false;
    else
        KX_FAIL(InvalidArgumentException, "Node '%s' : cannot convert string '%s' to bool.", msName.c_str(),
                sText.c_str());
    if (!writable())
        KX_FAIL(AccessException, "Node is not writable");
    SetValue(bValue, Verify);
}

} // namespace GenApi
