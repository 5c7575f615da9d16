#include "genidoublespinbox.h"

#include "featurenodes.h"
#include "messagecapture.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

using namespace GenApi;

class tst_GenIDoubleSpinBox : public QObject
{
    Q_OBJECT

private slots:
    void unbound()
    {
        tcGenIDoubleSpinBox lcBox;
        QCOMPARE(lcBox.getName(), QStringLiteral("tcGenIDoubleSpinBox"));
        QCOMPARE(lcBox.getScalar(), 1.0);
        lcBox.setScalar(0.0);
        QCOMPARE(lcBox.getScalar(), 1.0);
        lcBox.setScalar(std::nan(""));
        QVERIFY(std::isnan(lcBox.getScalar()));
        lcBox.setNode(nullptr);
        QVERIFY(!lcBox.isEnabled());
    }

    void showsRangeToolTipAndValue()
    {
        tcFeatureNodes lcNodes;
        tcGenIDoubleSpinBox lcBox;
        lcBox.setNode(lcNodes.node("Gain"));
        QVERIFY(lcBox.isEnabled());
        QCOMPARE(lcBox.minimum(), 0.5);
        QCOMPARE(lcBox.maximum(), 24.0);
        QCOMPARE(lcBox.value(), 2.5);
        QCOMPARE(lcBox.toolTip(), QStringLiteral("Gain\nRange: 0.5 - 24"));
    }

    void scalarThousand()
    {
        tcFeatureNodes lcNodes;
        tcGenIDoubleSpinBox lcBox;
        lcBox.setScalar(1000.0);
        lcBox.setNode(lcNodes.node("Exposure"));
        QCOMPARE(lcBox.value(), 5.0);
        QCOMPARE(lcBox.maximum(), 1000.0);
        QCOMPARE(lcBox.toolTip(), QStringLiteral("Exposure in seconds\nRange: 0 - 1000"));
        lcBox.setValue(7.0);
        emit lcBox.editingFinished();
        QCOMPARE(CFloatPtr(lcNodes.node("Exposure"))->GetValue(), 0.007);

        // Unchanged: no write.
        lcNodes.port().resetCounts();
        lcNodes.map()._InvalidateNodes();
        emit lcBox.editingFinished();
        QCOMPARE(CFloatPtr(lcNodes.node("Exposure"))->GetValue(), 0.007);
    }

    void followsChangesMadeElsewhere()
    {
        tcFeatureNodes lcNodes;
        tcGenIDoubleSpinBox lcBox;
        lcBox.setNode(lcNodes.node("Gain"));
        lcBox.setNode(lcNodes.node("Gain"));
        CFloatPtr(lcNodes.node("Gain"))->SetValue(12.25);
        QCOMPARE(lcBox.value(), 12.25);
        QCOMPARE(CFloatPtr(lcNodes.node("Gain"))->GetValue(), 12.25);
    }

    void outOfRangeWriteEmitsError()
    {
        tcFeatureNodes lcNodes;
        tcGenIDoubleSpinBox lcBox;
        lcBox.setNode(lcNodes.node("RegFloat"));
        // The device stops answering after the box loaded the feature.
        lcNodes.port().setFailingRange(0x200, 4);
        QSignalSpy lcErrors(&lcBox, &tcGenIDoubleSpinBox::Error);
        tcMessageCapture lcMessages;
        lcBox.setValue(20.0);
        emit lcBox.editingFinished();
        QCOMPARE(lcErrors.size(), 1);
        QVERIFY(!lcErrors.first().first().toString().isEmpty());
        QCOMPARE(lcMessages.warnings().size(), 1);
        QCOMPARE(lcBox.value(), 20.0);
    }

    void unavailableFeatureUnbinds()
    {
        tcFeatureNodes lcNodes;
        tcGenIDoubleSpinBox lcBox;
        lcBox.setDValue(CFloatPtr(lcNodes.node("Gain")));
        QCOMPARE(lcBox.getNode(), lcNodes.node("Gain"));
        lcBox.setDValue(CFloatPtr(lcNodes.node("AbsentFloat")));
        QVERIFY(!lcBox.getNode());
        QVERIFY(!lcBox.isEnabled());
        // No longer bound: a change of the old feature is not followed.
        CFloatPtr(lcNodes.node("Gain"))->SetValue(4.0);
        QCOMPARE(lcBox.value(), 2.5);
    }

    void unbindingWithAnEditPendingWritesNothing()
    {
        // The camera goes while the user is typing: taking the focus away
        // from the box must not write to the feature it was bound to.
        tcFeatureNodes lcNodes;
        tcGenIDoubleSpinBox lcBox;
        lcBox.setNode(lcNodes.node("Gain"));
        lcBox.show();
        lcBox.activateWindow();
        lcBox.setFocus();
        QTRY_VERIFY(lcBox.hasFocus());
        lcBox.setValue(7.5);
        const double ldValue = CFloatPtr(lcNodes.node("Gain"))->GetValue();
        lcBox.setNode(nullptr);
        QVERIFY(!lcBox.isEnabled());
        QCOMPARE(CFloatPtr(lcNodes.node("Gain"))->GetValue(), ldValue);
    }
};

QTEST_MAIN(tst_GenIDoubleSpinBox)
#include "tst_genidoublespinbox.moc"
