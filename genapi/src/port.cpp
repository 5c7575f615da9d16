#include "port.h"

#include "nodemap.h"

#include <Base/GCException.h>

#include <algorithm>
#include <cstring>

namespace GenApi
{

bool tcPort::parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker)
{
    if (std::strcmp(apName, "ChunkID") == 0 || std::strcmp(apName, "pChunkID") == 0)
    {
        mbChunk = true;
        return true;
    }
    if (std::strcmp(apName, "SwapEndianess") == 0)
    {
        mbSwap = xml::text(arElement) == "Yes";
        return true;
    }
    return tcNode::parseElement(apName, arElement, arLinker);
}

EAccessMode tcPort::naturalAccessMode()
{
    if (!mpPort)
        return mbChunk ? NA : NI;
    return mpPort->GetAccessMode();
}

void tcPort::read(const tcNode& arFor, uint8_t* apBuffer, int64_t anAddress, int64_t anLength)
{
    if (!mpPort)
        arFor.KX_FAIL(AccessException, "Port '%s' is not connected", msName.c_str());
    mpPort->Read(apBuffer, anAddress, anLength);
    // A port that swaps byte order does so for whole words.
    if (mbSwap && (anLength == 2 || anLength == 4 || anLength == 8))
        std::reverse(apBuffer, apBuffer + anLength);
}

void tcPort::write(const tcNode& arFor, const uint8_t* apBuffer, int64_t anAddress, int64_t anLength)
{
    if (!mpPort)
        arFor.KX_FAIL(AccessException, "Port '%s' is not connected", msName.c_str());
    if (mbSwap && (anLength == 2 || anLength == 4 || anLength == 8))
    {
        uint8_t cSwapped[8];
        std::reverse_copy(apBuffer, apBuffer + anLength, cSwapped);
        mpPort->Write(cSwapped, anAddress, anLength);
        return;
    }
    mpPort->Write(apBuffer, anAddress, anLength);
}

void tcPort::Read(void* pBuffer, int64_t Address, int64_t Length)
{
    tcMapLock cLock(mrMap);
    read(*this, static_cast<uint8_t*>(pBuffer), Address, Length);
}

void tcPort::Write(const void* pBuffer, int64_t Address, int64_t Length)
{
    tcMapLock cLock(mrMap);
    write(*this, static_cast<const uint8_t*>(pBuffer), Address, Length);
}

} // namespace GenApi
