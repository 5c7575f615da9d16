// Every camera and module description loads in genapi over the producer's
// ports, every readable feature reads, the features behave as the camera's
// registers do, and the modules' features agree with their info queries.
#include "producerlibrary.h"
#include "simcamsession.h"

#include <GenApi/GenApi.h>

#include <QtTest>

using namespace GenTL;
using namespace GenApi;

namespace
{

// The node map's port: GCReadPort and GCWritePort of the remote device.
class tcTestPort : public IPort
{
public:
    tcTestPort(tcProducerLibrary& arLib, PORT_HANDLE ahPort) : mrLib(arLib), mhPort(ahPort) {}

    EAccessMode GetAccessMode() const override { return RW; }
    void Read(void* apBuffer, int64_t anAddress, int64_t anLength) override
    {
        size_t lnSize = static_cast<size_t>(anLength);
        check(mrLib.GCReadPort(mhPort, uint64_t(anAddress), apBuffer, &lnSize), "read", anAddress);
    }
    void Write(const void* apBuffer, int64_t anAddress, int64_t anLength) override
    {
        size_t lnSize = static_cast<size_t>(anLength);
        check(mrLib.GCWritePort(mhPort, uint64_t(anAddress), apBuffer, &lnSize), "write", anAddress);
    }

private:
    void check(GC_ERROR anResult, const char* apWhat, int64_t anAddress)
    {
        if (anResult != GC_ERR_SUCCESS)
        {
            const std::string lcText = std::string("port ") + apWhat + " at " + std::to_string(anAddress) +
                                       " failed: " + mrLib.lastError();
            throw GenICam::GenericException(lcText.c_str(), __FILE__, __LINE__);
        }
    }

    tcProducerLibrary& mrLib;
    PORT_HANDLE mhPort;
};

// The description the port's first URL points to, read from its register map.
QByteArray fetchDescription(tcProducerLibrary& arLib, PORT_HANDLE ahPort)
{
    uint64_t lnAddress = 0, lnLength = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 8;
    if (arLib.GCGetPortURLInfo(ahPort, 0, URL_INFO_FILE_REGISTER_ADDRESS, &lnType, &lnAddress, &lnSize) !=
        GC_ERR_SUCCESS)
    {
        return QByteArray();
    }
    lnSize = 8;
    arLib.GCGetPortURLInfo(ahPort, 0, URL_INFO_FILE_SIZE, &lnType, &lnLength, &lnSize);
    QByteArray lcBytes(int(lnLength), '\0');
    lnSize = lnLength;
    if (arLib.GCReadPort(ahPort, lnAddress, lcBytes.data(), &lnSize) != GC_ERR_SUCCESS)
    {
        return QByteArray();
    }
    return lcBytes;
}

QByteArray fetchDescription(tcSimCamSession& arSession)
{
    return fetchDescription(arSession.mrLib, arSession.mhPort);
}

void load(CNodeMapRef& arMap, const QByteArray& arBytes)
{
    if (arBytes.startsWith(QByteArray("PK\x03\x04", 4)))
    {
        arMap._LoadXMLFromZIPData(arBytes.constData(), size_t(arBytes.size()));
    }
    else
    {
        arMap._LoadXMLFromString(gcstring(arBytes.constData()));
    }
}

// Reads every readable value of the map and checks that every feature in the
// tree has a tool tip; returns the number of values read, or -1 after a failure.
int readEverything(CNodeMapRef& arMap)
{
    NodeList_t lcNodes;
    arMap._GetNodes(lcNodes);
    int lnRead = 0;
    for (INode* lpNode : lcNodes)
    {
        CValuePtr lpValue(lpNode);
        if (lpValue.IsValid() && IsReadable(lpValue))
        {
            try
            {
                lpValue->ToString();
                ++lnRead;
            }
            catch (const GenICam::GenericException& arError)
            {
                qWarning("%s: %s", lpNode->GetName().c_str(), arError.GetDescription());
                return -1;
            }
        }
        if (lpNode->IsFeature() && lpNode->GetVisibility() != Invisible && lpNode->GetToolTip().empty())
        {
            qWarning("%s has no tool tip", lpNode->GetName().c_str());
            return -1;
        }
    }
    return lnRead;
}

// A feature's value as text, enumerations by their integer value, as info queries answer.
std::string featureText(CNodeMapRef& arMap, const char* apName)
{
    CEnumerationPtr lpEnum(arMap._GetNode(apName));
    if (lpEnum.IsValid())
    {
        return std::to_string(lpEnum->GetIntValue());
    }
    CValuePtr lpValue(arMap._GetNode(apName));
    return lpValue.IsValid() ? std::string(lpValue->ToString().c_str()) : std::string("(no feature)");
}

// A module's node map, connected to the module's own port.
struct tcModuleMap
{
    tcModuleMap(tcProducerLibrary& arLib, PORT_HANDLE ahPort) : mcPort(arLib, ahPort)
    {
        load(mcMap, fetchDescription(arLib, ahPort));
        mbConnected = mcMap._Connect(&mcPort, "Device");
    }
    tcTestPort mcPort;
    CNodeMapRef mcMap;
    bool mbConnected = false;
};

using tcFeatureInfo = std::vector<std::pair<const char*, tcInfoQuery>>;

// Every listed feature shows what its info query answers.
void compareWithInfo(CNodeMapRef& arMap, const tcFeatureInfo& arPairs)
{
    for (const auto& lrPair : arPairs)
    {
        QVERIFY2(featureText(arMap, lrPair.first) == infoText(lrPair.second),
                 qPrintable(QString("%1: %2 != %3")
                                .arg(lrPair.first, featureText(arMap, lrPair.first).c_str(),
                                     infoText(lrPair.second).c_str())));
    }
}

} // namespace

class tcGenApiTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyReadableFeatureReads_data();
    void everyReadableFeatureReads();
    void featuresDriveTheCamera();
    void sensorRegistersThroughFeatures();
    void lockedWhileAcquiring();
    void streamableFeatures_data();
    void streamableFeatures();
    void moduleDescriptionsLoad_data();
    void moduleDescriptionsLoad();
    void systemFeaturesMatchInfo();
    void interfaceFeaturesMatchInfo();
    void deviceListFollowsUpdates();
    void deviceFeaturesMatchInfo();
    void streamFeaturesMatchInfo();

private:
    std::unique_ptr<tcProducerLibrary> mpLib;
};

void tcGenApiTest::initTestCase()
{
    unsetenv("SIMCAM_XML_FILE");
    unsetenv("SIMCAM_FAULTS");
    mpLib = std::make_unique<tcProducerLibrary>();
    QVERIFY2(mpLib->loaded(), mpLib->loadError().c_str());
}

void tcGenApiTest::everyReadableFeatureReads_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("minimumFeatures");
    QTest::newRow("mono") << 0 << 25;
    QTest::newRow("colour (zipped)") << 1 << 25;
    QTest::newRow("cmv50000") << 2 << 35;
}

void tcGenApiTest::everyReadableFeatureReads()
{
    QFETCH(int, device);
    QFETCH(int, minimumFeatures);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[device]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    CNodeMapRef lcMap;
    try
    {
        load(lcMap, fetchDescription(lcSession));
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
    tcTestPort lcPort(*mpLib, lcSession.mhPort);
    QVERIFY(lcMap._Connect(&lcPort, "Device"));
    const int lnRead = readEverything(lcMap);
    QVERIFY2(lnRead >= minimumFeatures, qPrintable(QString::number(lnRead)));
    QVERIFY(CCategoryPtr(lcMap._GetNode("Root")).IsValid());
    // Identity read through the features matches the producer's device info.
    CStringPtr lpModel(lcMap._GetNode("DeviceModelName"));
    QVERIFY(lpModel.IsValid());
    char lcModel[64];
    INFO_DATATYPE lnType = 0;
    size_t lnSize = sizeof lcModel;
    QCOMPARE(mpLib->DevGetInfo(lcSession.mhDevice, DEVICE_INFO_MODEL, &lnType, lcModel, &lnSize),
             GC_ERR_SUCCESS);
    QCOMPARE(std::string(lpModel->GetValue().c_str()), std::string(lcModel));
    if (device == 2)
    {
        QVERIFY(IsReadable(lcMap._GetNode("HDMIControl")));
        QVERIFY(std::string(lpModel->GetValue().c_str()).rfind("CMV50000", 0) == 0);
    }
}

void tcGenApiTest::featuresDriveTheCamera()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[1]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    CNodeMapRef lcMap;
    load(lcMap, fetchDescription(lcSession));
    tcTestPort lcPort(*mpLib, lcSession.mhPort);
    QVERIFY(lcMap._Connect(&lcPort, "Device"));
    try
    {
        CIntegerPtr lpWidth(lcMap._GetNode("Width"));
        CIntegerPtr lpOffsetX(lcMap._GetNode("OffsetX"));
        CIntegerPtr lpPayload(lcMap._GetNode("PayloadSize"));
        QCOMPARE(lpWidth->GetInc(), int64_t(16));
        QCOMPARE(lpWidth->GetMax(), int64_t(1936));
        lpWidth->SetValue(640);
        QCOMPARE(lcSession.u32(simcamreg::Width, true), 640u);
        QCOMPARE(lpOffsetX->GetMax(), int64_t(1936 - 640));
        lpOffsetX->SetValue(160);
        QCOMPARE(lpWidth->GetMax(), int64_t(1936 - 160));
        CEnumerationPtr lpFormat(lcMap._GetNode("PixelFormat"));
        lpFormat->FromString("BayerGB12p");
        QCOMPARE(lcSession.u32(simcamreg::PixelFormat), 0x010C0055u);
        QCOMPARE(lpPayload->GetValue(), int64_t(640 * 1216 * 3 / 2));
        // Two enumerations share one register without spoiling each other.
        CEnumerationPtr lpMode(lcMap._GetNode("AcquisitionMode"));
        CEnumerationPtr lpPattern(lcMap._GetNode("TestPattern"));
        lpMode->FromString("MultiFrame");
        lpPattern->FromString("GreyDiagonalRampMoving");
        QCOMPARE(lcSession.u32(simcamreg::AcquisitionConfig), 0x0102u);
        QCOMPARE(std::string(lpMode->ToString().c_str()), std::string("MultiFrame"));
        // Converters scale the raw registers.
        CFloatPtr lpExposure(lcMap._GetNode("ExposureTime"));
        lpExposure->SetValue(2500.0);
        QCOMPARE(lcSession.u32(simcamreg::ExposureTimeRaw), 25000u);
        CFloatPtr lpRate(lcMap._GetNode("AcquisitionFrameRate"));
        lpRate->SetValue(50.0);
        CFloatPtr lpResulting(lcMap._GetNode("AcquisitionResultingFrameRate"));
        QCOMPARE(lpResulting->GetValue(), 50.0);
        lpExposure->SetValue(40000.0);
        QCOMPARE(lpResulting->GetValue(), 25.0);
        // The selector picks the register behind Gain.
        CEnumerationPtr lpSelector(lcMap._GetNode("GainSelector"));
        CFloatPtr lpGain(lcMap._GetNode("Gain"));
        lpSelector->FromString("Blue");
        lpGain->SetValue(6.0);
        lpSelector->FromString("Red");
        lpGain->SetValue(3.5);
        QCOMPARE(lcSession.u32(0x0140 + 4 * 3), 60u);
        QCOMPARE(lcSession.u32(0x0140 + 4 * 1), 35u);
        lpSelector->FromString("Blue");
        QCOMPARE(lpGain->GetValue(), 6.0);
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

void tcGenApiTest::sensorRegistersThroughFeatures()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[2]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    CNodeMapRef lcMap;
    load(lcMap, fetchDescription(lcSession));
    tcTestPort lcPort(*mpLib, lcSession.mhPort);
    QVERIFY(lcMap._Connect(&lcPort, "Device"));
    try
    {
        CIntegerPtr lpAddress(lcMap._GetNode("RegAddress"));
        CIntegerPtr lpValue(lcMap._GetNode("RegValue"));
        CCommandPtr lpRead(lcMap._GetNode("ExecRead"));
        CCommandPtr lpWrite(lcMap._GetNode("ExecWrite"));
        const auto lfPoke = [&](int64_t anAddress, int64_t anValue)
        {
            lpAddress->SetValue(anAddress);
            lpValue->SetValue(anValue);
            lpWrite->Execute();
        };
        const auto lfPeek = [&](int64_t anAddress)
        {
            lpAddress->SetValue(anAddress);
            lpRead->Execute();
            return lpValue->GetValue();
        };
        lfPoke(0, 3);
        QCOMPARE(lfPeek(0), int64_t(3));
        lfPoke(42, 0xBEEF);
        QCOMPARE(lfPeek(42), int64_t(0xBEEF));
        lfPoke(0, 0);
        QVERIFY(lfPeek(42) != 0xBEEF);
        // HDMI window, locked while the output runs.
        CIntegerPtr lpHdmiWidth(lcMap._GetNode("HdmiWidth"));
        CCommandPtr lpStart(lcMap._GetNode("HdmiStart"));
        CCommandPtr lpStop(lcMap._GetNode("HdmiStop"));
        lpHdmiWidth->SetValue(4000);
        lpStart->Execute();
        QVERIFY(!IsWritable(lpHdmiWidth));
        lpStop->Execute();
        QVERIFY(IsWritable(lpHdmiWidth));
        QCOMPARE(lpHdmiWidth->GetValue(), int64_t(4000));
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

void tcGenApiTest::lockedWhileAcquiring()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    CNodeMapRef lcMap;
    load(lcMap, fetchDescription(lcSession));
    tcTestPort lcPort(*mpLib, lcSession.mhPort);
    QVERIFY(lcMap._Connect(&lcPort, "Device"));
    try
    {
        CIntegerPtr lpWidth(lcMap._GetNode("Width"));
        CEnumerationPtr lpPattern(lcMap._GetNode("TestPattern"));
        // A mono camera has no colour bars.
        CEnumEntryPtr lpBars(lpPattern->GetEntryByName("ColorBarsMoving"));
        QVERIFY(lpBars.IsValid());
        QVERIFY(!IsAvailable(lpBars));
        QVERIFY(IsWritable(lpWidth));
        CCommandPtr(lcMap._GetNode("AcquisitionStart"))->Execute();
        QVERIFY(!IsWritable(lpWidth));
        QVERIFY(!IsWritable(lcMap._GetNode("PixelFormat")));
        QVERIFY(IsWritable(lcMap._GetNode("OffsetX")));
        CCommandPtr(lcMap._GetNode("AcquisitionStop"))->Execute();
        QVERIFY(IsWritable(lpWidth));
        CIntegerPtr(lcMap._GetNode("TLParamsLocked"))->SetValue(1);
        QVERIFY(!IsWritable(lpWidth));
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

void tcGenApiTest::streamableFeatures_data()
{
    QTest::addColumn<int>("device");
    QTest::newRow("mono") << 0;
    QTest::newRow("colour (zipped)") << 1;
    QTest::newRow("cmv50000") << 2;
}

void tcGenApiTest::streamableFeatures()
{
    // Exactly the features a camera state consists of are streamable, so that
    // a consumer saving and restoring the state finds them all.
    QFETCH(int, device);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[device]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    CNodeMapRef lcMap;
    load(lcMap, fetchDescription(lcSession));
    NodeList_t lcNodes;
    lcMap._GetNodes(lcNodes);
    QStringList lcStreamable;
    for (INode* lpNode : lcNodes)
    {
        if (lpNode->IsStreamable())
        {
            lcStreamable << lpNode->GetName().c_str();
        }
    }
    lcStreamable.sort();
    QStringList lcExpected{"AcquisitionFrameCount",
                           "AcquisitionFrameRate",
                           "AcquisitionMode",
                           "DeviceUserID",
                           "ExposureTime",
                           "Gain",
                           "GainSelector",
                           "Height",
                           "OffsetX",
                           "OffsetY",
                           "PixelFormat",
                           "Width"};
    QCOMPARE(lcStreamable, lcExpected);
}

void tcGenApiTest::moduleDescriptionsLoad_data()
{
    QTest::addColumn<int>("module");
    QTest::addColumn<QString>("modelName");
    QTest::addColumn<int>("minimumFeatures");
    QTest::newRow("system") << 0 << "SimCamTL" << 14;
    QTest::newRow("interface") << 1 << "SimCamInterface" << 11;
    QTest::newRow("device") << 2 << "SimCamDevice" << 10;
    QTest::newRow("stream") << 3 << "SimCamStream" << 14;
}

void tcGenApiTest::moduleDescriptionsLoad()
{
    QFETCH(int, module);
    QFETCH(QString, modelName);
    QFETCH(int, minimumFeatures);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    const PORT_HANDLE lhPort = std::vector<PORT_HANDLE>{
        lcSession.mhSystem, lcSession.mhInterface, lcSession.mhDevice, lcSession.mhStream}[size_t(module)];
    const QByteArray lcXml = fetchDescription(*mpLib, lhPort);
    QVERIFY(lcXml.contains(("ModelName=\"" + modelName + "\"").toLatin1()));
    // A consumer connects the map to the port named as the port says.
    const std::string lcPortName =
        infoString([&](INFO_DATATYPE* t, void* b, size_t* s)
                   { return mpLib->GCGetPortInfo(lhPort, PORT_INFO_PORTNAME, t, b, s); });
    tcTestPort lcPort(*mpLib, lhPort);
    CNodeMapRef lcMap;
    try
    {
        load(lcMap, lcXml);
        QVERIFY(lcMap._Connect(&lcPort, lcPortName.c_str()));
        const int lnRead = readEverything(lcMap);
        QVERIFY2(lnRead >= minimumFeatures, qPrintable(QString::number(lnRead)));
        // Every feature named in the tree exists and is readable.
        CCategoryPtr lpRoot(lcMap._GetNode("Root"));
        QVERIFY(lpRoot.IsValid());
        FeatureList_t lcCategories;
        lpRoot->GetFeatures(lcCategories);
        QVERIFY(lcCategories.size() >= 2);
        for (IValue* lpCategory : lcCategories)
        {
            FeatureList_t lcFeatures;
            CCategoryPtr(lpCategory->GetNode())->GetFeatures(lcFeatures);
            QVERIFY(!lcFeatures.empty());
            for (IValue* lpFeature : lcFeatures)
            {
                QVERIFY2(IsReadable(lpFeature) || IsWritable(lpFeature),
                         lpFeature->GetNode()->GetName().c_str());
            }
        }
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

void tcGenApiTest::systemFeaturesMatchInfo()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    tcModuleMap lcModule(*mpLib, lcSession.mhSystem);
    QVERIFY(lcModule.mbConnected);
    const TL_HANDLE lhSystem = lcSession.mhSystem;
    const auto lfTL = [&](TL_INFO_CMD anCmd) -> tcInfoQuery {
        return [=](INFO_DATATYPE* t, void* b, size_t* s)
        { return mpLib->TLGetInfo(lhSystem, anCmd, t, b, s); };
    };
    try
    {
        compareWithInfo(lcModule.mcMap, {{"TLID", lfTL(TL_INFO_ID)},
                                         {"TLVendorName", lfTL(TL_INFO_VENDOR)},
                                         {"TLModelName", lfTL(TL_INFO_MODEL)},
                                         {"TLVersion", lfTL(TL_INFO_VERSION)},
                                         {"TLType", lfTL(TL_INFO_TLTYPE)},
                                         {"TLFileName", lfTL(TL_INFO_NAME)},
                                         {"TLDisplayName", lfTL(TL_INFO_DISPLAYNAME)},
                                         {"TLPath", lfTL(TL_INFO_PATHNAME)},
                                         {"GenTLVersionMajor", lfTL(TL_INFO_GENTL_VER_MAJOR)},
                                         {"GenTLVersionMinor", lfTL(TL_INFO_GENTL_VER_MINOR)}});
        QVERIFY(!featureText(lcModule.mcMap, "TLPath").empty());
        CCommandPtr(lcModule.mcMap._GetNode("InterfaceUpdateList"))->Execute();
        uint32_t lnCount = 0;
        QCOMPARE(mpLib->TLGetNumInterfaces(lhSystem, &lnCount), GC_ERR_SUCCESS);
        CIntegerPtr lpSelector(lcModule.mcMap._GetNode("InterfaceSelector"));
        QCOMPARE(lpSelector->GetMax(), int64_t(lnCount) - 1);
        for (uint32_t lnIndex = 0; lnIndex < lnCount; ++lnIndex)
        {
            lpSelector->SetValue(lnIndex);
            char lcId[64];
            size_t lnSize = sizeof lcId;
            QCOMPARE(mpLib->TLGetInterfaceID(lhSystem, lnIndex, lcId, &lnSize), GC_ERR_SUCCESS);
            const std::string lcInterface = lcId;
            const auto lfIF = [&](INTERFACE_INFO_CMD anCmd) -> tcInfoQuery
            {
                return [=](INFO_DATATYPE* t, void* b, size_t* s)
                { return mpLib->TLGetInterfaceInfo(lhSystem, lcInterface.c_str(), anCmd, t, b, s); };
            };
            compareWithInfo(lcModule.mcMap, {{"InterfaceID", lfIF(INTERFACE_INFO_ID)},
                                             {"InterfaceDisplayName", lfIF(INTERFACE_INFO_DISPLAYNAME)},
                                             {"InterfaceType", lfIF(INTERFACE_INFO_TLTYPE)}});
        }
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

void tcGenApiTest::interfaceFeaturesMatchInfo()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[1]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    tcModuleMap lcModule(*mpLib, lcSession.mhInterface);
    QVERIFY(lcModule.mbConnected);
    const IF_HANDLE lhInterface = lcSession.mhInterface;
    try
    {
        compareWithInfo(lcModule.mcMap,
                        {{"InterfaceID", [&](INFO_DATATYPE* t, void* b, size_t* s)
                          { return mpLib->IFGetInfo(lhInterface, INTERFACE_INFO_ID, t, b, s); }},
                         {"InterfaceDisplayName", [&](INFO_DATATYPE* t, void* b, size_t* s)
                          { return mpLib->IFGetInfo(lhInterface, INTERFACE_INFO_DISPLAYNAME, t, b, s); }},
                         {"InterfaceType", [&](INFO_DATATYPE* t, void* b, size_t* s)
                          { return mpLib->IFGetInfo(lhInterface, INTERFACE_INFO_TLTYPE, t, b, s); }}});
        CCommandPtr lpUpdate(lcModule.mcMap._GetNode("DeviceUpdateList"));
        lpUpdate->Execute();
        QVERIFY(lpUpdate->IsDone());
        uint32_t lnCount = 0;
        QCOMPARE(mpLib->IFGetNumDevices(lhInterface, &lnCount), GC_ERR_SUCCESS);
        QCOMPARE(lnCount, 3u);
        CIntegerPtr lpSelector(lcModule.mcMap._GetNode("DeviceSelector"));
        QCOMPARE(lpSelector->GetMax(), int64_t(lnCount) - 1);
        for (uint32_t lnIndex = 0; lnIndex < lnCount; ++lnIndex)
        {
            lpSelector->SetValue(lnIndex);
            char lcId[64];
            size_t lnSize = sizeof lcId;
            QCOMPARE(mpLib->IFGetDeviceID(lhInterface, lnIndex, lcId, &lnSize), GC_ERR_SUCCESS);
            const std::string lcDevice = lcId;
            const auto lfDev = [&](DEVICE_INFO_CMD anCmd) -> tcInfoQuery
            {
                return [=](INFO_DATATYPE* t, void* b, size_t* s)
                { return mpLib->IFGetDeviceInfo(lhInterface, lcDevice.c_str(), anCmd, t, b, s); };
            };
            compareWithInfo(lcModule.mcMap, {{"DeviceID", lfDev(DEVICE_INFO_ID)},
                                             {"DeviceVendorName", lfDev(DEVICE_INFO_VENDOR)},
                                             {"DeviceModelName", lfDev(DEVICE_INFO_MODEL)},
                                             {"DeviceDisplayName", lfDev(DEVICE_INFO_DISPLAYNAME)},
                                             {"DeviceSerialNumber", lfDev(DEVICE_INFO_SERIAL_NUMBER)},
                                             {"DeviceType", lfDev(DEVICE_INFO_TLTYPE)},
                                             {"DeviceAccessStatus", lfDev(DEVICE_INFO_ACCESS_STATUS)}});
        }
        // The session holds the colour camera open, the others are free.
        lpSelector->SetValue(1);
        QCOMPARE(
            std::string(CEnumerationPtr(lcModule.mcMap._GetNode("DeviceAccessStatus"))->ToString().c_str()),
            std::string("OpenReadWrite"));
        lpSelector->SetValue(0);
        QCOMPARE(
            std::string(CEnumerationPtr(lcModule.mcMap._GetNode("DeviceAccessStatus"))->ToString().c_str()),
            std::string("ReadWrite"));
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
    // An interface without devices offers no device features to read.
    IF_HANDLE lhEmpty = nullptr;
    QCOMPARE(mpLib->TLOpenInterface(lcSession.mhSystem, "SimIF1", &lhEmpty), GC_ERR_SUCCESS);
    {
        tcModuleMap lcEmpty(*mpLib, lhEmpty);
        QVERIFY(lcEmpty.mbConnected);
        QCOMPARE(featureText(lcEmpty.mcMap, "InterfaceID"), std::string("SimIF1"));
        QVERIFY(!IsAvailable(lcEmpty.mcMap._GetNode("DeviceID")));
        QVERIFY(!IsAvailable(lcEmpty.mcMap._GetNode("DeviceSelector")));
        QVERIFY(readEverything(lcEmpty.mcMap) > 0);
    }
    QCOMPARE(mpLib->IFClose(lhEmpty), GC_ERR_SUCCESS);
}

void tcGenApiTest::deviceListFollowsUpdates()
{
    // The mono camera vanishes after its first frame; the list drops it at the
    // next DeviceUpdateList, and a selector beyond the shorter list falls back to 0.
    setenv("SIMCAM_FAULTS", "vanish@1", 1);
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    unsetenv("SIMCAM_FAULTS");
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    tcModuleMap lcModule(*mpLib, lcSession.mhInterface);
    QVERIFY(lcModule.mbConnected);
    try
    {
        CIntegerPtr lpSelector(lcModule.mcMap._GetNode("DeviceSelector"));
        CEnumerationPtr lpStatus(lcModule.mcMap._GetNode("DeviceAccessStatus"));
        lpSelector->SetValue(2);
        QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
        QCOMPARE(lcSession.announceAndQueue(2, lcSession.payloadSize()), GC_ERR_SUCCESS);
        QCOMPARE(lcSession.startAcquisition(), GC_ERR_SUCCESS);
        BUFFER_HANDLE lhBuffer = nullptr;
        QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
        lpSelector->SetValue(0);
        QCOMPARE(std::string(lpStatus->ToString().c_str()), std::string("NoAccess"));
        lpSelector->SetValue(2);
        CCommandPtr(lcModule.mcMap._GetNode("DeviceUpdateList"))->Execute();
        QCOMPARE(lpSelector->GetMax(), int64_t(1));
        QCOMPARE(lpSelector->GetValue(), int64_t(0));
        QCOMPARE(featureText(lcModule.mcMap, "DeviceID"), std::string(gcSimCamIds[1]));
        QVERIFY_EXCEPTION_THROWN(lpSelector->SetValue(2), GenICam::GenericException);
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

void tcGenApiTest::deviceFeaturesMatchInfo()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[2], DEVICE_ACCESS_READONLY);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    tcModuleMap lcModule(*mpLib, lcSession.mhDevice);
    QVERIFY(lcModule.mbConnected);
    const DEV_HANDLE lhDevice = lcSession.mhDevice;
    const auto lfDev = [&](DEVICE_INFO_CMD anCmd) -> tcInfoQuery {
        return [=](INFO_DATATYPE* t, void* b, size_t* s)
        { return mpLib->DevGetInfo(lhDevice, anCmd, t, b, s); };
    };
    try
    {
        compareWithInfo(lcModule.mcMap, {{"DeviceID", lfDev(DEVICE_INFO_ID)},
                                         {"DeviceVendorName", lfDev(DEVICE_INFO_VENDOR)},
                                         {"DeviceModelName", lfDev(DEVICE_INFO_MODEL)},
                                         {"DeviceDisplayName", lfDev(DEVICE_INFO_DISPLAYNAME)},
                                         {"DeviceSerialNumber", lfDev(DEVICE_INFO_SERIAL_NUMBER)},
                                         {"DeviceVersion", lfDev(DEVICE_INFO_VERSION)},
                                         {"DeviceType", lfDev(DEVICE_INFO_TLTYPE)},
                                         {"DeviceAccessStatus", lfDev(DEVICE_INFO_ACCESS_STATUS)}});
        QCOMPARE(featureText(lcModule.mcMap, "DeviceAccessStatus"),
                 std::to_string(DEVICE_ACCESS_STATUS_OPEN_READONLY));
        uint32_t lnStreams = 0;
        QCOMPARE(mpLib->DevGetNumDataStreams(lhDevice, &lnStreams), GC_ERR_SUCCESS);
        CIntegerPtr lpSelector(lcModule.mcMap._GetNode("DataStreamSelector"));
        QCOMPARE(lpSelector->GetMax(), int64_t(lnStreams) - 1);
        lpSelector->SetValue(0);
        char lcId[64];
        size_t lnSize = sizeof lcId;
        QCOMPARE(mpLib->DevGetDataStreamID(lhDevice, 0, lcId, &lnSize), GC_ERR_SUCCESS);
        QCOMPARE(featureText(lcModule.mcMap, "DataStreamID"), std::string(lcId));
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

void tcGenApiTest::streamFeaturesMatchInfo()
{
    tcSimCamSession lcSession(*mpLib, gcSimCamIds[0]);
    QVERIFY2(lcSession.ok(), lcSession.failure().c_str());
    QCOMPARE(lcSession.openStream(), GC_ERR_SUCCESS);
    tcModuleMap lcModule(*mpLib, lcSession.mhStream);
    QVERIFY(lcModule.mbConnected);
    const DS_HANDLE lhStream = lcSession.mhStream;
    const auto lfDS = [&](STREAM_INFO_CMD anCmd) -> tcInfoQuery {
        return [=](INFO_DATATYPE* t, void* b, size_t* s)
        { return mpLib->DSGetInfo(lhStream, anCmd, t, b, s); };
    };
    const tcFeatureInfo lcPairs{{"StreamID", lfDS(STREAM_INFO_ID)},
                                {"StreamType", lfDS(STREAM_INFO_TLTYPE)},
                                {"StreamAnnouncedBufferCount", lfDS(STREAM_INFO_NUM_ANNOUNCED)},
                                {"StreamAnnounceBufferMinimum", lfDS(STREAM_INFO_BUF_ANNOUNCE_MIN)},
                                {"StreamInputBufferCount", lfDS(STREAM_INFO_NUM_QUEUED)},
                                {"StreamOutputBufferCount", lfDS(STREAM_INFO_NUM_AWAIT_DELIVERY)},
                                {"StreamBufferAlignment", lfDS(STREAM_INFO_BUF_ALIGNMENT)},
                                {"StreamChunkCountMaximum", lfDS(STREAM_INFO_NUM_CHUNKS_MAX)},
                                {"StreamIsGrabbing", lfDS(STREAM_INFO_IS_GRABBING)},
                                {"StreamStartedFrameCount", lfDS(STREAM_INFO_NUM_STARTED)},
                                {"StreamDeliveredFrameCount", lfDS(STREAM_INFO_NUM_DELIVERED)},
                                {"StreamLostFrameCount", lfDS(STREAM_INFO_NUM_UNDERRUN)}};
    try
    {
        compareWithInfo(lcModule.mcMap, lcPairs);
        QCOMPARE(featureText(lcModule.mcMap, "StreamAnnouncedBufferCount"), std::string("0"));
        // The counters follow the stream: announce, start, deliver.
        QCOMPARE(lcSession.announceAndQueue(3, lcSession.payloadSize()), GC_ERR_SUCCESS);
        compareWithInfo(lcModule.mcMap, lcPairs);
        QCOMPARE(featureText(lcModule.mcMap, "StreamAnnouncedBufferCount"), std::string("3"));
        QCOMPARE(lcSession.startAcquisition(), GC_ERR_SUCCESS);
        BUFFER_HANDLE lhBuffer = nullptr;
        QCOMPARE(lcSession.waitBuffer(lhBuffer), GC_ERR_SUCCESS);
        QVERIFY(CBooleanPtr(lcModule.mcMap._GetNode("StreamIsGrabbing"))->GetValue());
        QCOMPARE(featureText(lcModule.mcMap, "StreamDeliveredFrameCount"),
                 infoText(lfDS(STREAM_INFO_NUM_DELIVERED)));
        QCOMPARE(mpLib->DSStopAcquisition(lhStream, ACQ_STOP_FLAGS_DEFAULT), GC_ERR_SUCCESS);
        compareWithInfo(lcModule.mcMap, lcPairs);
        QVERIFY(!CBooleanPtr(lcModule.mcMap._GetNode("StreamIsGrabbing"))->GetValue());
        CEnumerationPtr lpMode(lcModule.mcMap._GetNode("StreamAcquisitionModeSelector"));
        QCOMPARE(std::string(lpMode->ToString().c_str()), std::string("Default"));
        lpMode->FromString("Default");
        QCOMPARE(
            std::string(
                CEnumerationPtr(lcModule.mcMap._GetNode("StreamBufferHandlingMode"))->ToString().c_str()),
            std::string("OldestFirst"));
    }
    catch (const GenICam::GenericException& arError)
    {
        QFAIL(arError.GetDescription());
    }
}

QTEST_GUILESS_MAIN(tcGenApiTest)
#include "tst_genapi.moc"
