#include "devicedialog.h"
#include "gentlinterface.h"
#include "gentltreemodel.h"
#include "messagecapture.h"
#include "simcamfixture.h"

#include <QTreeView>
#include <QtTest>

namespace
{
QTreeView* treeOf(DeviceDialog& arDialog)
{
    return arDialog.findChild<QTreeView*>(QStringLiteral("GenTLTreeView"));
}
} // namespace

class tst_DeviceDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void treeListsInterfacesAndDevices()
    {
        tcSimcamFixture lcSim;
        GenTLTreeModel lcModel;
        QCOMPARE(lcModel.rowCount(), 0);
        QCOMPARE(lcModel.columnCount(), 3);
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());

        QCOMPARE(lcModel.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Interface"));
        QCOMPARE(lcModel.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Model"));
        QCOMPARE(lcModel.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Serial Number"));
        QVERIFY(!lcModel.headerData(0, Qt::Vertical).isValid());

        QCOMPARE(lcModel.rowCount(), 2);
        const QModelIndex lcFirst = lcModel.index(0, 0);
        const QModelIndex lcSecond = lcModel.index(1, 0);
        QCOMPARE(lcModel.rowCount(lcFirst), 3);
        QCOMPARE(lcModel.rowCount(lcSecond), 0);
        QCOMPARE(lcModel.rowCount(lcModel.index(0, 1)), 0); // only column 0 has children

        const QModelIndex lcMono = lcModel.index(0, 0, lcFirst);
        QCOMPARE(lcMono.data().toString(), QString::fromLatin1(tnSimcam::kMonoId));
        QCOMPARE(lcModel.index(0, 1, lcFirst).data().toString(), QString::fromLatin1(tnSimcam::kMonoModel));
        QVERIFY(!lcModel.index(0, 2, lcFirst).data().toString().isEmpty());
        QVERIFY(!lcMono.data(Qt::ToolTipRole).isValid());
        QCOMPARE(lcModel.parent(lcMono), lcFirst);
        QCOMPARE(lcModel.parent(lcFirst), QModelIndex());
        QCOMPARE(lcModel.interfaceIndex(lcMono), 0);
        QCOMPARE(lcModel.flags(QModelIndex()), Qt::NoItemFlags);
        QVERIFY(lcModel.flags(lcMono) & Qt::ItemIsSelectable);
    }

    void failingSerialNumberShowsTheCode()
    {
        // Model and serial number are asked in turn; the second call is the
        // first camera's serial number.
        tcSimcamFixture lcSim("IFGetDeviceInfo=-1010@2");
        GenTLTreeModel lcModel;
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        const QModelIndex lcFirst = lcModel.index(0, 0);
        QCOMPARE(lcModel.index(0, 2, lcFirst).data().toString(), QStringLiteral("Err:-1010"));
        QCOMPARE(lcModel.index(0, 1, lcFirst).data().toString(), QString::fromLatin1(tnSimcam::kMonoModel));
        QVERIFY(lcModel.index(0, 0, lcFirst).flags() & Qt::ItemIsSelectable);
    }

    void failingInterfaceIsClosedAgain()
    {
        // The device count fails on the first interface: its row stays empty
        // and the interface is closed again, so the device can still be opened.
        tcSimcamFixture lcSim("IFGetNumDevices=-1010@1");
        GenTLTreeModel lcModel;
        tcMessageCapture lcMessages;
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        QCOMPARE(lcModel.rowCount(lcModel.index(0, 0)), 0);
        QCOMPARE(lcMessages.warnings(), QStringList{"Unable to get number of devices SimIF0:-1010"});
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
    }

    void interfaceInUseShowsNoDevices()
    {
        tcSimcamFixture lcSim;
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
        GenTLTreeModel lcModel;
        tcMessageCapture lcMessages;
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        QCOMPARE(lcModel.rowCount(), 2);
        QCOMPARE(lcMessages.warnings().size(), 1);
        QVERIFY(lcMessages.warnings().first().startsWith(QStringLiteral("Unable to open interface SimIF0:")));
        // The open camera's interface was not closed by the tree.
        uint32_t lnDevices = 0;
        QCOMPARE(lcSim.binding().functions().IFGetNumDevices(lcSim.binding().iface(), &lnDevices), 0);
        QCOMPARE(lnDevices, 3u);
    }

    void refreshWithoutChangeKeepsTheTree()
    {
        tcSimcamFixture lcSim;
        GenTLTreeModel lcModel;
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        QSignalSpy lcResets(&lcModel, &QAbstractItemModel::modelReset);
        lcModel.refresh();
        lcModel.refresh();
        QCOMPARE(lcResets.size(), 0);
        QCOMPARE(lcModel.rowCount(lcModel.index(0, 0)), 3);
    }

    void refreshRebuildsOnChange_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::newRow("interfaces") << QByteArray("STUB_INTERFACES_CHANGED");
        QTest::newRow("devices") << QByteArray("STUB_DEVICES_CHANGED");
    }

    void refreshRebuildsOnChange()
    {
        QFETCH(QByteArray, variable);
        tcGenTLInterface lcBinding(tcSimcamFixture::stubPath("full"), nullptr);
        QVERIFY(lcBinding.initialize());
        auto lpOpenInterfaces = reinterpret_cast<int (*)()>(lcBinding.resolve("StubOpenInterfaces"));
        QVERIFY(lpOpenInterfaces);
        GenTLTreeModel lcModel;
        lcModel.populate(&lcBinding, lcBinding.handle());
        QCOMPARE(lcModel.rowCount(), 1);
        QSignalSpy lcResets(&lcModel, &QAbstractItemModel::modelReset);

        lcModel.refresh();
        QCOMPARE(lcResets.size(), 0);
        qputenv(variable.constData(), "1");
        lcModel.refresh();
        lcModel.refresh();
        qunsetenv(variable.constData());
        QCOMPARE(lcResets.size(), 2);
        QCOMPARE(lcModel.rowCount(), 1);
        // Every interface the tree opened was closed again.
        QCOMPARE(lpOpenInterfaces(), 0);
    }

    void dialogExpandsInterfacesWithDevices()
    {
        tcSimcamFixture lcSim;
        GenTLTreeModel lcModel;
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        DeviceDialog lcDialog(nullptr, &lcModel, &lcSim.binding());
        QCOMPARE(lcDialog.objectName(), QStringLiteral("DeviceDialog"));
        QCOMPARE(lcDialog.windowTitle(), QStringLiteral("Dialog"));
        QCOMPARE(lcDialog.size(), QSize(400, 300));
        QTreeView* lpTree = treeOf(lcDialog);
        QVERIFY(lpTree);
        QCOMPARE(lpTree->selectionBehavior(), QAbstractItemView::SelectRows);
        QVERIFY(lpTree->isExpanded(lcModel.index(0, 0)));
        QVERIFY(!lpTree->isExpanded(lcModel.index(1, 0)));

        // A rebuilt model is expanded again.
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        QVERIFY(lpTree->isExpanded(lcModel.index(0, 0)));
    }

    void choosingRows()
    {
        tcSimcamFixture lcSim;
        GenTLTreeModel lcModel;
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        DeviceDialog lcDialog(nullptr, &lcModel, &lcSim.binding());
        QSignalSpy lcAccepted(&lcDialog, &QDialog::accepted);
        const QModelIndex lcInterface = lcModel.index(0, 0);
        const QModelIndex lcColour = lcModel.index(1, 2, lcInterface);

        lcDialog.ItemClicked(lcColour);
        QCOMPARE(lcDialog.deviceId(), QString::fromLatin1(tnSimcam::kColorId));
        QCOMPARE(lcDialog.deviceModel(), QString::fromLatin1(tnSimcam::kColorModel));

        lcDialog.ItemDoubleClicked(lcInterface);
        QCOMPARE(lcAccepted.size(), 0);
        QCOMPARE(lcDialog.deviceId(), QString::fromLatin1(tnSimcam::kColorId));

        lcDialog.ItemClicked(lcInterface);
        QCOMPARE(lcDialog.deviceId(), QStringLiteral("SimIF0"));
        QCOMPARE(lcDialog.interfaceIndex(), 0);

        lcDialog.ItemDoubleClicked(lcModel.index(2, 0, lcInterface));
        QCOMPARE(lcAccepted.size(), 1);
        QCOMPARE(lcDialog.deviceId(), QString::fromLatin1(tnSimcam::kSensorId));
        QCOMPARE(lcDialog.result(), int(QDialog::Accepted));
    }

    void dialogRefreshesWhileOpen()
    {
        tcSimcamFixture lcSim;
        GenTLTreeModel lcModel;
        lcModel.populate(&lcSim.binding(), lcSim.binding().handle());
        DeviceDialog lcDialog(nullptr, &lcModel, &lcSim.binding());
        tcMessageCapture lcMessages;
        // Opening the camera's interface elsewhere makes every refresh warn.
        QVERIFY(lcSim.openDevice(tnSimcam::kMonoId));
        QTRY_VERIFY_WITH_TIMEOUT(lcMessages.warnings().size() >= 2, 3000);
        QVERIFY(lcMessages.warnings().first().startsWith(QStringLiteral("Unable to open interface SimIF0:")));
    }
};

QTEST_MAIN(tst_DeviceDialog)
#include "tst_devicedialog.moc"
