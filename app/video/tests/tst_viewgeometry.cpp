// Where the display draws, and the way back from widget to image pixels.
#include "viewgeometry.h"

#include <QtTest>

namespace
{
tcViewGeometry view(QSize acWidget, QSize acImage, QRect acZoom = QRect(), QPoint acPan = QPoint(),
                    bool abKeepAspect = true, bool abOneToOne = false)
{
    tcViewGeometry lcView;
    lcView.mcWidget = acWidget;
    lcView.mcImage = acImage;
    lcView.mcZoom = acZoom;
    lcView.mcPan = acPan;
    lcView.mbKeepAspect = abKeepAspect;
    lcView.mbOneToOne = abOneToOne;
    return lcView;
}
} // namespace

Q_DECLARE_METATYPE(tcViewGeometry)

class tst_ViewGeometry : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void onlyTheVisiblePartIsRendered();
    void mappingFollowsWhatIsDrawn_data();
    void mappingFollowsWhatIsDrawn();
    void bandsBecomeImageRectangles();
    void nothingToDraw();
};

void tst_ViewGeometry::placement_data()
{
    QTest::addColumn<tcViewGeometry>("view");
    QTest::addColumn<QRect>("source");
    QTest::addColumn<QRect>("destination");
    QTest::newRow("keep aspect, wide image")
        << view({400, 400}, {100, 50}) << QRect(0, 0, 100, 50) << QRect(0, 100, 400, 200);
    QTest::newRow("keep aspect, tall image")
        << view({400, 400}, {50, 100}) << QRect(0, 0, 50, 100) << QRect(100, 0, 200, 400);
    QTest::newRow("fill") << view({400, 400}, {100, 50}, QRect(), QPoint(), false) << QRect(0, 0, 100, 50)
                          << QRect(0, 0, 400, 400);
    QTest::newRow("zoom 50x50 in 400x200")
        << view({400, 200}, {100, 50}, QRect(10, 0, 50, 50)) << QRect(10, 0, 50, 50) << QRect(0, 0, 400, 400);
    QTest::newRow("unzoomed pan moves the drawing") << view({400, 400}, {100, 50}, QRect(), QPoint(30, -20))
                                                    << QRect(0, 0, 100, 50) << QRect(30, 80, 400, 200);
    // The image follows the hand: 50 widget pixels are 25 image pixels at 2x.
    QTest::newRow("zoomed pan moves the source")
        << view({500, 500}, {1000, 1000}, QRect(100, 100, 250, 250), QPoint(50, 0))
        << QRect(75, 100, 250, 250) << QRect(0, 0, 500, 500);
    QTest::newRow("panned past the edge shows the edge")
        << view({500, 500}, {1000, 1000}, QRect(100, 100, 250, 250), QPoint(1000, 0))
        << QRect(0, 100, 250, 250) << QRect(0, 0, 500, 500);
    QTest::newRow("one to one") << view({400, 300}, {1000, 800}, QRect(), QPoint(-20, -10), true, true)
                                << QRect(20, 10, 400, 300) << QRect(0, 0, 400, 300);
    QTest::newRow("one to one, small image")
        << view({400, 300}, {100, 50}, QRect(), QPoint(-20, -10), true, true) << QRect(0, 0, 100, 50)
        << QRect(0, 0, 100, 50);
}

void tst_ViewGeometry::placement()
{
    QFETCH(tcViewGeometry, view);
    QFETCH(QRect, source);
    QFETCH(QRect, destination);
    const tcViewGeometry::tcPlan lcPlan = view.plan();
    QCOMPARE(lcPlan.mcSource, source);
    QCOMPARE(lcPlan.mcDestination, destination);
}

void tst_ViewGeometry::onlyTheVisiblePartIsRendered()
{
    // The lower half of the 400 x 400 drawing lies outside the widget.
    tcViewGeometry::tcPlan lcPlan = view({400, 200}, {100, 50}, QRect(10, 0, 50, 50)).plan();
    QCOMPARE(lcPlan.mcVisibleSource, QRect(10, 0, 50, 25));
    QCOMPARE(lcPlan.mcVisibleTarget, QRect(0, 0, 400, 200));
    // A thin band zoomed would otherwise need a drawing 100 times the widget.
    lcPlan = view({1424, 1080}, {7920, 6004}, QRect(1000, 1000, 1000, 10)).plan();
    QCOMPARE(lcPlan.mcDestination.size(), QSize(108000, 1080));
    QVERIFY(lcPlan.mcVisibleTarget.width() <= 1424 + 108);
    QCOMPARE(lcPlan.mcVisibleTarget.height(), 1080);
    QCOMPARE(lcPlan.mcVisibleSource.left(), 1000);
    QVERIFY(lcPlan.mcVisibleSource.width() <= 15);
    // Wholly visible: the plan is the drawing itself.
    lcPlan = view({400, 400}, {100, 50}).plan();
    QCOMPARE(lcPlan.mcVisibleSource, lcPlan.mcSource);
    QCOMPARE(lcPlan.mcVisibleTarget, lcPlan.mcDestination);
}

void tst_ViewGeometry::mappingFollowsWhatIsDrawn_data()
{
    QTest::addColumn<tcViewGeometry>("view");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QPoint>("pixel");
    QTest::newRow("whole image") << view({400, 400}, {100, 50}) << QPoint(200, 200) << QPoint(50, 25);
    QTest::newRow("above the drawing is row 0")
        << view({400, 400}, {100, 50}) << QPoint(10, 5) << QPoint(2, 0);
    QTest::newRow("past the right edge is the last column")
        << view({400, 400}, {100, 50}, QRect(), QPoint(), false) << QPoint(900, 0) << QPoint(99, 0);
    QTest::newRow("zoomed") << view({400, 200}, {100, 50}, QRect(10, 0, 50, 50)) << QPoint(80, 16)
                            << QPoint(20, 2);
    QTest::newRow("zoomed and panned")
        << view({500, 500}, {1000, 1000}, QRect(100, 100, 250, 250), QPoint(50, 0)) << QPoint(0, 0)
        << QPoint(75, 100);
    QTest::newRow("unzoomed and panned")
        << view({400, 400}, {100, 50}, QRect(), QPoint(40, 0)) << QPoint(40, 100) << QPoint(0, 0);
    QTest::newRow("one to one") << view({400, 300}, {1000, 800}, QRect(), QPoint(-20, -10), true, true)
                                << QPoint(5, 6) << QPoint(25, 16);
}

void tst_ViewGeometry::mappingFollowsWhatIsDrawn()
{
    QFETCH(tcViewGeometry, view);
    QFETCH(QPoint, position);
    QFETCH(QPoint, pixel);
    QCOMPARE(tcViewGeometry::widgetToImage(view.plan(), position, view.mcImage), pixel);
}

void tst_ViewGeometry::bandsBecomeImageRectangles()
{
    // Unzoomed, the band is scaled by image size over drawn size.
    tcViewGeometry lcView = view({400, 200}, {1000, 500});
    QCOMPARE(tcViewGeometry::widgetToImage(lcView.plan(), QRect(40, 20, 100, 50), lcView.mcImage),
             QRect(100, 50, 250, 125));
    QCOMPARE(tcViewGeometry::widgetToImage(lcView.plan(), QRect(0, 0, 400, 200), lcView.mcImage),
             QRect(0, 0, 1000, 500));
    // Zoomed, it lands inside the zoomed region.
    lcView = view({400, 200}, {1000, 500}, QRect(500, 250, 200, 100));
    QCOMPARE(tcViewGeometry::widgetToImage(lcView.plan(), QRect(0, 0, 200, 100), lcView.mcImage),
             QRect(500, 250, 100, 50));
}

void tst_ViewGeometry::nothingToDraw()
{
    QVERIFY(view({400, 400}, QSize()).plan().isEmpty());
    QVERIFY(view(QSize(0, 0), {10, 10}).plan().isEmpty());
    QCOMPARE(tcViewGeometry::widgetToImage(tcViewGeometry::tcPlan(), QPoint(5, 5), QSize(10, 10)),
             QPoint(0, 0));
}

QTEST_GUILESS_MAIN(tst_ViewGeometry)
#include "tst_viewgeometry.moc"
