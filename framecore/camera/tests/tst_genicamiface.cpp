#include "genicamiface.h"
#include "messagecapture.h"

#include "descriptionbuilder.h"
#include "memoryport.h"

#include <QtTest>

using namespace GenApi;

namespace
{
const char* const kNodes = R"(
  <Integer Name="Stepped"><Value>32</Value><Min>0</Min><Max>100</Max><Inc>16</Inc></Integer>
  <Integer Name="Wide"><Value>0</Value><Min>-9223372036854775808</Min><Max>9223372036854775807</Max></Integer>
  <Integer Name="Never"><Value>0</Value></Integer>
  <Integer Name="Absent"><pIsAvailable>Never</pIsAvailable><Value>1</Value></Integer>
  <Integer Name="Missing"><pIsImplemented>Never</pIsImplemented><Value>1</Value></Integer>
  <IntReg Name="WriteOnly"><Address>0x300</Address><Length>4</Length><AccessMode>WO</AccessMode>
    <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
  <Float Name="Small"><Value>0.0001234</Value><Min>0</Min><Max>1</Max></Float>
  <Boolean Name="Flag"><Value>1</Value><OnValue>1</OnValue><OffValue>0</OffValue></Boolean>
  <String Name="Text"><Value>hello</Value></String>
  <Enumeration Name="Mode">
    <EnumEntry Name="Off"><Value>0</Value></EnumEntry>
    <EnumEntry Name="Hidden"><pIsAvailable>Never</pIsAvailable><Value>7</Value></EnumEntry>
    <EnumEntry Name="Mono8"><Value>0x01080001</Value></EnumEntry>
    <Value>0x01080001</Value>
  </Enumeration>
  <Register Name="Reg1"><Address>0x200</Address><Length>1</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></Register>
  <Register Name="Reg2"><Address>0x210</Address><Length>2</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></Register>
  <Register Name="Reg4"><Address>0x220</Address><Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></Register>
  <Register Name="Reg8"><Address>0x230</Address><Length>8</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></Register>
  <Register Name="Reg3"><Address>0x240</Address><Length>3</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></Register>
  <Command Name="Go"><pValue>Wide</pValue><CommandValue>1</CommandValue></Command>
  <Category Name="Group"><pFeature>Stepped</pFeature></Category>
)";
} // namespace

class tst_GenICamIface : public QObject
{
    Q_OBJECT

    CNodeMapRef mcMap{"Device"};
    tcMemoryPort mcPort;
    std::unique_ptr<tcGenICamIface> mpIface;

    CNodePtr node(const char* apName) { return mcMap._GetNode(apName); }

private slots:
    void init()
    {
        mcMap = CNodeMapRef("Device");
        mcPort = tcMemoryPort();
        mcMap._LoadXMLFromString(describeNodes(kNodes).c_str());
        QVERIFY(mcMap._Connect(&mcPort, "Device"));
        mpIface = std::make_unique<tcGenICamIface>(&mcMap, nullptr);
    }

    void lookUp()
    {
        QVERIFY(mpIface->getNode(QStringLiteral("Stepped")).IsValid());
        QVERIFY(!mpIface->getNode(QStringLiteral("Nothing")).IsValid());
        QCOMPARE(mpIface->data(QStringLiteral("Stepped")), QVariant(qlonglong(32)));
        QVERIFY(!mpIface->data(QStringLiteral("Nothing")).isValid());
        QCOMPARE(mpIface->getName(), QStringLiteral("GenICam"));
    }

    void dataByType()
    {
        QCOMPARE(tcGenICamIface::data(node("Flag")), QVariant(true));
        QCOMPARE(tcGenICamIface::data(node("Small")).toDouble(), 0.0001234);
        QCOMPARE(tcGenICamIface::data(node("Text")), QVariant(QStringLiteral("hello")));
        QCOMPARE(tcGenICamIface::data(node("Mode")), QVariant(QStringLiteral("Mono8")));
        QVERIFY(!tcGenICamIface::data(node("Go")).isValid());
        QVERIFY(!tcGenICamIface::data(node("Group")).isValid());
        QVERIFY(!tcGenICamIface::data(node("Absent")).isValid());
        QVERIFY(!tcGenICamIface::data(node("WriteOnly")).isValid());
        QVERIFY(!tcGenICamIface::data(CNodePtr()).isValid());
    }

    void registers()
    {
        mcPort.poke(0x200, {0xfe});
        mcPort.poke(0x210, {0x34, 0x12});
        mcPort.pokeLE32(0x220, 0xdeadbeef);
        mcPort.poke(0x230, {1, 2, 3, 4, 5, 6, 7, 8});
        QCOMPARE(tcGenICamIface::data(node("Reg1")), QVariant(int(0xfe)));
        QCOMPARE(tcGenICamIface::data(node("Reg2")), QVariant(int(0x1234)));
        QCOMPARE(tcGenICamIface::data(node("Reg4")), QVariant(uint(0xdeadbeef)));
        QCOMPARE(tcGenICamIface::data(node("Reg8")), QVariant(qulonglong(0x0807060504030201ull)));
        QVERIFY(!tcGenICamIface::data(node("Reg3")).isValid());
        QCOMPARE(tcGenICamIface::getAttrValueText(node("Reg4")), QStringLiteral("0xdeadbeef"));

        // Register writes are made when the value converts; the result is false.
        QVERIFY(!tcGenICamIface::setData(node("Reg2"), QVariant(0x12345678u)));
        QCOMPARE(mcPort.peek(0x210, 2), (std::vector<uint8_t>{0x78, 0x56}));
        QVERIFY(!tcGenICamIface::setData(node("Reg8"), QVariant(qulonglong(0x1122334455667788ull))));
        QCOMPARE(mcPort.peekLE32(0x230), 0x55667788u);
        const int lnWrites = mcPort.writeCount();
        QVERIFY(!tcGenICamIface::setData(node("Reg4"), QVariant(QStringLiteral("not a number"))));
        QCOMPARE(mcPort.writeCount(), lnWrites);
    }

    void writes()
    {
        QVERIFY(tcGenICamIface::setData(node("Wide"), QVariant(qlonglong(3000000000LL))));
        QCOMPARE(CIntegerPtr(node("Wide"))->GetValue(), int64_t(-1294967296));
        QVERIFY(tcGenICamIface::setData(node("Flag"), QVariant(false)));
        QCOMPARE(CBooleanPtr(node("Flag"))->GetValue(), false);
        QVERIFY(tcGenICamIface::setData(node("Small"), QVariant(0.1)));
        QCOMPARE(CFloatPtr(node("Small"))->GetValue(), double(0.1f));
        QVERIFY(tcGenICamIface::setData(node("Text"), QVariant(QStringLiteral("bye"))));
        QCOMPARE(tcGenICamIface::data(node("Text")).toString(), QStringLiteral("bye"));
        QVERIFY(tcGenICamIface::setData(node("Mode"), QVariant(0)));
        QCOMPARE(tcGenICamIface::data(node("Mode")).toString(), QStringLiteral("Off"));
        QVERIFY(tcGenICamIface::setData(node("Mode"), QVariant(QStringLiteral("Mono8"))));
        QCOMPARE(CEnumerationPtr(node("Mode"))->GetIntValue(), int64_t(0x01080001));
        QVERIFY(!tcGenICamIface::setData(node("Go"), QVariant(1)));
        QVERIFY(!tcGenICamIface::setData(node("Absent"), QVariant(1)));
        QVERIFY_EXCEPTION_THROWN(tcGenICamIface::setData(node("Stepped"), QVariant(200)),
                                 GenICam::OutOfRangeException);
    }

    void enumerations()
    {
        CEnumerationPtr lpMode = node("Mode");
        QCOMPARE(tcGenICamIface::enumStrings(lpMode), (QStringList{"Off", "Mono8"}));
        QCOMPARE(tcGenICamIface::enumString(lpMode, -1), QStringLiteral("Mono8"));
        QCOMPARE(tcGenICamIface::enumString(lpMode, 0), QStringLiteral("Off"));
        QCOMPARE(tcGenICamIface::enumString(lpMode, 7), QString()); // the entry is not available
        QCOMPARE(tcGenICamIface::enumString(lpMode, 42), QString());
        // The display text names the current entry whatever its value.
        QCOMPARE(tcGenICamIface::getAttrValueText(node("Mode")), QStringLiteral("Mono8"));
    }

    void closestInt_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("closest");
        QTest::newRow("between") << 37 << 32;
        QTest::newRow("above max") << 200 << 96;
        QTest::newRow("below min") << -5 << 0;
        QTest::newRow("on grid") << 48 << 48;
    }

    void closestInt()
    {
        QFETCH(int, value);
        QFETCH(int, closest);
        QCOMPARE(tcGenICamIface::findClosestInt(value, CIntegerPtr(node("Stepped"))), closest);
    }

    void displayTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << "Stepped"
                                 << "32";
        QTest::newRow("float") << "Small"
                               << "0.0001234";
        QTest::newRow("boolean") << "Flag"
                                 << "true";
        QTest::newRow("string") << "Text"
                                << "hello";
        QTest::newRow("command") << "Go"
                                 << "<command>";
        QTest::newRow("category") << "Group"
                                  << "<catagory>";
        QTest::newRow("port") << "Device"
                              << "<port>";
        QTest::newRow("not available") << "Absent"
                                       << "<Not Available>";
        QTest::newRow("not implemented") << "Missing"
                                         << "<Not Implemented>";
        QTest::newRow("write only") << "WriteOnly"
                                    << "<Not Readable>";
        QTest::newRow("null") << ""
                              << "<Not Implemented>";
    }

    void displayTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        CNodePtr lpNode = name.isEmpty() ? CNodePtr() : node(name.toLatin1().constData());
        QCOMPARE(tcGenICamIface::getAttrValueText(lpNode), text);
    }

    void exceptionWarning()
    {
        tcMessageCapture lcMessages;
        try
        {
            CIntegerPtr(node("Stepped"))->SetValue(200);
        }
        catch (const GenICam::GenericException& arError)
        {
            tcGenICamIface::warn(arError);
            const QString lsExpected = QStringLiteral("%1 : %2 %3")
                                           .arg(QString::fromLatin1(arError.GetSourceFileName()))
                                           .arg(arError.GetSourceLine())
                                           .arg(QString::fromLatin1(arError.GetDescription()));
            QCOMPARE(lcMessages.warnings(), QStringList{lsExpected});
            return;
        }
        QFAIL("out-of-range write accepted");
    }
};

QTEST_MAIN(tst_GenICamIface)
#include "tst_genicamiface.moc"
