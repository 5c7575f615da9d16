// Loads arbitrary bytes as a description (or zipped description) and reads
// every node over a device that answers with a fixed pattern.
#include <GenApi/GenApi.h>

#include <cstring>

using namespace GenApi;

namespace
{
class tcPatternPort : public IPort
{
public:
    EAccessMode GetAccessMode() const override { return RW; }
    void Read(void* pBuffer, int64_t Address, int64_t Length) override
    {
        if (Length < 0 || Length > 65536)
            throw ACCESS_EXCEPTION("length %lld refused", static_cast<long long>(Length));
        auto* pBytes = static_cast<uint8_t*>(pBuffer);
        for (int64_t i = 0; i < Length; ++i)
            pBytes[i] =
                static_cast<uint8_t>((static_cast<uint64_t>(Address) + static_cast<uint64_t>(i)) * 7u +
                                     static_cast<uint64_t>(mnWrites));
    }
    void Write(const void*, int64_t, int64_t Length) override
    {
        if (Length < 0 || Length > 65536)
            throw ACCESS_EXCEPTION("length %lld refused", static_cast<long long>(Length));
        ++mnWrites;
    }

private:
    int64_t mnWrites = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* apData, size_t anSize)
{
    CNodeMapRef cMap;
    try
    {
        if (anSize >= 2 && apData[0] == 'P' && apData[1] == 'K')
            cMap._LoadXMLFromZIPData(apData, anSize);
        else
            cMap._LoadXMLFromString(gcstring(reinterpret_cast<const char*>(apData), anSize));
    }
    catch (const GenICam::GenericException&)
    {
        return 0;
    }
    tcPatternPort cPort;
    NodeList_t cNodes;
    cMap._GetNodes(cNodes);
    for (INode* pNode : cNodes)
        if (pNode->GetPrincipalInterfaceType() == intfIPort)
            cMap._Connect(&cPort, pNode->GetName());
    int nBudget = 2000;
    for (INode* pNode : cNodes)
    {
        if (--nBudget < 0)
            break;
        try
        {
            const EAccessMode eMode = pNode->GetAccessMode();
            CValuePtr pValue = pNode;
            if (!pValue)
                continue;
            if (IsReadable(eMode))
            {
                const gcstring sText = pValue->ToString();
                if (IsWritable(eMode) && pNode->GetPrincipalInterfaceType() != intfICommand)
                    pValue->FromString(sText, false);
            }
            CIntegerPtr pInteger = pNode;
            if (pInteger && IsReadable(eMode))
            {
                pInteger->GetMin();
                pInteger->GetMax();
                pInteger->GetInc();
            }
            CFloatPtr pFloat = pNode;
            if (pFloat && IsReadable(eMode))
            {
                pFloat->GetMin();
                pFloat->GetMax();
            }
            CEnumerationPtr pEnum = pNode;
            if (pEnum)
            {
                StringList_t cSymbolics;
                pEnum->GetSymbolics(cSymbolics);
            }
        }
        catch (const GenICam::GenericException&)
        {
        }
    }
    cMap._Poll(1000);
    return 0;
}
