#include "debugsource.h"
#include "gentlplugin.h"
#include "imagefilterinterface.h"
#include "pluginui.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QtTest>

#include <memory>

namespace
{
class tcTracer : public tcDebugSource
{
public:
    tcTracer() : tcDebugSource(QStringLiteral("pluginui test"), 1) {}
};

// A piece with whatever user interface the test gives it.
class tcTestPiece : public tcImageFilterInterface
{
    Q_OBJECT

public:
    explicit tcTestPiece(const QString& arName, QObject* apParent) : tcImageFilterInterface(arName, apParent)
    {
        setObjectName(arName);
    }
    QList<QAction*> toolbarActions() override { return mlActions; }
    QMenu* applicationMenu() override { return mpMenu; }
    QWidget* controlWidget() override { return mpWidget; }

    QList<QAction*> mlActions;
    QMenu* mpMenu = nullptr;
    QWidget* mpWidget = nullptr;
};

class tcTestPlugin : public tcGenTLPlugin
{
    Q_OBJECT

public:
    tcTestPlugin() : tcGenTLPlugin(QStringLiteral("test plugin")), mpPiece(new tcTestPiece("Piece", this))
    {
        setObjectName(QStringLiteral("Test Plugin"));
        addInterface(mpPiece);
    }
    QWidget* controlWidget() override { return mpWidget; }
    QList<QWidget*> getIndicators() override { return mlIndicators; }

    tcTestPiece* mpPiece;
    QWidget* mpWidget = nullptr;
    QList<QWidget*> mlIndicators;
};

// A control widget shown in a menu: the window title names its entry.
std::unique_ptr<QWidget> controlWidget(const QString& arTitle, const QString& arMenu = QString(),
                                       const QString& arType = QString())
{
    auto lpWidget = std::make_unique<QWidget>();
    lpWidget->setWindowTitle(arTitle);
    lpWidget->setProperty("PreferredMenu", arMenu);
    lpWidget->setProperty("ControlWidgetType", arType);
    return lpWidget;
}

QStringList entries(QMenu* apMenu)
{
    QStringList lsTexts;
    for (QAction* lpAction : apMenu->actions())
        if (!lpAction->isSeparator())
            lsTexts << lpAction->text();
    return lsTexts;
}

QStringList menuBarTitles(QMainWindow& arWindow)
{
    QStringList lsTitles;
    for (QAction* lpAction : arWindow.menuBar()->actions())
        lsTitles << lpAction->text();
    return lsTitles;
}
} // namespace

class tst_PluginUi : public QObject
{
    Q_OBJECT

    std::unique_ptr<QMainWindow> mpWindow;
    std::unique_ptr<tcTracer> mpTracer;
    std::unique_ptr<tcPluginUi> mpUi;
    QMenu* mpView = nullptr;
    QMenu* mpControls = nullptr;

private slots:
    void init()
    {
        mpWindow = std::make_unique<QMainWindow>();
        mpWindow->menuBar()->addMenu(new QMenu(QStringLiteral("File"), mpWindow->menuBar()));
        mpView = new QMenu(QStringLiteral("View"), mpWindow->menuBar());
        mpWindow->menuBar()->addMenu(mpView);
        mpControls = new QMenu(QStringLiteral("Controls"), mpWindow->menuBar());
        mpControls->addAction(QStringLiteral("Command Console"));
        mpWindow->menuBar()->addMenu(mpControls);
        mpTracer = std::make_unique<tcTracer>();
        mpUi = std::make_unique<tcPluginUi>(mpWindow.get(), *mpTracer);
    }

    void cleanup()
    {
        mpUi.reset();
        mpWindow.reset();
    }

    void widgetWithoutActionsGetsOneEntryInItsMenu_data()
    {
        QTest::addColumn<QString>("preferred");
        QTest::addColumn<QString>("target");
        QTest::newRow("View") << "View"
                              << "View";
        QTest::newRow("unknown menu") << "Tools"
                                      << "Controls";
        QTest::newRow("none") << QString() << "Controls";
    }

    void widgetWithoutActionsGetsOneEntryInItsMenu()
    {
        QFETCH(QString, preferred);
        QFETCH(QString, target);
        auto lpWidget = controlWidget(QStringLiteral("Exposure"), preferred);
        mpUi->addControlWidget(lpWidget.get());
        QMenu* lpTarget = mpUi->menuBarMenu(target);
        QVERIFY(lpTarget);
        QCOMPARE(entries(lpTarget).count(QStringLiteral("Exposure")), 1);
        QMenu* lpOther = target == QLatin1String("View") ? mpControls : mpView;
        QVERIFY(!entries(lpOther).contains(QStringLiteral("Exposure")));
        QCOMPARE(mpUi->actions().size(), 1);
        QCOMPARE(mpUi->widgets(), QList<QWidget*>{lpWidget.get()});

        QVERIFY(!lpWidget->isVisible());
        mpUi->actions().first()->trigger();
        QVERIFY(lpWidget->isVisible());
    }

    void widgetWithActionsGetsSubmenu()
    {
        auto lpWidget = controlWidget(QStringLiteral("Sensor"));
        lpWidget->addAction(new QAction(QStringLiteral("Save"), lpWidget.get()));
        lpWidget->addAction(new QAction(QStringLiteral("Restore"), lpWidget.get()));
        mpUi->addControlWidget(lpWidget.get());
        QCOMPARE(entries(mpControls), QStringList({"Command Console", "Sensor"}));
        QMenu* lpSub = mpUi->menus().value(0);
        QVERIFY(lpSub);
        QCOMPARE(lpSub->title(), QStringLiteral("Sensor"));
        QCOMPARE(entries(lpSub), QStringList({"Show", "Save", "Restore"}));
        lpSub->actions().first()->trigger();
        QVERIFY(lpWidget->isVisible());
    }

    void tabWidgetsAreLeftToTheVideoWindow()
    {
        auto lpWidget =
            controlWidget(QStringLiteral("Tuner"), QStringLiteral("View"), QStringLiteral("CWTypeTab"));
        mpUi->addControlWidget(lpWidget.get());
        QVERIFY(mpUi->actions().isEmpty());
        QVERIFY(mpUi->menus().isEmpty());
        QCOMPARE(entries(mpView), QStringList());
    }

    void toolBarOnlyForInterfacesWithActions()
    {
        tcTestPlugin lcPlugin;
        mpUi->install({&lcPlugin});
        QVERIFY(mpUi->toolBars().isEmpty());

        QAction lcPlay(QStringLiteral("Play"));
        lcPlugin.mpPiece->mlActions = {&lcPlay, nullptr};
        QTest::ignoreMessage(QtWarningMsg, "MainWindow::addPluginActions \"Piece\" Null action");
        mpUi->install({&lcPlugin});
        QCOMPARE(mpUi->toolBars().size(), 1);
        QCOMPARE(mpUi->toolBars().first()->windowTitle(), QStringLiteral("Piece"));
        QCOMPARE(mpUi->actions(), QList<QAction*>{&lcPlay});
    }

    void nullActionIsWarnedAndSkipped()
    {
        QTest::ignoreMessage(QtWarningMsg, "MainWindow::addPluginAction Null action");
        mpUi->addAction(nullptr);
        QVERIFY(mpUi->actions().isEmpty());
        QAction lcShortcut(QStringLiteral("Snap"));
        mpUi->addAction(&lcShortcut);
        QVERIFY(mpWindow->actions().contains(&lcShortcut));
    }

    void secondSetReplacesTheFirstWithoutCopies()
    {
        tcTestPlugin lcPlugin;
        auto lpWidget = controlWidget(QStringLiteral("Exposure"), QStringLiteral("View"));
        QMenu lcMenu(QStringLiteral("Tuner"));
        QAction lcPlay(QStringLiteral("Play"));
        QLabel lcIndicator(QStringLiteral("HDMI"));
        lcPlugin.mpWidget = lpWidget.get();
        lcPlugin.mpPiece->mpMenu = &lcMenu;
        lcPlugin.mpPiece->mlActions = {&lcPlay};
        lcPlugin.mlIndicators = {&lcIndicator};

        for (int lnRound = 0; lnRound < 3; ++lnRound)
        {
            mpUi->install({&lcPlugin});
            QCOMPARE(menuBarTitles(*mpWindow), QStringList({"File", "View", "Controls", "Tuner"}));
            QCOMPARE(entries(mpView), QStringList{"Exposure"});
            QCOMPARE(mpUi->toolBars().size(), 1);
            QCOMPARE(mpWindow->findChildren<QToolBar*>().size(), 1);
            QCOMPARE(mpUi->indicators(), QList<QWidget*>{&lcIndicator});
            QCOMPARE(lcIndicator.parentWidget(), mpWindow->statusBar());
            QVERIFY(lcIndicator.isVisibleTo(mpWindow->statusBar()));
        }

        // An empty set removes everything the window installed.
        mpUi->install({});
        QCOMPARE(menuBarTitles(*mpWindow), QStringList({"File", "View", "Controls"}));
        QCOMPARE(entries(mpView), QStringList());
        QVERIFY(mpWindow->findChildren<QToolBar*>().isEmpty());
        QVERIFY(!lcIndicator.isVisibleTo(mpWindow->statusBar()));
        QVERIFY(mpUi->actions().isEmpty() && mpUi->menus().isEmpty() && mpUi->indicators().isEmpty());
        // The plugin's own objects are still there.
        QCOMPARE(lcPlay.text(), QStringLiteral("Play"));
        QCOMPARE(lcMenu.title(), QStringLiteral("Tuner"));
    }

    void destroyedElementsAreSkipped()
    {
        auto lpIndicator = std::make_unique<QLabel>(QStringLiteral("gone"));
        auto lpMenu = std::make_unique<QMenu>(QStringLiteral("Gone"));
        mpUi->addIndicator(lpIndicator.get());
        mpUi->addMenu(lpMenu.get());
        lpIndicator.reset();
        lpMenu.reset();
        QVERIFY(mpUi->indicators().isEmpty());
        mpUi->install({});
        QCOMPARE(menuBarTitles(*mpWindow), QStringList({"File", "View", "Controls"}));
    }
};

QTEST_MAIN(tst_PluginUi)
#include "tst_pluginui.moc"
