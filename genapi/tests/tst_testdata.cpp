#include "memoryport.h"
#include "shareddescriptions.h"

#include <GenApi/GenApi.h>

#include <QtTest>

using namespace GenApi;

// Every real camera description in the shared test data loads and evaluates
// over a zero-filled device: each node reports its access mode, and each
// readable value either reads or raises a GenICam exception (a zero device
// legitimately divides by zero or shows a value without an enumeration entry).
class tst_TestData : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void descriptionsEvaluate_data();
    void descriptionsEvaluate();
    void zippedDescriptionMatchesItsText();
    void writesReachTheDevice();
};

namespace
{
QString dataDir()
{
    return sharedDescriptionsDir();
}

void load(CNodeMapRef& arMap, const QString& arFile)
{
    QFile cFile(arFile);
    QVERIFY2(cFile.open(QIODevice::ReadOnly), qPrintable(arFile));
    const QByteArray cData = cFile.readAll();
    if (arFile.endsWith(".zip"))
        arMap._LoadXMLFromZIPData(cData.constData(), static_cast<size_t>(cData.size()));
    else
        arMap._LoadXMLFromString(gcstring(cData.constData(), static_cast<size_t>(cData.size())));
}
} // namespace

void tst_TestData::initTestCase()
{
    KX_SKIP_WITHOUT_SHARED_DESCRIPTIONS();
}

void tst_TestData::descriptionsEvaluate_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("minNodes");
    QTest::addColumn<QString>("feature"); // a feature that must read without error
    const QDir cDir(dataDir());
    QVERIFY2(cDir.exists(), qPrintable(cDir.path()));
    const QStringList cFiles = cDir.entryList({"*.xml", "*.zip"}, QDir::Files, QDir::Name);
    QVERIFY(cFiles.size() >= 11);
    const QMap<QString, QPair<int, QString>> cExpect{
        {"avt-mako-g030b.xml", {800, "Width"}},
        {"basler-a2a2600-20gmbas.xml", {3000, "Width"}},
        {"basler-aca1920-25gm.xml", {2500, "DeviceModelName"}},
        {"euresys-coaxlink-tl-interface.xml", {3000, "FirmwareRevision"}},
        {"euresys-coaxlink-tl-system.xml", {20, "GenTLVersionMajor"}},
        {"flir-bfs-u3-161s7m.xml", {2900, "DeviceModelName"}},
        {"hamamatsu-orca-fire-c16240-20up.xml", {30, "Width"}},
        {"imperx-bobcat-gev-b1020c.xml", {2400, "Width"}},
        {"teledyne-dalsa-shadobox-cd49m11.xml", {500, "Width"}},
        {"tlsimu-remote-device.zip", {90, "Width"}},
        {"vieworks-vnp604-cxp.xml", {700, "Width"}},
    };
    for (const QString& rFile : cFiles)
    {
        const auto cEntry = cExpect.value(rFile, {1, "Root"});
        QTest::newRow(qPrintable(rFile)) << cDir.filePath(rFile) << cEntry.first << cEntry.second;
    }
}

void tst_TestData::descriptionsEvaluate()
{
    QFETCH(QString, file);
    QFETCH(int, minNodes);
    QFETCH(QString, feature);
    CNodeMapRef cMap;
    load(cMap, file);
    // Device files name their port "Device", producer files have their own;
    // chunk ports get the same memory here.
    tcMemoryPort cPort;
    NodeList_t cNodes;
    cMap._GetNodes(cNodes);
    int nPorts = 0;
    for (INode* pNode : cNodes)
        if (pNode->GetPrincipalInterfaceType() == intfIPort)
            nPorts += cMap._Connect(&cPort, pNode->GetName()) ? 1 : 0;
    QVERIFY(nPorts > 0);

    QVERIFY2(static_cast<int>(cNodes.size()) >= minNodes, qPrintable(QString::number(cNodes.size())));
    int nReadable = 0;
    int nRead = 0;
    int nFeatures = 0;
    for (INode* pNode : cNodes)
    {
        EAccessMode eMode = _UndefinedAccesMode;
        try
        {
            eMode = pNode->GetAccessMode();
        }
        catch (const GenICam::GenericException& rError)
        {
            QFAIL(qPrintable(
                QString("%1: access mode: %2").arg(pNode->GetName().c_str(), rError.GetDescription())));
        }
        QVERIFY(eMode >= NI && eMode <= RW);
        QVERIFY(pNode->GetPrincipalInterfaceType() >= intfIValue &&
                pNode->GetPrincipalInterfaceType() <= intfIPort);
        nFeatures += pNode->IsFeature() ? 1 : 0;
        CValuePtr pValue = pNode;
        if (!pValue || !IsReadable(eMode))
            continue;
        ++nReadable;
        try
        {
            pValue->ToString();
            ++nRead;
        }
        catch (const GenICam::GenericException& rError)
        {
            // Allowed, but it must say which node failed.
            QVERIFY2(QString(rError.GetDescription()).contains("thrown in node '"), rError.GetDescription());
        }
    }
    QVERIFY(nFeatures > 0);
    // Nearly everything reads on a zero device.
    QVERIFY2(nRead * 4 >= nReadable * 3, qPrintable(QString("%1 of %2").arg(nRead).arg(nReadable)));
    CValuePtr pFeature = cMap._GetNode(feature.toLatin1().constData());
    QVERIFY2(pFeature.IsValid(), qPrintable(feature));
    QVERIFY(IsReadable(pFeature));
    pFeature->ToString();

    // The categories from Root reach the features, as a feature tree shows them.
    CCategoryPtr pRoot = cMap._GetNode("Root");
    QVERIFY(pRoot.IsValid());
    FeatureList_t cTop;
    pRoot->GetFeatures(cTop);
    QVERIFY(!cTop.empty());
}

void tst_TestData::zippedDescriptionMatchesItsText()
{
    CNodeMapRef cMap;
    load(cMap, dataDir() + "/tlsimu-remote-device.zip");
    CStringPtr pModel = cMap._GetNode("DeviceModelName");
    QVERIFY(pModel.IsValid());
    QCOMPARE(QString(pModel->GetValue().c_str()), QString("Altered TLSimu (zip)"));
}

void tst_TestData::writesReachTheDevice()
{
    // A typical set-up sequence on a real description: ROI and pixel format.
    CNodeMapRef cMap;
    load(cMap, dataDir() + "/basler-aca1920-25gm.xml");
    tcMemoryPort cPort;
    cMap._Connect(&cPort);
    CIntegerPtr pWidth = cMap._GetNode("Width");
    QVERIFY(pWidth.IsValid());
    cPort.resetCounts();
    if (IsWritable(pWidth))
    {
        const int64_t nValue = pWidth->GetMin() + pWidth->GetInc();
        pWidth->SetValue(nValue, false);
        QVERIFY(cPort.writeCount() > 0);
        QCOMPARE(pWidth->GetValue(false, true), nValue);
    }
    CEnumerationPtr pFormat = cMap._GetNode("PixelFormat");
    QVERIFY(pFormat.IsValid());
    NodeList_t cEntries;
    pFormat->GetEntries(cEntries);
    QVERIFY(cEntries.size() > 1);
    CEnumEntryPtr pMono8 = pFormat->GetEntryByName("Mono8");
    QVERIFY(pMono8.IsValid());
    if (IsWritable(pFormat) && IsAvailable(pMono8))
    {
        pFormat->FromString("Mono8");
        QCOMPARE(QString(pFormat->ToString().c_str()), QString("Mono8"));
    }
}

QTEST_APPLESS_MAIN(tst_TestData)
#include "tst_testdata.moc"
