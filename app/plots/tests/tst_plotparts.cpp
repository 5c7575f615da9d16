#include "curvezoomer.h"
#include "plotchooser.h"
#include "plotcsv.h"
#include "plotcurvedata.h"
#include "plotproperties.h"
#include "qtcolorpicker.h"

#include <qwt_curve_fitter.h>
#include <qwt_plot.h>
#include <qwt_plot_canvas.h>
#include <qwt_symbol.h>

#include <QBuffer>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <limits>

class tst_PlotParts : public QObject
{
    Q_OBJECT

private slots:
    void colorPicker()
    {
        QtColorPicker lcPicker;
        lcPicker.setStandardColors();
        QCOMPARE(lcPicker.colorCount(), 17);
        QCOMPARE(lcPicker.color(0), QColor(Qt::black));
        QCOMPARE(lcPicker.color(3), QColor(Qt::darkRed));
        QCOMPARE(lcPicker.color(16), QColor(Qt::lightGray));
        QSignalSpy lcChanged(&lcPicker, &QtColorPicker::colorChanged);
        lcPicker.setCurrentColor(Qt::red);
        QCOMPARE(lcChanged.size(), 1);
        QCOMPARE(lcPicker.text(), QStringLiteral("Red"));
        lcPicker.setCurrentColor(Qt::red); // no change, no signal
        QCOMPARE(lcChanged.size(), 1);

        lcPicker.setColorDialogEnabled(true);
        lcPicker.click();
        QFrame* lpPopup = lcPicker.popup();
        QVERIFY(lpPopup);
        QVERIFY(lpPopup->findChild<QPushButton*>(QStringLiteral("more")));
        lpPopup->findChild<QToolButton*>(QStringLiteral("colour6"))->click();
        QCOMPARE(lcPicker.currentColor(), QColor(Qt::blue));
        QCOMPARE(lcChanged.last()[0].value<QColor>(), QColor(Qt::blue));
        QTRY_VERIFY(!lcPicker.popup());
        // A custom colour joins the grid once.
        lcPicker.insertColor(QColor(1, 2, 3), QStringLiteral("Custom"));
        lcPicker.insertColor(QColor(1, 2, 3), QStringLiteral("Custom"));
        QCOMPARE(lcPicker.colorCount(), 18);
    }

    void propertiesRoundTrip()
    {
        tcPlotProperties lcProperties;
        QCOMPARE(lcProperties.mcLinePen.color(), QColor(Qt::green));
        QCOMPARE(lcProperties.mnSymbolSize, 5);
        lcProperties.msKey = QStringLiteral("k");
        lcProperties.mhAttributes.insert(QStringLiteral("title"), QStringLiteral("T"));
        lcProperties.mcLinePen = QPen(Qt::red, 2);
        lcProperties.mnCurveStyle = 2;
        lcProperties.mnFitterMode = 1;
        lcProperties.mnSymbolStyle = 3;
        lcProperties.mcSymbolPen = QPen(Qt::blue);
        lcProperties.mbSymbolFill = true;
        lcProperties.mnSymbolSize = 7;
        tcPlotCurveData lcCurve;
        lcProperties.applyTo(lcCurve);
        QVERIFY(lcCurve.testCurveAttribute(QwtPlotCurve::Fitted));
        QCOMPARE(lcCurve.symbol()->brush().color(), QColor(Qt::blue));

        const tcPlotProperties lcRead(lcCurve, 4);
        QCOMPARE(lcRead.mnIndex, 4);
        QCOMPARE(lcRead.msKey, QStringLiteral("k"));
        QCOMPARE(lcRead.title(), QStringLiteral("T"));
        QCOMPARE(lcRead.mcLinePen, lcProperties.mcLinePen);
        QCOMPARE(lcRead.mnCurveStyle, 2);
        QCOMPARE(lcRead.mnFitterMode, 1);
        QCOMPARE(lcRead.mnSymbolStyle, 3);
        QCOMPARE(lcRead.mcSymbolPen.color(), QColor(Qt::blue));
        QVERIFY(lcRead.mbSymbolFill);
        QCOMPARE(lcRead.mnSymbolSize, 7);

        lcProperties.mnFitterMode = -1;
        lcProperties.mbSymbolFill = false;
        lcProperties.applyTo(lcCurve);
        QVERIFY(!lcCurve.testCurveAttribute(QwtPlotCurve::Fitted));
        QCOMPARE(tcPlotProperties(lcCurve, 0).mnFitterMode, -1);
        QVERIFY(!tcPlotProperties(lcCurve, 0).mbSymbolFill);
    }

    void chooserDialog()
    {
        // Without a key the dialog announces nothing; its controls map to
        // the properties with an offset of one.
        tcPlotChooser lcChooser(nullptr, QColor(Qt::cyan));
        QSignalSpy lcChanged(&lcChooser, &tcPlotChooser::PlotChanged);
        lcChooser.onWidgetChanged();
        QCOMPARE(lcChanged.size(), 0);
        QCOMPARE(lcChooser.windowTitle(), QStringLiteral("Select Data to Plot"));
        QCOMPARE(lcChooser.objectName(), QStringLiteral("PlotChooser"));
        QVERIFY(lcChooser.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(lcChooser.findChild<QtColorPicker*>(QStringLiteral("mpLineColor"))->currentColor(),
                 QColor(Qt::cyan));
        QCOMPARE(lcChooser.findChild<QtColorPicker*>(QStringLiteral("mpSymbolColor"))->currentColor(),
                 QColor(Qt::green));
        QCOMPARE(lcChooser.findChild<QComboBox*>(QStringLiteral("mpSymbolCombo"))->count(), 16);
        QCOMPARE(lcChooser.findChild<QComboBox*>(QStringLiteral("mpStyleCombo"))->currentIndex(), 1);
    }

    void csvReading_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QVector<double>>("values"); // -1 stands for NaN
        QTest::addColumn<int>("skipped");
        QTest::newRow("plain") << QByteArray("1,2,3") << QVector<double>{1, 2, 3} << 0;
        QTest::newRow("own export") << QByteArray("1.5,-2,3e-5,\n") << QVector<double>{1.5, -2, 3e-5} << 0;
        QTest::newRow("text field") << QByteArray("1,x,3") << QVector<double>{1, -1, 3} << 1;
        QTest::newRow("empty field") << QByteArray("1,,3") << QVector<double>{1, -1, 3} << 1;
        QTest::newRow("one per line") << QByteArray("4\r\n5\r\n6\r\n") << QVector<double>{4, 5, 6} << 0;
        QTest::newRow("blanks") << QByteArray(" 7 , 8\t") << QVector<double>{7, 8} << 0;
        QTest::newRow("nothing") << QByteArray("") << QVector<double>{} << 0;
    }
    void csvReading()
    {
        QFETCH(QByteArray, text);
        QFETCH(QVector<double>, values);
        const tcPlotCsv::tsCurve lcCurve = tcPlotCsv::read(text);
        QCOMPARE(lcCurve.mcY.size(), values.size());
        for (int lnIndex = 0; lnIndex < values.size(); ++lnIndex)
        {
            QCOMPARE(lcCurve.mcX[lnIndex], double(lnIndex));
            if (values[lnIndex] == -1)
                QVERIFY(std::isnan(lcCurve.mcY[lnIndex]));
            else
                QCOMPARE(lcCurve.mcY[lnIndex], values[lnIndex]);
        }
        QTEST(lcCurve.mnSkipped, "skipped");
    }

    void csvWritingRoundTrips()
    {
        const double lcValues[] = {0.1, -1e-300, 6.02214076e23, 1.0 / 7.0};
        QBuffer lcBuffer;
        lcBuffer.open(QIODevice::WriteOnly);
        QVERIFY(tcPlotCsv::write(lcBuffer, lcValues, 4));
        QVERIFY(lcBuffer.data().endsWith(",\n"));
        const tcPlotCsv::tsCurve lcCurve = tcPlotCsv::read(lcBuffer.data());
        QCOMPARE(lcCurve.mcY, (QVector<double>(std::begin(lcValues), std::end(lcValues))));
    }

    void curveLeavesGapsOut()
    {
        tcPlotCurveData lcCurve(QStringLiteral("k"), QStringLiteral("t"));
        QCOMPARE(lcCurve.getKey(), QStringLiteral("k"));
        lcCurve.setKey(QStringLiteral("j"));
        QCOMPARE(lcCurve.getKey(), QStringLiteral("j"));
        QVERIFY(!lcCurve.boundingRect().isValid());
        const double lnNan = std::numeric_limits<double>::quiet_NaN();
        const double lcX[] = {0, 1, 2, 3, 4};
        const double lcY[] = {3, lnNan, -2, lnNan, 8};
        lcCurve.setData(lcX, lcY, 5);
        QCOMPARE(lcCurve.boundingRect(), QRectF(QPointF(0, -2), QPointF(4, 8)));

        // Drawn without complaint in a real plot.
        QwtPlot lcPlot;
        lcCurve.attach(&lcPlot);
        lcPlot.resize(300, 200);
        lcPlot.replot();
        QImage lcImage(300, 200, QImage::Format_ARGB32);
        lcPlot.render(&lcImage);
        QCOMPARE(lcPlot.axisScaleDiv(QwtPlot::yLeft).lowerBound() <= -2, true);
        lcCurve.detach();
    }

    void zoomerAnnouncesTrackedPositions()
    {
        // Reaches the tracker text the picker asks for.
        struct tcProbe : CurveZoomer
        {
            using CurveZoomer::CurveZoomer;
            using CurveZoomer::trackerTextF;
        };
        QwtPlot lcPlot;
        tcProbe lcZoomer(lcPlot.canvas());
        QSignalSpy lcMoved(&lcZoomer, &CurveZoomer::TrackerMoved);
        const QwtText lcText = lcZoomer.trackerTextF(QPointF(3, 4));
        QVERIFY(lcText.text().isEmpty());
        QCOMPARE(lcText.backgroundBrush().color().alpha(), 180);
        QCOMPARE(lcMoved.size(), 1);
        QCOMPARE(lcMoved[0][0].toPointF(), QPointF(3, 4));
    }
};

QTEST_MAIN(tst_PlotParts)
#include "tst_plotparts.moc"
