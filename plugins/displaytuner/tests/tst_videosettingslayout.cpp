// The video settings panel where the video display shows it: a page of a tab
// widget beside the video, in the room the program's default window leaves.
// Every control must be there to see and to click, scrolled to if need be,
// never squeezed or cut off, and every group title shown whole.
#include "opencamera.h"
#include "videosettingscontrolwidget.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace
{
// The video display's arrangement: the video on the left, the plugin pages
// in a tab widget on the right, a splitter between them. Like the video
// display it only borrows the page, which belongs to its plugin.
class tcVideoDisplayStandIn : public QWidget
{
public:
    explicit tcVideoDisplayStandIn(QWidget* apPage) : mpPage(apPage)
    {
        auto* lpLayout = new QHBoxLayout(this);
        lpLayout->setContentsMargins(0, 0, 0, 0);
        mpSplitter = new QSplitter(this);
        auto* lpVideo = new QLabel(QStringLiteral("video"));
        lpVideo->setMinimumWidth(200);
        mpSplitter->addWidget(lpVideo);
        auto* lpTabs = new QTabWidget;
        lpTabs->addTab(apPage, apPage->windowTitle());
        mpSplitter->addWidget(lpTabs);
        lpLayout->addWidget(mpSplitter);
    }
    ~tcVideoDisplayStandIn() override
    {
        mpPage->hide();
        mpPage->setParent(nullptr);
    }
    QWidget* mpPage;
    QSplitter* mpSplitter;
};

// Labels without text (the red gain's on mono formats) show nothing.
bool isControl(QWidget* apWidget)
{
    if (auto* lpLabel = qobject_cast<QLabel*>(apWidget))
        return !lpLabel->text().isEmpty();
    return qobject_cast<QAbstractSpinBox*>(apWidget) || qobject_cast<QComboBox*>(apWidget) ||
           qobject_cast<QAbstractButton*>(apWidget) || qobject_cast<QAbstractSlider*>(apWidget) ||
           qobject_cast<QGroupBox*>(apWidget);
}

// The widget's rectangle in the coordinates of apOuter.
QRect rectIn(QWidget* apWidget, QWidget* apOuter)
{
    return QRect(apWidget->mapTo(apOuter, QPoint(0, 0)), apWidget->size());
}
} // namespace

class tst_VideoSettingsLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void everyControl_isShownAndReachable_data();
    void everyControl_isShownAndReachable();
    void groupTitles_areShownWhole();

private:
    // The panel bound to a simulated camera; both live until cleanup, which
    // unbinds the panel before the camera goes.
    bool openPanel(const char* apDeviceId);

    std::unique_ptr<tcOpenCamera> mpCamera;
    std::unique_ptr<tcVideoSettingsControlWidget> mpPanel;
};

void tst_VideoSettingsLayout::initTestCase()
{
    tcSimcamFixture::useTemporarySettings();
    tcImageBuffer::registerMetaType();
}

void tst_VideoSettingsLayout::cleanup()
{
    if (mpPanel)
        mpPanel->setCamera(nullptr);
    mpPanel.reset();
    mpCamera.reset();
}

bool tst_VideoSettingsLayout::openPanel(const char* apDeviceId)
{
    mpCamera = std::make_unique<tcOpenCamera>(apDeviceId);
    if (!mpCamera->mbOpen)
        return false;
    mpPanel = std::make_unique<tcVideoSettingsControlWidget>(nullptr);
    mpPanel->setCamera(&mpCamera->mcCamera);
    return true;
}

void tst_VideoSettingsLayout::everyControl_isShownAndReachable_data()
{
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<bool>("narrowPage");
    // 640 × 505 is the video window in the program's first, default layout.
    QTest::newRow("colour, default window") << QByteArray(tnSimcam::kColorId) << QSize(640, 505) << false;
    QTest::newRow("mono, default window") << QByteArray(tnSimcam::kMonoId) << QSize(640, 505) << false;
    QTest::newRow("large sensor, default window")
        << QByteArray(tnSimcam::kSensorId) << QSize(640, 505) << false;
    QTest::newRow("colour, low window") << QByteArray(tnSimcam::kColorId) << QSize(640, 280) << false;
    QTest::newRow("colour, splitter pushed right")
        << QByteArray(tnSimcam::kColorId) << QSize(640, 505) << true;
}

void tst_VideoSettingsLayout::everyControl_isShownAndReachable()
{
    QFETCH(QByteArray, device);
    QFETCH(QSize, window);
    QFETCH(bool, narrowPage);
    QVERIFY(openPanel(device.constData()));
    auto* lpPanel = mpPanel.get();
    tcVideoDisplayStandIn lcDisplay(lpPanel);
    lcDisplay.resize(window);
    lcDisplay.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lcDisplay));
    if (narrowPage)
        lcDisplay.mpSplitter->setSizes({10000, 1});
    QCoreApplication::processEvents();

    // The page stays inside the window.
    QVERIFY2(lcDisplay.rect().contains(rectIn(lpPanel, &lcDisplay)),
             qPrintable(QStringLiteral("panel %1 x %2 in a %3 x %4 window")
                            .arg(lpPanel->width())
                            .arg(lpPanel->height())
                            .arg(window.width())
                            .arg(window.height())));
    auto* lpArea = lpPanel->findChild<QScrollArea*>();
    QVERIFY(lpArea);
    QWidget* lpViewport = lpArea->viewport();

    int lnControls = 0;
    for (QWidget* lpControl : lpArea->widget()->findChildren<QWidget*>())
    {
        // Hidden on purpose (green and blue gain on mono formats).
        if (!isControl(lpControl) || lpControl->isHidden())
            continue;
        ++lnControls;
        const QByteArray lsName = lpControl->objectName().toLatin1();
        QVERIFY2(lpControl->isVisible(), lsName);
        QVERIFY2(!lpControl->geometry().isEmpty(), lsName);
        // Squeezed below their least size, boxes show their frames only.
        const QSize lcLeast = lpControl->minimumSizeHint();
        QVERIFY2(lpControl->width() >= lcLeast.width() && lpControl->height() >= lcLeast.height(),
                 lsName + " is squeezed");
        if (lpControl->height() > lpViewport->height())
            continue;
        lpArea->ensureWidgetVisible(lpControl, 0, 0);
        const QRect lcShown = rectIn(lpControl, lpViewport);
        QVERIFY2(lpViewport->rect().contains(lcShown), lsName + " cannot be scrolled into view");
        // Nothing lies over it: a click at its middle reaches it.
        QWidget* lpHit = lpViewport->childAt(lcShown.center());
        QVERIFY2(lpHit && (lpHit == lpControl || lpControl->isAncestorOf(lpHit)), lsName + " is covered");
    }
    QVERIFY2(lnControls >= 29, qPrintable(QString::number(lnControls)));
}

void tst_VideoSettingsLayout::groupTitles_areShownWhole()
{
    QVERIFY(openPanel(tnSimcam::kSensorId));
    mpPanel->resize(640, 505);
    mpPanel->show();
    QVERIFY(QTest::qWaitForWindowExposed(mpPanel.get()));
    const QList<QGroupBox*> lsGroups = mpPanel->findChildren<QGroupBox*>();
    QCOMPARE(lsGroups.size(), 6);
    for (QGroupBox* lpGroup : lsGroups)
    {
        QStyleOptionGroupBox lcOption;
        lcOption.initFrom(lpGroup);
        lcOption.text = lpGroup->title();
        lcOption.textAlignment = lpGroup->alignment();
        lcOption.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (lpGroup->isCheckable())
            lcOption.subControls |= QStyle::SC_GroupBoxCheckBox;
        const QRect lcTitle = lpGroup->style()->subControlRect(QStyle::CC_GroupBox, &lcOption,
                                                               QStyle::SC_GroupBoxLabel, lpGroup);
        const int lnNeeded = lpGroup->fontMetrics().horizontalAdvance(lpGroup->title());
        QVERIFY2(lcTitle.width() >= lnNeeded, qPrintable(QStringLiteral("\"%1\": %2 of %3 pixels")
                                                             .arg(lpGroup->title())
                                                             .arg(lcTitle.width())
                                                             .arg(lnNeeded)));
        QVERIFY2(lpGroup->rect().contains(lcTitle), qPrintable(lpGroup->title()));
    }
}

QTEST_MAIN(tst_VideoSettingsLayout)
#include "tst_videosettingslayout.moc"
