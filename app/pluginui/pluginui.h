#pragma once

#include <QList>
#include <QPointer>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;
class tcDebugSource;
class tcGenTLPlugin;

// Installs the user-interface elements of a plugin set into a main window and
// removes them again before the next set comes, so that replacing a set never
// leaves a second copy of a menu, action, tool bar or indicator behind.
//
// Elements the window made itself (entries and submenus for control widgets,
// tool bars) are deleted on removal; elements the plugins own are only taken
// out of the window. Entries whose object was destroyed elsewhere are skipped.
class tcPluginUi
{
public:
    tcPluginUi(QMainWindow* apWindow, const tcDebugSource& arTracer);
    tcPluginUi(const tcPluginUi&) = delete;
    tcPluginUi& operator=(const tcPluginUi&) = delete;

    // Removes everything installed before, then installs the set.
    void install(const QList<tcGenTLPlugin*>& alPlugins);
    void removeAll();

    void addMenu(QMenu* apMenu);
    void addAction(QAction* apAction);
    void addActions(const QList<QAction*>& alActions, const QString& arCategory);
    void addIndicator(QWidget* apIndicator);
    void addControlWidget(QWidget* apWidget);

    // The menu-bar menu (a direct child of the menu bar) with that title.
    QMenu* menuBarMenu(const QString& arTitle) const;

    QList<QMenu*> menus() const;
    QList<QAction*> actions() const;
    QList<QWidget*> widgets() const;
    QList<QWidget*> indicators() const;
    QList<QToolBar*> toolBars() const;

private:
    void installPlugin(tcGenTLPlugin* apPlugin);
    void addActionToSet(QAction* apAction);
    void traceSets(const QList<tcGenTLPlugin*>& alPlugins) const;
    template <typename tObject> static bool enter(QList<QPointer<tObject>>& alList, tObject* apObject);

    QMainWindow* mpWindow;
    const tcDebugSource& mrTracer;
    QList<QPointer<QMenu>> msPluginMenus;
    QList<QPointer<QAction>> msPluginActions;
    QList<QPointer<QWidget>> msPluginWidgets;
    QList<QPointer<QWidget>> msPluginIndicators;
    QList<QPointer<QToolBar>> msPluginToolBars;
};
