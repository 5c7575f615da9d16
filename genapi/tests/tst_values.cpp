#include "describeddevice.h"

#include <GenApi/GenApi.h>

#include <QtTest>

using namespace GenApi;

Q_DECLARE_METATYPE(int64_t)
Q_DECLARE_METATYPE(GenApi::EAccessMode)

namespace
{
using tsDevice = tsDescribedDevice;

const char* const gpAccessNodes =
    "<Integer Name=\"One\"><Value>1</Value></Integer>"
    "<Integer Name=\"Zero\"><Value>0</Value></Integer>"
    "<IntReg Name=\"WoReg\"><Address>0</Address><Length>4</Length><AccessMode>WO</AccessMode>"
    "<pPort>Device</pPort></IntReg>"
    "<IntReg Name=\"RwReg\"><Address>0</Address><Length>4</Length><AccessMode>RW</AccessMode>"
    "<pPort>Device</pPort></IntReg>"
    "<Integer Name=\"Plain\"><Value>5</Value></Integer>"
    "<Integer Name=\"NotImpl\"><pIsImplemented>Zero</pIsImplemented><Value>5</Value></Integer>"
    "<Integer Name=\"Impl\"><pIsImplemented>One</pIsImplemented><Value>5</Value></Integer>"
    "<Integer Name=\"NotAvail\"><pIsAvailable>Zero</pIsAvailable><Value>5</Value></Integer>"
    "<Integer Name=\"GuardUnreadable\"><pIsAvailable>WoReg</pIsAvailable><Value>5</Value></Integer>"
    "<Integer Name=\"Locked\"><pIsLocked>One</pIsLocked><Value>5</Value></Integer>"
    "<Integer Name=\"Unlocked\"><pIsLocked>Zero</pIsLocked><Value>5</Value></Integer>"
    "<Integer Name=\"LockedWo\"><pIsLocked>One</pIsLocked><pValue>WoReg</pValue></Integer>"
    "<Integer Name=\"ImposedRo\"><ImposedAccessMode>RO</ImposedAccessMode><Value>5</Value></Integer>"
    "<Integer Name=\"ViaWo\"><pValue>WoReg</pValue></Integer>"
    "<Integer Name=\"ViaRw\"><pValue>RwReg</pValue></Integer>"
    "<Category Name=\"EmptyCat\"><pFeature>NotImpl</pFeature></Category>"
    "<Category Name=\"FullCat\"><pFeature>Plain</pFeature></Category>"
    "<Category Name=\"HiddenCat\"><pIsAvailable>Zero</pIsAvailable><pFeature>Plain</pFeature></Category>"
    "<IntSwissKnife Name=\"KnifeOk\"><pVariable "
    "Name=\"A\">Plain</pVariable><Formula>A*2</Formula></IntSwissKnife>"
    "<IntSwissKnife Name=\"KnifeNi\"><pVariable "
    "Name=\"A\">NotImpl</pVariable><Formula>A</Formula></IntSwissKnife>"
    "<IntSwissKnife Name=\"KnifeNa\"><pVariable "
    "Name=\"A\">WoReg</pVariable><Formula>A</Formula></IntSwissKnife>"
    "<Node Name=\"JustNode\"/>";

std::string verifyNodes()
{
    return "<Integer Name=\"Width\"><Value>64</Value><Min>16</Min><Max>1024</Max><Inc>8</Inc></Integer>"
           "<Integer Name=\"Offset\"><Value>3</Value><Min>3</Min><Max>100</Max><Inc>4</Inc></Integer>"
           "<Integer Name=\"ZeroInc\"><Value>3</Value><Inc>0</Inc></Integer>"
           "<Integer Name=\"MaxNode\"><Value>500</Value></Integer>"
           "<Integer Name=\"Linked\"><Value>10</Value><Min>0</Min><pMax>MaxNode</pMax></Integer>"
           "<Float Name=\"Gain\"><Value>1.5</Value><Min>0.0</Min><Max>24.0</Max><Inc>0.5</Inc>"
           "<Unit>dB</Unit><DisplayNotation>Fixed</DisplayNotation><DisplayPrecision>2</DisplayPrecision></"
           "Float>"
           "<Float Name=\"Plain\"><Value>2.25</Value></Float>";
}
} // namespace

class tst_Values : public QObject
{
    Q_OBJECT

private slots:
    void accessModes_data();
    void accessModes();
    void verifyRejectsBadIntegers_data();
    void verifyRejectsBadIntegers();
    void unverifiedWriteIsStored();
    void integerLimitsFromNodes();
    void floatRangeAndDisplay();
    void integerText_data();
    void integerText();
    void booleanNode();
    void commandNode();
    void enumerationNode();
    void enumerationThroughInteger();
    void converters();
    void indexedValues();
    void valueCopies();
    void stringNode();
    void pointers();
    void nodeProperties();
    void combineTable();
    void deviceErrorAfterVerifiedWrite();
    void propertiesAnswerEveryElement();
    void stringVariableLength();
    void unavailableCommandRefusesText();
    void formulaKeywordsAndFunctions();
};

void tst_Values::accessModes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<EAccessMode>("mode");
    QTest::newRow("plain") << "Plain" << RW;
    QTest::newRow("not implemented") << "NotImpl" << NI;
    QTest::newRow("implemented") << "Impl" << RW;
    QTest::newRow("not available") << "NotAvail" << NA;
    QTest::newRow("unreadable guard") << "GuardUnreadable" << NA;
    QTest::newRow("locked") << "Locked" << RO;
    QTest::newRow("unlocked") << "Unlocked" << RW;
    QTest::newRow("locked write-only") << "LockedWo" << NA;
    QTest::newRow("imposed") << "ImposedRo" << RO;
    QTest::newRow("via WO") << "ViaWo" << WO;
    QTest::newRow("via RW") << "ViaRw" << RW;
    QTest::newRow("category of NI") << "EmptyCat" << NI;
    QTest::newRow("category") << "FullCat" << RO;
    QTest::newRow("unavailable category") << "HiddenCat" << NI;
    QTest::newRow("knife") << "KnifeOk" << RO;
    QTest::newRow("knife over NI") << "KnifeNi" << NI;
    QTest::newRow("knife over WO") << "KnifeNa" << NA;
    QTest::newRow("node") << "JustNode" << RW;
    QTest::newRow("enum entry") << "EnumEntry_Mode_Off" << RO;
}

void tst_Values::accessModes()
{
    QFETCH(QString, name);
    QFETCH(EAccessMode, mode);
    tsDevice cDevice(std::string(gpAccessNodes) +
                     "<Enumeration Name=\"Mode\"><EnumEntry Name=\"Off\"><Value>0</Value></EnumEntry>"
                     "<Value>0</Value></Enumeration>");
    INode* pNode = cDevice.node(name.toLatin1().constData());
    QVERIFY(pNode);
    QCOMPARE(pNode->GetAccessMode(), mode);
    CValuePtr pValue = pNode;
    if (pValue && !IsReadable(mode) && pNode->GetPrincipalInterfaceType() != intfICategory)
        QVERIFY_EXCEPTION_THROWN(pValue->ToString(), GenICam::GenericException);
}

void tst_Values::verifyRejectsBadIntegers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int64_t>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("below min") << "Width" << int64_t(8) << "must be equal or greater than Min = 16.";
    QTest::newRow("above max") << "Width" << int64_t(2000) << "must be equal or smaller than Max = 1024.";
    QTest::newRow("off increment") << "Width" << int64_t(65) << "dividable without rest by Inc = 8.";
    QTest::newRow("increment from min") << "Offset" << int64_t(8) << "Min = 3";
    QTest::newRow("zero increment") << "ZeroInc" << int64_t(4) << "Increment must be larger than 0.";
    QTest::newRow("above node max") << "Linked" << int64_t(501) << "Max = 500";
}

void tst_Values::verifyRejectsBadIntegers()
{
    QFETCH(QString, name);
    QFETCH(int64_t, value);
    QFETCH(QString, text);
    tsDevice cDevice(verifyNodes());
    CIntegerPtr pInteger = cDevice.node(name.toLatin1().constData());
    const int64_t nBefore = pInteger->GetValue();
    try
    {
        pInteger->SetValue(value);
        QFAIL("no exception");
    }
    catch (const GenICam::GenericException& rError)
    {
        QVERIFY2(QString(rError.GetDescription()).contains(text), rError.GetDescription());
        QVERIFY2(QString(rError.GetDescription()).contains("'" + name + "'"), rError.GetDescription());
    }
    QCOMPARE(pInteger->GetValue(), nBefore);
}

void tst_Values::unverifiedWriteIsStored()
{
    tsDevice cDevice(verifyNodes());
    CIntegerPtr pWidth = cDevice.node("Width");
    pWidth->SetValue(72);
    QCOMPARE(pWidth->GetValue(), int64_t(72));
    *pWidth = 80;
    QCOMPARE((*pWidth)(), int64_t(80));
    pWidth->SetValue(65, false); // not checked without verification
    QCOMPARE(pWidth->GetValue(), int64_t(65));
    // Reading with verification checks the stored value.
    QVERIFY_EXCEPTION_THROWN(pWidth->GetValue(true), GenICam::OutOfRangeException);
}

void tst_Values::integerLimitsFromNodes()
{
    tsDevice cDevice(verifyNodes());
    CIntegerPtr pLinked = cDevice.node("Linked");
    QCOMPARE(pLinked->GetMax(), int64_t(500));
    CIntegerPtr(cDevice.node("MaxNode"))->SetValue(600);
    QCOMPARE(pLinked->GetMax(), int64_t(600));
    pLinked->SetValue(550);
    pLinked->ImposeMax(520);
    QCOMPARE(pLinked->GetMax(), int64_t(520));
    pLinked->ImposeMin(5);
    QCOMPARE(pLinked->GetMin(), int64_t(5));
    QVERIFY_EXCEPTION_THROWN(pLinked->SetValue(4), GenICam::OutOfRangeException);
}

void tst_Values::floatRangeAndDisplay()
{
    tsDevice cDevice(verifyNodes());
    CFloatPtr pGain = cDevice.node("Gain");
    QCOMPARE(pGain->GetMin(), 0.0);
    QCOMPARE(pGain->GetMax(), 24.0);
    QVERIFY(pGain->HasInc());
    QCOMPARE(pGain->GetInc(), 0.5);
    pGain->SetValue(3.3); // increments of floats are not enforced
    QCOMPARE(pGain->GetValue(), 3.3);
    QVERIFY_EXCEPTION_THROWN(pGain->SetValue(25.0), GenICam::OutOfRangeException);
    QVERIFY_EXCEPTION_THROWN(pGain->SetValue(-0.1), GenICam::OutOfRangeException);
    QCOMPARE(pGain->GetValue(), 3.3);
    QCOMPARE(std::string(pGain->ToString().c_str()), std::string("3.30"));
    QCOMPARE(pGain->GetDisplayNotation(), fnFixed);
    QCOMPARE(pGain->GetDisplayPrecision(), int64_t(2));
    pGain->FromString("12.5");
    QCOMPARE(pGain->GetValue(), 12.5);
    QVERIFY_EXCEPTION_THROWN(pGain->FromString("12,5"), GenICam::InvalidArgumentException);
    QVERIFY_EXCEPTION_THROWN(pGain->FromString("abc"), GenICam::InvalidArgumentException);
    CFloatPtr pPlain = cDevice.node("Plain");
    QCOMPARE(std::string(pPlain->ToString().c_str()), std::string("2.25"));
    QCOMPARE(pPlain->GetDisplayNotation(), fnAutomatic);
    QVERIFY(pPlain->GetMax() > 1e300);
}

void tst_Values::integerText_data()
{
    QTest::addColumn<QString>("representation");
    QTest::addColumn<int64_t>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("decimal") << "PureNumber" << int64_t(-42) << "-42";
    QTest::newRow("hex") << "HexNumber" << int64_t(0x123456789abcdefLL) << "0x123456789abcdef";
    QTest::newRow("ip") << "IPV4Address" << int64_t(0x56789abcLL) << "86.120.154.188";
    QTest::newRow("mac") << "MACAddress" << int64_t(0x123456789abcLL) << "12:34:56:78:9a:bc";
    QTest::newRow("boolean") << "Boolean" << int64_t(1) << "true";
}

void tst_Values::integerText()
{
    QFETCH(QString, representation);
    QFETCH(int64_t, value);
    QFETCH(QString, text);
    tsDevice cDevice("<Integer Name=\"I\"><Value>0</Value><Representation>" + representation.toStdString() +
                     "</Representation></Integer>");
    CIntegerPtr pInteger = cDevice.node("I");
    pInteger->SetValue(value);
    QCOMPARE(QString(pInteger->ToString().c_str()), text);
    pInteger->SetValue(0);
    pInteger->FromString(text.toLatin1().constData());
    QCOMPARE(pInteger->GetValue(), value);
    pInteger->FromString("0x10");
    QCOMPARE(pInteger->GetValue(), int64_t(16));
    QVERIFY_EXCEPTION_THROWN(pInteger->FromString("&h10"), GenICam::InvalidArgumentException);
    QVERIFY_EXCEPTION_THROWN(pInteger->FromString("12abc"), GenICam::InvalidArgumentException);
    QCOMPARE(pInteger->GetValue(), int64_t(16));
}

void tst_Values::booleanNode()
{
    tsDevice cDevice(
        "<IntReg Name=\"R\"><Address>0</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort><Cachable>NoCache</Cachable></IntReg>"
        "<Boolean Name=\"B\"><pValue>R</pValue><OnValue>7</OnValue><OffValue>3</OffValue></Boolean>"
        "<Boolean Name=\"F\"><Value>false</Value></Boolean>");
    CBooleanPtr pBool = cDevice.node("B");
    cDevice.mcPort.pokeLE32(0, 7);
    QCOMPARE(pBool->GetValue(), true);
    cDevice.mcPort.pokeLE32(0, 3);
    QCOMPARE(pBool->GetValue(), false);
    cDevice.mcPort.pokeLE32(0, 5);
    QVERIFY_EXCEPTION_THROWN(pBool->GetValue(), GenICam::LogicalErrorException);
    pBool->SetValue(true);
    QCOMPARE(cDevice.mcPort.peekLE32(0), 7u);
    CValuePtr pValue = pBool;
    QCOMPARE(std::string(pValue->ToString().c_str()), std::string("1"));
    pValue->FromString("0");
    QCOMPARE(cDevice.mcPort.peekLE32(0), 3u);
    QVERIFY_EXCEPTION_THROWN(pValue->FromString("X"), GenICam::InvalidArgumentException);
    CBooleanPtr pFloating = cDevice.node("F");
    QCOMPARE(pFloating->GetValue(), false);
    *pFloating = true;
    QCOMPARE((*pFloating)(), true);
}

void tst_Values::commandNode()
{
    tsDevice cDevice(
        "<IntReg Name=\"Cmd\"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort></IntReg>"
        "<IntReg Name=\"WoCmd\"><Address>0x14</Address><Length>4</Length><AccessMode>WO</AccessMode>"
        "<pPort>Device</pPort></IntReg>"
        "<Command Name=\"Start\"><pValue>Cmd</pValue><CommandValue>1</CommandValue></Command>"
        "<Command Name=\"Stop\"><pValue>WoCmd</pValue><CommandValue>0x5</CommandValue></Command>"
        "<Command Name=\"Locked\"><pIsLocked>Cmd</pIsLocked><pValue>WoCmd</pValue>"
        "<CommandValue>1</CommandValue></Command>");
    CCommandPtr pStart = cDevice.node("Start");
    QVERIFY(pStart->IsDone());
    pStart->Execute();
    QCOMPARE(cDevice.mcPort.peekLE32(0x10), 1u);
    QVERIFY(!pStart->IsDone()); // the device still shows the command value
    QCOMPARE(std::string(CValuePtr(pStart)->ToString().c_str()), std::string("1"));
    cDevice.mcPort.pokeLE32(0x10, 0); // the device finished
    QVERIFY(pStart->IsDone());
    QCOMPARE(std::string(CValuePtr(pStart)->ToString().c_str()), std::string("0"));

    CCommandPtr pStop = cDevice.node("Stop");
    (*pStop)();
    QCOMPARE(cDevice.mcPort.peekLE32(0x14), 5u);
    QVERIFY(pStop->IsDone()); // write-only: cannot be watched
    CValuePtr(pStop)->FromString("1");
    QVERIFY_EXCEPTION_THROWN(CValuePtr(pStop)->FromString("0"), GenICam::InvalidArgumentException);

    CCommandPtr pLocked = cDevice.node("Locked");
    QCOMPARE(pLocked->GetAccessMode(), WO);
    cDevice.mcPort.pokeLE32(0x10, 1);
    cDevice.node("Cmd")->InvalidateNode();
    QCOMPARE(pLocked->GetAccessMode(), NA); // a locked write-only command can do nothing
    QVERIFY_EXCEPTION_THROWN(pLocked->Execute(false), GenICam::AccessException);
}

void tst_Values::enumerationNode()
{
    tsDevice cDevice(
        "<IntReg Name=\"R\"><Address>0x20</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort></IntReg>"
        "<Integer Name=\"Zero\"><Value>0</Value></Integer>"
        "<Enumeration Name=\"Mode\"><pValue>R</pValue>"
        "<EnumEntry Name=\"Off\"><Value>0</Value></EnumEntry>"
        "<EnumEntry Name=\"Once\"><Value>1</Value><Symbolic>OnceSym</Symbolic>"
        "<IsSelfClearing>Yes</IsSelfClearing><NumericValue>1.5</NumericValue></EnumEntry>"
        "<EnumEntry Name=\"Hidden\"><pIsAvailable>Zero</pIsAvailable><Value>2</Value></EnumEntry>"
        "<EnumEntry Name=\"Fast\"><Value>8</Value></EnumEntry>"
        "</Enumeration>");
    CEnumerationPtr pEnum = cDevice.node("Mode");
    QCOMPARE(pEnum->GetNode()->GetPrincipalInterfaceType(), intfIEnumeration);
    NodeList_t cEntries;
    pEnum->GetEntries(cEntries);
    QCOMPARE(cEntries.size(), size_t(4));
    QCOMPARE(std::string(cEntries[0]->GetName().c_str()), std::string("EnumEntry_Mode_Off"));
    StringList_t cSymbolics;
    pEnum->GetSymbolics(cSymbolics);
    QCOMPARE(cSymbolics.size(), size_t(3)); // the unavailable one is left out
    QCOMPARE(std::string(cSymbolics[1].c_str()), std::string("OnceSym"));

    QCOMPARE(std::string(pEnum->ToString().c_str()), std::string("Off"));
    *pEnum = "Fast";
    QCOMPARE(cDevice.mcPort.peekLE32(0x20), 8u);
    QCOMPARE(pEnum->GetIntValue(), int64_t(8));
    QCOMPARE(std::string(pEnum->GetCurrentEntry()->GetSymbolic().c_str()), std::string("Fast"));
    QVERIFY_EXCEPTION_THROWN(pEnum->FromString("Once"),
                             GenICam::InvalidArgumentException); // by symbolic only
    QVERIFY_EXCEPTION_THROWN(pEnum->FromString("Hidden"), GenICam::AccessException);
    QVERIFY_EXCEPTION_THROWN(pEnum->SetIntValue(5, false), GenICam::InvalidArgumentException);
    QCOMPARE(cDevice.mcPort.peekLE32(0x20), 8u);
    pEnum->SetIntValue(1);
    CEnumEntryPtr pOnce = pEnum->GetEntryByName("OnceSym");
    QVERIFY(pOnce.IsValid());
    QCOMPARE(pOnce->GetValue(), int64_t(1));
    QCOMPARE(pOnce->GetNumericValue(), 1.5);
    QVERIFY(pOnce->IsSelfClearing());
    QCOMPARE(std::string(CValuePtr(pOnce)->ToString().c_str()), std::string("1"));
    QVERIFY(pEnum->GetEntry(99) == nullptr);
    QVERIFY(pEnum->GetEntryByName("Nope") == nullptr);
    cDevice.mcPort.pokeLE32(0x20, 77);
    cDevice.mcMap._InvalidateNodes();
    QVERIFY_EXCEPTION_THROWN(pEnum->ToString(), GenICam::InvalidArgumentException);
    QVERIFY(pEnum->GetCurrentEntry() == nullptr);
}

void tst_Values::enumerationThroughInteger()
{
    tsDevice cDevice(
        "<Enumeration Name=\"E\"><Value>0</Value>"
        "<EnumEntry Name=\"A\"><Value>0</Value><NumericValue>1.5</NumericValue></EnumEntry>"
        "<EnumEntry Name=\"B\"><Value>1</Value><NumericValue>1.7</NumericValue></EnumEntry>"
        "</Enumeration>"
        "<Integer Name=\"I\"><pValue>E</pValue></Integer>"
        "<Float Name=\"F\"><pValue>E</pValue></Float>"
        "<Integer Name=\"Bits\"><Value>2</Value></Integer>"
        "<IntSwissKnife Name=\"IsB\"><pVariable Name=\"M\">E</pVariable>"
        "<pVariable Name=\"M.Entry.B\">E</pVariable><Formula>M = M.Entry.B</Formula></IntSwissKnife>");
    CIntegerPtr pInt = cDevice.node("I");
    QCOMPARE(pInt->GetMin(), int64_t(0));
    QCOMPARE(pInt->GetMax(), int64_t(1));
    pInt->SetValue(1);
    QCOMPARE(CEnumerationPtr(cDevice.node("E"))->GetIntValue(), int64_t(1));
    QCOMPARE(CIntegerPtr(cDevice.node("IsB"))->GetValue(), int64_t(1));
    CFloatPtr(cDevice.node("F"))->SetValue(1.0, false); // nearest numeric value is entry A
    QCOMPARE(CEnumerationPtr(cDevice.node("E"))->GetIntValue(), int64_t(0));
    QCOMPARE(CIntegerPtr(cDevice.node("IsB"))->GetValue(), int64_t(0));
}

void tst_Values::converters()
{
    tsDevice cDevice(
        "<Integer Name=\"Raw\"><Value>100</Value><Min>1</Min><Max>5000</Max></Integer>"
        "<Integer Name=\"X\"><Value>5</Value></Integer>"
        "<Converter Name=\"Exposure\"><pVariable Name=\"S\">X</pVariable>"
        "<FormulaTo>FROM/S</FormulaTo><FormulaFrom>TO*S</FormulaFrom><pValue>Raw</pValue>"
        "<Unit>us</Unit><Slope>Increasing</Slope></Converter>"
        "<IntConverter Name=\"Shifted\"><pVariable Name=\"X\">X</pVariable>"
        "<FormulaTo>FROM - 2*X - 2</FormulaTo><FormulaFrom>TO + 2*X + 2</FormulaFrom>"
        "<pValue>Raw</pValue></IntConverter>"
        "<Converter Name=\"Inverse\"><FormulaTo>10 - FROM</FormulaTo><FormulaFrom>10 - TO</FormulaFrom>"
        "<pValue>Small</pValue></Converter>"
        "<Integer Name=\"Small\"><Value>2</Value><Min>1</Min><Max>5</Max></Integer>"
        "<SwissKnife Name=\"Half\"><pVariable Name=\"E\">Exposure</pVariable><Formula>E/2</Formula>"
        "</SwissKnife>");
    CFloatPtr pExposure = cDevice.node("Exposure");
    QCOMPARE(pExposure->GetValue(), 500.0);
    QCOMPARE(pExposure->GetMin(), 5.0);
    QCOMPARE(pExposure->GetMax(), 25000.0);
    QCOMPARE(std::string(pExposure->GetUnit().c_str()), std::string("us"));
    pExposure->SetValue(114.99999999); // rounds to the nearest raw value
    QCOMPARE(CIntegerPtr(cDevice.node("Raw"))->GetValue(), int64_t(23));
    QCOMPARE(CFloatPtr(cDevice.node("Half"))->GetValue(), 57.5);
    QCOMPARE(CFloatPtr(cDevice.node("Half"))->GetAccessMode(), RO);
    QVERIFY_EXCEPTION_THROWN(CFloatPtr(cDevice.node("Half"))->SetValue(1.0), GenICam::AccessException);

    CIntegerPtr pShifted = cDevice.node("Shifted");
    pShifted->SetValue(15);
    QCOMPARE(CIntegerPtr(cDevice.node("Raw"))->GetValue(), int64_t(3));
    QCOMPARE(pShifted->GetValue(), int64_t(15));

    CFloatPtr pInverse = cDevice.node("Inverse");
    QCOMPARE(pInverse->GetMin(), 5.0); // automatic slope orders the ends
    QCOMPARE(pInverse->GetMax(), 9.0);
}

void tst_Values::indexedValues()
{
    tsDevice cDevice(
        "<Integer Name=\"Sel\"><Value>0</Value></Integer>"
        "<Integer Name=\"Other\"><Value>99</Value></Integer>"
        "<Integer Name=\"Table\"><pIndex>Sel</pIndex><ValueIndexed Index=\"0\">10</ValueIndexed>"
        "<ValueIndexed Index=\"1\">11</ValueIndexed><pValueIndexed Index=\"2\">Other</pValueIndexed>"
        "<ValueDefault>-1</ValueDefault></Integer>");
    CIntegerPtr pSel = cDevice.node("Sel");
    CIntegerPtr pTable = cDevice.node("Table");
    QCOMPARE(pTable->GetValue(), int64_t(10));
    pSel->SetValue(1);
    QCOMPARE(pTable->GetValue(), int64_t(11));
    QCOMPARE(pTable->GetAccessMode(), RO);
    pSel->SetValue(2);
    QCOMPARE(pTable->GetValue(), int64_t(99));
    QCOMPARE(pTable->GetAccessMode(), RW);
    pTable->SetValue(42);
    QCOMPARE(CIntegerPtr(cDevice.node("Other"))->GetValue(), int64_t(42));
    pSel->SetValue(7);
    QCOMPARE(pTable->GetValue(), int64_t(-1));
}

void tst_Values::valueCopies()
{
    tsDevice cDevice("<Integer Name=\"A\"><Value>0</Value></Integer>"
                     "<Integer Name=\"B\"><Value>0</Value></Integer>"
                     "<Integer Name=\"Both\"><pValue>A</pValue><pValueCopy>B</pValueCopy></Integer>");
    CIntegerPtr(cDevice.node("Both"))->SetValue(7);
    QCOMPARE(CIntegerPtr(cDevice.node("A"))->GetValue(), int64_t(7));
    QCOMPARE(CIntegerPtr(cDevice.node("B"))->GetValue(), int64_t(7));
}

void tst_Values::stringNode()
{
    tsDevice cDevice("<String Name=\"S\"><Value>hello</Value></String>"
                     "<StringReg Name=\"R\"><Address>0</Address><Length>4</Length><AccessMode>RW</AccessMode>"
                     "<pPort>Device</pPort></StringReg>"
                     "<String Name=\"Via\"><pValue>R</pValue></String>");
    CStringPtr pString = cDevice.node("S");
    QCOMPARE(std::string(pString->GetValue().c_str()), std::string("hello"));
    *pString = "world";
    QCOMPARE(std::string((*pString)().c_str()), std::string("world"));
    CStringPtr pVia = cDevice.node("Via");
    QCOMPARE(pVia->GetMaxLength(), int64_t(4));
    pVia->SetValue("abc");
    QCOMPARE(cDevice.mcPort.peek(0, 4), (std::vector<uint8_t>{'a', 'b', 'c', 0}));
}

void tst_Values::pointers()
{
    tsDevice cDevice(verifyNodes());
    CIntegerPtr pNone = cDevice.node("Nothing");
    QVERIFY(!pNone.IsValid());
    QVERIFY(!pNone);
    QVERIFY(pNone == 0);
    try
    {
        pNone->GetValue();
        QFAIL("no exception");
    }
    catch (const GenICam::LogicalErrorException& rError)
    {
        QCOMPARE(QString(rError.GetDescription()), QString("NULL pointer dereferenced"));
    }
    QVERIFY_EXCEPTION_THROWN(*pNone, GenICam::LogicalErrorException);
    QVERIFY_EXCEPTION_THROWN((void)(pNone == 1), GenICam::LogicalErrorException);
    CFloatPtr pWrongType = cDevice.node("Width"); // an integer is no float
    QVERIFY(!pWrongType.IsValid());
    CNodePtr pNode = cDevice.node("Width");
    CIntegerPtr pCast = pNode;
    QVERIFY(pCast.IsValid());
    CValuePtr pValue = pCast;
    QVERIFY(pValue->GetNode() == pNode._Ptr);
    CNodePtr pEmpty;
    CIntegerPtr pFromEmpty = pEmpty; // casting an invalid pointer gives an invalid one
    QVERIFY(!pFromEmpty.IsValid());
    QVERIFY(IsReadable(pCast) && IsWritable(pCast) && IsAvailable(pCast) && IsImplemented(pCast));
    QVERIFY(!IsReadable(pNone) && !IsImplemented(pNone));
    QVERIFY(!IsReadable(static_cast<IBase*>(nullptr)));
}

void tst_Values::nodeProperties()
{
    CNodeMapRef cMap;
    cMap._LoadXMLFromString(
        describeNodes("<Category Name=\"Sub\"><pFeature>Gain</pFeature></Category>"
                      "<Integer Name=\"Gain\" NameSpace=\"Standard\"><ToolTip>tip</ToolTip>"
                      "<Description>long</Description><DisplayName>Gain (raw)</DisplayName>"
                      "<Visibility>Expert</Visibility><EventID>9001</EventID>"
                      "<PollingTime>100</PollingTime><pAlias>Loose</pAlias>"
                      "<Value>1</Value></Integer>"
                      "<Integer Name=\"Loose\"><Value>2</Value></Integer>")
            .c_str());
    INode* pGain = cMap._GetNode("Gain");
    QCOMPARE(std::string(pGain->GetToolTip().c_str()), std::string("tip"));
    QCOMPARE(std::string(pGain->GetDescription().c_str()), std::string("long"));
    QCOMPARE(std::string(pGain->GetDisplayName().c_str()), std::string("Gain (raw)"));
    QCOMPARE(std::string(cMap._GetNode("Loose")->GetDisplayName().c_str()), std::string("Loose"));
    QCOMPARE(pGain->GetVisibility(), Expert);
    QCOMPARE(std::string(pGain->GetEventID().c_str()), std::string("9001"));
    QCOMPARE(pGain->GetPollingTime(), int64_t(100));
    QCOMPARE(pGain->GetNameSpace(), Standard);
    QVERIFY(pGain->GetAlias() == cMap._GetNode("Loose"));
    QVERIFY(pGain->GetCastAlias() == nullptr);
    QCOMPARE(pGain->GetCachingMode(), WriteThrough);
    QVERIFY(pGain->GetNodeMap() == cMap._Ptr);
    QCOMPARE(std::string(pGain->GetDeviceName().c_str()), std::string("Device"));
    QVERIFY(!pGain->IsFeature()); // Sub is not under Root
    QVERIFY(cMap._GetNode("Device")->IsFeature());
    CCategoryPtr pRoot = cMap._GetNode("Root");
    FeatureList_t cFeatures;
    pRoot->GetFeatures(cFeatures);
    QCOMPARE(cFeatures.size(), size_t(0)); // Device is a port, not a value
    CCategoryPtr pSub = cMap._GetNode("Sub");
    pSub->GetFeatures(cFeatures);
    QCOMPARE(cFeatures.size(), size_t(1));
    QVERIFY(cFeatures[0]->GetNode() == pGain);
    QCOMPARE(std::string(CValuePtr(pSub)->ToString().c_str()), std::string("Sub"));
    NodeList_t cParents;
    pGain->GetParents(cParents);
    QCOMPARE(cParents.size(), size_t(0));
    pGain->ImposeAccessMode(RO);
    QCOMPARE(pGain->GetAccessMode(), RO);
    pGain->ImposeVisibility(Guru);
    QCOMPARE(pGain->GetVisibility(), Guru);
}

void tst_Values::combineTable()
{
    const EAccessMode cModes[] = {NI, NA, WO, RO, RW};
    const EAccessMode cExpected[5][5] = {{NI, NI, NI, NI, NI},
                                         {NI, NA, NA, NA, NA},
                                         {NI, NA, WO, NA, WO},
                                         {NI, NA, NA, RO, RO},
                                         {NI, NA, WO, RO, RW}};
    for (int a = 0; a < 5; ++a)
        for (int b = 0; b < 5; ++b)
            QCOMPARE(Combine(cModes[a], cModes[b]), cExpected[a][b]);
    QCOMPARE(Combine(WriteThrough, NoCache), NoCache);
    QCOMPARE(Combine(WriteThrough, WriteAround), WriteAround);
}

void tst_Values::deviceErrorAfterVerifiedWrite()
{
    tsDevice cDevice(
        "<IntReg Name=\"ErrReg\"><Address>0x40</Address><Length>4</Length><AccessMode>RO</AccessMode>"
        "<pPort>Device</pPort><Cachable>NoCache</Cachable></IntReg>"
        "<Enumeration Name=\"Err\"><pValue>ErrReg</pValue>"
        "<EnumEntry Name=\"None\"><Value>0</Value></EnumEntry>"
        "<EnumEntry Name=\"Busy\"><ToolTip>device busy</ToolTip><Value>1</Value></EnumEntry>"
        "</Enumeration>"
        "<IntReg Name=\"X\"><Address>0x44</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort><pError>Err</pError></IntReg>");
    CIntegerPtr pX = cDevice.node("X");
    pX->SetValue(5);
    cDevice.mcPort.pokeLE32(0x40, 1);
    pX->SetValue(6, false); // unverified writes do not ask
    try
    {
        pX->SetValue(7);
        QFAIL("no exception");
    }
    catch (const GenICam::RuntimeException& rError)
    {
        QVERIFY2(QString(rError.GetDescription()).contains("device busy"), rError.GetDescription());
        QVERIFY2(QString(rError.GetDescription()).contains("'X'"), rError.GetDescription());
    }
    QCOMPARE(cDevice.mcPort.peekLE32(0x44), 7u); // the write itself happened
}

void tst_Values::propertiesAnswerEveryElement()
{
    tsDevice cDevice(
        "<String Name=\"S\"><Value>hello</Value></String>"
        "<Integer Name=\"Src\"><Value>2</Value></Integer>"
        "<SwissKnife Name=\"K\"><pVariable Name=\"X\">Src</pVariable><Formula>X*2</Formula><Unit>dB</Unit>"
        "<Representation>Linear</Representation><DisplayNotation>Fixed</DisplayNotation>"
        "<DisplayPrecision>3</DisplayPrecision></SwissKnife>"
        "<Category Name=\"Cat\"><pFeature>S</pFeature><pFeature>K</pFeature></Category>"
        "<StructReg Comment=\"bits\"><Address>0x40</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort><StructEntry Name=\"Flag\"><Bit>3</Bit></StructEntry></StructReg>");
    auto property = [&](const char* apNode, const char* apProperty)
    {
        gcstring sValue;
        gcstring sAttribute;
        if (!cDevice.node(apNode)->GetProperty(apProperty, sValue, sAttribute))
            return QStringList{"<none>"};
        return QStringList{sValue.c_str(), sAttribute.c_str()};
    };
    QCOMPARE(property("S", "Value"), (QStringList{"hello", ""}));
    QCOMPARE(property("K", "Unit"), (QStringList{"dB", ""}));
    QCOMPARE(property("K", "Representation"), (QStringList{"Linear", ""}));
    QCOMPARE(property("K", "DisplayNotation"), (QStringList{"Fixed", ""}));
    QCOMPARE(property("K", "DisplayPrecision"), (QStringList{"3", ""}));
    QCOMPARE(property("K", "Formula"), (QStringList{"X*2", ""}));
    QCOMPARE(property("K", "pVariable"), (QStringList{"Src", "Name=X"}));
    QCOMPARE(property("Cat", "pFeature"), (QStringList{"S\tK", "\t"}));
    QCOMPARE(property("K", "Name"), (QStringList{"K", ""}));
    QCOMPARE(property("K", "Nothing"), QStringList{"<none>"});
    // A struct entry has what its register gives it.
    QCOMPARE(property("Flag", "Bit"), (QStringList{"3", ""}));
    QCOMPARE(property("Flag", "Address"), (QStringList{"0x40", ""}));
    gcstring_vector cNames;
    cDevice.node("K")->GetPropertyNames(cNames);
    QStringList cList;
    for (const gcstring& rName : cNames)
        cList << rName.c_str();
    for (const char* pName : {"Name", "ToolTip", "Unit", "Formula", "pVariable", "DisplayPrecision"})
        QVERIFY2(cList.contains(pName), pName);
    QCOMPARE(cList.count("Name"), 1);
}

void tst_Values::stringVariableLength()
{
    tsDevice cDevice("<String Name=\"S\"><Value>hello</Value></String>");
    CStringPtr pString = cDevice.node("S");
    QCOMPARE(pString->GetMaxLength(), int64_t(5));
    pString->SetValue("hello world"); // longer than before: no fixed limit
    QCOMPARE(pString->GetMaxLength(), int64_t(11));
    QCOMPARE(std::string(pString->GetValue().c_str()), std::string("hello world"));
}

void tst_Values::unavailableCommandRefusesText()
{
    tsDevice cDevice(
        "<Integer Name=\"Zero\"><Value>0</Value></Integer>"
        "<IntReg Name=\"Cmd\"><Address>0x10</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort></IntReg>"
        "<Command Name=\"Go\"><pIsAvailable>Zero</pIsAvailable><pValue>Cmd</pValue>"
        "<CommandValue>1</CommandValue></Command>");
    CValuePtr pGo = cDevice.node("Go");
    for (const char* pText : {"1", "0", "x"})
        QVERIFY_EXCEPTION_THROWN(pGo->FromString(pText), GenICam::AccessException);
    QCOMPARE(cDevice.mcPort.writeCount(), 0);
}

void tst_Values::formulaKeywordsAndFunctions()
{
    // Loading succeeds; the formulas fail when they are evaluated.
    tsDevice cDevice(
        "<IntReg Name=\"Raw\"><Address>0</Address><Length>4</Length><AccessMode>RW</AccessMode>"
        "<pPort>Device</pPort></IntReg>"
        "<Converter Name=\"Lower\"><FormulaTo>from*2</FormulaTo><FormulaFrom>to/2</FormulaFrom>"
        "<pValue>Raw</pValue><Slope>Increasing</Slope></Converter>"
        "<Converter Name=\"Upper\"><FormulaTo>FROM*2</FormulaTo><FormulaFrom>TO/2</FormulaFrom>"
        "<pValue>Raw</pValue></Converter>"
        "<IntSwissKnife Name=\"IntSin\"><pVariable Name=\"X\">Raw</pVariable><Formula>SIN(X)</Formula>"
        "</IntSwissKnife>"
        "<SwissKnife Name=\"FloatSin\"><pVariable Name=\"X\">Raw</pVariable><Formula>SIN(X)</Formula>"
        "</SwissKnife>");
    CFloatPtr pLower = cDevice.node("Lower");
    QVERIFY_EXCEPTION_THROWN(pLower->GetValue(), GenICam::LogicalErrorException);
    QVERIFY_EXCEPTION_THROWN(pLower->SetValue(4.0, false), GenICam::LogicalErrorException);
    CFloatPtr pUpper = cDevice.node("Upper");
    pUpper->SetValue(4.0);
    QCOMPARE(pUpper->GetValue(), 4.0);
    QVERIFY_EXCEPTION_THROWN(CIntegerPtr(cDevice.node("IntSin"))->GetValue(), GenICam::LogicalErrorException);
    QCOMPARE(CFloatPtr(cDevice.node("FloatSin"))->GetValue(), std::sin(8.0));
}

QTEST_APPLESS_MAIN(tst_Values)
#include "tst_values.moc"
