#pragma once
#include "node.h"

#include <GenApi/IPort.h>

namespace GenApi
{

// The Port node: forwards register access to the transport object that the
// application attaches with _Connect.
class tcPort : public tcNode, public virtual IPort
{
public:
    tcPort(tcNodeMap& arMap, std::string asName) : tcNode(arMap, std::move(asName), intfIPort) {}

    void Read(void* pBuffer, int64_t Address, int64_t Length) override;
    void Write(const void* pBuffer, int64_t Address, int64_t Length) override;

    void attach(IPort* apPort) { mpPort = apPort; }
    // Register access on behalf of a node; failures name that node.
    void read(const tcNode& arFor, uint8_t* apBuffer, int64_t anAddress, int64_t anLength);
    void write(const tcNode& arFor, const uint8_t* apBuffer, int64_t anAddress, int64_t anLength);

protected:
    bool parseElement(const char* apName, const pugi::xml_node& arElement, tcLinker& arLinker) override;
    EAccessMode naturalAccessMode() override;

private:
    IPort* mpPort = nullptr;
    bool mbChunk = false;
    bool mbSwap = false;
};

} // namespace GenApi
