#include "descriptionloader.h"
#include "gentlinterface.h"
#include "messagecapture.h"
#include "simcamfixture.h"

#include <GenApi/GenApi.h>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QtTest>

using namespace GenApi;

namespace
{
class tcTracer : public tcDebugSource
{
public:
    explicit tcTracer(int anLevel) : tcDebugSource(QStringLiteral("kestrix"), anLevel) {}
};

const char* const kFirstXml = R"(<?xml version="1.0" encoding="utf-8"?>
<RegisterDescription ModelName="First" VendorName="Test" ToolTip="" StandardNameSpace="None"
  SchemaMajorVersion="1" SchemaMinorVersion="1" SchemaSubMinorVersion="0" MajorVersion="1" MinorVersion="0"
  SubMinorVersion="0" ProductGuid="11111111-1111-1111-1111-111111111111"
  VersionGuid="22222222-2222-2222-2222-222222222222"
  xmlns="http://www.genicam.org/GenApi/Version_1_1">
  <Category Name="Root"><pFeature>DeviceModelName</pFeature></Category>
  <StringReg Name="DeviceModelName"><Address>0x0</Address><Length>16</Length><AccessMode>RO</AccessMode>
    <pPort>Device</pPort></StringReg>
  <Port Name="Device"/>
</RegisterDescription>
)";

const char* const kEmptyProblem =
    "The device delivered an empty description: there is nothing to build its features from";

// Writes a zip archive with the given entries, in order.
QByteArray makeZip(const QString& arPath, const QList<QPair<QString, QByteArray>>& arEntries)
{
    QuaZip lcZip(arPath);
    if (!lcZip.open(QuaZip::mdCreate))
        return QByteArray();
    for (const auto& lrEntry : arEntries)
    {
        QuaZipFile lcFile(&lcZip);
        if (!lcFile.open(QIODevice::WriteOnly, QuaZipNewInfo(lrEntry.first)))
            return QByteArray();
        lcFile.write(lrEntry.second);
        lcFile.close();
    }
    lcZip.close();
    QFile lcResult(arPath);
    lcResult.open(QIODevice::ReadOnly);
    return lcResult.readAll();
}

// A stub producer whose description file is the given one.
struct tcStubDevice
{
    explicit tcStubDevice(const QString& arFile) : mcBinding(tcSimcamFixture::stubPath("full"), nullptr)
    {
        qputenv("STUB_URL", "file:///description");
        qputenv("STUB_FILENAME", arFile.toLocal8Bit());
        qputenv("STUB_CONTENT", "");
        qunsetenv("STUB_SIZE");
        mcBinding.rPort() = &mnPort;
    }
    ~tcStubDevice() { mcBinding.rPort() = nullptr; }

    tcGenTLInterface mcBinding;
    int mnPort = 0;
};
} // namespace

class tst_DescriptionLoader : public QObject
{
    Q_OBJECT

    QTemporaryDir mcDir;

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void zipWithTwoEntriesCachesOnlyTheFirst()
    {
        const QString lsZip = mcDir.filePath(QStringLiteral("two.zip"));
        const QByteArray lcSecond = QByteArray(kFirstXml).replace("First", "Second");
        QVERIFY(!makeZip(lsZip, {{"first.xml", kFirstXml}, {"second.xml", lcSecond}}).isEmpty());
        tcStubDevice lcDevice(lsZip);
        const QString lsCache = mcDir.filePath(QStringLiteral("cache/nested"));
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(1);
        tcMessageCapture lcMessages;
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcDevice.mcBinding, lcMap, lsCache, lcTracer);
        QVERIFY(lcResult.mbLoaded);
        QCOMPARE(lcResult.msCachedFile, lsCache + QStringLiteral("/first.xml"));
        QCOMPARE(lcResult.msXmlText, QString::fromLatin1(kFirstXml));
        QVERIFY(QFile::exists(lsCache + QStringLiteral("/first.xml")));
        QVERIFY(!QFile::exists(lsCache + QStringLiteral("/second.xml")));
        QVERIFY(lcMap._GetNode("DeviceModelName"));
        const QStringList lsDebug = lcMessages.texts(QtDebugMsg);
        QVERIFY2(
            lsDebug.contains(
                QStringLiteral("[ \"kestrix\" 1 ] extracted \"first.xml\" to \"%1/first.xml\"").arg(lsCache)),
            qPrintable(lsDebug.join('\n')));
    }

    void entryNamesNeverLeaveTheCache_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::newRow("parent") << "../escaped.xml";
        QTest::newRow("deep parent") << "a/../../escaped.xml";
        QTest::newRow("absolute") << "/tmp/escaped.xml";
        QTest::newRow("folder") << "sub/dir/escaped.xml";
    }

    void entryNamesNeverLeaveTheCache()
    {
        QFETCH(QString, entry);
        QTemporaryDir lcRoot;
        const QString lsZip = lcRoot.filePath(QStringLiteral("evil.zip"));
        QVERIFY(!makeZip(lsZip, {{entry, kFirstXml}}).isEmpty());
        const QString lsCache = lcRoot.filePath(QStringLiteral("a/cache"));
        tcStubDevice lcDevice(lsZip);
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(0);
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcDevice.mcBinding, lcMap, lsCache, lcTracer);
        QCOMPARE(lcResult.msCachedFile, lsCache + QStringLiteral("/escaped.xml"));
        QVERIFY(QFile::exists(lcResult.msCachedFile));
        QVERIFY(!QFile::exists(lcRoot.filePath(QStringLiteral("a/escaped.xml"))));
        QVERIFY(!QFile::exists(lcRoot.filePath(QStringLiteral("escaped.xml"))));
        QVERIFY(lcResult.mbLoaded);
    }

    void emptyCacheSettingUsesTheDefaultFolder()
    {
        QTemporaryDir lcPublic;
        qputenv("PUBLIC", lcPublic.path().toLocal8Bit());
        const QString lsExpected = lcPublic.path() + QStringLiteral("/Documents/Tarnwick LLC/Kestrix/xml");
        QCOMPARE(tcDescriptionLoader::defaultCacheDir(), lsExpected);

        const QString lsZip = mcDir.filePath(QStringLiteral("one.zip"));
        QVERIFY(!makeZip(lsZip, {{"only.xml", kFirstXml}}).isEmpty());
        tcStubDevice lcDevice(lsZip);
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(0);
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcDevice.mcBinding, lcMap, QString(), lcTracer);
        QCOMPARE(lcResult.msCachedFile, lsExpected + QStringLiteral("/only.xml"));
        qunsetenv("PUBLIC");
        QVERIFY(tcDescriptionLoader::defaultCacheDir().endsWith(QStringLiteral("/Tarnwick LLC/Kestrix/xml")));
        QVERIFY(!tcDescriptionLoader::defaultCacheDir().startsWith(QStringLiteral("/Tarnwick")));
    }

    void plainDescriptionIsItsOwnText()
    {
        const QString lsXml = mcDir.filePath(QStringLiteral("plain.xml"));
        QFile lcFile(lsXml);
        QVERIFY(lcFile.open(QIODevice::WriteOnly));
        lcFile.write(kFirstXml);
        lcFile.close();
        tcStubDevice lcDevice(lsXml);
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(0);
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcDevice.mcBinding, lcMap, mcDir.filePath("plaincache"), lcTracer);
        QVERIFY(lcResult.mbLoaded);
        QVERIFY(lcResult.msCachedFile.isEmpty());
        QCOMPARE(lcResult.msXmlText, QString::fromLatin1(kFirstXml));
    }

    void emptyFetchLoadsNothing()
    {
        tcSimcamFixture lcSim("GCReadPort=-1010@*");
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(0);
        tcMessageCapture lcMessages;
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcSim.binding(), lcMap, mcDir.filePath("x"), lcTracer);
        QVERIFY(!lcResult.mbLoaded);
        QVERIFY(lcResult.msXmlText.isEmpty());
        QCOMPARE(lcResult.msProblem, QString::fromLatin1(kEmptyProblem));
        QCOMPARE(lcMessages.warnings().last(), QString::fromLatin1(kEmptyProblem));
        try
        {
            lcSim.binding().attachPort(lcMap);
            QFAIL("connecting an empty node map must fail");
        }
        catch (const GenICam::AccessException& arError)
        {
            QCOMPARE(QString::fromLatin1(arError.GetDescription()),
                     QStringLiteral("Feature not present (reference not valid)"));
        }
    }

    void emptyDescriptionFileIsReported()
    {
        const QString lsEmpty = mcDir.filePath(QStringLiteral("empty.xml"));
        QFile lcFile(lsEmpty);
        QVERIFY(lcFile.open(QIODevice::WriteOnly));
        lcFile.close();
        tcStubDevice lcDevice(lsEmpty);
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(0);
        tcMessageCapture lcMessages;
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcDevice.mcBinding, lcMap, mcDir.filePath("emptycache"), lcTracer);
        QVERIFY(!lcResult.mbLoaded);
        QCOMPARE(lcResult.msProblem, QString::fromLatin1(kEmptyProblem));
        QCOMPARE(lcMessages.warnings(), QStringList{kEmptyProblem});
    }

    // A description whose port has another name loads, but the camera cannot
    // be reached through it: attaching says so instead of failing silently.
    void descriptionWithoutDevicePortIsReported()
    {
        const QString lsXml = mcDir.filePath(QStringLiteral("otherport.xml"));
        QFile lcFile(lsXml);
        QVERIFY(lcFile.open(QIODevice::WriteOnly));
        lcFile.write(QByteArray(kFirstXml).replace("Device", "Remote"));
        lcFile.close();
        tcStubDevice lcDevice(lsXml);
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(0);
        QVERIFY(tcDescriptionLoader::load(lcDevice.mcBinding, lcMap, mcDir.filePath("othercache"), lcTracer)
                    .mbLoaded);
        QSignalSpy lcErrors(&lcDevice.mcBinding, &tcGenTLInterface::Error);
        tcMessageCapture lcMessages;
        QVERIFY(!lcDevice.mcBinding.attachPort(lcMap));
        const QString lsExpected = QStringLiteral("The description of the device has no port named "
                                                  "\"Device\": the camera cannot be reached through it");
        QCOMPARE(lcErrors.size(), 1);
        QCOMPARE(lcErrors.first().first().toString(), lsExpected);
        QCOMPARE(lcMessages.warnings(), QStringList{lsExpected});
    }

    void zippedSimulatedCamera()
    {
        tcSimcamFixture lcSim;
        QVERIFY(lcSim.openDevice(tnSimcam::kColorId));
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer(0);
        const QString lsCache = mcDir.filePath(QStringLiteral("colour"));
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcSim.binding(), lcMap, lsCache, lcTracer);
        QVERIFY(lcResult.mbLoaded);
        QVERIFY(lcResult.msCachedFile.startsWith(lsCache + QLatin1Char('/')));
        QVERIFY(lcResult.msXmlText.contains(QLatin1String("SimCam Color")) ||
                lcResult.msXmlText.contains(QLatin1String("RegisterDescription")));
    }
};

QTEST_MAIN(tst_DescriptionLoader)
#include "tst_descriptionloader.moc"
