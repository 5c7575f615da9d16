// How features relate to each other as a tree shows them: selectors and what
// they select, the access of an enumeration through its entries, and the
// visibility of categories.
#include "describeddevice.h"

#include <GenApi/GenApi.h>

#include <QtTest>

using namespace GenApi;

Q_DECLARE_METATYPE(GenApi::EAccessMode)
Q_DECLARE_METATYPE(GenApi::EVisibility)

namespace
{
using tsDevice = tsDescribedDevice;

QStringList names(const FeatureList_t& acList)
{
    QStringList cNames;
    for (IValue* pValue : acList)
        cNames << pValue->GetNode()->GetName().c_str();
    cNames.sort();
    return cNames;
}

// The features apNode selects, or those that select it.
QStringList selection(INode* apNode, bool abSelected)
{
    CSelectorPtr pSelector = apNode;
    if (!pSelector)
        return {"<no selector>"};
    FeatureList_t cList;
    if (abSelected)
        pSelector->GetSelectedFeatures(cList);
    else
        pSelector->GetSelectingFeatures(cList);
    return names(cList);
}

QStringList selected(INode* apNode)
{
    return selection(apNode, true);
}

QStringList selecting(INode* apNode)
{
    return selection(apNode, false);
}

// A gain register per colour channel, reached directly and through several
// layers, and nodes that only watch it.
const char* const gpSelectorNodes =
    "<Enumeration Name=\"GainSelector\"><EnumEntry Name=\"All\"><Value>0</Value></EnumEntry>"
    "<EnumEntry Name=\"Red\"><Value>1</Value></EnumEntry><Value>0</Value>"
    "<pSelected>GainRaw</pSelected></Enumeration>"
    "<IntReg Name=\"GainRaw\"><Address>0x100</Address><pIndex Offset=\"4\">GainSelector</pIndex>"
    "<Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></IntReg>"
    "<Converter Name=\"Gain\"><FormulaTo>FROM*10</FormulaTo><FormulaFrom>TO/10</FormulaFrom>"
    "<pValue>GainRaw</pValue></Converter>"
    "<Float Name=\"GainAbs\"><pValue>Gain</pValue></Float>"
    "<Integer Name=\"GainLimit\"><Value>0</Value><pMax>GainRaw</pMax></Integer>"
    "<Integer Name=\"Idx\"><Value>0</Value></Integer>"
    "<Integer Name=\"Indexed\"><pIndex>Idx</pIndex><pValueIndexed Index=\"0\">GainRaw</pValueIndexed>"
    "<ValueDefault>0</ValueDefault></Integer>"
    "<Integer Name=\"Refreshed\"><pInvalidator>GainRaw</pInvalidator><Value>3</Value></Integer>"
    "<Integer Name=\"Guarded\"><pIsAvailable>GainRaw</pIsAvailable><Value>1</Value></Integer>"
    "<Integer Name=\"BlackLevel\"><Value>0</Value></Integer>"
    "<Integer Name=\"IntSel\"><Value>0</Value><pSelected>BlackLevel</pSelected></Integer>"
    "<Float Name=\"FloatSel\"><Value>0</Value><pSelected>BlackLevel</pSelected></Float>"
    "<Boolean Name=\"BoolSel\"><Value>false</Value><pSelected>BlackLevel</pSelected></Boolean>"
    "<String Name=\"StringSel\"><Value>a</Value><pSelected>BlackLevel</pSelected></String>"
    "<Command Name=\"CommandSel\"><Value>0</Value><CommandValue>1</CommandValue>"
    "<pSelected>BlackLevel</pSelected></Command>"
    "<Category Name=\"CategorySel\"><pSelected>BlackLevel</pSelected></Category>"
    "<Node Name=\"NodeSel\"><pSelected>BlackLevel</pSelected></Node>"
    "<Enumeration Name=\"EnumSel\"><EnumEntry Name=\"A\"><Value>0</Value></EnumEntry><Value>0</Value>"
    "<pSelected>BlackLevel</pSelected></Enumeration>";
} // namespace

class tst_Selectors : public QObject
{
    Q_OBJECT

private slots:
    void everyValueNodeCanSelect_data();
    void everyValueNodeCanSelect();
    void selectionReachesDependentValues();
    void enumerationAccessFollowsEntries();
    void verifiedReadOfUnavailableEntry();
    void categoryVisibility_data();
    void categoryVisibility();
    void categoryVisibilityFollowsImposedVisibility();
};

void tst_Selectors::everyValueNodeCanSelect_data()
{
    QTest::addColumn<QString>("node");
    for (const char* pName :
         {"IntSel", "FloatSel", "BoolSel", "StringSel", "CommandSel", "CategorySel", "NodeSel", "EnumSel"})
        QTest::newRow(pName) << pName;
}

void tst_Selectors::everyValueNodeCanSelect()
{
    QFETCH(QString, node);
    tsDevice cDevice(gpSelectorNodes);
    INode* pNode = cDevice.node(node.toLatin1().constData());
    QVERIFY(pNode);
    CSelectorPtr pSelector = pNode;
    QVERIFY(pSelector.IsValid());
    QVERIFY(pSelector->IsSelector());
    QCOMPARE(selected(pNode), QStringList{"BlackLevel"});
    QVERIFY(selecting(cDevice.node("BlackLevel")).contains(node));
    // A node that selects nothing still answers, with empty lists.
    QVERIFY(!CSelectorPtr(cDevice.node("Idx"))->IsSelector());
    QCOMPARE(selected(cDevice.node("Idx")), QStringList());
}

void tst_Selectors::selectionReachesDependentValues()
{
    tsDevice cDevice(gpSelectorNodes);
    // Through pValue (twice), pMax and pValueIndexed; not through an
    // invalidator or an availability guard.
    QCOMPARE(selected(cDevice.node("GainSelector")),
             (QStringList{"Gain", "GainAbs", "GainLimit", "GainRaw", "Indexed"}));
    QVERIFY(CSelectorPtr(cDevice.node("GainSelector"))->IsSelector());
    QCOMPARE(selecting(cDevice.node("GainAbs")), QStringList{"GainSelector"});
    QCOMPARE(selecting(cDevice.node("GainRaw")), QStringList{"GainSelector"});
    QCOMPARE(selecting(cDevice.node("Indexed")), QStringList{"GainSelector"});
    QCOMPARE(selecting(cDevice.node("Refreshed")), QStringList());
    QCOMPARE(selecting(cDevice.node("Guarded")), QStringList());
    QCOMPARE(selecting(cDevice.node("GainSelector")), QStringList());
}

void tst_Selectors::enumerationAccessFollowsEntries()
{
    tsDevice cDevice("<Integer Name=\"AvailA\"><Value>1</Value></Integer>"
                     "<Integer Name=\"AvailB\"><Value>1</Value></Integer>"
                     "<Integer Name=\"ImplA\"><Value>1</Value></Integer>"
                     "<Integer Name=\"ImplB\"><Value>1</Value></Integer>"
                     "<Enumeration Name=\"Mode\">"
                     "<EnumEntry Name=\"A\"><pIsImplemented>ImplA</pIsImplemented>"
                     "<pIsAvailable>AvailA</pIsAvailable><Value>0</Value></EnumEntry>"
                     "<EnumEntry Name=\"B\"><pIsImplemented>ImplB</pIsImplemented>"
                     "<pIsAvailable>AvailB</pIsAvailable><Value>1</Value></EnumEntry>"
                     "<Value>1</Value></Enumeration>");
    CEnumerationPtr pMode = cDevice.node("Mode");
    auto set = [&](const char* apName, int64_t anValue)
    { CIntegerPtr(cDevice.node(apName))->SetValue(anValue); };
    QCOMPARE(pMode->GetNode()->GetAccessMode(), RW);

    set("AvailA", 0);
    QCOMPARE(pMode->GetNode()->GetAccessMode(), RW);
    set("AvailB", 0);
    QCOMPARE(pMode->GetNode()->GetAccessMode(), NA);
    QVERIFY_EXCEPTION_THROWN(pMode->GetIntValue(), GenICam::AccessException);
    QVERIFY_EXCEPTION_THROWN(pMode->ToString(), GenICam::AccessException);

    // Not implemented beats not available, and only when no entry is.
    set("ImplA", 0);
    QCOMPARE(pMode->GetNode()->GetAccessMode(), NA);
    set("ImplB", 0);
    QCOMPARE(pMode->GetNode()->GetAccessMode(), NI);
    set("ImplA", 1);
    set("ImplB", 1);
    set("AvailB", 1);
    QCOMPARE(pMode->GetNode()->GetAccessMode(), RW);

    // Access imposed on the entries carries up as well.
    INode* pA = cDevice.node("EnumEntry_Mode_A");
    INode* pB = cDevice.node("EnumEntry_Mode_B");
    pA->ImposeAccessMode(NA);
    pB->ImposeAccessMode(NA);
    QCOMPARE(pMode->GetNode()->GetAccessMode(), NA);
    pA->ImposeAccessMode(NI);
    pB->ImposeAccessMode(NI);
    QCOMPARE(pMode->GetNode()->GetAccessMode(), NI);
}

void tst_Selectors::verifiedReadOfUnavailableEntry()
{
    tsDevice cDevice("<Integer Name=\"AvailA\"><Value>1</Value></Integer>"
                     "<Enumeration Name=\"Mode\">"
                     "<EnumEntry Name=\"A\"><pIsAvailable>AvailA</pIsAvailable><Value>0</Value></EnumEntry>"
                     "<EnumEntry Name=\"B\"><Value>1</Value></EnumEntry><Value>0</Value></Enumeration>");
    CEnumerationPtr pMode = cDevice.node("Mode");
    QCOMPARE(pMode->GetIntValue(true), int64_t(0));
    CIntegerPtr(cDevice.node("AvailA"))->SetValue(0);
    QCOMPARE(pMode->GetIntValue(), int64_t(0)); // unverified: the value as it is
    QVERIFY_EXCEPTION_THROWN(pMode->GetIntValue(true), GenICam::AccessException);
    QVERIFY_EXCEPTION_THROWN(pMode->ToString(true), GenICam::AccessException);
    pMode->FromString("B");
    QCOMPARE(pMode->GetIntValue(true), int64_t(1));
}

void tst_Selectors::categoryVisibility_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<EVisibility>("expected");
    QTest::newRow("expert and guru members") << "ExpertOnly" << Expert;
    QTest::newRow("guru and beginner members") << "Mixed" << Beginner;
    QTest::newRow("empty") << "Empty" << Invisible;
    QTest::newRow("holds only an empty one") << "OnlyEmpty" << Invisible;
    QTest::newRow("nested") << "Outer" << Expert;
    QTest::newRow("own level is stricter") << "GuruCat" << Guru;
    QTest::newRow("contains itself") << "Loop1" << Expert;
}

void tst_Selectors::categoryVisibility()
{
    QFETCH(QString, category);
    QFETCH(EVisibility, expected);
    tsDevice cDevice(
        "<Integer Name=\"Beg\"><Visibility>Beginner</Visibility><Value>0</Value></Integer>"
        "<Integer Name=\"Exp\"><Visibility>Expert</Visibility><Value>0</Value></Integer>"
        "<Integer Name=\"Gur\"><Visibility>Guru</Visibility><Value>0</Value></Integer>"
        "<Category Name=\"ExpertOnly\"><pFeature>Exp</pFeature><pFeature>Gur</pFeature></Category>"
        "<Category Name=\"Mixed\"><pFeature>Gur</pFeature><pFeature>Beg</pFeature></Category>"
        "<Category Name=\"Empty\"/>"
        "<Category Name=\"OnlyEmpty\"><pFeature>Empty</pFeature></Category>"
        "<Category Name=\"Outer\"><pFeature>Empty</pFeature><pFeature>ExpertOnly</pFeature></Category>"
        "<Category Name=\"GuruCat\"><Visibility>Guru</Visibility><pFeature>Beg</pFeature></Category>"
        "<Category Name=\"Loop1\"><pFeature>Loop2</pFeature><pFeature>Exp</pFeature></Category>"
        "<Category Name=\"Loop2\"><pFeature>Loop1</pFeature></Category>");
    QCOMPARE(cDevice.node(category.toLatin1().constData())->GetVisibility(), expected);
}

void tst_Selectors::categoryVisibilityFollowsImposedVisibility()
{
    tsDevice cDevice("<Integer Name=\"Exp\"><Visibility>Expert</Visibility><Value>0</Value></Integer>"
                     "<Category Name=\"Cat\"><pFeature>Exp</pFeature></Category>");
    INode* pCategory = cDevice.node("Cat");
    QCOMPARE(pCategory->GetVisibility(), Expert);
    cDevice.node("Exp")->ImposeVisibility(Invisible);
    QCOMPARE(pCategory->GetVisibility(), Invisible);
    QVERIFY(!IsVisible(pCategory->GetVisibility(), Guru));
}

QTEST_APPLESS_MAIN(tst_Selectors)
#include "tst_selectors.moc"
