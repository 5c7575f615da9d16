#pragma once
#include <GenApi/INodeMap.h>
#include <GenApi/IPort.h>

#include <memory>

namespace GenApi
{

class tcNodeMap;

// Owner of one loaded device description. Empty until a description is loaded;
// copies share the same node map.
class CNodeMapRef
{
public:
    explicit CNodeMapRef(const gcstring& DeviceName = "Device");
    CNodeMapRef(const CNodeMapRef& Them);
    CNodeMapRef& operator=(const CNodeMapRef& Them);
    virtual ~CNodeMapRef();

    void _Destroy();
    void _LoadXMLFromFile(const gcstring& FileName);
    void _LoadXMLFromZIPFile(const gcstring& ZipFileName);
    void _LoadXMLFromZIPData(const void* zipData, size_t zipSize);
    void _LoadXMLFromString(const gcstring& XMLData);

    gcstring _GetDeviceName() const;
    void _Poll(int64_t ElapsedTime);
    void _InvalidateNodes() const;
    void _GetNodes(NodeList_t& Nodes) const;
    INode* _GetNode(const gcstring& key) const;
    bool _Connect(IPort* pPort, const gcstring& PortName) const;
    bool _Connect(IPort* pPort) const;

    // The node map, or null while the reference is empty.
    INodeMap* _Ptr;

private:
    INodeMap* checkedMap() const;
    void checkEmpty() const;
    void adopt(std::shared_ptr<tcNodeMap> apMap);

    gcstring msDeviceName;
    std::shared_ptr<tcNodeMap> mpMap;
};

} // namespace GenApi
