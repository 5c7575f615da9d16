#include "describeddevice.h"

#include <GenApi/GenApi.h>

#include <QtTest>

#include <cstring>

using namespace GenApi;

Q_DECLARE_METATYPE(int64_t)

namespace
{
// A node map over a memory port, for one test.
using tsDevice = tsDescribedDevice;

std::string maskedReg(const char* apName, const char* apEndian, const char* apBits,
                      const char* apSign = "Unsigned", int anLength = 4)
{
    return std::string("<MaskedIntReg Name=\"") + apName + "\"><Address>0x100</Address><Length>" +
           std::to_string(anLength) +
           "</Length><AccessMode>RW</AccessMode><pPort>Device</pPort><Cachable>NoCache</Cachable>" + apBits +
           "<Sign>" + apSign + "</Sign><Endianess>" + apEndian + "</Endianess></MaskedIntReg>";
}
} // namespace

class tst_Registers : public QObject
{
    Q_OBJECT

private slots:
    void intRegByteOrderAndSign_data();
    void intRegByteOrderAndSign();
    void intRegRange_data();
    void intRegRange();
    void maskedBits_data();
    void maskedBits();
    void maskedWriteKeepsOtherBits_data();
    void maskedWriteKeepsOtherBits();
    void neighbouringFieldsDoNotClobberEachOther();
    void structEntriesInheritRegister();
    void summedAddresses();
    void floatRegister_data();
    void floatRegister();
    void floatRegisterOfOddLength();
    void stringRegister();
    void rawRegister();
    void registerAccessFollowsPort();
    void portFailureBecomesException();
    void valueRegistersOfferRawBytes();
};

void tst_Registers::intRegByteOrderAndSign_data()
{
    QTest::addColumn<QString>("endian");
    QTest::addColumn<QString>("sign");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int64_t>("value");
    QTest::newRow("LE u32") << "LittleEndian"
                            << "Unsigned" << 4 << QByteArray("\x78\x56\x34\x12", 4) << int64_t(0x12345678);
    QTest::newRow("BE u32") << "BigEndian"
                            << "Unsigned" << 4 << QByteArray("\x12\x34\x56\x78", 4) << int64_t(0x12345678);
    QTest::newRow("LE s16") << "LittleEndian"
                            << "Signed" << 2 << QByteArray("\xfe\xff", 2) << int64_t(-2);
    QTest::newRow("BE s16") << "BigEndian"
                            << "Signed" << 2 << QByteArray("\xff\xfe", 2) << int64_t(-2);
    QTest::newRow("BE u16 top bit") << "BigEndian"
                                    << "Unsigned" << 2 << QByteArray("\xff\xfe", 2) << int64_t(65534);
    QTest::newRow("LE s8") << "LittleEndian"
                           << "Signed" << 1 << QByteArray("\x80", 1) << int64_t(-128);
    QTest::newRow("BE u64") << "BigEndian"
                            << "Unsigned" << 8 << QByteArray("\x00\x00\x00\x01\x00\x00\x00\x02", 8)
                            << int64_t(0x100000002LL);
    QTest::newRow("LE s64") << "LittleEndian"
                            << "Signed" << 8 << QByteArray(8, '\xff') << int64_t(-1);
    QTest::newRow("BE u24") << "BigEndian"
                            << "Unsigned" << 3 << QByteArray("\x01\x02\x03", 3) << int64_t(0x010203);
}

void tst_Registers::intRegByteOrderAndSign()
{
    QFETCH(QString, endian);
    QFETCH(QString, sign);
    QFETCH(int, length);
    QFETCH(QByteArray, bytes);
    QFETCH(int64_t, value);
    tsDevice cDevice("<IntReg Name=\"R\"><Address>0x20</Address><Length>" + std::to_string(length) +
                     "</Length><AccessMode>RW</AccessMode><pPort>Device</pPort><Sign>" + sign.toStdString() +
                     "</Sign><Endianess>" + endian.toStdString() + "</Endianess></IntReg>");
    cDevice.mcPort.poke(0x20, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    CIntegerPtr pReg = cDevice.mcMap._GetNode("R");
    QCOMPARE(pReg->GetValue(), value);
    // Writing the value back produces the same bytes.
    cDevice.mcPort.poke(0x20, std::vector<uint8_t>(static_cast<size_t>(length), 0));
    pReg->SetValue(value);
    const std::vector<uint8_t> cBack = cDevice.mcPort.peek(0x20, length);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(cBack.data()), length), bytes);
}

void tst_Registers::intRegRange_data()
{
    QTest::addColumn<QString>("sign");
    QTest::addColumn<int>("length");
    QTest::addColumn<int64_t>("min");
    QTest::addColumn<int64_t>("max");
    QTest::newRow("u8") << "Unsigned" << 1 << int64_t(0) << int64_t(255);
    QTest::newRow("s8") << "Signed" << 1 << int64_t(-128) << int64_t(127);
    QTest::newRow("u32") << "Unsigned" << 4 << int64_t(0) << int64_t(0xffffffffLL);
    QTest::newRow("s32") << "Signed" << 4 << int64_t(INT32_MIN) << int64_t(INT32_MAX);
    QTest::newRow("u64") << "Unsigned" << 8 << int64_t(0) << int64_t(INT64_MAX);
    QTest::newRow("s64") << "Signed" << 8 << int64_t(INT64_MIN) << int64_t(INT64_MAX);
}

void tst_Registers::intRegRange()
{
    QFETCH(QString, sign);
    QFETCH(int, length);
    QFETCH(int64_t, min);
    QFETCH(int64_t, max);
    tsDevice cDevice("<IntReg Name=\"R\"><Address>0</Address><Length>" + std::to_string(length) +
                     "</Length><AccessMode>RW</AccessMode><pPort>Device</pPort><Sign>" + sign.toStdString() +
                     "</Sign></IntReg>");
    CIntegerPtr pReg = cDevice.mcMap._GetNode("R");
    QCOMPARE(pReg->GetMin(), min);
    QCOMPARE(pReg->GetMax(), max);
    QCOMPARE(pReg->GetInc(), int64_t(1));
}

void tst_Registers::maskedBits_data()
{
    QTest::addColumn<QString>("endian");
    QTest::addColumn<QString>("bits");
    QTest::addColumn<QString>("sign");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int64_t>("value");
    QTest::newRow("LE 15..8") << "LittleEndian"
                              << "<LSB>8</LSB><MSB>15</MSB>"
                              << "Unsigned" << 4 << QByteArray("\x78\x56\x34\x12", 4) << int64_t(0x56);
    QTest::newRow("BE 23..16") << "BigEndian"
                               << "<LSB>23</LSB><MSB>16</MSB>"
                               << "Unsigned" << 4 << QByteArray("\x12\x34\x56\x78", 4) << int64_t(0x56);
    QTest::newRow("BE 12-bit") << "BigEndian"
                               << "<LSB>11</LSB><MSB>0</MSB>"
                               << "Unsigned" << 2 << QByteArray("\xab\xcd", 2) << int64_t(0xabc);
    QTest::newRow("BE bit 31") << "BigEndian"
                               << "<Bit>31</Bit>"
                               << "Unsigned" << 4 << QByteArray("\x00\x00\x00\x01", 4) << int64_t(1);
    QTest::newRow("BE bit 0") << "BigEndian"
                              << "<Bit>0</Bit>"
                              << "Unsigned" << 4 << QByteArray("\x80\x00\x00\x00", 4) << int64_t(1);
    QTest::newRow("BE bit 0 clear") << "BigEndian"
                                    << "<Bit>0</Bit>"
                                    << "Unsigned" << 4 << QByteArray("\x7f\xff\xff\xff", 4) << int64_t(0);
    QTest::newRow("LE bit 0") << "LittleEndian"
                              << "<Bit>0</Bit>"
                              << "Unsigned" << 4 << QByteArray("\x01\x00\x00\x00", 4) << int64_t(1);
    QTest::newRow("LE bit 31") << "LittleEndian"
                               << "<Bit>31</Bit>"
                               << "Unsigned" << 4 << QByteArray("\x00\x00\x00\x80", 4) << int64_t(1);
    QTest::newRow("LE signed field") << "LittleEndian"
                                     << "<LSB>4</LSB><MSB>7</MSB>"
                                     << "Signed" << 1 << QByteArray("\xe0", 1) << int64_t(-2);
    QTest::newRow("BE signed field") << "BigEndian"
                                     << "<LSB>3</LSB><MSB>0</MSB>"
                                     << "Signed" << 1 << QByteArray("\xe0", 1) << int64_t(-2);
    QTest::newRow("LE top bits 64") << "LittleEndian"
                                    << "<LSB>60</LSB><MSB>63</MSB>"
                                    << "Unsigned" << 8 << QByteArray("\0\0\0\0\0\0\0\xa0", 8) << int64_t(0xa);
}

void tst_Registers::maskedBits()
{
    QFETCH(QString, endian);
    QFETCH(QString, bits);
    QFETCH(QString, sign);
    QFETCH(int, length);
    QFETCH(QByteArray, bytes);
    QFETCH(int64_t, value);
    tsDevice cDevice(maskedReg("M", endian.toLatin1().constData(), bits.toLatin1().constData(),
                               sign.toLatin1().constData(), length));
    cDevice.mcPort.poke(0x100, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    CIntegerPtr pField = cDevice.mcMap._GetNode("M");
    QCOMPARE(pField->GetValue(), value);
}

void tst_Registers::maskedWriteKeepsOtherBits_data()
{
    QTest::addColumn<QString>("endian");
    QTest::addColumn<QString>("bits");
    QTest::addColumn<int64_t>("value");
    QTest::addColumn<uint32_t>("expected"); // register value after the write, from 0xffffffff
    QTest::newRow("LE 15..8") << "LittleEndian"
                              << "<LSB>8</LSB><MSB>15</MSB>" << int64_t(0x12) << 0xffff12ffu;
    QTest::newRow("BE 23..16") << "BigEndian"
                               << "<LSB>23</LSB><MSB>16</MSB>" << int64_t(0x12) << 0xffff12ffu;
    QTest::newRow("BE bit 0") << "BigEndian"
                              << "<Bit>0</Bit>" << int64_t(0) << 0x7fffffffu;
    QTest::newRow("LE bit 0") << "LittleEndian"
                              << "<Bit>0</Bit>" << int64_t(0) << 0xfffffffeu;
}

void tst_Registers::maskedWriteKeepsOtherBits()
{
    QFETCH(QString, endian);
    QFETCH(QString, bits);
    QFETCH(int64_t, value);
    QFETCH(uint32_t, expected);
    tsDevice cDevice(maskedReg("M", endian.toLatin1().constData(), bits.toLatin1().constData()));
    const bool bBig = endian == "BigEndian";
    bBig ? cDevice.mcPort.pokeBE32(0x100, 0xffffffffu) : cDevice.mcPort.pokeLE32(0x100, 0xffffffffu);
    CIntegerPtr pField = cDevice.mcMap._GetNode("M");
    pField->SetValue(value);
    QCOMPARE(bBig ? cDevice.mcPort.peekBE32(0x100) : cDevice.mcPort.peekLE32(0x100), expected);
    QCOMPARE(pField->GetValue(), value);
    // Out of the field's range with verification: refused, nothing written.
    cDevice.mcPort.resetCounts();
    QVERIFY_EXCEPTION_THROWN(pField->SetValue(pField->GetMax() + 1), GenICam::OutOfRangeException);
    QCOMPARE(cDevice.mcPort.writeCount(), 0);
}

void tst_Registers::neighbouringFieldsDoNotClobberEachOther()
{
    // Two cached fields of one register: writing the second must not put the
    // first one's stale bits back.
    tsDevice cDevice(
        "<MaskedIntReg Name=\"A\"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort><LSB>0</LSB><MSB>7</MSB></MaskedIntReg>"
        "<MaskedIntReg Name=\"B\"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort><LSB>8</LSB><MSB>15</MSB></MaskedIntReg>"
        "<IntReg Name=\"Whole\"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort></IntReg>");
    CIntegerPtr pA = cDevice.mcMap._GetNode("A");
    CIntegerPtr pB = cDevice.mcMap._GetNode("B");
    CIntegerPtr pWhole = cDevice.mcMap._GetNode("Whole");
    QCOMPARE(pA->GetValue(), int64_t(0));
    QCOMPARE(pB->GetValue(), int64_t(0));
    pA->SetValue(0x11);
    pB->SetValue(0x22);
    QCOMPARE(cDevice.mcPort.peekLE32(0x10), 0x2211u);
    QCOMPARE(pWhole->GetValue(), int64_t(0x2211));
    pWhole->SetValue(0x4433);
    QCOMPARE(pA->GetValue(), int64_t(0x33));
    QCOMPARE(pB->GetValue(), int64_t(0x44));
}

void tst_Registers::structEntriesInheritRegister()
{
    tsDevice cDevice("<StructReg Comment=\"Control\"><Address>0x40</Address><Length>4</Length>"
                     "<AccessMode>RW</AccessMode><pPort>Device</pPort><Endianess>BigEndian</Endianess>"
                     "<StructEntry Name=\"Enable\"><Bit>0</Bit></StructEntry>"
                     "<StructEntry Name=\"Mode\"><LSB>31</LSB><MSB>28</MSB></StructEntry>"
                     "<StructEntry Name=\"Status\"><AccessMode>RO</AccessMode><Bit>1</Bit></StructEntry>"
                     "</StructReg>");
    cDevice.mcPort.pokeBE32(0x40, 0xc0000005u);
    CIntegerPtr pEnable = cDevice.mcMap._GetNode("Enable");
    CIntegerPtr pMode = cDevice.mcMap._GetNode("Mode");
    CIntegerPtr pStatus = cDevice.mcMap._GetNode("Status");
    QVERIFY(pEnable && pMode && pStatus);
    QCOMPARE(pEnable->GetValue(), int64_t(1));
    QCOMPARE(pMode->GetValue(), int64_t(5));
    QCOMPARE(pStatus->GetValue(), int64_t(1));
    QCOMPARE(pEnable->GetAccessMode(), RW);
    QCOMPARE(pStatus->GetAccessMode(), RO);
    pMode->SetValue(0xa);
    QCOMPARE(cDevice.mcPort.peekBE32(0x40), 0xc000000au);
}

void tst_Registers::summedAddresses()
{
    tsDevice cDevice(
        "<Integer Name=\"Base\"><Value>0x1000</Value></Integer>"
        "<Integer Name=\"Selector\"><Value>0</Value><Min>0</Min><Max>3</Max></Integer>"
        "<IntReg Name=\"Indexed\"><pAddress>Base</pAddress><Address>0x4</Address><pIndex>Selector</pIndex>"
        "<Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>"
        "<IntReg Name=\"Strided\"><Address>0x2000</Address><pIndex Offset=\"0x10\">Selector</pIndex>"
        "<Length>2</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>"
        "<Integer Name=\"Step\"><Value>0x100</Value></Integer>"
        "<IntReg Name=\"NodeOffset\"><Address>0x3000</Address><pIndex pOffset=\"Step\">Selector</pIndex>"
        "<Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>"
        "<IntReg Name=\"Knifed\"><Address>0x10</Address>"
        "<IntSwissKnife Name=\"Knife\"><pVariable "
        "Name=\"B\">Base</pVariable><Formula>B*5</Formula></IntSwissKnife>"
        "<Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>");
    CIntegerPtr pSelector = cDevice.mcMap._GetNode("Selector");
    for (int64_t nIndex = 0; nIndex < 4; ++nIndex)
    {
        cDevice.mcPort.pokeLE32(0x1004 + 4 * nIndex, static_cast<uint32_t>(100 + nIndex));
        cDevice.mcPort.poke(0x2000 + 0x10 * nIndex, {uint8_t(200 + nIndex), 0});
        cDevice.mcPort.pokeLE32(0x3000 + 0x100 * nIndex, static_cast<uint32_t>(300 + nIndex));
    }
    cDevice.mcPort.pokeLE32(0x5010, 77);
    for (int64_t nIndex = 0; nIndex < 4; ++nIndex)
    {
        pSelector->SetValue(nIndex);
        QCOMPARE(CIntegerPtr(cDevice.mcMap._GetNode("Indexed"))->GetValue(), 100 + nIndex);
        QCOMPARE(CIntegerPtr(cDevice.mcMap._GetNode("Strided"))->GetValue(), 200 + nIndex);
        QCOMPARE(CIntegerPtr(cDevice.mcMap._GetNode("NodeOffset"))->GetValue(), 300 + nIndex);
    }
    QVERIFY(cDevice.mcMap._GetNode("Knife") != nullptr);
    QCOMPARE(CIntegerPtr(cDevice.mcMap._GetNode("Knifed"))->GetValue(), int64_t(77));
}

void tst_Registers::floatRegister_data()
{
    QTest::addColumn<QString>("endian");
    QTest::addColumn<int>("length");
    QTest::newRow("LE 4") << "LittleEndian" << 4;
    QTest::newRow("BE 4") << "BigEndian" << 4;
    QTest::newRow("LE 8") << "LittleEndian" << 8;
    QTest::newRow("BE 8") << "BigEndian" << 8;
}

void tst_Registers::floatRegister()
{
    QFETCH(QString, endian);
    QFETCH(int, length);
    tsDevice cDevice("<FloatReg Name=\"F\"><Address>0x80</Address><Length>" + std::to_string(length) +
                     "</Length><AccessMode>RW</AccessMode><pPort>Device</pPort><Endianess>" +
                     endian.toStdString() + "</Endianess><Unit>dB</Unit></FloatReg>");
    CFloatPtr pFloat = cDevice.mcMap._GetNode("F");
    pFloat->SetValue(1.5);
    std::vector<uint8_t> cBytes = cDevice.mcPort.peek(0x80, length);
    if (endian == "BigEndian")
        std::reverse(cBytes.begin(), cBytes.end());
    if (length == 4)
    {
        float fValue;
        std::memcpy(&fValue, cBytes.data(), 4);
        QCOMPARE(fValue, 1.5f);
    }
    else
    {
        double dValue;
        std::memcpy(&dValue, cBytes.data(), 8);
        QCOMPARE(dValue, 1.5);
    }
    QCOMPARE(pFloat->GetValue(false, true), 1.5);
    QCOMPARE(std::string(pFloat->GetUnit().c_str()), std::string("dB"));
    QVERIFY(!pFloat->HasInc());
    QVERIFY_EXCEPTION_THROWN(pFloat->GetInc(), GenICam::RuntimeException);
}

void tst_Registers::floatRegisterOfOddLength()
{
    // The description still loads; only the use of the register fails.
    tsDevice cDevice("<FloatReg Name=\"F\"><Address>0x80</Address><Length>2</Length>"
                     "<AccessMode>RW</AccessMode><pPort>Device</pPort></FloatReg>");
    CFloatPtr pFloat = cDevice.mcMap._GetNode("F");
    QVERIFY(pFloat.IsValid());
    QVERIFY_EXCEPTION_THROWN(pFloat->GetValue(), GenICam::OutOfRangeException);
    QVERIFY_EXCEPTION_THROWN(pFloat->SetValue(1.0), GenICam::OutOfRangeException);
    QCOMPARE(cDevice.mcPort.writeCount(), 0);
}

void tst_Registers::stringRegister()
{
    tsDevice cDevice(
        "<StringReg Name=\"S\"><Address>0x200</Address><Length>8</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort></StringReg>");
    CStringPtr pString = cDevice.mcMap._GetNode("S");
    QCOMPARE(pString->GetMaxLength(), int64_t(8));
    cDevice.mcPort.poke(0x200, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
    QCOMPARE(std::string(pString->GetValue().c_str()), std::string("ABCDEFGH")); // no NUL: all bytes
    pString->SetValue("xy");
    const std::vector<uint8_t> cBytes = cDevice.mcPort.peek(0x200, 8);
    QCOMPARE(cBytes, (std::vector<uint8_t>{'x', 'y', 0, 0, 0, 0, 0, 0}));
    QCOMPARE(std::string(pString->GetValue(false, true).c_str()), std::string("xy"));
    QVERIFY_EXCEPTION_THROWN(pString->SetValue("123456789"), GenICam::OutOfRangeException);
    QCOMPARE(cDevice.mcPort.peek(0x200, 2), (std::vector<uint8_t>{'x', 'y'}));
}

void tst_Registers::rawRegister()
{
    tsDevice cDevice("<Register Name=\"Lut\"><Address>0x300</Address><Length>4</Length>"
                     "<AccessMode>RW</AccessMode><pPort>Device</pPort></Register>");
    CRegisterPtr pRegister = cDevice.mcMap._GetNode("Lut");
    QCOMPARE(pRegister->GetLength(), int64_t(4));
    QCOMPARE(pRegister->GetAddress(), int64_t(0x300));
    const uint8_t cIn[4] = {0xaa, 0xbb, 0x01, 0x02};
    pRegister->Set(cIn, 4);
    uint8_t cOut[4] = {};
    pRegister->Get(cOut, 4, false, true);
    QVERIFY(std::memcmp(cIn, cOut, 4) == 0);
    CValuePtr pValue = pRegister;
    QCOMPARE(std::string(pValue->ToString().c_str()), std::string("0xaabb0102"));
    pValue->FromString("0x01020304");
    QCOMPARE(cDevice.mcPort.peek(0x300, 4), (std::vector<uint8_t>{1, 2, 3, 4}));
    QVERIFY_EXCEPTION_THROWN(pValue->FromString("0x123"), GenICam::InvalidArgumentException);
    QVERIFY_EXCEPTION_THROWN(pValue->FromString("1234"), GenICam::InvalidArgumentException);
    // "0x" alone names no byte at all; it must not clear the register.
    QVERIFY_EXCEPTION_THROWN(pValue->FromString("0x"), GenICam::InvalidArgumentException);
    QCOMPARE(cDevice.mcPort.peek(0x300, 4), (std::vector<uint8_t>{1, 2, 3, 4}));
    // A buffer that does not match the register is refused, not overrun.
    uint8_t cShort[2] = {};
    QVERIFY_EXCEPTION_THROWN(pRegister->Get(cShort, 2), GenICam::OutOfRangeException);
    uint8_t cLong[8] = {};
    QVERIFY_EXCEPTION_THROWN(pRegister->Set(cLong, 8), GenICam::OutOfRangeException);
    QCOMPARE(cDevice.mcPort.peek(0x300, 4), (std::vector<uint8_t>{1, 2, 3, 4}));
}

void tst_Registers::registerAccessFollowsPort()
{
    CNodeMapRef cMap;
    cMap._LoadXMLFromString(describeNodes("<IntReg Name=\"R\"><Address>0</Address><Length>4</Length>"
                                          "<AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>"
                                          "<IntReg Name=\"Ro\"><Address>0</Address><Length>4</Length>"
                                          "<AccessMode>RO</AccessMode><pPort>Device</pPort></IntReg>")
                                .c_str());
    CIntegerPtr pReg = cMap._GetNode("R");
    QCOMPARE(pReg->GetAccessMode(), NI); // no port attached yet
    QVERIFY_EXCEPTION_THROWN(pReg->GetValue(), GenICam::AccessException);
    tcMemoryPort cPort(RO);
    cMap._Connect(&cPort);
    QCOMPARE(pReg->GetAccessMode(), RO);
    QVERIFY_EXCEPTION_THROWN(pReg->SetValue(1), GenICam::AccessException);
    QCOMPARE(cPort.writeCount(), 0);
    cPort.setAccessMode(RW);
    cMap._InvalidateNodes();
    QCOMPARE(pReg->GetAccessMode(), RW);
    QCOMPARE(CIntegerPtr(cMap._GetNode("Ro"))->GetAccessMode(), RO);
}

void tst_Registers::portFailureBecomesException()
{
    tsDevice cDevice("<IntReg Name=\"R\"><Address>0x500</Address><Length>4</Length>"
                     "<AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>");
    cDevice.mcPort.setFailingRange(0x500, 4);
    CIntegerPtr pReg = cDevice.mcMap._GetNode("R");
    QVERIFY_EXCEPTION_THROWN(pReg->GetValue(), GenICam::GenericException);
    QVERIFY_EXCEPTION_THROWN(pReg->SetValue(3), GenICam::GenericException);
    cDevice.mcPort.setFailingRange(0, 0);
    QCOMPARE(pReg->GetValue(), int64_t(0));
}

void tst_Registers::valueRegistersOfferRawBytes()
{
    tsDevice cDevice(
        "<IntReg Name=\"R\"><Address>0x600</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort><Endianess>BigEndian</Endianess></IntReg>");
    CIntegerPtr pInteger = cDevice.mcMap._GetNode("R");
    CRegisterPtr pRaw = cDevice.mcMap._GetNode("R");
    QVERIFY(pRaw.IsValid());
    QCOMPARE(pRaw->GetLength(), int64_t(4));
    QCOMPARE(pRaw->GetAddress(), int64_t(0x600));
    QCOMPARE(pInteger->GetValue(), int64_t(0));
    const uint8_t cBytes[4] = {0, 0, 1, 2};
    pRaw->Set(cBytes, 4);
    QCOMPARE(pInteger->GetValue(), int64_t(0x102)); // the cached value was dropped
    uint8_t cBack[4] = {};
    pRaw->Get(cBack, 4);
    QVERIFY(std::memcmp(cBack, cBytes, 4) == 0);
    QVERIFY_EXCEPTION_THROWN(pRaw->Get(cBack, 3), GenICam::OutOfRangeException);
    QVERIFY_EXCEPTION_THROWN(pRaw->Set(cBack, 5), GenICam::OutOfRangeException);
}

QTEST_APPLESS_MAIN(tst_Registers)
#include "tst_registers.moc"
