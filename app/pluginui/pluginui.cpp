#include "pluginui.h"

#include "debugsource.h"
#include "gentlplugin.h"
#include "weaklist.h"

#include <QAction>
#include <QDebug>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVariant>

namespace
{
const char* const kControlsMenu = "Controls";

// Shows a plugin's control widget in front of everything else.
void showAndRaise(QWidget* apWidget)
{
    apWidget->show();
    apWidget->raise();
    apWidget->activateWindow();
}

QString controlWidgetType(const QWidget* apWidget)
{
    const QString lsType = apWidget->property("ControlWidgetType").toString();
    return lsType.isEmpty() ? QStringLiteral("CWTypeMenu") : lsType;
}
} // namespace

tcPluginUi::tcPluginUi(QMainWindow* apWindow, const tcDebugSource& arTracer)
    : mpWindow(apWindow), mrTracer(arTracer)
{
}

template <typename tObject> bool tcPluginUi::enter(QList<QPointer<tObject>>& alList, tObject* apObject)
{
    if (!apObject || alList.contains(QPointer<tObject>(apObject)))
        return false;
    alList << QPointer<tObject>(apObject);
    return true;
}

QList<QMenu*> tcPluginUi::menus() const
{
    return liveObjects<QMenu>(msPluginMenus);
}

QList<QAction*> tcPluginUi::actions() const
{
    return liveObjects<QAction>(msPluginActions);
}

QList<QWidget*> tcPluginUi::widgets() const
{
    return liveObjects<QWidget>(msPluginWidgets);
}

QList<QWidget*> tcPluginUi::indicators() const
{
    return liveObjects<QWidget>(msPluginIndicators);
}

QList<QToolBar*> tcPluginUi::toolBars() const
{
    return liveObjects<QToolBar>(msPluginToolBars);
}

void tcPluginUi::install(const QList<tcGenTLPlugin*>& alPlugins)
{
    removeAll();
    for (tcGenTLPlugin* lpPlugin : alPlugins)
        if (lpPlugin)
            installPlugin(lpPlugin);
    traceSets(alPlugins);
}

void tcPluginUi::installPlugin(tcGenTLPlugin* apPlugin)
{
    QWidget* lpOwnWidget = apPlugin->controlWidget();
    if (lpOwnWidget)
        addControlWidget(lpOwnWidget);
    for (QWidget* lpIndicator : apPlugin->getIndicators())
        addIndicator(lpIndicator);
    for (const QString& lsName : apPlugin->interfaceNames())
    {
        tcViewerInterface* lpInterface = apPlugin->findInterface(lsName);
        if (!lpInterface)
            continue;
        if (mrTracer.GetDbgLevel() >= 1)
            qDebug() << "  interface" << lsName;
        if (QMenu* lpMenu = lpInterface->applicationMenu())
            addMenu(lpMenu);
        const QList<QAction*> llActions = lpInterface->toolbarActions();
        if (!llActions.isEmpty())
            addActions(llActions, lpInterface->name());
        QWidget* lpWidget = lpInterface->controlWidget();
        if (lpWidget && lpWidget != lpOwnWidget)
            addControlWidget(lpWidget);
    }
}

// Plugin menus leave the menu bar; the window's own submenus, entries and
// tool bars are deleted; the plugins' actions and indicators are only taken
// out, since their plugins may offer them again.
void tcPluginUi::removeAll()
{
    const bool lbTrace = mrTracer.GetDbgLevel() >= 1;
    for (QMenu* lpMenu : menus())
    {
        if (lbTrace)
            qDebug() << "MainWindow::pluginsChanged"
                     << "msPluginMenus" << lpMenu->title();
        mpWindow->menuBar()->removeAction(lpMenu->menuAction());
        if (lpMenu->parent() == mpWindow)
            delete lpMenu;
    }
    for (QAction* lpAction : actions())
    {
        if (lbTrace)
            qDebug() << "MainWindow::pluginsChanged"
                     << "msPluginActions" << lpAction->text();
        for (QWidget* lpWidget : lpAction->associatedWidgets())
            lpWidget->removeAction(lpAction);
        if (lpAction->parent() == mpWindow)
            delete lpAction;
    }
    for (QWidget* lpWidget : widgets())
        if (lbTrace)
            qDebug() << "MainWindow::pluginsChanged"
                     << "msPluginWidgets" << lpWidget;
    for (QWidget* lpIndicator : indicators())
    {
        if (lbTrace)
            qDebug() << "MainWindow::pluginsChanged"
                     << "msPluginIndicators" << lpIndicator;
        mpWindow->statusBar()->removeWidget(lpIndicator);
        if (lpIndicator->parent() == mpWindow)
            delete lpIndicator;
    }
    for (QToolBar* lpToolBar : toolBars())
    {
        mpWindow->removeToolBar(lpToolBar);
        delete lpToolBar;
    }
    msPluginMenus.clear();
    msPluginActions.clear();
    msPluginWidgets.clear();
    msPluginIndicators.clear();
    msPluginToolBars.clear();
}

void tcPluginUi::addMenu(QMenu* apMenu)
{
    if (!apMenu)
        return;
    mpWindow->menuBar()->addMenu(apMenu);
    enter(msPluginMenus, apMenu);
}

// Added to the window itself, so that its shortcut works without a menu entry.
void tcPluginUi::addAction(QAction* apAction)
{
    if (!apAction)
    {
        qWarning() << "MainWindow::addPluginAction"
                   << "Null action";
        return;
    }
    addActionToSet(apAction);
    mpWindow->addAction(apAction);
}

void tcPluginUi::addActions(const QList<QAction*>& alActions, const QString& arCategory)
{
    QToolBar* lpToolBar = mpWindow->addToolBar(arCategory);
    lpToolBar->setObjectName(QStringLiteral("pluginToolBar_") + arCategory);
    enter(msPluginToolBars, lpToolBar);
    for (QAction* lpAction : alActions)
    {
        if (lpAction)
            addActionToSet(lpAction);
        else
            qWarning() << "MainWindow::addPluginActions" << arCategory << "Null action";
    }
    lpToolBar->addActions(alActions);
}

void tcPluginUi::addIndicator(QWidget* apIndicator)
{
    if (!apIndicator || !enter(msPluginIndicators, apIndicator))
        return;
    mpWindow->statusBar()->addPermanentWidget(apIndicator);
    apIndicator->show();
}

// Tab-type widgets belong to the video windows; menu-type ones get an entry
// (or, with actions of their own, a submenu) in their preferred menu.
void tcPluginUi::addControlWidget(QWidget* apWidget)
{
    if (!apWidget || controlWidgetType(apWidget) != QLatin1String("CWTypeMenu"))
        return;
    enter(msPluginWidgets, apWidget);
    QMenu* lpTarget = menuBarMenu(apWidget->property("PreferredMenu").toString());
    if (!lpTarget)
        lpTarget = menuBarMenu(QLatin1String(kControlsMenu));
    if (!lpTarget)
        lpTarget = mpWindow->menuBar()->addMenu(QLatin1String(kControlsMenu));

    QPointer<QWidget> lpGuard(apWidget);
    auto lcShow = [lpGuard]
    {
        if (lpGuard)
            showAndRaise(lpGuard);
    };
    if (apWidget->actions().isEmpty())
    {
        auto* lpEntry = new QAction(apWidget->windowTitle(), mpWindow);
        QObject::connect(lpEntry, &QAction::triggered, lpEntry, lcShow);
        lpTarget->addAction(lpEntry);
        addActionToSet(lpEntry);
        return;
    }
    auto* lpSubMenu = new QMenu(apWidget->windowTitle(), mpWindow);
    enter(msPluginMenus, lpSubMenu);
    lpTarget->addMenu(lpSubMenu);
    QAction* lpShow = lpSubMenu->addAction(QStringLiteral("Show"));
    QObject::connect(lpShow, &QAction::triggered, lpShow, lcShow);
    lpSubMenu->addActions(apWidget->actions());
}

QMenu* tcPluginUi::menuBarMenu(const QString& arTitle) const
{
    if (arTitle.isEmpty())
        return nullptr;
    for (QMenu* lpMenu : mpWindow->menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        if (lpMenu->title() == arTitle)
            return lpMenu;
    return nullptr;
}

void tcPluginUi::addActionToSet(QAction* apAction)
{
    enter(msPluginActions, apAction);
    if (mrTracer.GetDbgLevel() >= 0)
        qDebug() << "MainWindow::addActionToSet"
                 << "msPluginActions.count()=" << msPluginActions.count() << "p->text()=" << apAction->text()
                 << "p->parent()=" << apAction->parent();
}

void tcPluginUi::traceSets(const QList<tcGenTLPlugin*>& alPlugins) const
{
    if (mrTracer.GetDbgLevel() < 1)
        return;
    qDebug() << "Active plugin UI elements..." << alPlugins;
    qDebug() << "Plugin Menus" << menus();
    qDebug() << "Plugin Actions" << actions();
    qDebug() << "Plugin Widgets" << widgets();
    qDebug() << "Plugin Indicators" << indicators();
}
