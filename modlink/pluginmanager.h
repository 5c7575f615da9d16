#pragma once

#include "modlink_export.h"

#include "debugsource.h"
#include "plugininfo.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QDialog;
class QMainWindow;
class QSettings;
class tcCameraInterface;
class tcCmdHandler;
class tcCmdRunner;
class tcGenTLPlugin;
class tcSettings;
class tcSettingsWidget;
class tcViewerInterface;
struct tcPluginEntry;

// Finds, loads and manages the plugins, and owns the command runner they
// share with the program.
//
// Plugins are Qt plugin libraries in the plugin folder whose metadata names
// the interface tcGenTLPlugin_iid. Each can be enabled or disabled (kept in
// the INI file; the plugin's isDefaultEnabled() decides until the user does);
// an explicitly disabled plugin is not even loaded. For each camera the
// enabled plugins that declare themselves compatible are the active ones:
// they get the camera, and their pieces are what allInterfaces() lists.
//
// Whatever a plugin does wrong (a file that is no plugin, a library that does
// not load, an exception out of one of its operations) is reported through
// Error with the file name and the reason; that plugin is skipped and the
// others carry on. Everything runs in the GUI thread.
class MODLINK_EXPORT tcPluginManager : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    // The one manager, a child of the application object (which must exist).
    static tcPluginManager* getInstance();

    // Loads every plugin of the folder (the configured one when empty),
    // unloading those loaded before; announces the active ones through
    // pluginsChanged. False when the folder cannot be read.
    bool loadPlugins(QMainWindow* apMainWindow, const QString& arDir);
    // Takes the camera from the plugins, withdraws their commands from the
    // runner and deletes them. Announces nothing: it runs while the main
    // window is being destroyed.
    void unloadPlugins();
    // Hands the camera (null when closed) to the plugins compatible with it,
    // takes it from the others, announces the active set and returns its size.
    int setCamera(tcCameraInterface* apCamera);

    tcCmdRunner* getCmdRunner();
    // The folder plugins were loaded from; before loading, the configured one.
    QString getPluginsDir();

    // A new settings page, owned by the caller.
    tcSettingsWidget* settingsWidget() const;
    // Whether the page stored settings that differ from those in use, until
    // updateSettings() takes them over.
    bool settingsChanged() const;
    void updateSettings(tcSettings* apSettings);

    // The loaded, enabled plugins in folder order.
    QList<tcGenTLPlugin*> getAllPlugins();
    QList<tcGenTLPlugin*> activePlugins() const;
    // Every piece of every active plugin, the plugins themselves included,
    // optionally only those of one type name.
    QList<tcViewerInterface*> allInterfaces();
    QList<tcViewerInterface*> allInterfaces(const QString& arTypeName);
    // A modeless dialog listing the plugins, deleted when closed.
    QDialog* aboutPlugins();

    QList<tcPluginInfo> pluginInfos() const;
    // Files of the folder that were skipped, each with its reason.
    QStringList skippedFiles() const { return msSkipped; }
    QMainWindow* mainWindow() const;
    tcCameraInterface* camera() const;

    // Takes over the plugin settings just written by the settings page:
    // newly enabled plugins are loaded and their commands registered,
    // disabled ones lose their commands and leave the active set with the
    // next setCamera().
    void applySettings(QSettings* apSettings);

    static QString pluginsDirKey();
    static QString pluginKey(const QString& arClassName, const QString& arKey);
    static QString defaultPluginsDir();
    QString configuredPluginsDir(QSettings* apSettings) const;

signals:
    void Message(const QString& arText);
    void Error(const QString& arText);
    void pluginsChanged(QList<tcGenTLPlugin*> alPlugins);

private:
    explicit tcPluginManager(QObject* apParent);
    ~tcPluginManager() override;

    QSettings* settings();
    void ensureRunner();
    void examineFile(const QString& arPath);
    void instantiate(tcPluginEntry& arEntry);
    void setEnabled(tcPluginEntry& arEntry, bool abEnabled);
    void refreshActive();
    void registerCommands(tcPluginEntry& arEntry);
    void withdrawCommands(tcPluginEntry& arEntry);
    bool removeHandlers(const QList<QSharedPointer<tcCmdHandler>>& alHandlers);
    void skip(const QString& arPath, const QString& arReason);
    void report(const tcPluginEntry& arEntry, const QString& arReason);
    template <typename tFunc>
    bool guarded(const tcPluginEntry& arEntry, const char* apOperation, tFunc&& arFunc);
    tcPluginEntry* entryOfClass(const QString& arClassName) const;

    std::vector<std::unique_ptr<tcPluginEntry>> mlEntries;
    QStringList msSkipped;
    QPointer<QMainWindow> mpMainWindow;
    QPointer<tcCameraInterface> mpCamera;
    std::unique_ptr<QSettings> mpSettings;
    std::unique_ptr<tcCmdRunner> mpRunner;
    QString msPluginsDir;
    bool mbLoaded = false;
    bool mbSettingsChanged = false;
};
