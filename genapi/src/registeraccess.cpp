#include "registeraccess.h"

#include "nodemap.h"
#include "port.h"

#include <Base/GCException.h>

#include <cstring>

namespace GenApi
{

bool tcRegisterAccess::parseElement(tcNode& arOwner, const char* apName, const pugi::xml_node& arElement,
                                    tcLinker& arLinker)
{
    auto is = [apName](const char* apWhat) { return std::strcmp(apName, apWhat) == 0; };
    if (is("Address"))
    {
        int64_t nValue = 0;
        const std::string sText = xml::text(arElement);
        if (!xml::parseInt(sText, nValue))
            arOwner.KX_FAIL(RuntimeException, "Element <Address> holds '%s', which is not an integer",
                            sText.c_str());
        mnConstant = static_cast<int64_t>(static_cast<uint64_t>(mnConstant) + static_cast<uint64_t>(nValue));
    }
    else if (is("pAddress") || is("IntSwissKnife"))
    {
        tsPart cPart;
        cPart.mpNode = is("pAddress") ? arLinker.require(arOwner, xml::text(arElement))
                                      : arLinker.require(arOwner, xml::attribute(arElement, "Name"));
        arOwner.addChild(cPart.mpNode);
        mcParts.push_back(cPart);
    }
    else if (is("pIndex"))
    {
        tsPart cPart;
        cPart.mbIndex = true;
        cPart.mpNode = arLinker.require(arOwner, xml::text(arElement));
        arOwner.addChild(cPart.mpNode);
        const std::string sOffset = xml::attribute(arElement, "Offset");
        const std::string sOffsetNode = xml::attribute(arElement, "pOffset");
        if (!sOffsetNode.empty())
        {
            cPart.mpOffsetNode = arLinker.require(arOwner, sOffsetNode);
            arOwner.addChild(cPart.mpOffsetNode);
        }
        else if (!sOffset.empty())
        {
            if (!xml::parseInt(sOffset, cPart.mnOffset))
                arOwner.KX_FAIL(RuntimeException, "pIndex Offset '%s' is not an integer", sOffset.c_str());
        }
        else
            cPart.mbDefaultOffset = true;
        mcParts.push_back(cPart);
    }
    else if (is("Length") || is("pLength"))
        mcLength.parse(arOwner, apName, arElement, arLinker);
    else if (is("AccessMode"))
        meDeviceAccess = parseAccessMode(xml::text(arElement), RO);
    else if (is("pPort"))
    {
        tcNode* pNode = arLinker.require(arOwner, xml::text(arElement));
        mpPort = dynamic_cast<tcPort*>(pNode);
        if (!mpPort)
            arOwner.KX_FAIL(RuntimeException, "pPort names '%s', which is not a port", pNode->name().c_str());
        arOwner.addChild(mpPort);
    }
    else if (is("Endianess"))
        meEndianess = xml::text(arElement) == "BigEndian" ? BigEndian : LittleEndian;
    else
        return false;
    return true;
}

void tcRegisterAccess::finish(tcNode& arOwner)
{
    if (!mpPort)
        arOwner.KX_FAIL(RuntimeException, "Register node has no <pPort>");
    if (!mcLength.isSet())
        arOwner.KX_FAIL(RuntimeException, "Register node has no <Length>");
    if (hasConstantLength() && (mcLength.constant() <= 0 || mcLength.constant() > (1 << 30)))
        arOwner.KX_FAIL(RuntimeException, "Register length %lld is out of range",
                        static_cast<long long>(mcLength.constant()));
}

int64_t tcRegisterAccess::address() const
{
    uint64_t nAddress = static_cast<uint64_t>(mnConstant);
    for (const tsPart& rPart : mcParts)
    {
        const uint64_t nValue = static_cast<uint64_t>(rPart.mpNode->getInt());
        if (!rPart.mbIndex)
        {
            nAddress += nValue;
            continue;
        }
        const int64_t nOffset = rPart.mpOffsetNode      ? rPart.mpOffsetNode->getInt()
                                : rPart.mbDefaultOffset ? length()
                                                        : rPart.mnOffset;
        nAddress += nValue * static_cast<uint64_t>(nOffset);
    }
    return static_cast<int64_t>(nAddress);
}

EAccessMode tcRegisterAccess::accessMode(tcNode& arOwner) const
{
    (void)arOwner;
    EAccessMode eMode = Combine(meDeviceAccess, mpPort->accessMode());
    auto guard = [&eMode](tcNode* apNode)
    {
        if (!apNode)
            return;
        const EAccessMode eGuard = apNode->accessMode();
        if (eGuard == NI)
            eMode = Combine(eMode, NI);
        else if (!IsReadable(eGuard))
            eMode = Combine(eMode, NA);
    };
    for (const tsPart& rPart : mcParts)
    {
        guard(rPart.mpNode);
        guard(rPart.mpOffsetNode);
    }
    guard(mcLength.node());
    return eMode;
}

void tcRegisterAccess::read(const tcNode& arOwner, uint8_t* apBuffer, int64_t anLength) const
{
    mpPort->read(arOwner, apBuffer, address(), anLength);
}

void tcRegisterAccess::write(const tcNode& arOwner, const uint8_t* apBuffer, int64_t anLength) const
{
    mpPort->write(arOwner, apBuffer, address(), anLength);
}

tcRegisterAccess::tsKey tcRegisterAccess::key() const
{
    tsKey cKey;
    cKey.mpPort = mpPort;
    for (const tsPart& rPart : mcParts)
        cKey.mcParts.emplace_back(rPart.mpNode,
                                  rPart.mbIndex ? (rPart.mpOffsetNode ? -2 : rPart.mnOffset) : -1);
    return cKey;
}

uint64_t bytesToUnsigned(const uint8_t* apBytes, int64_t anLength, EEndianess aeOrder)
{
    uint64_t nValue = 0;
    for (int64_t i = 0; i < anLength && i < 8; ++i)
    {
        const int64_t nIndex = aeOrder == LittleEndian ? anLength - 1 - i : i;
        nValue = (nValue << 8) | apBytes[nIndex];
    }
    return nValue;
}

void unsignedToBytes(uint64_t anValue, uint8_t* apBytes, int64_t anLength, EEndianess aeOrder)
{
    for (int64_t i = 0; i < anLength; ++i)
    {
        const int64_t nIndex = aeOrder == LittleEndian ? i : anLength - 1 - i;
        apBytes[nIndex] = i < 8 ? static_cast<uint8_t>(anValue >> (8 * i)) : 0;
    }
}

void tcRawRegister::Get(uint8_t* pBuffer, int64_t Length, bool, bool)
{
    tcNode& rNode = rawNode();
    tcMapLock cLock(rNode.map());
    tcDepthGuard cGuard(rNode);
    if (!pBuffer)
        rNode.KX_FAIL(InvalidArgumentException, "NULL buffer");
    if (!rNode.readable())
        rNode.KX_FAIL(AccessException, "Node is not readable");
    if (Length != rawAccess().length())
        rNode.KX_FAIL(OutOfRangeException, "Buffer of %lld bytes does not match the register length %lld",
                      static_cast<long long>(Length), static_cast<long long>(rawAccess().length()));
    rawAccess().read(rNode, pBuffer, Length);
}

void tcRawRegister::Set(const uint8_t* pBuffer, int64_t Length, bool)
{
    tcNode& rNode = rawNode();
    tcMapLock cLock(rNode.map());
    tcDepthGuard cGuard(rNode);
    tcChangeScope cScope(rNode.map());
    if (!pBuffer)
        rNode.KX_FAIL(InvalidArgumentException, "NULL buffer");
    if (!rNode.writable())
        rNode.KX_FAIL(AccessException, "Node is not writable");
    if (Length != rawAccess().length())
        rNode.KX_FAIL(OutOfRangeException, "Buffer of %lld bytes does not match the register length %lld",
                      static_cast<long long>(Length), static_cast<long long>(rawAccess().length()));
    rawAccess().write(rNode, pBuffer, Length);
    rNode.invalidateCache();
    rNode.map().noteChanged(&rNode, false);
}

int64_t tcRawRegister::GetLength()
{
    tcNode& rNode = rawNode();
    tcMapLock cLock(rNode.map());
    tcDepthGuard cGuard(rNode);
    return rawAccess().length();
}

int64_t tcRawRegister::GetAddress()
{
    tcNode& rNode = rawNode();
    tcMapLock cLock(rNode.map());
    tcDepthGuard cGuard(rNode);
    return rawAccess().address();
}

} // namespace GenApi
