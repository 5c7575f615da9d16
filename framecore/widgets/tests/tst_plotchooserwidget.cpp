#include "plotchooserwidget.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

namespace
{
// A chooser of the kind a plottable plugin provides.
class tcHistogramChooser : public tcPlotChooserWidget
{
public:
    tcHistogramChooser()
    {
        mpLabel1->setText(QStringLiteral("Bins"));
        mpSpinBox1->setRange(1, 4096);
        mpLabel2->hide();
        mpSpinBox2->hide();
    }
    void addSources() { mpSourceCombo->addItems({"Histogram", "Profile"}); }
    QString GetKey(QMap<QString, QVariant>& arAttributes) override
    {
        if (mpSourceCombo->currentIndex() < 0)
            return QString();
        arAttributes.insert(QStringLiteral("title"), GetSuggestedTitle());
        return QStringLiteral("%1:%2").arg(mpSourceCombo->currentText()).arg(mpSpinBox1->value());
    }
};
} // namespace

class tst_PlotChooserWidget : public QObject
{
    Q_OBJECT

private slots:
    void form()
    {
        tcHistogramChooser lcChooser;
        QCOMPARE(lcChooser.windowTitle(), QStringLiteral("Plot Source"));
        auto* lpLayout = lcChooser.findChild<QVBoxLayout*>(QStringLiteral("mpLayout"));
        QVERIFY(lpLayout);
        QCOMPARE(lpLayout->count(), 4);
        QCOMPARE(lpLayout->itemAt(0)->widget(),
                 lcChooser.findChild<QComboBox*>(QStringLiteral("mpSourceCombo")));
        QCOMPARE(lpLayout->itemAt(1)->layout()->objectName(), QStringLiteral("horizontalLayout"));
        QCOMPARE(lpLayout->itemAt(2)->layout()->objectName(), QStringLiteral("horizontalLayout_2"));
        QVERIFY(lpLayout->itemAt(3)->spacerItem());
        QCOMPARE(lpLayout->itemAt(3)->spacerItem()->sizeHint(), QSize(20, 40));
        QVERIFY(lpLayout->itemAt(3)->expandingDirections() & Qt::Vertical);
        QCOMPARE(lcChooser.findChild<QLabel*>(QStringLiteral("mpLabel2"))->text(), QStringLiteral("Label 2"));
        QCOMPARE(lpLayout->itemAt(1)->layout()->itemAt(1)->widget(),
                 lcChooser.findChild<QSpinBox*>(QStringLiteral("mpSpinBox1")));
        QCOMPARE(lpLayout->itemAt(2)->layout()->itemAt(1)->widget(),
                 lcChooser.findChild<QSpinBox*>(QStringLiteral("mpSpinBox2")));
    }

    void namesFollowTheCombo()
    {
        tcHistogramChooser lcChooser;
        QMap<QString, QVariant> lcAttributes;
        QCOMPARE(lcChooser.GetCurrentSourceName(), QString());
        QCOMPARE(lcChooser.GetSuggestedTitle(), QString());
        QCOMPARE(lcChooser.GetKey(lcAttributes), QString());
        QVERIFY(lcAttributes.isEmpty());

        lcChooser.addSources();
        lcChooser.findChild<QComboBox*>()->setCurrentIndex(1);
        QCOMPARE(lcChooser.GetCurrentSourceName(), QStringLiteral("Profile"));
        QCOMPARE(lcChooser.GetSuggestedTitle(), QStringLiteral("Profile"));
        QCOMPARE(lcChooser.GetKey(lcAttributes), QStringLiteral("Profile:1"));
        QCOMPARE(lcAttributes.value(QStringLiteral("title")).toString(), QStringLiteral("Profile"));
    }

    void operationsAreSlots()
    {
        tcHistogramChooser lcChooser;
        lcChooser.addSources();
        QString lsName;
        QVERIFY(QMetaObject::invokeMethod(&lcChooser, "GetCurrentSourceName", Q_RETURN_ARG(QString, lsName)));
        QCOMPARE(lsName, QStringLiteral("Histogram"));
        QVERIFY(lcChooser.metaObject()->indexOfSignal("Changed()") >= 0);
        const int lnKey = lcChooser.metaObject()->indexOfSlot("GetKey(QMap<QString,QVariant>&)");
        const int lnName = lcChooser.metaObject()->indexOfSlot("GetCurrentSourceName()");
        const int lnTitle = lcChooser.metaObject()->indexOfSlot("GetSuggestedTitle()");
        QVERIFY(lnKey >= 0);
        QVERIFY(lnKey < lnName && lnName < lnTitle);
    }
};

QTEST_MAIN(tst_PlotChooserWidget)
#include "tst_plotchooserwidget.moc"
