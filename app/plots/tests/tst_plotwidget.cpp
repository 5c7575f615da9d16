#include "fakesource.h"
#include "plotchooser.h"
#include "plotcurvedata.h"
#include "plotwidget.h"
#include "pluginmanager.h"
#include "qtcolorpicker.h"
#include "settings.h"

#include <qwt_legend.h>
#include <qwt_legend_label.h>
#include <qwt_plot.h>
#include <qwt_scale_div.h>
#include <qwt_scale_draw.h>
#include <qwt_scale_widget.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <memory>

namespace
{
QVector<double> ramp(int anCount, double adStep = 1.0)
{
    QVector<double> lcValues;
    for (int lnIndex = 0; lnIndex < anCount; ++lnIndex)
        lcValues << lnIndex * adStep;
    return lcValues;
}

QVector<double> samplesY(const tcPlotCurveData* apCurve)
{
    QVector<double> lcY;
    for (size_t lnIndex = 0; lnIndex < apCurve->dataSize(); ++lnIndex)
        lcY << apCurve->sample(lnIndex).y();
    return lcY;
}

QwtLegendLabel* legendEntry(tcPlotWidget& arWidget, const QString& arText)
{
    for (QwtLegendLabel* lpLabel : arWidget.findChildren<QwtLegendLabel*>())
        if (lpLabel->data().title().text() == arText)
            return lpLabel;
    return nullptr;
}

// A plot window with one fake source whose keys "a" and "b" hold data.
struct tsWindow
{
    tsWindow()
    {
        mcSource.setData(QStringLiteral("a"), ramp(4), {1, 2, 3, 4});
        mcSource.setData(QStringLiteral("b"), ramp(3, 10), {5, 6, 7});
        mcWidget.onNewPlugin(&mcSource);
    }
    // Adds a curve through the chooser as the user does, showing key.
    tcPlotCurveData* add(const QString& arKey = QStringLiteral("a"))
    {
        mcWidget.addRow();
        QList<tcPlotChooser*> lsChoosers = mcWidget.findChildren<tcPlotChooser*>();
        if (lsChoosers.isEmpty())
            return nullptr;
        tcPlotChooser* lpChooser = lsChoosers.last();
        lpChooser->keyWidget()->findChild<QComboBox*>()->setCurrentText(arKey);
        tcPlotCurveData* lpCurve = mcWidget.curves().value(lpChooser->index());
        delete lpChooser;
        return lpCurve;
    }
    template <typename T> T* part(const char* apName)
    {
        return mcWidget.findChild<T*>(QString::fromLatin1(apName));
    }
    QwtPlot* plot() { return part<QwtPlot>("qwtPlot"); }

    tcFakeSource mcSource{QStringLiteral("Fake Source")};
    tcPlotWidget mcWidget;
};
} // namespace

class tst_PlotWidget : public QObject
{
    Q_OBJECT

private slots:
    void withoutSource()
    {
        tcPlotWidget lcWidget;
        QCOMPARE(lcWidget.windowTitle(), QStringLiteral("Plot: No Source"));
        QCOMPARE(lcWidget.objectName(), QStringLiteral("Plot Display"));
        QwtLegendLabel* lpAdd = legendEntry(lcWidget, QStringLiteral("Add Plot..."));
        QVERIFY(lpAdd);
        QTest::mouseClick(lpAdd, Qt::LeftButton);
        lcWidget.addRow();
        QVERIFY(lcWidget.findChildren<tcPlotChooser*>().isEmpty());
        QVERIFY(lcWidget.curves().isEmpty());
        QCOMPARE(lcWidget.fileTypes(), QStringList{QStringLiteral("CSV Files (*.csv)")});
        QVERIFY(lcWidget.dataReportText().isEmpty());
    }

    void windowMenuEntry()
    {
        QObject lcMenu;
        auto* lpWidget = new tcPlotWidget();
        QPointer<QAction> lpAction = lpWidget->createWindowAction(&lcMenu);
        QCOMPARE(lpAction->text(), QStringLiteral("Plot: No Source"));
        tcFakeSource lcSource(QStringLiteral("Fake Source"));
        lpWidget->onNewPlugin(&lcSource);
        QCOMPARE(lpAction->text(), QStringLiteral("Plot: Fake Source"));
        lpAction->trigger();
        delete lpWidget;
        QTRY_VERIFY(lpAction.isNull());
    }

    void sources()
    {
        tsWindow lcWindow;
        QCOMPARE(lcWindow.mcWidget.windowTitle(), QStringLiteral("Plot: Fake Source"));
        QCOMPARE(lcWindow.mcWidget.currentSource(), &lcWindow.mcSource);
        lcWindow.mcWidget.onNewPlugin(&lcWindow.mcSource);
        lcWindow.mcWidget.onNewPlugin(nullptr);
        lcWindow.mcWidget.onNewPlugin(new QObject(&lcWindow.mcWidget)); // no plottable
        QCOMPARE(lcWindow.mcWidget.sourceNames(), QStringList{QStringLiteral("Fake Source")});
        // A title of one's own wins over the source's name.
        lcWindow.part<QLineEdit>("mpTitleEdit")->setText(QStringLiteral("Mine"));
        QCOMPARE(lcWindow.mcWidget.windowTitle(), QStringLiteral("Mine"));
        lcWindow.part<QLineEdit>("mpTitleEdit")->clear();

        auto lpOther = std::make_unique<tcFakeSource>(QStringLiteral("Other"));
        lcWindow.mcWidget.onNewPlugin(lpOther.get());
        QVERIFY(lcWindow.add());
        // Changing source drops the curves.
        lcWindow.part<QComboBox>("mpSourceCombo")->setCurrentIndex(1);
        QCOMPARE(lcWindow.mcWidget.windowTitle(), QStringLiteral("Plot: Other"));
        QVERIFY(lcWindow.mcWidget.curves().isEmpty());
        QVERIFY(lcWindow.plot()->axisTitle(QwtPlot::xBottom).text().isEmpty());
        lpOther.reset();
        QCOMPARE(lcWindow.mcWidget.sourceNames(), QStringList{QStringLiteral("Fake Source")});
        QCOMPARE(lcWindow.mcWidget.currentSource(), &lcWindow.mcSource);
    }

    // A window that follows the plugin manager takes up the sources of
    // plugins loaded after it opened, lets go of those whose plugin is
    // disabled, takes them up again when it is enabled, and keeps the
    // sources it was given by hand throughout.
    void followsThePluginSet()
    {
        QTemporaryDir lcDir;
        tcSettings::setDefaultIniFile(lcDir.filePath(QStringLiteral("plots.ini")));
        tcPluginManager* lpManager = tcPluginManager::getInstance();
        const QString lsStats = QStringLiteral("Image Statistics");
        tsWindow lcWindow;
        tcPlotWidget& lrWidget = lcWindow.mcWidget;
        lrWidget.followPlugins(lpManager);
        QCOMPARE(lrWidget.sourceNames(), QStringList{QStringLiteral("Fake Source")});

        QVERIFY(lpManager->loadPlugins(nullptr, QStringLiteral(KX_PLUGIN_DIR)));
        QVERIFY2(lrWidget.sourceNames().contains(lsStats), qPrintable(lrWidget.sourceNames().join(',')));
        // Curves of the plugin's source go with it.
        auto* lpCombo = lcWindow.part<QComboBox>("mpSourceCombo");
        lpCombo->setCurrentText(lsStats);
        QCOMPARE(lrWidget.currentSource()->objectName(), lsStats);
        QVERIFY(lcWindow.add(QStringLiteral("Frame Id Gap")));
        QCOMPARE(lrWidget.curves().size(), 1);

        QSettings lcSettings(lcDir.filePath(QStringLiteral("plugins.ini")), QSettings::IniFormat);
        lcSettings.setValue(
            tcPluginManager::pluginKey(QStringLiteral("tcImageStatsPlugin"), QStringLiteral("enabled")),
            false);
        lpManager->applySettings(&lcSettings);
        lpManager->setCamera(nullptr);
        QCOMPARE(lrWidget.sourceNames().contains(lsStats), false);
        QVERIFY(lrWidget.curves().isEmpty());
        QCOMPARE(lrWidget.currentSource(), &lcWindow.mcSource);

        lcSettings.setValue(
            tcPluginManager::pluginKey(QStringLiteral("tcImageStatsPlugin"), QStringLiteral("enabled")),
            true);
        lpManager->applySettings(&lcSettings);
        lpManager->setCamera(nullptr);
        QVERIFY(lrWidget.sourceNames().contains(lsStats));

        // Unloaded plugins take their sources along; loading them again
        // brings new ones.
        lpManager->unloadPlugins();
        QCOMPARE(lrWidget.sourceNames(), QStringList{QStringLiteral("Fake Source")});
        QVERIFY(lpManager->loadPlugins(nullptr, QStringLiteral(KX_PLUGIN_DIR)));
        QVERIFY(lrWidget.sourceNames().contains(lsStats));
        lpManager->unloadPlugins();
    }

    void addingAndEditingCurves()
    {
        tsWindow lcWindow;
        QSignalSpy lcSaveable(&lcWindow.mcWidget, &tcPlotWidget::SaveableUpdate);
        tcPlotCurveData* lpCurve = lcWindow.add(QStringLiteral("b"));
        QVERIFY(lpCurve);
        QCOMPARE(lcWindow.mcWidget.curves().size(), 1);
        QCOMPARE(lpCurve->getKey(), QStringLiteral("b"));
        QCOMPARE(lpCurve->title().text(), QStringLiteral("Curve b"));
        QCOMPARE(samplesY(lpCurve), (QVector<double>{5, 6, 7}));
        QCOMPARE(lpCurve->pen().color(), QColor(Qt::green));
        QCOMPARE(lcWindow.plot()->axisTitle(QwtPlot::yLeft).text(), QStringLiteral("y of b"));
        QVERIFY(lcSaveable.size() >= 1);
        QCOMPARE(lcSaveable.last()[0].value<QWidget*>(), &lcWindow.mcWidget);
        QCOMPARE(lcWindow.part<QComboBox>("statsPlotCB")->itemData(0).toString(), QStringLiteral("b"));
        QCOMPARE(lcWindow.mcWidget.saveableItems(), QStringList{QStringLiteral("Curve b")});

        // A click on its legend entry opens the chooser preset to the curve.
        QwtLegendLabel* lpEntry = legendEntry(lcWindow.mcWidget, QStringLiteral("Curve b"));
        QVERIFY(lpEntry);
        QTest::mouseClick(lpEntry, Qt::LeftButton);
        QList<tcPlotChooser*> lsChoosers = lcWindow.mcWidget.findChildren<tcPlotChooser*>();
        QCOMPARE(lsChoosers.size(), 1);
        QCOMPARE(lsChoosers[0]->index(), 0);
        QCOMPARE(lsChoosers[0]->key(), QStringLiteral("b"));
        auto* lpWidth = lsChoosers[0]->findChild<QSpinBox*>(QStringLiteral("mpWidthSpin"));
        lpWidth->setValue(3);
        QCOMPARE(lpCurve->pen().width(), 3);
        QCOMPARE(lcWindow.mcWidget.curves().size(), 1);
        lsChoosers[0]->keyWidget()->findChild<QComboBox*>()->setCurrentText(QStringLiteral("a"));
        QCOMPARE(lpCurve->getKey(), QStringLiteral("a"));
        QCOMPARE(samplesY(lpCurve), (QVector<double>{1, 2, 3, 4}));
        QCOMPARE(lcWindow.part<QComboBox>("statsPlotCB")->itemText(0), QStringLiteral("Curve a"));

        // Removal closes the choosers that edit curves by position.
        lcWindow.mcWidget.removeCurves(QStringLiteral("a"));
        QVERIFY(lcWindow.mcWidget.curves().isEmpty());
        QCOMPARE(lcWindow.part<QComboBox>("statsPlotCB")->count(), 0);
        QTRY_VERIFY(lcWindow.mcWidget.findChildren<tcPlotChooser*>().isEmpty());
    }

    void removingThroughTheDialog()
    {
        tsWindow lcWindow;
        lcWindow.add(QStringLiteral("a"));
        lcWindow.add(QStringLiteral("b"));
        // Ticks the second curve's box and accepts, once the dialog is up.
        QTimer::singleShot(0, &lcWindow.mcWidget,
                           []
                           {
                               auto* lpDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                               QVERIFY(lpDialog);
                               QCOMPARE(lpDialog->windowTitle(), QStringLiteral("Remove Plots"));
                               const QList<QCheckBox*> lsBoxes = lpDialog->findChildren<QCheckBox*>();
                               QCOMPARE(lsBoxes.size(), 2);
                               QCOMPARE(lsBoxes[1]->text(), QStringLiteral("Curve b"));
                               QCOMPARE(lsBoxes[1]->palette().color(QPalette::WindowText), QColor(Qt::cyan));
                               lsBoxes[1]->setChecked(true);
                               lpDialog->accept();
                           });
        lcWindow.mcWidget.removeRow();
        QCOMPARE(lcWindow.mcWidget.saveableItems(), QStringList{QStringLiteral("Curve a")});
    }

    void xAxisOfTheSource()
    {
        tsWindow lcWindow;
        lcWindow.mcSource.mbDescribesAxis = true;
        lcWindow.mcWidget.addRow();
        const QwtScaleWidget* lpAxis = lcWindow.plot()->axisWidget(QwtPlot::xBottom);
        QCOMPARE(lpAxis->scaleDraw()->labelRotation(), -45.0);
        QCOMPARE(lpAxis->scaleDraw()->labelAlignment(), Qt::AlignLeft | Qt::AlignBottom);
    }

    void sourceWithoutChooserOrData()
    {
        tsWindow lcWindow;
        lcWindow.mcSource.mbOffersChooser = false;
        lcWindow.mcWidget.addRow();
        QVERIFY(lcWindow.mcWidget.findChildren<tcPlotChooser*>().isEmpty());
        lcWindow.mcSource.mbOffersChooser = true;
        lcWindow.mcSource.msKeys << QStringLiteral("empty");
        tcPlotCurveData* lpCurve = lcWindow.add(QStringLiteral("empty"));
        QVERIFY(lpCurve);
        QCOMPARE(lpCurve->dataSize(), size_t(0));
        lcWindow.mcSource.announce(QStringLiteral("empty"));
        QCOMPARE(lpCurve->dataSize(), size_t(0));
    }

    void pauseAndResume()
    {
        tsWindow lcWindow;
        tcPlotCurveData* lpCurve = lcWindow.add();
        auto* lpPause = lcWindow.part<QToolButton>("updateDisableButton");
        lpPause->setChecked(true);
        QVERIFY(lcWindow.mcWidget.isPaused());
        QCOMPARE(lpPause->toolTip(), QStringLiteral("Resume Updating"));
        lcWindow.mcSource.setData(QStringLiteral("a"), ramp(2), {9, 9});
        lcWindow.mcSource.announce(QStringLiteral("a"));
        QCOMPARE(samplesY(lpCurve), (QVector<double>{1, 2, 3, 4}));
        lpPause->setChecked(false);
        QCOMPARE(lpPause->toolTip(), QStringLiteral("Pause Updating"));
        QCOMPARE(samplesY(lpCurve), (QVector<double>{1, 2, 3, 4}));
        lcWindow.mcSource.announce(QStringLiteral("a"));
        QCOMPARE(samplesY(lpCurve), (QVector<double>{9, 9}));
        // Other keys and other sources change nothing.
        tcFakeSource lcStranger(QStringLiteral("Stranger"));
        lcWindow.mcWidget.onPlotReady(&lcStranger, QStringLiteral("a"));
        const int lnCalls = lcWindow.mcSource.mnDataCalls;
        lcWindow.mcSource.announce(QStringLiteral("b"));
        QCOMPARE(lcWindow.mcSource.mnDataCalls, lnCalls);
    }

    void lockedXKeepsItsRange()
    {
        tsWindow lcWindow;
        lcWindow.add();
        lcWindow.part<QCheckBox>("xLockAxisCheckBox")->setChecked(false);
        QVERIFY(lcWindow.mcWidget.isXLocked());
        QVERIFY(!lcWindow.mcWidget.isYLocked());
        lcWindow.part<QSpinBox>("xMinBox")->setValue(0);
        lcWindow.part<QSpinBox>("xMaxBox")->setValue(50);
        QCOMPARE(lcWindow.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(), 50.0);

        lcWindow.mcSource.setData(QStringLiteral("a"), ramp(1000), QVector<double>(1000, 5000.0) << 0);
        lcWindow.mcSource.mhX[QStringLiteral("a")] << 1000;
        lcWindow.mcSource.announce(QStringLiteral("a"));
        QCOMPARE(lcWindow.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound(), 50.0);
        QVERIFY(lcWindow.plot()->axisScaleDiv(QwtPlot::yLeft).upperBound() >= 5000.0);
        QCOMPARE(lcWindow.part<QSpinBox>("yMaxBox")->value(),
                 int(lcWindow.plot()->axisScaleDiv(QwtPlot::yLeft).upperBound()));

        // Autoscale again: x follows the data at once.
        lcWindow.part<QCheckBox>("xLockAxisCheckBox")->setChecked(true);
        QVERIFY(!lcWindow.mcWidget.isXLocked());
        QVERIFY(lcWindow.plot()->axisScaleDiv(QwtPlot::xBottom).upperBound() >= 1000.0);
    }

    void paletteWrapsAtTheSixteenthCurve()
    {
        tsWindow lcWindow;
        const QList<QColor> lsPalette = tcPlotWidget::defaultPalette();
        QCOMPARE(lsPalette.size(), 15);
        QList<QColor> lsUsed;
        for (int lnCurve = 0; lnCurve < 16; ++lnCurve)
        {
            tcPlotCurveData* lpCurve = lcWindow.add(lnCurve % 2 ? QStringLiteral("a") : QStringLiteral("b"));
            QVERIFY(lpCurve);
            lsUsed << lpCurve->pen().color();
        }
        QCOMPARE(lsUsed.mid(0, 15), lsPalette);
        QCOMPARE(lsUsed[15], lsPalette[0]);
        QCOMPARE(lcWindow.mcWidget.paletteIndex(), 1);
    }

    void statisticsOfAKnownCurve()
    {
        tsWindow lcWindow;
        lcWindow.mcSource.setData(QStringLiteral("a"), ramp(8), {2, 4, 4, 4, 5, 5, 7, 9});
        lcWindow.add();
        lcWindow.part<QGroupBox>("statsGB")->setChecked(true);
        QCOMPARE(lcWindow.part<QLineEdit>("meanLE")->text(), QStringLiteral("5"));
        QCOMPARE(lcWindow.part<QLineEdit>("stdLE")->text(), QStringLiteral("2"));
        lcWindow.mcSource.setData(QStringLiteral("a"), ramp(2), {1, 2});
        lcWindow.mcSource.announce(QStringLiteral("a"));
        QCOMPARE(lcWindow.part<QLineEdit>("meanLE")->text(), QStringLiteral("1.5"));
        QCOMPARE(lcWindow.part<QLineEdit>("stdLE")->text(), QStringLiteral("0.5"));
    }

    void dataReportOfCurvesOfDifferentLengths()
    {
        tsWindow lcWindow;
        lcWindow.mcSource.setData(QStringLiteral("a"), {0, 1, 2}, {1, 2, 3.25});
        lcWindow.mcSource.setData(QStringLiteral("b"), {0, 1}, {4, 1234567.8});
        lcWindow.add(QStringLiteral("a"));
        lcWindow.add(QStringLiteral("b"));
        QCOMPARE(lcWindow.mcWidget.dataReportText(),
                 QStringLiteral("x,Curve a,Curve b\n0,1,4\n1,2,1.23457e+06\n2,3.25,\n"));
        // The longer curve second: its rows still appear, the first's field empty.
        lcWindow.mcWidget.removeCurves(QStringLiteral("a"));
        lcWindow.add(QStringLiteral("a"));
        QCOMPARE(lcWindow.mcWidget.dataReportText(),
                 QStringLiteral("x,Curve b,Curve a\n0,4,1\n1,1.23457e+06,2\n2,,3.25\n"));
    }

    void csvExportAndImport()
    {
        QTemporaryDir lcDir;
        tsWindow lcWindow;
        const QVector<double> lcValues = {0.1, 1e-300, -5.25, 12345678.9, 1.0 / 3.0};
        lcWindow.mcSource.setData(QStringLiteral("a"), ramp(5), lcValues);
        lcWindow.add();
        const QString lsPath = lcDir.filePath(QStringLiteral("curve.csv"));
        QVERIFY(lcWindow.mcWidget.saveCurveTo(QStringLiteral("Curve a"), lsPath));
        QVERIFY(!lcWindow.mcWidget.saveCurveTo(QStringLiteral("No such curve"), lsPath));
        QVERIFY(!lcWindow.mcWidget.saveCurveTo(QStringLiteral("Curve a"),
                                               lcDir.filePath(QStringLiteral("no/dir.csv"))));

        QVERIFY(lcWindow.mcWidget.loadFile(lsPath));
        QCOMPARE(lcWindow.mcWidget.curves().size(), 2);
        const tcPlotCurveData* lpImported = lcWindow.mcWidget.curves().last();
        QCOMPARE(lpImported->title().text(), QStringLiteral("curve.csv"));
        QCOMPARE(samplesY(lpImported), lcValues);
        QCOMPARE(lpImported->sample(4).x(), 4.0);
    }

    void importOfTextFields()
    {
        QTemporaryDir lcDir;
        const auto write = [&lcDir](const char* apName, const QByteArray& arText)
        {
            QFile lcFile(lcDir.filePath(QString::fromLatin1(apName)));
            lcFile.open(QIODevice::WriteOnly);
            lcFile.write(arText);
            return lcFile.fileName();
        };
        tcPlotWidget lcWidget;
        QSignalSpy lcMessages(&lcWidget, &tcPlotWidget::Message);
        QSignalSpy lcErrors(&lcWidget, &tcPlotWidget::Error);
        QVERIFY(lcWidget.loadFile(write("a.csv", "1,2,3")));
        QCOMPARE(lcWidget.curves().size(), 1);
        const tcPlotCurveData* lpCurve = lcWidget.curves().first();
        QCOMPARE(lpCurve->title().text(), QStringLiteral("a.csv"));
        QCOMPARE(lpCurve->dataSize(), size_t(3));
        QCOMPARE(lpCurve->sample(0), QPointF(0, 1));
        QCOMPARE(lpCurve->sample(2), QPointF(2, 3));
        QCOMPARE(lcMessages.size(), 0);

        QVERIFY(lcWidget.loadFile(write("text.csv", "1,abc,3,,5\n")));
        lpCurve = lcWidget.curves().last();
        QCOMPARE(lpCurve->dataSize(), size_t(5));
        QVERIFY(std::isnan(lpCurve->sample(1).y()));
        QCOMPARE(lpCurve->sample(1).x(), 1.0);
        QCOMPARE(lpCurve->sample(4), QPointF(4, 5));
        QCOMPARE(lcMessages.size(), 1);
        QVERIFY2(lcMessages[0][0].toString().contains(QStringLiteral("2 of 5 fields")),
                 qPrintable(lcMessages[0][0].toString()));
        // The gaps stay out of the axes.
        QCOMPARE(lpCurve->boundingRect(), QRectF(QPointF(0, 1), QPointF(4, 5)));

        QVERIFY(!lcWidget.loadFile(lcDir.filePath(QStringLiteral("missing.csv"))));
        QVERIFY(!lcWidget.loadFile(write("empty.csv", "\n")));
        QCOMPARE(lcErrors.size(), 2);
        QCOMPARE(lcWidget.curves().size(), 2);
    }

    void trackingNamesTheNearestSample()
    {
        tsWindow lcWindow;
        lcWindow.mcWidget.resize(800, 500);
        lcWindow.mcWidget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&lcWindow.mcWidget));
        lcWindow.add(QStringLiteral("a"));
        lcWindow.add(QStringLiteral("b"));
        lcWindow.mcWidget.onTrackerUpdate(QPointF(20, 7));
        QCOMPARE(lcWindow.part<QLabel>("trackerTextLabel")->text(), QStringLiteral("Curve: Curve b (20, 7)"));
        lcWindow.part<QRadioButton>("mouseTrack")->setChecked(true);
        QCOMPARE(lcWindow.mcWidget.mouseMode(), int(tcPlotWidget::MouseTrack));
        lcWindow.mcWidget.onTrackerUpdate(QPointF(0, 1));
        QCOMPARE(lcWindow.part<QLabel>("trackerTextLabel")->text(), QStringLiteral("Curve: Curve a (0, 1)"));
        lcWindow.part<QRadioButton>("mouseOff")->setChecked(true);
        QCOMPARE(lcWindow.mcWidget.mouseMode(), int(tcPlotWidget::MouseInactive));
    }

    void axisDialogServesTheWindowThatOpenedIt()
    {
        tsWindow lcFirst;
        tsWindow lcSecond;
        lcFirst.add();
        lcFirst.mcWidget.openAxisDialog();
        tcEditAxisDialog* lpDialog = tcEditAxisDialog::instance();
        QCOMPARE(lpDialog->target(), &lcFirst.mcWidget);
        tcAxisSettings lcSettings = lpDialog->settings();
        QCOMPARE(lcSettings.msYTitle, QStringLiteral("y of a"));
        lcSettings.mdXMin = 10;
        lcSettings.mdXMax = 20;
        lcSettings.mbXLocked = true;
        lcSettings.mnYTicks = 4;
        lcSettings.msXTitle = QStringLiteral("Position");
        lpDialog->setSettings(lcSettings);
        emit lpDialog->AxisChanged();
        QVERIFY(lcFirst.mcWidget.isXLocked());
        QCOMPARE(lcFirst.plot()->axisScaleDiv(QwtPlot::xBottom).lowerBound(), 10.0);
        QCOMPARE(lcFirst.plot()->axisTitle(QwtPlot::xBottom).text(), QStringLiteral("Position"));
        QVERIFY(!lcFirst.part<QCheckBox>("xLockAxisCheckBox")->isChecked());
        QCOMPARE(lcFirst.part<QSlider>("yGridLinesSlider")->value(), 4);

        lcSecond.mcWidget.openAxisDialog();
        QCOMPARE(tcEditAxisDialog::instance(), lpDialog);
        lcSettings.mdXMin = 0;
        lpDialog->setSettings(lcSettings);
        emit lpDialog->AxisChanged();
        QCOMPARE(lcFirst.plot()->axisScaleDiv(QwtPlot::xBottom).lowerBound(), 10.0);
        QVERIFY(lcSecond.mcWidget.isXLocked());
        lpDialog->hide();
    }

    void controls()
    {
        tsWindow lcWindow;
        auto* lpPanel = lcWindow.part<QWidget>("controlPanel");
        QVERIFY(lpPanel->isHidden());
        lcWindow.mcWidget.onExpand();
        QVERIFY(!lpPanel->isHidden());
        lcWindow.mcWidget.onExpand();
        QVERIFY(lpPanel->isHidden());
        lcWindow.mcWidget.SetBackground(Qt::white);
        QCOMPARE(lcWindow.plot()->canvasBackground().color(), QColor(Qt::white));
        QCOMPARE(lcWindow.part<QtColorPicker>("backColorPicker")->currentColor(), QColor(Qt::white));
        lcWindow.part<QSlider>("xGridLinesSlider")->setValue(2);
        QVERIFY(lcWindow.plot()->axisScaleDiv(QwtPlot::xBottom).ticks(QwtScaleDiv::MajorTick).size() <= 4);
        lcWindow.part<QCheckBox>("gridEnableBox")->setChecked(false);
        lcWindow.part<QCheckBox>("yGridLogCheckBox")->setChecked(true);
        QVERIFY(lcWindow.plot()->axisScaleDiv(QwtPlot::yLeft).lowerBound() > 0);
    }
};

QTEST_MAIN(tst_PlotWidget)
#include "tst_plotwidget.moc"
