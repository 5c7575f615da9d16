// Speed of the node map on the shared camera descriptions: loading from
// memory, reading every readable feature (cached and uncached), and the cost
// of single integer reads compared with the port's own cost.
#include <GenApi/GenApi.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace GenApi;

namespace
{
// A device that answers with zeros at almost no cost of its own.
class tcZeroPort : public IPort
{
public:
    EAccessMode GetAccessMode() const override { return RW; }
    void Read(void* pBuffer, int64_t, int64_t Length) override
    {
        std::memset(pBuffer, 0, static_cast<size_t>(Length));
    }
    void Write(const void*, int64_t, int64_t) override {}
};

std::string dataDir()
{
    return std::string(KESTRIX_TESTDATA_DIR) + "/genicam/";
}

std::vector<std::string> descriptionFiles()
{
    std::vector<std::string> cFiles;
    if (DIR* pDir = opendir(dataDir().c_str()))
    {
        while (dirent* pEntry = readdir(pDir))
        {
            const std::string sName = pEntry->d_name;
            if (sName.size() > 4 && (sName.compare(sName.size() - 4, 4, ".xml") == 0 ||
                                     sName.compare(sName.size() - 4, 4, ".zip") == 0))
                cFiles.push_back(sName);
        }
        closedir(pDir);
    }
    std::sort(cFiles.begin(), cFiles.end());
    return cFiles;
}

std::string readFile(const std::string& arName)
{
    std::ifstream cFile(dataDir() + arName, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(cFile)), std::istreambuf_iterator<char>());
}

void load(CNodeMapRef& arMap, const std::string& arName, const std::string& arData)
{
    if (arName.compare(arName.size() - 4, 4, ".zip") == 0)
        arMap._LoadXMLFromZIPData(arData.data(), arData.size());
    else
        arMap._LoadXMLFromString(gcstring(arData.data(), arData.size()));
}

void connectAll(CNodeMapRef& arMap, IPort* apPort)
{
    NodeList_t cNodes;
    arMap._GetNodes(cNodes);
    for (INode* pNode : cNodes)
        if (pNode->GetPrincipalInterfaceType() == intfIPort)
            arMap._Connect(apPort, pNode->GetName());
}

// The readable value nodes of a loaded map.
std::vector<IValue*> readableValues(CNodeMapRef& arMap)
{
    NodeList_t cNodes;
    arMap._GetNodes(cNodes);
    std::vector<IValue*> cValues;
    for (INode* pNode : cNodes)
    {
        CValuePtr pValue = pNode;
        if (pValue && IsReadable(pNode) && pNode->GetPrincipalInterfaceType() != intfICategory)
            cValues.push_back(pValue._Ptr);
    }
    return cValues;
}

void readAll(const std::vector<IValue*>& acValues)
{
    for (IValue* pValue : acValues)
    {
        try
        {
            benchmark::DoNotOptimize(pValue->ToString());
        }
        catch (const GenICam::GenericException&)
        {
            // Zero devices divide by zero now and then; the cost still counts.
        }
    }
}

void BM_Load(benchmark::State& arState, const std::string& arName)
{
    const std::string sData = readFile(arName);
    for (auto _ : arState)
    {
        CNodeMapRef cMap;
        load(cMap, arName, sData);
        benchmark::DoNotOptimize(cMap._Ptr);
    }
    // Throughput over the bytes given to the loader (compressed for a zip).
    arState.SetBytesProcessed(static_cast<int64_t>(arState.iterations() * sData.size()));
}

void BM_ReadAll(benchmark::State& arState, const std::string& arName, bool abCached)
{
    CNodeMapRef cMap;
    load(cMap, arName, readFile(arName));
    tcZeroPort cPort;
    connectAll(cMap, &cPort);
    const std::vector<IValue*> cValues = readableValues(cMap);
    readAll(cValues);
    for (auto _ : arState)
    {
        if (!abCached)
            cMap._InvalidateNodes();
        readAll(cValues);
    }
    arState.counters["features"] = static_cast<double>(cValues.size());
}

// One integer register behind an Integer, as cameras describe Width.
const char* const gpIntegerXml =
    "<RegisterDescription ModelName=\"B\" VendorName=\"K\" StandardNameSpace=\"None\" "
    "SchemaMajorVersion=\"1\" "
    "SchemaMinorVersion=\"1\" SchemaSubMinorVersion=\"0\" MajorVersion=\"1\" MinorVersion=\"0\" "
    "SubMinorVersion=\"0\" "
    "ProductGuid=\"0\" VersionGuid=\"0\" xmlns=\"http://www.genicam.org/GenApi/Version_1_1\">"
    "<Integer "
    "Name=\"Width\"><pIsLocked>Locked</pIsLocked><pValue>WidthReg</pValue><Min>16</Min><Max>4096</Max>"
    "<Inc>8</Inc></Integer><Integer Name=\"Locked\"><Value>0</Value></Integer>"
    "<IntReg Name=\"WidthReg\"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode>"
    "<pPort>Device</pPort><Endianess>BigEndian</Endianess></IntReg><Port "
    "Name=\"Device\"/></RegisterDescription>";

void BM_CachedIntegerRead(benchmark::State& arState)
{
    CNodeMapRef cMap;
    cMap._LoadXMLFromString(gpIntegerXml);
    tcZeroPort cPort;
    cMap._Connect(&cPort);
    CIntegerPtr pWidth = cMap._GetNode("Width");
    pWidth->GetValue();
    for (auto _ : arState)
        benchmark::DoNotOptimize(pWidth->GetValue());
}

void BM_UncachedIntegerRead(benchmark::State& arState)
{
    CNodeMapRef cMap;
    cMap._LoadXMLFromString(gpIntegerXml);
    tcZeroPort cPort;
    cMap._Connect(&cPort);
    CIntegerPtr pReg = cMap._GetNode("WidthReg");
    for (auto _ : arState)
        benchmark::DoNotOptimize(pReg->GetValue(false, true));
}

void BM_PortReadAlone(benchmark::State& arState)
{
    tcZeroPort cPort;
    IPort* pPort = &cPort;
    uint8_t cBytes[4];
    for (auto _ : arState)
    {
        pPort->Read(cBytes, 0x10, 4);
        benchmark::DoNotOptimize(cBytes);
    }
}

void registerAll()
{
    for (const std::string& rName : descriptionFiles())
    {
        benchmark::RegisterBenchmark(("Load/" + rName).c_str(), BM_Load, rName)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ReadAllCached/" + rName).c_str(), BM_ReadAll, rName, true)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("ReadAllUncached/" + rName).c_str(), BM_ReadAll, rName, false)
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("CachedIntegerRead", BM_CachedIntegerRead);
    benchmark::RegisterBenchmark("UncachedIntegerRead", BM_UncachedIntegerRead);
    benchmark::RegisterBenchmark("PortReadAlone", BM_PortReadAlone);
}
} // namespace

int main(int argc, char** argv)
{
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
