#include "nodemap.h"
#include "xmlloader.h"
#include "zipreader.h"

#include <GenApi/NodeMapRef.h>

#include <fstream>
#include <iterator>

namespace GenApi
{

namespace
{
std::string readFile(const gcstring& arFileName)
{
    std::ifstream cFile(arFileName.c_str(), std::ios::binary);
    if (!cFile)
        throw RUNTIME_EXCEPTION("Cannot open the description file '%s'", arFileName.c_str());
    std::string sData((std::istreambuf_iterator<char>(cFile)), std::istreambuf_iterator<char>());
    if (cFile.bad())
        throw RUNTIME_EXCEPTION("Cannot read the description file '%s'", arFileName.c_str());
    return sData;
}
} // namespace

CNodeMapRef::CNodeMapRef(const gcstring& DeviceName) : _Ptr(nullptr), msDeviceName(DeviceName) {}

CNodeMapRef::CNodeMapRef(const CNodeMapRef& Them)
    : _Ptr(Them._Ptr), msDeviceName(Them.msDeviceName), mpMap(Them.mpMap)
{
}

CNodeMapRef& CNodeMapRef::operator=(const CNodeMapRef& Them)
{
    msDeviceName = Them.msDeviceName;
    mpMap = Them.mpMap;
    _Ptr = Them._Ptr;
    return *this;
}

CNodeMapRef::~CNodeMapRef()
{
    _Destroy();
}

void CNodeMapRef::_Destroy()
{
    mpMap.reset();
    _Ptr = nullptr;
}

void CNodeMapRef::checkEmpty() const
{
    if (mpMap)
        throw RUNTIME_EXCEPTION("DLL already loaded");
}

INodeMap* CNodeMapRef::checkedMap() const
{
    if (!mpMap)
        throw ACCESS_EXCEPTION("Feature not present (reference not valid)");
    return mpMap.get();
}

void CNodeMapRef::adopt(std::shared_ptr<tcNodeMap> apMap)
{
    mpMap = std::move(apMap);
    _Ptr = mpMap.get();
}

void CNodeMapRef::_LoadXMLFromFile(const gcstring& FileName)
{
    checkEmpty();
    const std::string sData = readFile(FileName);
    adopt(tcXmlLoader::load(sData.data(), sData.size(), msDeviceName.c_str()));
}

void CNodeMapRef::_LoadXMLFromZIPFile(const gcstring& ZipFileName)
{
    checkEmpty();
    const std::string sData = readFile(ZipFileName);
    const std::string sText = tcZipReader::extractDescription(sData.data(), sData.size());
    adopt(tcXmlLoader::load(sText.data(), sText.size(), msDeviceName.c_str()));
}

void CNodeMapRef::_LoadXMLFromZIPData(const void* zipData, size_t zipSize)
{
    checkEmpty();
    const std::string sText = tcZipReader::extractDescription(zipData, zipSize);
    adopt(tcXmlLoader::load(sText.data(), sText.size(), msDeviceName.c_str()));
}

void CNodeMapRef::_LoadXMLFromString(const gcstring& XMLData)
{
    checkEmpty();
    adopt(tcXmlLoader::load(XMLData.c_str(), XMLData.size(), msDeviceName.c_str()));
}

gcstring CNodeMapRef::_GetDeviceName() const
{
    return checkedMap()->GetDeviceName();
}

void CNodeMapRef::_Poll(int64_t ElapsedTime)
{
    checkedMap()->Poll(ElapsedTime);
}

void CNodeMapRef::_InvalidateNodes() const
{
    checkedMap()->InvalidateNodes();
}

void CNodeMapRef::_GetNodes(NodeList_t& Nodes) const
{
    checkedMap()->GetNodes(Nodes);
}

INode* CNodeMapRef::_GetNode(const gcstring& key) const
{
    return checkedMap()->GetNode(key);
}

bool CNodeMapRef::_Connect(IPort* pPort, const gcstring& PortName) const
{
    return checkedMap()->Connect(pPort, PortName);
}

bool CNodeMapRef::_Connect(IPort* pPort) const
{
    return checkedMap()->Connect(pPort);
}

} // namespace GenApi
