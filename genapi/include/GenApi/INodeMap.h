#pragma once
#include <GenApi/INode.h>

namespace GenApi
{

class IPort;

class INodeMap
{
public:
    virtual void GetNodes(NodeList_t& Nodes) const = 0;
    virtual INode* GetNode(const gcstring& Name) const = 0;
    virtual void InvalidateNodes() const = 0;
    virtual bool Connect(IPort* pPort, const gcstring& PortName) const = 0;
    virtual bool Connect(IPort* pPort) const = 0;
    virtual gcstring GetDeviceName() = 0;
    virtual void Poll(int64_t ElapsedTime) = 0;
    virtual uint64_t GetNumNodes() const = 0;
    virtual ~INodeMap() = default;
};

} // namespace GenApi
