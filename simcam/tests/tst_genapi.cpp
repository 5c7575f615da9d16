// Every camera description loads in genapi over the producer's port, every
// readable feature reads, and the features behave as the camera's registers do.
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

QByteArray fetchDescription(tcSimCamSession& arSession)
{
    tcProducerLibrary& lrLib = arSession.mrLib;
    uint64_t lnAddress = 0, lnLength = 0;
    INFO_DATATYPE lnType = 0;
    size_t lnSize = 8;
    if (lrLib.GCGetPortURLInfo(arSession.mhPort, 0, URL_INFO_FILE_REGISTER_ADDRESS, &lnType, &lnAddress,
                               &lnSize) != GC_ERR_SUCCESS)
    {
        return QByteArray();
    }
    lnSize = 8;
    lrLib.GCGetPortURLInfo(arSession.mhPort, 0, URL_INFO_FILE_SIZE, &lnType, &lnLength, &lnSize);
    QByteArray lcBytes(int(lnLength), '\0');
    lnSize = lnLength;
    if (lrLib.GCReadPort(arSession.mhPort, lnAddress, lcBytes.data(), &lnSize) != GC_ERR_SUCCESS)
    {
        return QByteArray();
    }
    return lcBytes;
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
    NodeList_t lcNodes;
    lcMap._GetNodes(lcNodes);
    int lnRead = 0;
    for (INode* lpNode : lcNodes)
    {
        CValuePtr lpValue(lpNode);
        if (!lpValue.IsValid() || !IsReadable(lpValue))
        {
            continue;
        }
        try
        {
            lpValue->ToString();
            ++lnRead;
        }
        catch (const GenICam::GenericException& arError)
        {
            QFAIL(qPrintable(QString("%1: %2").arg(lpNode->GetName().c_str(), arError.GetDescription())));
        }
    }
    QVERIFY2(lnRead >= minimumFeatures, qPrintable(QString::number(lnRead)));
    // Every feature in the tree has a tool tip.
    CCategoryPtr lpRoot(lcMap._GetNode("Root"));
    QVERIFY(lpRoot.IsValid());
    for (INode* lpNode : lcNodes)
    {
        if (lpNode->IsFeature() && lpNode->GetVisibility() != Invisible)
        {
            QVERIFY2(!lpNode->GetToolTip().empty(), lpNode->GetName().c_str());
        }
    }
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

QTEST_GUILESS_MAIN(tcGenApiTest)
#include "tst_genapi.moc"
