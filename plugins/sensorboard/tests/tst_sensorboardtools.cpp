// The sensor plugin's rectangle tools, HDMI outline and panels against the
// simulated CMV50000 camera (Width increment 16, Height increment 2).
#include "sensorboardfixture.h"

#include "gentlplugin.h"
#include "imgdecoratorinterface.h"
#include "imgrectinterface.h"
#include "settingswidget.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTest>

namespace
{
// Red pixels of what the decorator painted over a black view showing a
// 7920 × 6000 image at 1/40 of its size.
int redPixels(tcImgDecoratorInterface* apDecorator, QRect* apBounds = nullptr)
{
    QWidget lcView;
    lcView.resize(198, 150);
    lcView.setProperty("imageSourceRect", QRect(0, 0, 7920, 6000));
    lcView.setProperty("imageTargetRect", QRect(0, 0, 198, 150));
    QImage lcCanvas(198, 150, QImage::Format_RGB32);
    lcCanvas.fill(Qt::black);
    const QImage lcShown(7920, 6000, QImage::Format_Grayscale8);
    {
        QPainter lcPainter(&lcCanvas);
        apDecorator->paintDecoration(&lcView, &lcPainter, &lcShown);
    }
    int lnRed = 0;
    QRect lcBounds;
    for (int y = 0; y < lcCanvas.height(); ++y)
        for (int x = 0; x < lcCanvas.width(); ++x)
            if (lcCanvas.pixel(x, y) == qRgb(255, 0, 0))
            {
                ++lnRed;
                lcBounds |= QRect(x, y, 1, 1);
            }
    if (apBounds)
        *apBounds = lcBounds;
    return lnRed;
}
} // namespace

class tst_SensorboardTools : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { tcSimcamFixture::useTemporarySettings(); }

    void roiDragSnapsToIncrements()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        auto* lpRoi = lcFix.piece<tcImgRectInterface>("ROI Selector");
        QVERIFY(lpRoi);
        QCOMPARE(lpRoi->selectionAction()->text(), QStringLiteral("ROI"));
        QVERIFY(lpRoi->selectionAction()->isCheckable());

        // Unchecked: nothing happens.
        QCOMPARE(lpRoi->selectRect(nullptr, lcFix.nodeMap(), QRect(13, 7, 100, 51)), QRect());
        QVERIFY(lcFix.mpTrace->mlWrites.isEmpty());

        lpRoi->selectionAction()->setChecked(true);
        QCOMPARE(lpRoi->selectRect(nullptr, lcFix.nodeMap(), QRect(13, 7, 100, 51)), QRect(0, 6, 96, 50));
        QCOMPARE(lcFix.mcCamera.get("Width").toInt(), 96);
        QCOMPARE(lcFix.mcCamera.get("Height").toInt(), 50);
        QCOMPARE(lcFix.mcCamera.get("OffsetX").toInt(), 0);
        QCOMPARE(lcFix.mcCamera.get("OffsetY").toInt(), 6);
    }

    void roiRefusedByCameraComesBackAsAsked()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        auto* lpRoi = lcFix.piece<tcImgRectInterface>("ROI Selector");
        lpRoi->selectionAction()->setChecked(true);
        QSignalSpy lcErrors(lpRoi, &tcViewerInterface::Error);
        // Narrower than one width step: a width of 0, below the camera's minimum.
        QCOMPARE(lpRoi->selectRect(nullptr, lcFix.nodeMap(), QRect(40, 10, 10, 20)), QRect(40, 10, 10, 20));
        QCOMPARE(lcErrors.count(), 1);
        QVERIFY(!lcErrors.at(0).at(0).toString().isEmpty());
    }

    void hdmiFullRoiAndOutline()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        auto* lpHdmi = lcFix.piece<tcImgRectInterface>("HDMI ROI Selector");
        auto* lpOutline = lcFix.piece<tcImgDecoratorInterface>("HDMI Indicator");
        QVERIFY(lpHdmi && lpOutline);
        lcFix.mcCamera.set("Width", 4000);
        lcFix.mcCamera.set("Height", 3000);
        QCOMPARE(lcFix.mcCamera.get("Width").toInt(), 4000);

        QMenu* lpMenu = lpHdmi->contextMenu(tpImageBuffer());
        QCOMPARE(lpMenu->title(), QStringLiteral("HDMI"));
        QCOMPARE(lpMenu->actions().size(), 1);
        QAction* lpFull = lpMenu->actions().first();
        QCOMPARE(lpFull->text(), QStringLiteral("Set Full ROI"));

        // With the tool off, "Set Full ROI" changes nothing and no outline shows.
        lpFull->trigger();
        QCOMPARE(lcFix.mcCamera.get("HdmiWidth").toInt(), 1920);
        QCOMPARE(redPixels(lpOutline), 0);

        lpHdmi->selectionAction()->setChecked(true);
        lpFull->trigger();
        QCOMPARE(lcFix.mcCamera.get("HdmiWidth").toInt(), 4000);
        QCOMPARE(lcFix.mcCamera.get("HdmiHeight").toInt(), 3000);
        QCOMPARE(lcFix.mcCamera.get("HdmiOffsetX").toInt(), 0);
        QCOMPARE(lcFix.mcCamera.get("HdmiOffsetY").toInt(), 0);
        QCOMPARE(lcFix.mcCamera.get("HdmiActive").toInt(), 1);

        // A drag snaps to the increments of OffsetX (16), OffsetY (2), Width (16)
        // and Height (2); the outline follows.
        QCOMPARE(lpHdmi->selectRect(nullptr, lcFix.nodeMap(), QRect(803, 1201, 2010, 1203)),
                 QRect(800, 1200, 2000, 1202));
        QCOMPARE(lcFix.mcCamera.get("HdmiOffsetX").toInt(), 800);
        QCOMPARE(lcFix.mcCamera.get("HdmiOffsetY").toInt(), 1200);
        QRect lcBounds;
        QVERIFY(redPixels(lpOutline, &lcBounds) > 0);
        QCOMPARE(lcBounds, QRect(20, 30, 51, 31));

        lpHdmi->selectionAction()->setChecked(false);
        QCOMPARE(redPixels(lpOutline), 0);
    }

    void panels()
    {
        tcSensorboardFixture lcFix;
        QVERIFY(lcFix.ready());
        std::unique_ptr<tcSettingsWidget> lpPage(lcFix.mpPlugin->settingsWidget());
        QVERIFY(lpPage);
        QCOMPARE(lpPage->windowTitle(), QStringLiteral("CMV 50K"));
        QVERIFY(lpPage->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(lpPage->findChild<QLabel*>("label")->text(), QStringLiteral("<b>CMV 50000\nSettings</b>"));
        QWidget* lpControl = lcFix.mpPlugin->controlWidget();
        QVERIFY(lpControl->findChild<QWidget*>("pushButton"));
        QVERIFY(lpControl->findChild<QWidget*>("comboBox"));
    }
};

QTEST_MAIN(tst_SensorboardTools)
#include "tst_sensorboardtools.moc"
