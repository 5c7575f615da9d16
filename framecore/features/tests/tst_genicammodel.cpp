#include "camerainterface.h"
#include "descriptionloader.h"
#include "enumselector.h"
#include "genapidelegate.h"
#include "genicammodel.h"
#include "genicamparamsdialog.h"
#include "gentlinterface.h"
#include "messagecapture.h"
#include "simcamfixture.h"

#include "memoryport.h"
#include "shareddescriptions.h"

#include <GenApi/GenApi.h>

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeView>
#include <QtTest>

#include <memory>

using namespace GenApi;

namespace
{
const char* const kNodes = R"(
<Category Name="Root" NameSpace="Standard">
  <pFeature>Main</pFeature><pFeature>Loose</pFeature><pFeature>Other</pFeature>
</Category>
<Port Name="Device" NameSpace="Standard"/>
<Category Name="Main"><DisplayName>Main Controls</DisplayName>
  <pFeature>Stepped</pFeature><pFeature>Fixed</pFeature><pFeature>Mode</pFeature>
  <pFeature>FixedMode</pFeature><pFeature>Go</pFeature><pFeature>Stuck</pFeature>
  <pFeature>Reg4</pFeature><pFeature>Sub</pFeature><pFeature>Flag</pFeature>
  <pFeature>Ratio</pFeature><pFeature>Label</pFeature><pFeature>Huge</pFeature>
  <pFeature>Broken</pFeature>
</Category>
<Category Name="Other"><pFeature>Counter</pFeature></Category>
<Category Name="Sub"><pFeature>Inner</pFeature></Category>
<Integer Name="Loose"><Value>1</Value></Integer>
<Integer Name="Inner"><Value>2</Value></Integer>
<Integer Name="Never"><Value>0</Value></Integer>
<Integer Name="Stepped"><ToolTip>Step tip</ToolTip><Value>0</Value><Min>0</Min><Max>100</Max><Inc>4</Inc></Integer>
<IntReg Name="Fixed"><ToolTip>Fixed tip</ToolTip><Address>0x100</Address><Length>4</Length><AccessMode>RO</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<IntReg Name="ModeReg"><Address>0x110</Address><Length>4</Length><AccessMode>RW</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<IntReg Name="FixedModeReg"><Address>0x120</Address><Length>4</Length><AccessMode>RO</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<Enumeration Name="Mode"><ToolTip>Mode tip</ToolTip>
  <EnumEntry Name="Off"><Value>0</Value></EnumEntry>
  <EnumEntry Name="Hidden"><pIsAvailable>Never</pIsAvailable><Value>5</Value></EnumEntry>
  <EnumEntry Name="On"><Value>9</Value></EnumEntry>
  <pValue>ModeReg</pValue>
</Enumeration>
<Enumeration Name="FixedMode">
  <EnumEntry Name="A"><Value>0</Value></EnumEntry>
  <EnumEntry Name="B"><Value>1</Value></EnumEntry>
  <pValue>FixedModeReg</pValue>
</Enumeration>
<IntReg Name="GoReg"><Address>0x130</Address><Length>4</Length><AccessMode>RW</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<Command Name="Go"><pValue>GoReg</pValue><CommandValue>1</CommandValue></Command>
<Command Name="Stuck"><pIsAvailable>Never</pIsAvailable><pValue>GoReg</pValue><CommandValue>2</CommandValue></Command>
<Register Name="Reg4"><Address>0x140</Address><Length>4</Length><AccessMode>RW</AccessMode><pPort>Device</pPort></Register>
<Boolean Name="Flag"><Value>1</Value><OnValue>1</OnValue><OffValue>0</OffValue></Boolean>
<Float Name="Ratio"><Value>0.125</Value><Min>0</Min><Max>2</Max></Float>
<String Name="Label"><Value>hello</Value></String>
<IntReg Name="Huge"><Address>0x150</Address><Length>8</Length><AccessMode>RW</AccessMode>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<IntReg Name="Broken"><Address>0x9000</Address><Length>4</Length><AccessMode>RW</AccessMode><Cachable>NoCache</Cachable>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
<IntReg Name="Counter"><Address>0x160</Address><Length>4</Length><AccessMode>RW</AccessMode><Cachable>NoCache</Cachable>
  <pPort>Device</pPort><Sign>Unsigned</Sign><Endianess>LittleEndian</Endianess></IntReg>
)";

std::string wrap(const std::string& arNodes)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<RegisterDescription ModelName=\"Tree\" VendorName=\"Kestrix\" StandardNameSpace=\"None\" "
           "SchemaMajorVersion=\"1\" SchemaMinorVersion=\"1\" SchemaSubMinorVersion=\"0\" MajorVersion=\"1\" "
           "MinorVersion=\"0\" SubMinorVersion=\"0\" ProductGuid=\"00000000-0000-0000-0000-000000000000\" "
           "VersionGuid=\"00000000-0000-0000-0000-000000000000\" "
           "xmlns=\"http://www.genicam.org/GenApi/Version_1_1\">\n" +
           arNodes + "\n</RegisterDescription>\n";
}

QString testdata(const QString& arName)
{
    return QDir(sharedDescriptionsDir()).filePath(arName);
}

// A tree view that tells whether an editor is open.
class tcEditingTree : public QTreeView
{
public:
    bool editing() const { return state() == EditingState; }
};

int editorCount(QTreeView* apView)
{
    return apView->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size();
}

class tcLoadTracer : public tcDebugSource
{
public:
    tcLoadTracer() : tcDebugSource(QStringLiteral("loader"), 0) {}
};

// Walks every feature row of the tree.
template <class F> void forEachFeature(QAbstractItemModel& arModel, F afVisit)
{
    for (int lnCategory = 0; lnCategory < arModel.rowCount(); ++lnCategory)
    {
        const QModelIndex lcCategory = arModel.index(lnCategory, 0);
        for (int lnRow = 0; lnRow < arModel.rowCount(lcCategory); ++lnRow)
            afVisit(arModel.index(lnRow, 0, lcCategory), arModel.index(lnRow, 1, lcCategory));
    }
}
} // namespace

class tst_GenICamModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<CNodeMapRef> mpMap;
    std::unique_ptr<tcMemoryPort> mpPort;
    QSharedPointer<tcGenICamModel> mpModel;

    QModelIndex row(const char* apName, int anColumn)
    {
        QModelIndex lcFound;
        forEachFeature(*mpModel,
                       [&](const QModelIndex& arName, const QModelIndex& arValue)
                       {
                           if (arName.data().toString() == QLatin1String(apName))
                               lcFound = anColumn == 0 ? arName : arValue;
                       });
        return lcFound;
    }
    CNodePtr node(const char* apName) { return mpMap->_GetNode(apName); }

    // An editor made by the delegate, as a view would make it.
    QWidget* editor(tcGenApiDelegate& arDelegate, QWidget* apParent, const char* apName)
    {
        const QModelIndex lcIndex = row(apName, 1);
        QWidget* lpEditor = arDelegate.createEditor(apParent, QStyleOptionViewItem(), lcIndex);
        if (lpEditor)
            arDelegate.setEditorData(lpEditor, lcIndex);
        return lpEditor;
    }

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void init()
    {
        mpModel.reset();
        mpMap = std::make_unique<CNodeMapRef>("Device");
        mpPort = std::make_unique<tcMemoryPort>();
        mpPort->pokeLE32(0x100, 77);
        mpPort->pokeLE32(0x110, 9);
        mpPort->pokeLE32(0x140, 0x12345678);
        mpPort->pokeLE32(0x160, 5);
        mpPort->setFailingRange(0x9000, 4);
        mpMap->_LoadXMLFromString(wrap(kNodes).c_str());
        QVERIFY(mpMap->_Connect(mpPort.get(), "Device"));
        tcMessageCapture lcMessages; // the broken register warns while the tree is built
        mpModel = QSharedPointer<tcGenICamModel>::create(mpMap.get());
    }

    void structure()
    {
        QCOMPARE(mpModel->getName(), QStringLiteral("tcGenICamModel"));
        QCOMPARE(mpModel->rowCount(), 2);
        QCOMPARE(mpModel->columnCount(), 2);
        QCOMPARE(mpModel->index(0, 0).data().toString(), QStringLiteral("Main Controls"));
        QCOMPARE(mpModel->index(1, 0).data().toString(), QStringLiteral("Other"));
        QVERIFY(!mpModel->item(0)->isCheckable());
        QVERIFY(!mpModel->nodeOf(mpModel->index(0, 0)).IsValid());

        const QModelIndex lcMain = mpModel->index(0, 0);
        QStringList lsNames;
        for (int i = 0; i < mpModel->rowCount(lcMain); ++i)
            lsNames << mpModel->index(i, 0, lcMain).data().toString();
        QCOMPARE(lsNames, (QStringList{"Stepped", "Fixed", "Mode", "FixedMode", "Go", "Stuck", "Reg4", "Sub",
                                       "Flag", "Ratio", "Label", "Huge", "Broken"}));

        // The nested category is an ordinary row, not expanded.
        const QModelIndex lcSub = row("Sub", 0);
        QCOMPARE(mpModel->rowCount(lcSub), 0);
        QCOMPARE(row("Sub", 1).data().toString(), QStringLiteral("<catagory>"));
        QCOMPARE(row("Go", 1).data().toString(), QStringLiteral("<command>"));
        QCOMPARE(row("Stuck", 1).data().toString(), QStringLiteral("<Not Available>"));
        // The node travels in the name item under its registered type name.
        const QVariant lcNode = mpModel->itemFromIndex(row("Stepped", 0))->data(tcGenICamModel::gnNodeRole);
        QCOMPARE(QString::fromLatin1(lcNode.typeName()), QStringLiteral("GenApi::CNodePtr"));
        QVERIFY(lcNode.value<CNodePtr>() == node("Stepped"));
        QCOMPARE(QMetaType::type("GenApi::CCommandPtr"), qMetaTypeId<CCommandPtr>());
    }

    void liveValues()
    {
        QCOMPARE(row("Stepped", 1).data(), QVariant(qlonglong(0)));
        CIntegerPtr(node("Stepped"))->SetValue(12);
        QCOMPARE(row("Stepped", 1).data(), QVariant(qlonglong(12)));
        QCOMPARE(row("Fixed", 1).data(Qt::EditRole), QVariant(qlonglong(77)));
        QCOMPARE(row("Mode", 1).data().toString(), QStringLiteral("On"));
        QCOMPARE(row("Ratio", 1).data().toDouble(), 0.125);
        QCOMPARE(row("Label", 1).data().toString(), QStringLiteral("hello"));
        QCOMPARE(row("Reg4", 1).data(), QVariant(uint(0x12345678)));
        // The value is read on each request: a device change shows at once.
        mpPort->pokeLE32(0x160, 6);
        QCOMPARE(row("Counter", 1).data(), QVariant(qlonglong(6)));
        QVERIFY(!mpModel->index(5, 1).isValid());
        QVERIFY(!mpModel->data(QModelIndex()).isValid());
    }

    void failedReadShowsBuildTimeTextAndWarnsOnce()
    {
        tcMessageCapture lcMessages;
        const QString lsText = row("Broken", 1).data().toString();
        QVERIFY(lsText.startsWith(QLatin1Char('<')));
        QCOMPARE(row("Broken", 1).data().toString(), lsText);
        QCOMPARE(lcMessages.warnings().size(), 1);
    }

    void toolTipsInValueColumnOnly()
    {
        QCOMPARE(row("Stepped", 1).data(Qt::ToolTipRole).toString(), QStringLiteral("Step tip"));
        QVERIFY(!row("Stepped", 0).data(Qt::ToolTipRole).isValid());
        QCOMPARE(row("Mode", 1).data(Qt::ToolTipRole).toString(), QStringLiteral("Mode tip"));
        QVERIFY(!row("Label", 1).data(Qt::ToolTipRole).isValid());
        QVERIFY(!row("Stepped", 0).data(Qt::EditRole).isValid());
    }

    void callsAreTracedByLevel()
    {
        tcMessageCapture lcMessages;
        row("Stepped", 1).data();
        QVERIFY(lcMessages.texts(QtDebugMsg).isEmpty());
        mpModel->SetDbgLevel(1);
        row("Stepped", 1).data();
        row("Stepped", 1).data(Qt::DecorationRole);
        mpModel->setData(row("Stepped", 1), 4);
        QStringList lsLines = lcMessages.texts(QtDebugMsg);
        QCOMPARE(lsLines.size(), 2);
        QVERIFY(lsLines[0].startsWith(QStringLiteral("tcGenICamModel::data [ tcGenICamModel 1 ] 0 1")));
        QVERIFY(lsLines[0].contains(QStringLiteral("role= 0 rv=")));
        QVERIFY(lsLines[1].contains(QStringLiteral("role= 2 value=")));
        lcMessages.clear();
        mpModel->SetDbgLevel(2);
        row("Stepped", 1).data(Qt::DecorationRole);
        QCOMPARE(lcMessages.texts(QtDebugMsg).size(), 1);
        mpModel->SetDbgLevel(0);
    }

    void flags()
    {
        QCOMPARE(mpModel->flags(row("Stepped", 1)),
                 Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
        QCOMPARE(mpModel->flags(row("Stepped", 0)), Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        QCOMPARE(mpModel->flags(QModelIndex()), Qt::NoItemFlags);
    }

    void setDataWritesThroughTheNodeMap()
    {
        QSignalSpy lcChanged(mpModel.data(), &QAbstractItemModel::dataChanged);
        QVERIFY(mpModel->setData(row("Stepped", 1), 40));
        QCOMPARE(CIntegerPtr(node("Stepped"))->GetValue(), 40);
        QVERIFY(mpModel->setData(row("Mode", 1), QStringLiteral("Off")));
        QCOMPARE(mpPort->peekLE32(0x110), 0u);
        QVERIFY(mpModel->setData(row("Mode", 1), qlonglong(9)));
        QCOMPARE(mpPort->peekLE32(0x110), 9u);
        QVERIFY(mpModel->setData(row("Label", 1), QStringLiteral("world")));
        QCOMPARE(row("Label", 1).data().toString(), QStringLiteral("world"));
        // Other roles are accepted but write nothing.
        QVERIFY(mpModel->setData(row("Stepped", 1), 44, Qt::DisplayRole));
        QCOMPARE(CIntegerPtr(node("Stepped"))->GetValue(), 40);
        // A read-only feature is not written; the edit still reports true.
        QVERIFY(mpModel->setData(row("Fixed", 1), 1));
        QCOMPARE(mpPort->peekLE32(0x100), 77u);
        QCOMPARE(lcChanged.size(), 0);
        QVERIFY(!mpModel->setData(QModelIndex(), 1));
    }

    void failedWriteReportsFalse()
    {
        tcMessageCapture lcMessages;
        QVERIFY(!mpModel->setData(row("Stepped", 1), 1000)); // above the maximum
        QCOMPARE(CIntegerPtr(node("Stepped"))->GetValue(), 0);
        QVERIFY(!mpModel->setData(row("Broken", 1), 3));
        QCOMPARE(lcMessages.warnings().size(), 2);
    }

    void editorsByType()
    {
        tcGenApiDelegate lcDelegate(mpModel);
        QWidget lcParent;

        auto* lpSpin = qobject_cast<QSpinBox*>(editor(lcDelegate, &lcParent, "Stepped"));
        QVERIFY(lpSpin && lpSpin->isEnabled());
        QCOMPARE(lpSpin->minimum(), 0);
        QCOMPARE(lpSpin->maximum(), 100);
        QCOMPARE(lpSpin->singleStep(), 4);

        lpSpin = qobject_cast<QSpinBox*>(editor(lcDelegate, &lcParent, "Fixed"));
        QVERIFY(lpSpin && !lpSpin->isEnabled());

        auto* lpSelector = qobject_cast<tcEnumSelector*>(editor(lcDelegate, &lcParent, "Mode"));
        QVERIFY(lpSelector);
        QCOMPARE(lpSelector->objectName(), QStringLiteral("EnumSelector"));
        QCOMPARE(lpSelector->count(), 2);
        QCOMPARE(lpSelector->currentText(), QStringLiteral("On"));
        QCOMPARE(lpSelector->value(), 9);

        QWidget* lpDefault = editor(lcDelegate, &lcParent, "FixedMode");
        QVERIFY(lpDefault);
        QVERIFY(!qobject_cast<tcEnumSelector*>(lpDefault));

        auto* lpGo = qobject_cast<QPushButton*>(editor(lcDelegate, &lcParent, "Go"));
        QVERIFY(lpGo && lpGo->isEnabled());
        QCOMPARE(lpGo->text(), QStringLiteral("Execute"));
        QCOMPARE(QString::fromLatin1(lpGo->property("node").typeName()),
                 QStringLiteral("GenApi::CCommandPtr"));
        auto* lpStuck = qobject_cast<QPushButton*>(editor(lcDelegate, &lcParent, "Stuck"));
        QVERIFY(lpStuck && !lpStuck->isEnabled());

        auto* lpRegister = qobject_cast<QLineEdit*>(editor(lcDelegate, &lcParent, "Reg4"));
        QVERIFY(lpRegister);
        QVERIFY(lpRegister->inputMask().startsWith(QStringLiteral("HHHHHHHH")));
        QCOMPARE(lpRegister->text(), QStringLiteral("12345678"));

        auto* lpFlag = qobject_cast<QComboBox*>(editor(lcDelegate, &lcParent, "Flag"));
        QVERIFY(lpFlag && lpFlag->isEnabled());
        auto* lpRatio = qobject_cast<QDoubleSpinBox*>(editor(lcDelegate, &lcParent, "Ratio"));
        QVERIFY(lpRatio);
        QCOMPARE(lpRatio->maximum(), 2.0);
        QCOMPARE(lpRatio->value(), 0.125);
        auto* lpLabel = qobject_cast<QLineEdit*>(editor(lcDelegate, &lcParent, "Label"));
        QVERIFY(lpLabel && lpLabel->isEnabled());
        QCOMPARE(lpLabel->text(), QStringLiteral("hello"));
    }

    void wideIntegerIsLimitedWithWarning()
    {
        tcGenApiDelegate lcDelegate(mpModel);
        QWidget lcParent;
        tcMessageCapture lcMessages;
        auto* lpSpin = qobject_cast<QSpinBox*>(editor(lcDelegate, &lcParent, "Huge"));
        QVERIFY(lpSpin);
        QCOMPARE(lpSpin->maximum(), 2147483647);
        QCOMPARE(lcMessages.warnings(), QStringList{"Limit is larger than edit box allows for."});
    }

    void commitSnapsOntoTheIncrement()
    {
        QTreeView lcView;
        tcGenApiDelegate lcDelegate(mpModel);
        lcView.setModel(mpModel.data());
        lcView.setItemDelegateForColumn(1, &lcDelegate);
        lcView.expandAll();
        lcView.show();
        const QModelIndex lcIndex = row("Stepped", 1);
        lcView.edit(lcIndex);
        auto* lpSpin = lcView.indexWidget(lcIndex) ? qobject_cast<QSpinBox*>(lcView.indexWidget(lcIndex))
                                                   : lcView.findChild<QSpinBox*>();
        QVERIFY(lpSpin);
        lpSpin->setValue(10);
        emit lpSpin->editingFinished();
        QCOMPARE(lpSpin->value(), 8);
        QCOMPARE(CIntegerPtr(node("Stepped"))->GetValue(), 8);
    }

    void openingAnEditorWritesNothing()
    {
        tcEditingTree lcView;
        tcGenApiDelegate lcDelegate(mpModel);
        lcView.setModel(mpModel.data());
        lcView.setItemDelegateForColumn(1, &lcDelegate);
        lcView.expandAll();
        lcView.show();
        for (const char* lpName : {"Flag", "Mode", "Ratio", "Reg4"})
        {
            mpPort->resetCounts();
            const QModelIndex lcIndex = row(lpName, 1);
            lcView.setCurrentIndex(lcIndex);
            lcView.edit(lcIndex);
            QVERIFY2(lcView.editing(), lpName);
            lcView.setCurrentIndex(row("Loose", 1).isValid() ? row("Loose", 1) : mpModel->index(1, 0));
            QCoreApplication::processEvents();
            QCOMPARE(mpPort->writeCount(), 0);
        }
        QCOMPARE(row("Ratio", 1).data().toDouble(), 0.125);
        QVERIFY(CBooleanPtr(node("Flag"))->GetValue());
    }

    void enumerationCommitsOnSelection()
    {
        QTreeView lcView;
        tcGenApiDelegate lcDelegate(mpModel);
        lcView.setModel(mpModel.data());
        lcView.setItemDelegateForColumn(1, &lcDelegate);
        lcView.expandAll();
        lcView.show();
        const QModelIndex lcIndex = row("Mode", 1);
        lcView.edit(lcIndex);
        auto* lpSelector = lcView.findChild<tcEnumSelector*>();
        QVERIFY(lpSelector);
        lpSelector->setCurrentIndex(lpSelector->findText(QStringLiteral("Off")));
        QCOMPARE(mpPort->peekLE32(0x110), 0u);
        QCOMPARE(row("Mode", 1).data().toString(), QStringLiteral("Off"));
    }

    void registerCommitsHexDigits()
    {
        tcGenApiDelegate lcDelegate(mpModel);
        QWidget lcParent;
        auto* lpRegister = qobject_cast<QLineEdit*>(editor(lcDelegate, &lcParent, "Reg4"));
        lpRegister->setText(QStringLiteral("00ABCDEF"));
        lcDelegate.setModelData(lpRegister, mpModel.data(), row("Reg4", 1));
        QCOMPARE(mpPort->peekLE32(0x140), 0x00ABCDEFu);
    }

    void commandExecutesWithoutTouchingTheModel()
    {
        tcGenApiDelegate lcDelegate(mpModel);
        QWidget lcParent;
        auto* lpGo = qobject_cast<QPushButton*>(editor(lcDelegate, &lcParent, "Go"));
        QSignalSpy lcChanged(mpModel.data(), &QAbstractItemModel::dataChanged);
        QSignalSpy lcCommits(&lcDelegate, &QAbstractItemDelegate::commitData);
        lpGo->click();
        QCOMPARE(mpPort->peekLE32(0x130), 1u);
        QCOMPARE(lcChanged.size(), 0);
        QCOMPARE(lcCommits.size(), 0);
        mpPort->pokeLE32(0x130, 0);
        lcDelegate.setModelData(lpGo, mpModel.data(), row("Go", 1));
        QCOMPARE(mpPort->writeCount(), 1);
    }

    void styleOptionShowsPlainText()
    {
        tcGenApiDelegate lcDelegate(mpModel);
        QCOMPARE(lcDelegate.displayText(QVariant(qlonglong(1234567)), QLocale(QLocale::German)),
                 QStringLiteral("1234567"));
        QCOMPARE(lcDelegate.displayText(QVariant(0.5), QLocale(QLocale::German)), QStringLiteral("0.5"));
    }

    void dialogForm()
    {
        tcGenICamParamsDialog lcDialog(nullptr, mpModel);
        QCOMPARE(lcDialog.objectName(), QStringLiteral("GenICamParams"));
        QCOMPARE(lcDialog.windowTitle(), QStringLiteral("Dialog"));
        QCOMPARE(lcDialog.size(), QSize(516, 412));
        QVERIFY(lcDialog.isSizeGripEnabled());
        QTreeView* lpTree = lcDialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(lpTree);
        QCOMPARE(lpTree->model(), mpModel.data());
        QCOMPARE(lpTree->editTriggers(), QAbstractItemView::CurrentChanged |
                                             QAbstractItemView::SelectedClicked |
                                             QAbstractItemView::EditKeyPressed);
        QVERIFY(qobject_cast<tcGenApiDelegate*>(lpTree->itemDelegateForColumn(1)));
        QVERIFY(!qobject_cast<tcGenApiDelegate*>(lpTree->itemDelegateForColumn(0)));
        QCOMPARE(mpModel->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Attribute"));
        QCOMPARE(mpModel->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
        QCOMPARE(lcDialog.findChild<QLabel*>(QStringLiteral("StringParameter"))->text(),
                 QStringLiteral("Parameter"));

        lcDialog.show();
        QVERIFY(lpTree->columnWidth(0) >= 100);

        auto* lpDescription = lcDialog.findChild<QLabel*>(QStringLiteral("StringDescription"));
        QVERIFY(lpDescription->text().isEmpty());
        lcDialog.ItemClicked(row("Stepped", 0));
        QCOMPARE(lpDescription->text(), QStringLiteral("Step tip"));
        lcDialog.ItemClicked(mpModel->index(0, 0));
        QCOMPARE(lpDescription->text(), QStringLiteral("Step tip"));
        lcDialog.ItemClicked(row("Fixed", 1));
        QCOMPARE(lpDescription->text(), QStringLiteral("Fixed tip"));
    }

    // The value column is read from the device for every repaint, but only
    // once per visible value.
    void repaintReadsEachVisibleValueOnce()
    {
        tcGenICamParamsDialog lcDialog(nullptr, mpModel);
        lcDialog.resize(600, 900);
        lcDialog.show();
        QTreeView* lpTree = lcDialog.treeView();
        lpTree->expandAll();
        QCoreApplication::processEvents();
        lpTree->viewport()->grab();
        const int lnBefore = mpPort->readCount();
        lpTree->viewport()->grab();
        // Counter is the one uncached, readable value on screen.
        QCOMPARE(mpPort->readCount() - lnBefore, 1);
    }

    void emptyAndMissingMaps()
    {
        tcGenICamModel lcNull(nullptr);
        QCOMPARE(lcNull.rowCount(), 0);
        CNodeMapRef lcEmpty("Device");
        tcGenICamModel lcEmptyModel(&lcEmpty);
        QCOMPARE(lcEmptyModel.rowCount(), 0);
        CNodeMapRef lcNoRoot("Device");
        lcNoRoot._LoadXMLFromString(
            wrap(
                "<Category Name=\"Top\"><pFeature>X</pFeature></Category><Integer Name=\"X\"><Value>1</Value>"
                "</Integer><Port Name=\"Device\"/>")
                .c_str());
        tcGenICamModel lcNoRootModel(&lcNoRoot);
        QCOMPARE(lcNoRootModel.rowCount(), 0);
        tcGenICamParamsDialog lcDialog(nullptr, static_cast<tcCameraInterface*>(nullptr));
        QCOMPARE(lcDialog.model()->rowCount(), 0);
    }

    // Every feature of every simulated camera appears in the dialog and gets
    // an editor that can be opened and closed.
    void simulatedCameras_data()
    {
        QTest::addColumn<QString>("deviceId");
        QTest::newRow("mono") << tnSimcam::kMonoId;
        QTest::newRow("colour") << tnSimcam::kColorId;
        QTest::newRow("sensor") << tnSimcam::kSensorId;
    }

    void simulatedCameras()
    {
        QFETCH(QString, deviceId);
        tcSimcamFixture lcSim;
        QVERIFY(lcSim.openDevice(deviceId));
        tcCameraInterface lcCamera(nullptr);
        QTemporaryDir lcCache;
        tcLoadTracer lcTracer;
        QVERIFY(tcDescriptionLoader::load(lcSim.binding(), lcCamera.nodeMap(), lcCache.path(), lcTracer)
                    .mbLoaded);
        QVERIFY(lcSim.binding().attachPort(lcCamera.nodeMap()));

        tcGenICamParamsDialog lcDialog(nullptr, &lcCamera);
        lcDialog.show();
        auto& lrModel = *lcDialog.model();
        QVERIFY(lrModel.rowCount() > 0);

        // Every feature below a first-level category has its row.
        QSet<QString> lsRows;
        forEachFeature(lrModel, [&](const QModelIndex& arName, const QModelIndex&)
                       { lsRows.insert(arName.data().toString()); });
        CCategoryPtr lpRoot = lcCamera.nodeMap()._GetNode("Root");
        FeatureList_t lcTop;
        lpRoot->GetFeatures(lcTop);
        int lnExpected = 0;
        for (IValue* lpTop : lcTop)
        {
            CCategoryPtr lpCategory(lpTop);
            if (!lpCategory.IsValid())
                continue;
            FeatureList_t lcFeatures;
            lpCategory->GetFeatures(lcFeatures);
            for (IValue* lpFeature : lcFeatures)
            {
                ++lnExpected;
                QVERIFY2(lsRows.contains(QString::fromLatin1(lpFeature->GetNode()->GetName().c_str())),
                         lpFeature->GetNode()->GetName().c_str());
            }
        }
        QVERIFY(lnExpected > 10);

        // Open and close the editor of every readable or writable value; an
        // editor closed without a change writes nothing.
        QTreeView* lpTree = lcDialog.treeView();
        lpTree->expandAll();
        tcMessageCapture lcMessages;
        int lnEditors = 0;
        forEachFeature(lrModel,
                       [&](const QModelIndex&, const QModelIndex& arValue)
                       {
                           const CNodePtr lpNode = lrModel.nodeOf(arValue);
                           if (lpNode->GetPrincipalInterfaceType() == intfICommand)
                               return;
                           const QVariant lcBefore = arValue.data();
                           // The dialog's tree opens an editor (a new child of its
                           // viewport) on a change of the current cell.
                           QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                           const int lnBefore = editorCount(lpTree);
                           lpTree->setCurrentIndex(arValue);
                           if (editorCount(lpTree) > lnBefore)
                               ++lnEditors;
                           lpTree->setCurrentIndex(lrModel.index(0, 0));
                           QCOMPARE(arValue.data(), lcBefore);
                       });
        QVERIFY(lnEditors > 10);
        // Wide 64-bit features may warn about the spin box's limit; nothing else.
        const QStringList lsWarnings = lcMessages.warnings().filter(
            QRegularExpression("^(?!Limit is larger than edit box allows for\\.$)"));
        QVERIFY2(lsWarnings.isEmpty(), qPrintable(lsWarnings.join('\n')));
    }

    void realDescriptions_data()
    {
        KX_SKIP_WITHOUT_SHARED_DESCRIPTIONS();
        QTest::addColumn<QString>("file");
        for (const QString& lsFile : QDir(testdata(QString())).entryList({"*.xml", "*.zip"}, QDir::Files))
            QTest::newRow(qPrintable(lsFile)) << lsFile;
    }

    void realDescriptions()
    {
        QFETCH(QString, file);
        CNodeMapRef lcMap("Device");
        const QByteArray lcPath = testdata(file).toLocal8Bit();
        if (file.endsWith(QLatin1String(".zip")))
            lcMap._LoadXMLFromZIPFile(lcPath.constData());
        else
            lcMap._LoadXMLFromFile(lcPath.constData());
        tcMemoryPort lcPort;
        lcMap._Connect(&lcPort, "Device");

        QElapsedTimer lcTimer;
        lcTimer.start();
        auto lpModel = QSharedPointer<tcGenICamModel>::create(&lcMap);
        const qint64 lnBuildMs = lcTimer.elapsed();
        int lnRows = 0;
        forEachFeature(*lpModel, [&lnRows](const QModelIndex&, const QModelIndex&) { ++lnRows; });
        qInfo().noquote() << file << "tree of" << lpModel->rowCount() << "categories and" << lnRows
                          << "features built in" << lnBuildMs << "ms";
        QVERIFY(lpModel->rowCount() > 0);

        tcGenICamParamsDialog lcDialog(nullptr, lpModel);
        lcDialog.show();
        lcDialog.treeView()->expandAll();
        lcDialog.treeView()->viewport()->grab();
        lcDialog.treeView()->verticalScrollBar()->setValue(
            lcDialog.treeView()->verticalScrollBar()->maximum());
        lcDialog.treeView()->viewport()->grab();
    }
};

QTEST_MAIN(tst_GenICamModel)
#include "tst_genicammodel.moc"
