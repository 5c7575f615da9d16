#include "enumselector.h"

#include "featurenodes.h"
#include "messagecapture.h"

#include <QMetaProperty>
#include <QtTest>

using namespace GenApi;

class tst_EnumSelector : public QObject
{
    Q_OBJECT

private slots:
    void valueIsTheUserProperty()
    {
        tcEnumSelector lcSelector;
        QCOMPARE(lcSelector.objectName(), QStringLiteral("EnumSelector"));
        const QMetaProperty lcUser = lcSelector.metaObject()->userProperty();
        QCOMPARE(QString::fromLatin1(lcUser.name()), QStringLiteral("value"));
        QCOMPARE(lcUser.userType(), int(QMetaType::LongLong));
        QVERIFY(lcUser.isWritable());
    }

    void populateListsAvailableEntries()
    {
        tcFeatureNodes lcNodes;
        lcNodes.port().pokeLE32(0x120, 1);
        tcEnumSelector lcSelector;
        lcSelector.addItem(QStringLiteral("stale"), 99);
        lcSelector.populate(CEnumerationPtr(lcNodes.node("Mode")));
        QCOMPARE(lcSelector.count(), 2);
        QCOMPARE(lcSelector.itemText(0), QStringLiteral("Off"));
        QCOMPARE(lcSelector.itemData(0).toLongLong(), 0);
        QCOMPARE(lcSelector.itemText(1), QStringLiteral("On"));
        QCOMPARE(lcSelector.itemData(1).toLongLong(), 1);
        QCOMPARE(lcSelector.currentText(), QStringLiteral("On"));
        QCOMPARE(lcSelector.value(), 1);
        QCOMPARE(lcSelector.property("value").toLongLong(), 1);
    }

    void populateWithoutNodeKeepsItems()
    {
        tcEnumSelector lcSelector;
        lcSelector.addItem(QStringLiteral("kept"), 3);
        lcSelector.populate(CEnumerationPtr());
        QCOMPARE(lcSelector.count(), 1);
    }

    void setValueSelectsExactMatchOnly()
    {
        tcFeatureNodes lcNodes;
        tcEnumSelector lcSelector;
        lcSelector.populate(CEnumerationPtr(lcNodes.node("Bounded")));
        QCOMPARE(lcSelector.currentText(), QStringLiteral("A"));
        lcSelector.setProperty("value", qlonglong(2));
        QCOMPARE(lcSelector.currentText(), QStringLiteral("C"));
        lcSelector.setValue(7);
        QCOMPARE(lcSelector.currentIndex(), -1);
        QCOMPARE(lcSelector.value(), 0);
        lcSelector.setValue(1);
        QCOMPARE(lcSelector.currentText(), QStringLiteral("B"));
    }

    void entriesAreTracedAtLevelOne()
    {
        tcFeatureNodes lcNodes;
        tcEnumSelector lcSelector;
        lcSelector.SetDbgLevel(1);
        tcMessageCapture lcMessages;
        lcSelector.populate(CEnumerationPtr(lcNodes.node("Mode")));
        const QStringList lsEntries = lcMessages.texts(QtDebugMsg).filter(QStringLiteral("Entry"));
        QCOMPARE(lsEntries.size(), 2);
        QVERIFY(lsEntries.last().contains(QStringLiteral("Entry 1 On 1")));
    }
};

QTEST_MAIN(tst_EnumSelector)
#include "tst_enumselector.moc"
