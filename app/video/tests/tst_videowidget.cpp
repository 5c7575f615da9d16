// The video panel and its surface, offscreen, with frames made in the test.
#include "glvideowidget.h"
#include "imgdecoratorinterface.h"
#include "imgrectinterface.h"
#include "settings.h"
#include "videowidget.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <list>
#include <vector>

namespace
{
const quint64 gnMono8 = 0x01080001u;

// Frames over bytes that live as long as the test.
class tcFrames
{
public:
    tpImageBuffer mono8(int anWidth, int anHeight, uchar anLevel, quint64 anId = 0)
    {
        mlBytes.emplace_back(size_t(anWidth) * anHeight, anLevel);
        tpImageBuffer lpFrame = tcImageBuffer::newImage(mlBytes.back().data(), anWidth, anHeight, gnMono8);
        lpFrame->setFrameId(anId);
        return lpFrame;
    }
    std::list<std::vector<uchar>> mlBytes;
};

class tcTestDecorator : public tcImgDecoratorInterface
{
public:
    tcTestDecorator() : tcImgDecoratorInterface(QStringLiteral("testdecorator")) {}
    QString name() const override { return QStringLiteral("Outline"); }
    void paintDecoration(QWidget* apView, QPainter* apPainter, const QImage* apImage) override
    {
        ++mnCalls;
        mpView = apView;
        mbHadImage = apImage && !apImage->isNull();
        // A red mark on image pixel (10, 10).
        const QTransform lcMap = imageToDisplay(apView, apPainter, apImage);
        apPainter->fillRect(lcMap.mapRect(QRectF(10, 10, 1, 1)), Qt::red);
    }
    int mnCalls = 0;
    QWidget* mpView = nullptr;
    bool mbHadImage = false;
};

class tcTestRectTool : public tcImgRectInterface
{
public:
    tcTestRectTool() : tcImgRectInterface(QStringLiteral("testrect")), mcAction(QStringLiteral("ROI")) {}
    QString name() const override { return QStringLiteral("ROI Selector"); }
    QAction* selectionAction() override { return &mcAction; }
    QRect selectRect(QWidget* apView, const GenApi::CNodeMapRef* apNodeMap, const QRect& arRect) override
    {
        ++mnCalls;
        mpView = apView;
        mbNodeMap = apNodeMap != nullptr;
        mcRect = arRect;
        return arRect;
    }
    QAction mcAction;
    int mnCalls = 0;
    QWidget* mpView = nullptr;
    bool mbNodeMap = true;
    QRect mcRect;
};

// A plugin with a control page for the panel's tabs and a context menu.
class tcTabPlugin : public tcImgDecoratorInterface
{
public:
    tcTabPlugin() : tcImgDecoratorInterface(QStringLiteral("tabplugin"))
    {
        mpPage = new QWidget;
        mpPage->setProperty("ControlWidgetType", QStringLiteral("CWTypeTab"));
        mpPage->addAction(new QAction(QStringLiteral("Snap"), mpPage));
        mcMenu.setTitle(QStringLiteral("Tab plugin"));
    }
    ~tcTabPlugin() override { delete mpPage; }
    QString name() const override { return QStringLiteral("Settings"); }
    QWidget* controlWidget() override { return mpPage; }
    QMenu* contextMenu(tpImageBuffer apImage) override
    {
        mpAskedWith = apImage;
        return &mcMenu;
    }
    QWidget* mpPage;
    QMenu mcMenu;
    tpImageBuffer mpAskedWith;
};

void sendMouse(QWidget* apTarget, QEvent::Type aeType, QPoint acPos, Qt::MouseButton aeButton,
               Qt::KeyboardModifiers anModifiers = Qt::NoModifier)
{
    QMouseEvent lcEvent(aeType, acPos, apTarget->mapToGlobal(acPos), aeButton,
                        aeType == QEvent::MouseMove ? Qt::MouseButtons(aeButton) : Qt::MouseButtons(aeButton),
                        anModifiers);
    QApplication::sendEvent(apTarget, &lcEvent);
}

void drag(QWidget* apSurface, QPoint acFrom, QPoint acTo, Qt::KeyboardModifiers anModifiers = Qt::NoModifier)
{
    sendMouse(apSurface, QEvent::MouseButtonPress, acFrom, Qt::LeftButton, anModifiers);
    sendMouse(apSurface, QEvent::MouseMove, acTo, Qt::LeftButton, anModifiers);
    sendMouse(apSurface, QEvent::MouseButtonRelease, acTo, Qt::LeftButton, anModifiers);
}

void wheel(tcVideoWidget& arPanel, int anDelta)
{
    const QPoint lcPos = arPanel.surface()->rect().center();
    QWheelEvent lcEvent(QPointF(lcPos), QPointF(arPanel.surface()->mapToGlobal(lcPos)), QPoint(),
                        QPoint(0, anDelta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(arPanel.surface(), &lcEvent);
}

QAction* actionNamed(QWidget* apPanel, const QString& arText)
{
    for (QAction* lpAction : apPanel->findChildren<QAction*>())
        if (lpAction->text() == arText)
            return lpAction;
    return nullptr;
}

} // namespace

class tst_VideoWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void noImageShowsTheText();
    void framesAreDrawnWhereThePlanSays();
    void zoomedRegionFillsTheSurface();
    void decoratorsPaintOverTheImage();
    void surfaceReleasesEachFrame();
    void regionOfInterestFrameMapsFromItsOwnOrigin();
    void wheelZoomStepsAndLimits();
    void toolGroupRules();
    void rubberBandReportsItsSizeAndZooms();
    void shiftDragPans();
    void readOutOfAMono8Frame();
    void pluginRectangleToolGetsTheImageRectangle();
    void escapeLeavesFullScreen();
    void saveAndLoadThroughThePanel();
    void failedSaveOrLoadKeepsTheDisplay();
    void interpolationBoxTellsWhatIsUsed();
    void toolBarOrderAndOptionsButton();
    void snapshotKeepsACopyAndLeavesTheCamera();
    void pluginTabsAndContextMenu();
    void pluginPiecesStayWithTheNewestLivePanel();
    void copyPutsThePictureOnTheClipboard();
    void oneToOneShowsTheFullConversionsPixels();
    void settingsOutliveThePanel();

private:
    std::unique_ptr<tcVideoWidget> panel(const QList<tcViewerInterface*>& alPlugins = {});
    QTemporaryDir mcDir;
    tcFrames mcFrames;
};

void tst_VideoWidget::initTestCase()
{
    tcSettings::setDefaultIniFile(mcDir.filePath(QStringLiteral("video.ini")));
    tcImageBuffer::registerMetaType();
}

std::unique_ptr<tcVideoWidget> tst_VideoWidget::panel(const QList<tcViewerInterface*>& alPlugins)
{
    auto lpPanel = std::make_unique<tcVideoWidget>(nullptr, alPlugins);
    lpPanel->resize(900, 600);
    lpPanel->show();
    return lpPanel;
}

void tst_VideoWidget::noImageShowsTheText()
{
    tcGLVideoWidget lcSurface;
    lcSurface.resize(200, 100);
    lcSurface.show();
    const QImage lcShot = lcSurface.grab().toImage();
    QCOMPARE(lcShot.pixelColor(5, 5), QColor(Qt::black));
    bool lbWhite = false;
    for (int lnX = 60; lnX < 140 && !lbWhite; ++lnX)
        for (int lnY = 40; lnY < 60 && !lbWhite; ++lnY)
            lbWhite = qGray(lcShot.pixel(lnX, lnY)) > 200;
    QVERIFY(lbWhite);
    QVERIFY(!lcSurface.hasImage());
    auto lpPanel = panel();
    QVERIFY(lpPanel->findChild<QLabel*>(QStringLiteral("labelDetail"))->text().isEmpty());
    QVERIFY(lpPanel->findChild<QLabel*>(QStringLiteral("labelInfo"))->text().isEmpty());
}

void tst_VideoWidget::framesAreDrawnWhereThePlanSays()
{
    tcGLVideoWidget lcSurface;
    lcSurface.resize(400, 400);
    lcSurface.show();
    lcSurface.setFrame(mcFrames.mono8(100, 50, 200));
    QVERIFY(lcSurface.waitForRendering());
    QImage lcShot = lcSurface.grab().toImage();
    QCOMPARE(lcSurface.lastDrawnRect(), QRect(0, 100, 400, 200));
    QCOMPARE(qGray(lcShot.pixel(200, 99)), 0);
    QCOMPARE(qGray(lcShot.pixel(200, 100)), 200);
    QCOMPARE(qGray(lcShot.pixel(200, 299)), 200);
    QCOMPARE(qGray(lcShot.pixel(200, 300)), 0);

    lcSurface.setKeepAspectRatio(false);
    lcShot = lcSurface.grab().toImage();
    QVERIFY(lcSurface.waitForRendering());
    lcShot = lcSurface.grab().toImage();
    QCOMPARE(lcSurface.lastDrawnRect(), QRect(0, 0, 400, 400));
    QCOMPARE(qGray(lcShot.pixel(5, 5)), 200);
}

void tst_VideoWidget::zoomedRegionFillsTheSurface()
{
    tcGLVideoWidget lcSurface;
    lcSurface.resize(400, 200);
    lcSurface.show();
    lcSurface.setFrame(mcFrames.mono8(100, 50, 90));
    lcSurface.setZoomRect(QRect(10, 0, 50, 50));
    QVERIFY(lcSurface.waitForRendering());
    const QImage lcShot = lcSurface.grab().toImage();
    QCOMPARE(lcSurface.lastDrawnRect(), QRect(0, 0, 400, 400));
    QCOMPARE(qGray(lcShot.pixel(399, 199)), 90);
    QCOMPARE(lcSurface.lastPlan().mcVisibleSource, QRect(10, 0, 50, 25));
    lcSurface.setZoomRect(QRect(3, 3, 0, -4));
    QCOMPARE(lcSurface.zoomRect(), QRect(3, 3, 1, 1));
}

void tst_VideoWidget::decoratorsPaintOverTheImage()
{
    tcTestDecorator lcDecorator;
    tcGLVideoWidget lcSurface;
    lcSurface.resize(400, 400);
    lcSurface.show();
    lcSurface.setDecorators({&lcDecorator});
    lcSurface.setFrame(mcFrames.mono8(100, 50, 50));
    QVERIFY(lcSurface.waitForRendering());
    const QImage lcShot = lcSurface.grab().toImage();
    QVERIFY(lcDecorator.mnCalls > 0);
    QCOMPARE(lcDecorator.mpView, &lcSurface);
    QVERIFY(lcDecorator.mbHadImage);
    QCOMPARE(lcSurface.property("imageSourceRect").toRect(), QRect(0, 0, 100, 50));
    QCOMPARE(lcSurface.property("imageTargetRect").toRect(), QRect(0, 100, 400, 200));
    // Image pixel (10, 10) is widget pixels (40..43, 140..143).
    QCOMPARE(lcShot.pixelColor(41, 141), QColor(Qt::red));
    QCOMPARE(qGray(lcShot.pixel(50, 150)), 50);
}

void tst_VideoWidget::surfaceReleasesEachFrame()
{
    tcGLVideoWidget lcSurface;
    lcSurface.resize(320, 240);
    lcSurface.show();
    std::vector<QWeakPointer<tcImageBuffer>> lsSent;
    for (int lnFrame = 0; lnFrame < 30; ++lnFrame)
    {
        tpImageBuffer lpFrame = mcFrames.mono8(640, 480, uchar(lnFrame), quint64(lnFrame));
        lsSent.push_back(lpFrame);
        lcSurface.setFrame(std::move(lpFrame));
    }
    QVERIFY(lcSurface.waitForRendering());
    int lnAlive = 0;
    for (const QWeakPointer<tcImageBuffer>& lrFrame : lsSent)
        lnAlive += !lrFrame.isNull();
    QCOMPARE(lnAlive, 1);
    QVERIFY(lsSent.back());
    // Sent faster than rendered: frames in between were dropped, none queued.
    QVERIFY(lcSurface.shownFrames() >= 1);
    QVERIFY(lcSurface.shownFrames() + lcSurface.droppedFrames() <= 30);
    QCOMPARE(qGray(lcSurface.grab().toImage().pixel(160, 120)), 29);

    // The end of the stream: the last frame goes back, the picture stays.
    lcSurface.setFrame(tpImageBuffer());
    QVERIFY(lsSent.back().isNull());
    QVERIFY(lcSurface.hasImage());
    QCOMPARE(lcSurface.currentFrame()->getFrameId(), quint64(29));
    QCOMPARE(qGray(lcSurface.currentImage()->pixel(5, 5)), 29);

    // The end of the stream while a large frame is still being rendered: the
    // stream frees its buffers right after, so the render is awaited and
    // nothing holds the frame any more.
    tpImageBuffer lpLarge = mcFrames.mono8(7920, 6004, 77, 30);
    QWeakPointer<tcImageBuffer> lpWatch = lpLarge;
    lcSurface.setFrame(std::move(lpLarge));
    lcSurface.setFrame(tpImageBuffer());
    QVERIFY(lpWatch.isNull());
    QCOMPARE(lcSurface.currentFrame()->getFrameId(), quint64(30));
    // And the display goes on with the next stream.
    lcSurface.setFrame(mcFrames.mono8(640, 480, 99, 31));
    QVERIFY(lcSurface.waitForRendering());
    QCOMPARE(qGray(lcSurface.grab().toImage().pixel(160, 120)), 99);
}

void tst_VideoWidget::regionOfInterestFrameMapsFromItsOwnOrigin()
{
    tcGLVideoWidget lcSurface;
    lcSurface.resize(400, 400);
    lcSurface.show();
    tpImageBuffer lpFrame = mcFrames.mono8(100, 50, 10);
    lpFrame->setTopLeft(QPoint(3000, 2000));
    lcSurface.setFrame(lpFrame);
    lcSurface.zoomFull();
    QCOMPARE(lcSurface.zoomRect(), QRect(0, 0, 100, 50));
    QVERIFY(lcSurface.waitForRendering());
    lcSurface.grab();
    QCOMPARE(lcSurface.lastDrawnRect(), QRect(0, 100, 400, 200));
    QCOMPARE(lcSurface.widgetToImage(QPoint(200, 200)), QPoint(50, 25));
    QCOMPARE(lcSurface.widgetToImage(QPoint(399, 299)), QPoint(99, 49));
}

void tst_VideoWidget::wheelZoomStepsAndLimits()
{
    auto lpPanel = panel();
    lpPanel->NewFrame(mcFrames.mono8(200, 100, 10));
    QAction* lpZoom = actionNamed(lpPanel.get(), QStringLiteral("Zoom"));
    QVERIFY(lpZoom && lpZoom->isEnabled());
    for (int lnStep = 0; lnStep < 3; ++lnStep)
        wheel(*lpPanel, 120);
    QCOMPARE(lpPanel->zoom(), 0.7);
    QVERIFY(!lpZoom->isEnabled());
    QCOMPARE(lpPanel->surface()->zoomRect().size(), QSize(140, 70));
    for (int lnStep = 0; lnStep < 3; ++lnStep)
        wheel(*lpPanel, -120);
    QCOMPARE(lpPanel->zoom(), 1.0);
    QVERIFY(lpZoom->isEnabled());
    QCOMPARE(lpPanel->surface()->zoomRect(), QRect(0, 0, 200, 100));
    for (int lnStep = 0; lnStep < 20; ++lnStep)
        wheel(*lpPanel, 120);
    QCOMPARE(lpPanel->zoom(), 0.1);
    for (int lnStep = 0; lnStep < 50; ++lnStep)
        wheel(*lpPanel, -120);
    QCOMPARE(lpPanel->zoom(), 4.0);
}

void tst_VideoWidget::toolGroupRules()
{
    auto lpPanel = panel();
    lpPanel->NewFrame(mcFrames.mono8(200, 100, 10));
    QAction* lpNone = actionNamed(lpPanel.get(), QStringLiteral("None"));
    QAction* lpZoom = actionNamed(lpPanel.get(), QStringLiteral("Zoom"));
    QAction* lpOne2One = actionNamed(lpPanel.get(), QStringLiteral("1:1"));
    QVERIFY(lpNone->isChecked());
    QSignalSpy lcMessages(lpPanel.get(), &tcVideoWidget::Message);
    // "None": a press starts nothing.
    drag(lpPanel->surface(), QPoint(10, 10), QPoint(50, 50));
    QCOMPARE(lcMessages.count(), 0);

    lpZoom->trigger();
    QVERIFY(!lpOne2One->isEnabled());
    lpNone->trigger();
    QVERIFY(lpOne2One->isEnabled());
    lpOne2One->trigger();
    QVERIFY(!lpZoom->isEnabled());
    QVERIFY(lpPanel->surface()->oneToOne());
    lpOne2One->trigger();
    QVERIFY(lpZoom->isEnabled());
    QVERIFY(!lpPanel->surface()->oneToOne());
}

void tst_VideoWidget::rubberBandReportsItsSizeAndZooms()
{
    auto lpPanel = panel();
    lpPanel->NewFrame(mcFrames.mono8(1000, 500, 10));
    QVERIFY(lpPanel->surface()->waitForRendering());
    lpPanel->surface()->grab();
    actionNamed(lpPanel.get(), QStringLiteral("Zoom"))->trigger();
    QSignalSpy lcMessages(lpPanel.get(), &tcVideoWidget::Message);
    drag(lpPanel->surface(), QPoint(5, 7), QPoint(15, 27));
    QVERIFY(!lcMessages.isEmpty());
    QCOMPARE(lcMessages.last().first().toString(), QStringLiteral("10x20 5+7"));
    const QRect lcExpected = lpPanel->surface()->widgetToImage(QRect(5, 7, 10, 20));
    QCOMPARE(lpPanel->surface()->zoomRect(), lcExpected);
    // The zoom disarms the selection: the next drag does nothing.
    lcMessages.clear();
    drag(lpPanel->surface(), QPoint(5, 7), QPoint(50, 50));
    QCOMPARE(lcMessages.count(), 0);
}

void tst_VideoWidget::shiftDragPans()
{
    auto lpPanel = panel();
    lpPanel->NewFrame(mcFrames.mono8(100, 50, 10));
    drag(lpPanel->surface(), QPoint(100, 100), QPoint(130, 90), Qt::ShiftModifier);
    QCOMPARE(lpPanel->surface()->getPan(), QPoint(30, -10));
    QCOMPARE(lpPanel->surface()->cursor().shape(), Qt::CrossCursor);
}

void tst_VideoWidget::readOutOfAMono8Frame()
{
    auto lpPanel = panel();
    tpImageBuffer lpFrame = mcFrames.mono8(64, 32, 1);
    lpFrame->data()[4 * 64 + 3] = 7;
    actionNamed(lpPanel.get(), QStringLiteral("1:1"))->trigger();
    lpPanel->NewFrame(lpFrame);
    QVERIFY(lpPanel->surface()->waitForRendering());
    lpPanel->surface()->grab();
    QLabel* lpDetail = lpPanel->findChild<QLabel*>(QStringLiteral("labelDetail"));
    sendMouse(lpPanel->surface(), QEvent::MouseMove, QPoint(3, 4), Qt::NoButton);
    QCOMPARE(lpDetail->text(), QStringLiteral("3,4   7 :   7"));
    // A display filter changed the working copy: both values are shown.
    lpFrame->getFilteredData(false).at<uchar>(4, 3) = 9;
    sendMouse(lpPanel->surface(), QEvent::MouseMove, QPoint(3, 4), Qt::NoButton);
    QCOMPARE(lpDetail->text(), QStringLiteral("3,4   7 :   9"));
    QCOMPARE(lpPanel->findChild<QLabel*>(QStringLiteral("labelInfo"))->text(),
             QStringLiteral("Frame 1 [1 rendered]"));
}

void tst_VideoWidget::pluginRectangleToolGetsTheImageRectangle()
{
    tcTestRectTool lcTool;
    auto lpPanel = panel({&lcTool});
    QVERIFY(lcTool.mcAction.isCheckable());
    QVERIFY(lpPanel->findChild<QToolBar*>()->actions().contains(&lcTool.mcAction));
    lpPanel->NewFrame(mcFrames.mono8(1000, 500, 10));
    QVERIFY(lpPanel->surface()->waitForRendering());
    lpPanel->surface()->grab();
    lcTool.mcAction.trigger();
    drag(lpPanel->surface(), QPoint(20, 30), QPoint(120, 80));
    QCOMPARE(lcTool.mnCalls, 1);
    QCOMPARE(lcTool.mpView, lpPanel.get());
    QVERIFY(!lcTool.mbNodeMap); // no camera
    QCOMPARE(lcTool.mcRect, lpPanel->surface()->widgetToImage(QRect(20, 30, 100, 50)));
    QVERIFY(lcTool.mcRect.width() > 100);
}

void tst_VideoWidget::escapeLeavesFullScreen()
{
    auto lpPanel = panel();
    QAction* lpFullScreen = actionNamed(lpPanel.get(), QStringLiteral("Fullscreen"));
    lpFullScreen->trigger();
    QVERIFY(lpPanel->surface()->isFullScreenShown());
    QVERIFY(lpPanel->surface()->isWindow());
    QTest::keyClick(lpPanel->surface(), Qt::Key_Escape);
    QVERIFY(!lpFullScreen->isChecked());
    QVERIFY(!lpPanel->surface()->isFullScreenShown());
    QVERIFY(!lpPanel->surface()->isWindow());
    QVERIFY(lpPanel->isAncestorOf(lpPanel->surface()));
}

void tst_VideoWidget::saveAndLoadThroughThePanel()
{
    auto lpPanel = panel();
    tpImageBuffer lpFrame = mcFrames.mono8(64, 32, 33);
    lpFrame->data()[5] = 200;
    lpPanel->NewFrame(lpFrame);
    const QString lsRaw = mcDir.filePath(QStringLiteral("frame.img"));
    const QString lsPng = mcDir.filePath(QStringLiteral("frame.png"));
    QVERIFY(lpPanel->saveImageTo(lsRaw));
    QVERIFY(lpPanel->saveImageTo(lsPng));
    QCOMPARE(lpPanel->imageFile(), lsPng);

    lpPanel->NewFrame(mcFrames.mono8(64, 32, 0));
    QVERIFY(lpPanel->loadImageFrom(lsRaw));
    const tpImageBuffer lpLoaded = lpPanel->surface()->currentFrame();
    QCOMPARE(lpLoaded->getSize(), QSize(64, 32));
    QCOMPARE(int(lpLoaded->data()[5]), 200);
    QVERIFY(lpPanel->loadImageFrom(lsPng));
    QVERIFY(!lpPanel->surface()->showsFrame());
    QCOMPARE(lpPanel->surface()->currentImage()->size(), QSize(64, 32));
    QCOMPARE(qGray(lpPanel->surface()->currentImage()->pixel(5, 0)), 200);
    QCOMPARE(lpPanel->surface()->zoomRect(), QRect(0, 0, 64, 32));
}

void tst_VideoWidget::failedSaveOrLoadKeepsTheDisplay()
{
    auto lpPanel = panel();
    tpImageBuffer lpFrame = mcFrames.mono8(64, 32, 33);
    lpPanel->NewFrame(lpFrame);
    QSignalSpy lcErrors(lpPanel.get(), &tcVideoWidget::Error);
    QString lsBoxText;
    const auto lcAnswer = [&lsBoxText]
    {
        QTimer::singleShot(50,
                           [&lsBoxText]
                           {
                               if (auto* lpBox =
                                       qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                               {
                                   lsBoxText = lpBox->text();
                                   lpBox->accept();
                               }
                           });
    };
    const QString lsNowhere = mcDir.filePath(QStringLiteral("missing/folder/frame.png"));
    lcAnswer();
    QVERIFY(!lpPanel->saveImageTo(lsNowhere));
    QCOMPARE(lsBoxText, QStringLiteral("Error trying to save\n%1").arg(lsNowhere));
    QCOMPARE(lcErrors.count(), 1);

    const QString lsJunk = mcDir.filePath(QStringLiteral("junk.img"));
    QFile lcJunk(lsJunk);
    QVERIFY(lcJunk.open(QIODevice::WriteOnly));
    lcJunk.write("not a frame");
    lcJunk.close();
    lcAnswer();
    QVERIFY(!lpPanel->loadImageFrom(lsJunk));
    QCOMPARE(lsBoxText, QStringLiteral("Error trying to load\n%1").arg(lsJunk));
    QCOMPARE(lpPanel->surface()->currentFrame(), lpFrame);
    QVERIFY(lpPanel->surface()->showsFrame());
}

void tst_VideoWidget::interpolationBoxTellsWhatIsUsed()
{
    auto lpPanel = panel();
    auto* lpBox = lpPanel->findChild<QComboBox*>();
    QVERIFY(lpBox);
    QCOMPARE(lpBox->count(), 5);
    QCOMPARE(lpBox->itemText(0), QStringLiteral("Nearest Neighbor"));
    QCOMPARE(lpBox->itemData(4).toInt(), 5);
    QCOMPARE(lpBox->currentData().toInt(), lpPanel->surface()->interpolation());
    QCOMPARE(lpPanel->surface()->interpolation(), 1);
    lpBox->activated(2);
    QCOMPARE(lpPanel->surface()->interpolation(), 2);
}

void tst_VideoWidget::toolBarOrderAndOptionsButton()
{
    tcTestRectTool lcTool;
    auto lpPanel = panel({&lcTool});
    auto* lpBar = lpPanel->findChild<QToolBar*>();
    QStringList lsOrder;
    for (QAction* lpAction : lpBar->actions())
    {
        QWidget* lpWidget = lpBar->widgetForAction(lpAction);
        lsOrder << (lpAction->isSeparator()                  ? QStringLiteral("|")
                    : qobject_cast<QComboBox*>(lpWidget)     ? QStringLiteral("combo")
                    : qobject_cast<QPushButton*>(lpWidget)   ? lpWidget->objectName()
                    : lpWidget && lpAction->text().isEmpty() ? QStringLiteral("spacer")
                                                             : lpAction->text());
    }
    QCOMPARE(lsOrder, QStringList({"Keep Aspect Ratio", "1:1", "|", "None", "Zoom", "combo", "ROI", "|",
                                   "spacer", "btnShowOptions"}));
    auto* lpButton = lpPanel->findChild<QPushButton*>(QStringLiteral("btnShowOptions"));
    QVERIFY(lpButton->isVisible());
    QCOMPARE(lpButton->toolTip(), QStringLiteral("Show/hide the controls panel"));
    QVERIFY(!lpButton->icon().isNull());
    QVERIFY(QFile::exists(QStringLiteral(":/images/resources/knobs/Knob_Smart.png")));
    auto* lpTabs = lpPanel->findChild<QGroupBox*>(QStringLiteral("groupBoxTabs"));
    QVERIFY(lpTabs->isVisible());
    lpButton->click();
    QVERIFY(!lpTabs->isVisible());
    QVERIFY(lpBar->geometry().right() > lpPanel->surface()->width() - 60);
}

void tst_VideoWidget::snapshotKeepsACopyAndLeavesTheCamera()
{
    tpImageBuffer lpFrame = mcFrames.mono8(64, 32, 123, 41);
    QWeakPointer<tcImageBuffer> lpWatch = lpFrame;
    std::unique_ptr<tcVideoWidget> lpSnapshot(tcVideoWidget::newSnapshot(nullptr, lpFrame, {}));
    lpFrame.reset();
    QVERIFY(lpWatch.isNull()); // the camera's buffer is not held
    QVERIFY(lpSnapshot->isSnapshot());
    QCOMPARE(lpSnapshot->windowTitle(), QStringLiteral("Snapshot - Frame 42"));
    QCOMPARE(lpSnapshot->surface()->currentFrame()->getFrameId(), quint64(41));
    QCOMPARE(int(lpSnapshot->surface()->currentFrame()->data()[100]), 123);
    std::unique_ptr<tcVideoWidget> lpEmpty(tcVideoWidget::newSnapshot(nullptr, tpImageBuffer(), {}));
    QVERIFY(!lpEmpty->surface()->hasImage());
    QVERIFY(!panel()->isSnapshot());
}

void tst_VideoWidget::pluginTabsAndContextMenu()
{
    tcTabPlugin lcPlugin;
    tcTestRectTool lcTool;
    {
        auto lpPanel = panel({&lcTool, &lcPlugin});
        auto* lpTabs = lpPanel->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
        QCOMPARE(lpTabs->count(), 1); // the debugging tab is gone
        QCOMPARE(lpTabs->tabText(0), QStringLiteral("Settings"));
        QCOMPARE(lpTabs->widget(0), lcPlugin.mpPage);
        QVERIFY(lpPanel->findChild<QToolBar*>()->actions().contains(lcPlugin.mpPage->actions().first()));
        tpImageBuffer lpFrame = mcFrames.mono8(16, 16, 1);
        lpPanel->NewFrame(lpFrame);

        QStringList lsEntries;
        QTimer::singleShot(50,
                           [&lsEntries]
                           {
                               if (auto* lpMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
                               {
                                   for (QAction* lpAction : lpMenu->actions())
                                       lsEntries << (lpAction->isSeparator() ? QStringLiteral("|")
                                                                             : lpAction->text());
                                   lpMenu->close();
                               }
                           });
        QMetaObject::invokeMethod(lpPanel.get(), "contextMenuRequested", Q_ARG(QPoint, QPoint(10, 10)));
        // The rectangle tool is not checked, so only the other plugin offers a menu.
        QCOMPARE(lsEntries, QStringList({"Zoom out full", "Keep Aspect Ratio", "Copy Image",
                                         "Load Image from file...", "Fullscreen", "|", "Tab plugin"}));
        QCOMPARE(lcPlugin.mpAskedWith, lpFrame);
    }
    // The page belongs to its plugin and outlives the panel.
    QVERIFY(lcPlugin.mpPage->parent() == nullptr);
}

// A page has one parent and an action one group: a snapshot leaves them in
// the live panel, a second live panel takes them and gives them back when it
// closes.
void tst_VideoWidget::pluginPiecesStayWithTheNewestLivePanel()
{
    tcTabPlugin lcPlugin;
    tcTestRectTool lcTool;
    auto tabsOf = [](QWidget* apPanel)
    { return apPanel->findChild<QTabWidget*>(QStringLiteral("tabWidget")); };
    auto lpFirst = panel({&lcTool, &lcPlugin});
    QCOMPARE(tabsOf(lpFirst.get())->widget(0), lcPlugin.mpPage);
    QActionGroup* lpFirstGroup = lcTool.mcAction.actionGroup();
    QVERIFY(lpFirstGroup);
    {
        std::unique_ptr<tcVideoWidget> lpStill(
            tcVideoWidget::newSnapshot(nullptr, mcFrames.mono8(8, 8, 3), {&lcTool, &lcPlugin}));
        QCOMPARE(tabsOf(lpStill.get())->count(), 0);
        QVERIFY(!lpStill->findChild<QToolBar*>()->actions().contains(&lcTool.mcAction));
        QCOMPARE(tabsOf(lpFirst.get())->widget(0), lcPlugin.mpPage);
        QCOMPARE(lcTool.mcAction.actionGroup(), lpFirstGroup);
    }
    QCOMPARE(tabsOf(lpFirst.get())->widget(0), lcPlugin.mpPage);
    {
        auto lpSecond = panel({&lcTool, &lcPlugin});
        QCOMPARE(tabsOf(lpSecond.get())->widget(0), lcPlugin.mpPage);
        QVERIFY(lcTool.mcAction.actionGroup() != lpFirstGroup);
        lcTool.mcAction.trigger();
        QVERIFY(lcTool.mcAction.isChecked());
    }
    QCOMPARE(tabsOf(lpFirst.get())->widget(0), lcPlugin.mpPage);
    QCOMPARE(tabsOf(lpFirst.get())->tabText(0), QStringLiteral("Settings"));
    QCOMPARE(lcTool.mcAction.actionGroup(), lpFirstGroup);
    QVERIFY(!lcTool.mcAction.isChecked()); // in use only in the panel that closed
    lpFirst.reset();
    QVERIFY(lcPlugin.mpPage->parent() == nullptr);
    QVERIFY(!lcTool.mcAction.actionGroup());
}

void tst_VideoWidget::oneToOneShowsTheFullConversionsPixels()
{
    // A Bayer frame of noise: any slip of the demosaicing or the placement shows.
    std::vector<uchar>& lrBytes = mcFrames.mlBytes.emplace_back(size_t(300) * 200);
    for (size_t lnIndex = 0; lnIndex < lrBytes.size(); ++lnIndex)
        lrBytes[lnIndex] = uchar((lnIndex * 2654435761u) >> 13);
    tpImageBuffer lpFrame = tcImageBuffer::newImage(lrBytes.data(), 300, 200, quint64(0x01080009u));
    tcGLVideoWidget lcSurface;
    lcSurface.resize(200, 100);
    lcSurface.show();
    lcSurface.setOne2One(true);
    lcSurface.setPan(QPoint(-11, -21));
    lcSurface.setFrame(lpFrame);
    QVERIFY(lcSurface.waitForRendering());
    const QImage lcShot = lcSurface.grab().toImage();
    const QImage lcFull =
        *tcImageBuffer::newImage(lrBytes.data(), 300, 200, quint64(0x01080009u))->toQImage();
    for (int lnY = 0; lnY < 100; lnY += 7)
        for (int lnX = 0; lnX < 200; lnX += 3)
            QCOMPARE(lcShot.pixel(lnX, lnY), lcFull.pixel(lnX + 11, lnY + 21));
    QCOMPARE(lcSurface.widgetToImage(QPoint(5, 6)), QPoint(16, 27));
}

void tst_VideoWidget::copyPutsThePictureOnTheClipboard()
{
    auto lpPanel = panel();
    lpPanel->NewFrame(mcFrames.mono8(64, 32, 90));
    lpPanel->copyImage();
    const QImage lcCopied = QApplication::clipboard()->image();
    QCOMPARE(lcCopied.size(), QSize(64, 32));
    QCOMPARE(qGray(lcCopied.pixel(10, 10)), 90);
}

void tst_VideoWidget::settingsOutliveThePanel()
{
    const QString lsFile = mcDir.filePath(QStringLiteral("remembered.png"));
    {
        auto lpPanel = panel();
        QAction* lpKeep = actionNamed(lpPanel.get(), QStringLiteral("Keep Aspect Ratio"));
        QVERIFY(lpKeep->isChecked());
        lpKeep->trigger();
        QVERIFY(!lpPanel->surface()->keepAspectRatio());
        lpPanel->NewFrame(mcFrames.mono8(8, 8, 1));
        QVERIFY(lpPanel->saveImageTo(lsFile));
    }
    auto lpPanel = panel();
    QVERIFY(!actionNamed(lpPanel.get(), QStringLiteral("Keep Aspect Ratio"))->isChecked());
    QVERIFY(!lpPanel->surface()->keepAspectRatio());
    QCOMPARE(lpPanel->imageFile(), lsFile);
    actionNamed(lpPanel.get(), QStringLiteral("Keep Aspect Ratio"))->trigger();
}

QTEST_MAIN(tst_VideoWidget)
#include "tst_videowidget.moc"
