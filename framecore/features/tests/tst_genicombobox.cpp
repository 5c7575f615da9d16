#include "genicombobox.h"

#include "featurenodes.h"
#include "messagecapture.h"

#include <QSignalSpy>
#include <QtTest>

using namespace GenApi;

class tst_GenIComboBox : public QObject
{
    Q_OBJECT

private slots:
    void listsReadableEntries()
    {
        tcFeatureNodes lcNodes;
        lcNodes.port().pokeLE32(0x120, 1);
        tcGenIComboBox lcCombo;
        QCOMPARE(lcCombo.getName(), QStringLiteral("tcGenIComboBox"));
        lcNodes.port().resetCounts();
        lcCombo.setNode(lcNodes.node("Mode"));
        QVERIFY(lcCombo.isEnabled());
        QCOMPARE(lcCombo.count(), 2);
        QCOMPARE(lcCombo.itemText(0), QStringLiteral("Off"));
        QCOMPARE(lcCombo.itemText(1), QStringLiteral("On"));
        QCOMPARE(lcCombo.currentText(), QStringLiteral("On"));
        // Filling the box is not a choice of the user.
        QCOMPARE(lcNodes.port().writeCount(), 0);
    }

    void choiceIsWritten()
    {
        tcFeatureNodes lcNodes;
        tcGenIComboBox lcCombo;
        lcCombo.setNode(lcNodes.node("Mode"));
        QCOMPARE(lcCombo.currentText(), QStringLiteral("Off"));
        lcCombo.setCurrentIndex(1);
        QCOMPARE(lcNodes.port().peekLE32(0x120), 1u);
    }

    void refusedChoiceEmitsError()
    {
        tcFeatureNodes lcNodes;
        tcGenIComboBox lcCombo;
        lcCombo.setNode(lcNodes.node("Bounded"));
        QCOMPARE(lcCombo.count(), 3);
        QSignalSpy lcErrors(&lcCombo, &tcGenIComboBox::Error);
        tcMessageCapture lcMessages;
        lcCombo.setCurrentIndex(2);
        QCOMPARE(lcErrors.size(), 1);
        QVERIFY(!lcErrors.first().first().toString().isEmpty());
        QCOMPARE(lcMessages.warnings().size(), 1);
        QCOMPARE(lcCombo.currentText(), QStringLiteral("C"));
        QCOMPARE(CIntegerPtr(lcNodes.node("BoundedValue"))->GetValue(), 0);
        // The next refresh shows the camera's value again.
        lcCombo.refreshWidget();
        QCOMPARE(lcCombo.currentText(), QStringLiteral("A"));
        QCOMPARE(lcErrors.size(), 1);
    }

    void followsOnlyWhenRefreshed()
    {
        tcFeatureNodes lcNodes;
        tcGenIComboBox lcCombo;
        lcCombo.setNode(lcNodes.node("Mode"));
        CEnumerationPtr(lcNodes.node("Mode"))->FromString("On");
        QCOMPARE(lcCombo.currentText(), QStringLiteral("Off"));
        lcCombo.refreshWidget();
        QCOMPARE(lcCombo.currentText(), QStringLiteral("On"));
    }

    void readOnlyIsShownButNotWritten()
    {
        tcFeatureNodes lcNodes;
        lcNodes.port().pokeLE32(0x130, 1);
        tcGenIComboBox lcCombo;
        lcCombo.setNode(lcNodes.node("FixedMode"));
        QVERIFY(lcCombo.isEnabled());
        QCOMPARE(lcCombo.currentText(), QStringLiteral("Y"));
        lcCombo.setCurrentIndex(0);
        QCOMPARE(lcNodes.port().peekLE32(0x130), 1u);
    }

    void unboundOrUnreadableIsDisabled()
    {
        tcFeatureNodes lcNodes;
        tcGenIComboBox lcCombo;
        lcCombo.setNode(lcNodes.node("Mode"));
        lcCombo.setNode(nullptr);
        QVERIFY(!lcCombo.isEnabled());
        QVERIFY(!lcCombo.getNode());
        // Not an enumeration at all.
        lcCombo.setNode(lcNodes.node("Plain"));
        QVERIFY(!lcCombo.isEnabled());
    }
};

QTEST_MAIN(tst_GenIComboBox)
#include "tst_genicombobox.moc"
