#include "genispinbox.h"

#include "featurenodes.h"
#include "messagecapture.h"

#include <QSignalSpy>
#include <QtTest>

#include <thread>

using namespace GenApi;

namespace
{
// Lines the box traces at debug level 1 for each refresh.
int refreshCount(const tcMessageCapture& arMessages)
{
    return arMessages.texts(QtDebugMsg).filter(QStringLiteral("tcGenISpinBox::refreshWidget")).size();
}
} // namespace

class tst_GenISpinBox : public QObject
{
    Q_OBJECT

private slots:
    void unboundIsDisabled()
    {
        tcGenISpinBox lcBox;
        QCOMPARE(lcBox.getName(), QStringLiteral("tcGenISpinBox"));
        QVERIFY(!lcBox.getNode());
        QCOMPARE(lcBox.getScalar(), 1);
        QCOMPARE(lcBox.getMinV(), std::numeric_limits<int>::min());
        QCOMPARE(lcBox.getMaxV(), std::numeric_limits<int>::max());
        lcBox.setNode(nullptr);
        QVERIFY(!lcBox.isEnabled());
    }

    void showsRangeToolTipAndValue()
    {
        tcFeatureNodes lcNodes;
        CIntegerPtr(lcNodes.node("Stepped"))->SetValue(64);
        tcGenISpinBox lcBox;
        lcBox.setNode(lcNodes.node("Stepped"));
        QVERIFY(lcBox.isEnabled());
        QCOMPARE(lcBox.getNode(), lcNodes.node("Stepped"));
        QCOMPARE(lcBox.minimum(), 0);
        QCOMPARE(lcBox.maximum(), 1000);
        QCOMPARE(lcBox.singleStep(), 16);
        QCOMPARE(lcBox.value(), 64);
        QCOMPARE(lcBox.toolTip(), QStringLiteral("Step size\nRange: 0 - 1000"));

        // Without a description the tool tip names the feature.
        lcBox.setNode(lcNodes.node("Plain"));
        QCOMPARE(lcBox.toolTip(), QStringLiteral("Plain\nRange: -10 - 10"));
    }

    void limitsBeyond32Bits()
    {
        tcFeatureNodes lcNodes;
        tcGenISpinBox lcBox;
        tcMessageCapture lcMessages;
        lcBox.setNode(lcNodes.node("Wide"));
        QCOMPARE(lcBox.maximum(), 2147483647);
        QCOMPARE(lcMessages.warnings(),
                 QStringList{"Wide Max 4294967295  is greater than edit box allows for."});
        lcBox.setMaxV(100000);
        QCOMPARE(lcBox.getMaxV(), 100000);
        QCOMPARE(lcBox.maximum(), 100000);

        lcBox.setMinV(-1000);
        lcMessages.clear();
        lcBox.setNode(lcNodes.node("Deep"));
        QCOMPARE(lcBox.minimum(), -1000);
        QCOMPARE(lcBox.value(), -7);
        QCOMPARE(lcMessages.warnings(),
                 QStringList{"Deep Min ( -5000000000 ) is less than edit box allows for."});
    }

    void writesOnTheIncrementGrid()
    {
        tcFeatureNodes lcNodes;
        tcGenISpinBox lcBox;
        lcBox.setNode(lcNodes.node("Stepped"));
        lcBox.setValue(33);
        emit lcBox.editingFinished();
        QCOMPARE(CIntegerPtr(lcNodes.node("Stepped"))->GetValue(), 32);
        QCOMPARE(lcBox.value(), 32);

        // An unchanged value is not written again.
        lcNodes.port().resetCounts();
        emit lcBox.editingFinished();
        QCOMPARE(lcNodes.port().writeCount(), 0);
    }

    void scalarMultipliesForDisplay()
    {
        tcFeatureNodes lcNodes;
        tcGenISpinBox lcBox;
        lcBox.setScalar(0);
        QCOMPARE(lcBox.getScalar(), 1);
        lcBox.setScalar(10);
        lcBox.setNode(lcNodes.node("Plain"));
        QCOMPARE(lcBox.minimum(), -100);
        QCOMPARE(lcBox.maximum(), 100);
        QCOMPARE(lcBox.value(), 30);
        lcBox.setValue(-45);
        emit lcBox.editingFinished();
        QCOMPARE(CIntegerPtr(lcNodes.node("Plain"))->GetValue(), -4);
    }

    void readOnlyAndUnavailable()
    {
        tcFeatureNodes lcNodes;
        lcNodes.port().pokeLE32(0x110, 12);
        tcGenISpinBox lcBox;
        lcBox.setNode(lcNodes.node("ReadOnly"));
        QCOMPARE(lcBox.value(), 12);
        // Readable: shown, but a write-back does nothing.
        lcBox.setValue(13);
        emit lcBox.editingFinished();
        QCOMPARE(lcNodes.port().peekLE32(0x110), 12u);

        lcBox.setIValue(CIntegerPtr(lcNodes.node("Absent")));
        QVERIFY(!lcBox.getNode());
        QVERIFY(!lcBox.isEnabled());
        lcBox.setIValue(nullptr);
        QVERIFY(!lcBox.getNode());
        lcBox.setIValue(CIntegerPtr(lcNodes.node("Plain")));
        QCOMPARE(lcBox.getNode(), lcNodes.node("Plain"));
        QVERIFY(lcBox.isEnabled());
    }

    void followsChangesMadeElsewhere()
    {
        tcFeatureNodes lcNodes;
        tcGenISpinBox lcBox;
        lcBox.SetDbgLevel(1);
        lcBox.setNode(lcNodes.node("Stepped"));
        // Binding the same node again must not add a second registration.
        lcBox.setNode(lcNodes.node("Stepped"));
        lcBox.refreshWidget();

        tcMessageCapture lcMessages;
        CIntegerPtr lpStepped(lcNodes.node("Stepped"));
        lpStepped->SetValue(48);
        QCOMPARE(lcBox.value(), 48);
        QCOMPARE(refreshCount(lcMessages), 1);
        lpStepped->SetValue(96);
        lpStepped->SetValue(112);
        QCOMPARE(lcBox.value(), 112);
        QCOMPARE(refreshCount(lcMessages), 3);
        // A refresh never writes back.
        QCOMPARE(lpStepped->GetValue(), 112);

        // After re-binding to another feature the old one is not followed.
        lcBox.setNode(lcNodes.node("Plain"));
        lcMessages.clear();
        lpStepped->SetValue(16);
        QCOMPARE(refreshCount(lcMessages), 0);
        QCOMPARE(lcBox.value(), 3);
    }

    void changeFromAnotherThreadIsShownInTheWidgetsThread()
    {
        tcFeatureNodes lcNodes;
        tcGenISpinBox lcBox;
        lcBox.setNode(lcNodes.node("Stepped"));
        std::thread lcWriter([&lcNodes] { CIntegerPtr(lcNodes.node("Stepped"))->SetValue(80); });
        lcWriter.join();
        QTRY_COMPARE(lcBox.value(), 80);
    }

    void destroyedBoxIsNotCalledBack()
    {
        tcFeatureNodes lcNodes;
        {
            tcGenISpinBox lcBox;
            lcBox.setNode(lcNodes.node("Stepped"));
        }
        CIntegerPtr(lcNodes.node("Stepped"))->SetValue(16);
        QCOMPARE(CIntegerPtr(lcNodes.node("Stepped"))->GetValue(), 16);
    }

    void unbindingWithAnEditPendingWritesNothing()
    {
        // The camera goes while the user is typing: taking the focus away
        // from the box must not write to the feature it was bound to.
        tcFeatureNodes lcNodes;
        tcGenISpinBox lcBox;
        lcBox.setNode(lcNodes.node("Stepped"));
        lcBox.show();
        lcBox.activateWindow();
        lcBox.setFocus();
        QTRY_VERIFY(lcBox.hasFocus());
        lcBox.setValue(48);
        const qint64 lnValue = CIntegerPtr(lcNodes.node("Stepped"))->GetValue();
        lcBox.setNode(nullptr);
        QVERIFY(!lcBox.isEnabled());
        QCOMPARE(CIntegerPtr(lcNodes.node("Stepped"))->GetValue(), lnValue);
    }
};

QTEST_MAIN(tst_GenISpinBox)
#include "tst_genispinbox.moc"
