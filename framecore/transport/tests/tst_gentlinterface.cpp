#include "descriptionloader.h"
#include "gentlinterface.h"
#include "gentlport.h"
#include "messagecapture.h"
#include "settings.h"
#include "simcamfixture.h"

#include <GenApi/GenApi.h>

#include <QtTest>

#include <memory>

using namespace GenApi;

namespace
{
class tcTracer : public tcDebugSource
{
public:
    tcTracer() : tcDebugSource(QStringLiteral("tracer"), 0) {}
};

QString stringFeature(CNodeMapRef& arMap, const char* apName)
{
    CStringPtr lpNode = arMap._GetNode(apName);
    return QString::fromLatin1(lpNode->GetValue().c_str());
}
} // namespace

class tst_GenTLInterface : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void errorNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("success") << 0 << "Success";
        QTest::newRow("error") << -1001 << "Error";
        QTest::newRow("handle") << -1006 << "Invalid Handle";
        QTest::newRow("buffer") << -1013 << "Invalid BUffer";
        QTest::newRow("busy") << -1022 << "Busy";
        QTest::newRow("positive") << 1 << "Unknown";
        QTest::newRow("below table") << -1023 << "Unknown";
        QTest::newRow("between") << -1000 << "Unknown";
    }

    void errorNames()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(QString::fromLatin1(GenTLExcept("gentlinterface", 1, "X", code).errortxt()), name);
    }

    void exceptionMessage()
    {
        const GenTLExcept lcError("gentlinterface", 84, "TLOpenInterface", -1006);
        QCOMPARE(lcError.message(),
                 QStringLiteral("gentlinterface:84:GenTL:TLOpenInterface:-1006:Invalid Handle"));
        GenTLExcept lcCopy = lcError;
        QCOMPARE(lcCopy.message(), lcError.message());
        QCOMPARE(GenTLExcept("f", 7, "G", 1).message(), QStringLiteral("f:7:GenTL:G:1:Unknown"));
    }

    void completeProducerIsAccepted()
    {
        tcMessageCapture lcMessages;
        tcGenTLInterface lcBinding(tcSimcamFixture::stubPath("full"), nullptr);
        QVERIFY(lcBinding.isLoaded());
        QCOMPARE(lcBinding.resolvedLevel(), 0x01050000u);
        QVERIFY(lcBinding.functions().DSGetBufferPartInfo);
        QVERIFY(lcMessages.warnings().isEmpty());
    }

    void producerWithoutPartInfoIsRejected()
    {
        tcMessageCapture lcMessages;
        tcGenTLInterface lcBinding(tcSimcamFixture::stubPath("nopartinfo"), nullptr);
        QVERIFY(!lcBinding.isLoaded());
        QCOMPARE(lcBinding.resolvedLevel(), 0x01040000u);
        QCOMPARE(lcMessages.warnings(), QStringList{"unable to resolve DSGetBufferPartInfo"});
        QCOMPARE(lcMessages.texts(QtCriticalMsg),
                 QStringList{"Unable to resolve all required GenTL functions.. GenTL library not loaded"});
        QVERIFY(!lcBinding.functions().GCInitLib);
    }

    void producerWithoutFirstGroupFunctionsIsRejected()
    {
        tcMessageCapture lcMessages;
        tcGenTLInterface lcBinding(tcSimcamFixture::stubPath("noinfoclose"), nullptr);
        QVERIFY(!lcBinding.isLoaded());
        QCOMPARE(lcBinding.resolvedLevel(), 0u);
        QCOMPARE(lcMessages.warnings(),
                 (QStringList{"unable to resolve GCGetInfo", "unable to resolve TLClose"}));
        QCOMPARE(lcMessages.texts(QtCriticalMsg).size(), 1);
    }

    // A library that is no producer (or too old a one) is named by the first
    // GenTL function it lacks, not by the loader's empty "Unknown error".
    void rejectedProducerNamesTheFirstMissingFunction_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no producer")
            << QDir(qEnvironmentVariable("KESTRIX_BIN_DIR")).filePath("libframecore.so")
            << "not a GenTL producer: it does not export GCGetInfo";
        QTest::newRow("group 1 incomplete") << tcSimcamFixture::stubPath("noinfoclose")
                                            << "not a GenTL producer: it does not export GCGetInfo";
        QTest::newRow("GenTL 1.4") << tcSimcamFixture::stubPath("nopartinfo")
                                   << "a GenTL 1.4 producer, GenTL 1.5 is needed: it does not export "
                                      "DSGetBufferPartInfo";
    }

    void rejectedProducerNamesTheFirstMissingFunction()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QVERIFY(QFileInfo::exists(path));
        tcMessageCapture lcMessages;
        tcProducerBinding lcProducer;
        QSignalSpy lcErrors(&lcProducer, &tcProducerBinding::Error);
        QVERIFY(!lcProducer.load(path));
        QCOMPARE(lcErrors.size(), 1);
        QCOMPARE(lcErrors.first().first().toString(),
                 QStringLiteral("Unable to load library %1 : %2").arg(path, reason));
        QVERIFY(!lcProducer.binding());
    }

    // GCInitLib and TLOpen failures end the load with one error each that
    // names the producer, the call, its code and the producer's own text.
    void failedInitialisationIsReported_data()
    {
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<QString>("expected");
        // The producer refuses a fault list it cannot read in GCInitLib.
        QTest::newRow("GCInitLib") << QByteArray("no-such-fault")
                                   << "Unable to initialise GenTL library %1 : GCInitLib failed with -1009 "
                                      "Invalid Parameter";
        QTest::newRow("TLOpen")
            << QByteArray("TLOpen=-1005@1")
            << "Unable to open the transport layer of GenTL library %1 : TLOpen failed with "
               "-1005 Access Denied (TLOpen: fault injected by SIMCAM_FAULTS)";
    }

    void failedInitialisationIsReported()
    {
        QFETCH(QByteArray, faults);
        QFETCH(QString, expected);
        expected = expected.arg(tcSimcamFixture::simcamPath());
        struct tcFaults
        {
            explicit tcFaults(const QByteArray& arFaults) { qputenv("SIMCAM_FAULTS", arFaults); }
            ~tcFaults() { qunsetenv("SIMCAM_FAULTS"); }
        };
        auto lpFaults = std::make_unique<tcFaults>(faults);
        tcMessageCapture lcMessages;
        {
            tcProducerBinding lcProducer;
            QSignalSpy lcErrors(&lcProducer, &tcProducerBinding::Error);
            QVERIFY(!lcProducer.load(tcSimcamFixture::simcamPath()));
            QVERIFY(!lcProducer.isInitialized());
            QVERIFY(!lcProducer.binding()->handle());
            QCOMPARE(lcErrors.size(), 1);
            // The producer may add its own text after the code's name.
            QVERIFY2(lcErrors.first().first().toString().startsWith(expected),
                     qPrintable(lcErrors.first().first().toString()));
            QCOMPARE(lcMessages.warnings().size(), 1);
            QCOMPARE(lcMessages.warnings().first(), lcErrors.first().first().toString());
        }
        lpFaults.reset();
        // The producer is left closed and usable for the next load.
        tcProducerBinding lcAgain;
        QVERIFY(lcAgain.load(tcSimcamFixture::simcamPath()));
    }

    void missingLibraryIsNotLoaded()
    {
        tcProducerBinding lcProducer;
        QSignalSpy lcErrors(&lcProducer, &tcProducerBinding::Error);
        QVERIFY(!lcProducer.load(QStringLiteral("/nonexistent/producer.cti")));
        QCOMPARE(lcErrors.size(), 1);
        QVERIFY(lcErrors.first().first().toString().startsWith(
            QStringLiteral("Unable to load library /nonexistent/producer.cti : ")));
        QVERIFY(!lcProducer.binding());
    }

    void initializeRemembersTheProducer()
    {
        tcProducerBinding lcProducer;
        QSignalSpy lcMessages(&lcProducer, &tcProducerBinding::Message);
        QVERIFY(lcProducer.load(tcSimcamFixture::simcamPath()));
        QCOMPARE(lcMessages.size(), 1);
        QCOMPARE(lcMessages.first().first().toString(),
                 QStringLiteral("Loaded GenTL Library %1 ...").arg(tcSimcamFixture::simcamPath()));
        QVERIFY(lcProducer.binding()->handle());
        std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
        QCOMPARE(lpSettings->grpValue("GenTL", "default_path", QString()).toString(),
                 QFileInfo(tcSimcamFixture::simcamPath()).absoluteFilePath());
        QCOMPARE(tcProducerBinding::defaultProducerPath(),
                 QFileInfo(tcSimcamFixture::simcamPath()).absoluteFilePath());
        lcProducer.unload();
        QVERIFY(!lcProducer.binding());
    }

    void openDeviceFailures_data()
    {
        QTest::addColumn<QByteArray>("faults");
        QTest::addColumn<int>("interfaceIndex");
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QString>("warning");
        QTest::newRow("interface index") << QByteArray() << 7 << tnSimcam::kMonoId
                                         << "gentlinterface:79:GenTL:TLGetInterfaceID:-1017:Invalid Index";
        QTest::newRow("open interface") << QByteArray("TLOpenInterface=-1005@*") << 0 << tnSimcam::kMonoId
                                        << "gentlinterface:84:GenTL:TLOpenInterface:-1005:Access Denied";
        QTest::newRow("device id") << QByteArray() << 0 << "no such camera"
                                   << "gentlinterface:91:GenTL:IFOpenDevice:-1007:Invalid ID";
        QTest::newRow("port") << QByteArray("DevGetPort=-1010@*") << 0 << tnSimcam::kMonoId
                              << "gentlinterface:97:GenTL:DevGetPort:-1010:IO Error";
    }

    void openDeviceFailures()
    {
        QFETCH(QByteArray, faults);
        QFETCH(int, interfaceIndex);
        QFETCH(QString, deviceId);
        QFETCH(QString, warning);
        tcSimcamFixture lcSim(faults);
        QVERIFY(lcSim.initialized());
        tcMessageCapture lcMessages;
        QVERIFY(!lcSim.openDevice(deviceId, interfaceIndex));
        QCOMPARE(lcMessages.warnings(), QStringList{warning});
        QVERIFY(!lcSim.binding().port());
        if (warning.contains(QLatin1String("IFOpenDevice")))
            QVERIFY(!lcSim.binding().device());
    }

    // Opens each simulated camera through the binding alone and reads its
    // model name through the port.
    void everySimulatedCameraOpens_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("zipped");
        QTest::newRow("mono") << tnSimcam::kMonoId << tnSimcam::kMonoModel << false;
        QTest::newRow("colour") << tnSimcam::kColorId << tnSimcam::kColorModel << true;
        QTest::newRow("sensor") << tnSimcam::kSensorId << tnSimcam::kSensorModel << false;
    }

    void everySimulatedCameraOpens()
    {
        QFETCH(QString, deviceId);
        QFETCH(QString, model);
        QFETCH(bool, zipped);
        tcSimcamFixture lcSim;
        QVERIFY(lcSim.openDevice(deviceId));
        QVERIFY(lcSim.binding().port());

        const QByteArray lcDescription = lcSim.binding().loadXMLFromDevice();
        QCOMPARE(tcDescriptionLoader::isZip(lcDescription), zipped);

        QTemporaryDir lcCache;
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer;
        const tcDeviceDescription lcResult =
            tcDescriptionLoader::load(lcSim.binding(), lcMap, lcCache.path(), lcTracer);
        QVERIFY(lcResult.mbLoaded);
        QVERIFY(lcResult.msXmlText.contains(QLatin1String("RegisterDescription")));
        QCOMPARE(lcResult.msCachedFile.isEmpty(), !zipped);
        QVERIFY(lcSim.binding().attachPort(lcMap));
        QVERIFY(lcSim.binding().genTLPort());
        QCOMPARE(stringFeature(lcMap, "DeviceModelName"), model);
    }

    void descriptionFromFile()
    {
        QTemporaryDir lcDir;
        const QString lsFile = lcDir.filePath(QStringLiteral("mine.xml"));
        QFile lcXml(lsFile);
        QVERIFY(lcXml.open(QIODevice::WriteOnly));
        lcXml.write("<RegisterDescription/>");
        lcXml.close();
        tcSimcamFixture lcSim(QByteArray(), lsFile.toLocal8Bit());
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
        QCOMPARE(lcSim.binding().loadXMLFromDevice(), QByteArray("<RegisterDescription/>"));
    }

    void descriptionFetchFailure()
    {
        tcSimcamFixture lcSim("GCGetPortURLInfo=-1014@*");
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
        tcMessageCapture lcMessages;
        QVERIFY(lcSim.binding().loadXMLFromDevice().isEmpty());
        QCOMPARE(lcMessages.warnings(),
                 QStringList{"gentlinterface:133:GenTL:GCGetPortURLInfo:-1014:Not Available"});
    }

    void descriptionReadFailure()
    {
        tcSimcamFixture lcSim("GCReadPort=-1010@*");
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
        tcMessageCapture lcMessages;
        QVERIFY(lcSim.binding().loadXMLFromDevice().isEmpty());
        QCOMPARE(lcMessages.warnings(), QStringList{"gentlinterface:175:GenTL:GCReadPort:-1010:IO Error"});
    }

    void descriptionWithoutPort()
    {
        tcSimcamFixture lcSim;
        tcMessageCapture lcMessages;
        QVERIFY(lcSim.binding().loadXMLFromDevice().isEmpty());
        QCOMPARE(lcMessages.warnings(), QStringList{"tcGenTLInterface::loadXMLFromDevice "
                                                    "tcGenTLInterface::loadXMLFromDevice Port Not open..."});
    }

    // The URL forms, through a producer whose answers the test chooses.
    void urlForms_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QByteArray>("size");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<int>("reads");
        QTest::newRow("local") << QByteArray("local:x.xml;10000;9") << false << QByteArray()
                               << QByteArray("from port") << 1;
        QTest::newRow("file present")
            << QByteArray("file:///d.xml") << true << QByteArray() << QByteArray("from file") << 0;
        QTest::newRow("file missing")
            << QByteArray("file:///d.xml") << false << QByteArray() << QByteArray("from port") << 1;
        QTest::newRow("size zero") << QByteArray("local:x.xml;10000;0") << false << QByteArray("0")
                                   << QByteArray() << 1;
    }

    void urlForms()
    {
        QFETCH(QByteArray, url);
        QFETCH(bool, fileExists);
        QFETCH(QByteArray, size);
        QFETCH(QByteArray, expected);
        QFETCH(int, reads);

        QTemporaryDir lcDir;
        const QString lsFile = lcDir.filePath(QStringLiteral("d.xml"));
        if (fileExists)
        {
            QFile lcFile(lsFile);
            QVERIFY(lcFile.open(QIODevice::WriteOnly));
            lcFile.write("from file");
        }
        qputenv("STUB_URL", url);
        qputenv("STUB_FILENAME", lsFile.toLocal8Bit());
        qputenv("STUB_CONTENT", "from port");
        qputenv("STUB_SIZE", size);

        tcGenTLInterface lcBinding(tcSimcamFixture::stubPath("full"), nullptr);
        QVERIFY(lcBinding.isLoaded());
        auto lpReadCount = reinterpret_cast<int (*)()>(lcBinding.resolve("StubReadCount"));
        QVERIFY(lpReadCount);
        const int lnBefore = lpReadCount();
        int lnDummyPort = 0;
        lcBinding.rPort() = &lnDummyPort;
        tcMessageCapture lcMessages;
        QCOMPARE(lcBinding.loadXMLFromDevice(), expected);
        QCOMPARE(lpReadCount() - lnBefore, reads);
        QVERIFY(lcMessages.warnings().isEmpty());
    }

    void portAccessFailureIsRaised()
    {
        tcSimcamFixture lcSim;
        tcGenTLPort lcPort(nullptr, &lcSim.binding());
        QCOMPARE(lcPort.GetAccessMode(), RW);
        quint32 lnValue = 0x01020304;
        tcMessageCapture lcMessages;
        try
        {
            lcPort.Read(&lnValue, 0x10, 4);
            QFAIL("a failed read must not pass as a value");
        }
        catch (const GenICam::RuntimeException& arError)
        {
            const QString lsText = QString::fromLatin1(arError.GetDescription());
            QVERIFY2(lsText.contains(QLatin1String("0x10")) && lsText.contains(QLatin1String("length 4")) &&
                         lsText.contains(QLatin1String("Invalid Handle")),
                     qPrintable(lsText));
        }
        QCOMPARE(lcMessages.warnings(),
                 QStringList{"tcGenTLPort::Read Unable to read port  Address= \"0x10\" Length= 4 16909060"});

        lcMessages.clear();
        QVERIFY_EXCEPTION_THROWN(lcPort.Write(&lnValue, 0x2a0, 4), GenICam::RuntimeException);
        QCOMPARE(
            lcMessages.warnings(),
            QStringList{"tcGenTLPort::Write Unable to write port  Address= \"0x2a0\" Length= 4 16909060"});
    }

    void failedRegisterReadFailsTheFeatureRead()
    {
        // The description is the first read; every later read fails.
        tcSimcamFixture lcSim("GCReadPort=-1010@2+");
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
        QTemporaryDir lcCache;
        CNodeMapRef lcMap("Device");
        tcTracer lcTracer;
        QVERIFY(tcDescriptionLoader::load(lcSim.binding(), lcMap, lcCache.path(), lcTracer).mbLoaded);
        QVERIFY(lcSim.binding().attachPort(lcMap));
        tcMessageCapture lcMessages;
        CIntegerPtr lpWidth = lcMap._GetNode("Width");
        QVERIFY(lpWidth);
        QVERIFY_EXCEPTION_THROWN(lpWidth->GetValue(), GenICam::GenericException);
        QVERIFY(!lcMessages.warnings().isEmpty());
        QVERIFY(
            lcMessages.warnings().first().startsWith(QLatin1String("tcGenTLPort::Read Unable to read port")));
    }
};

QTEST_MAIN(tst_GenTLInterface)
#include "tst_gentlinterface.moc"
