#include "pluginmanager.h"

#include "aboutpluginsdialog.h"
#include "camerainterface.h"
#include "cmdhandler.h"
#include "cmdrunner.h"
#include "genicamiface.h"
#include "gentlplugin.h"
#include "pluginsettings.h"
#include "settings.h"

#include <GenApi/GenApi.h>

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibrary>
#include <QMainWindow>
#include <QPluginLoader>

#include <exception>

// One plugin file of the folder whose metadata names our interface.
struct tcPluginEntry
{
    QString msFile;
    QString msClassName;
    std::unique_ptr<QPluginLoader> mpLoader;
    QPointer<tcGenTLPlugin> mpPlugin;
    bool mbEnabled = false;
    bool mbActive = false;
    // Whether the plugin was last handed a camera, so that it is told when
    // it loses it.
    bool mbHasCamera = false;
    bool mbCommandsAsked = false;
    QList<QSharedPointer<tcCmdHandler>> mlCommands;
    QString msProblem;

    QString fileName() const { return QFileInfo(msFile).fileName(); }
};

namespace
{
const QString scGroup = QStringLiteral("Plugins");

QString describeInterface(tcViewerInterface* apInterface)
{
    return QStringLiteral("%1 [%2]").arg(apInterface->name(), apInterface->typeName());
}
} // namespace

tcPluginManager* tcPluginManager::getInstance()
{
    static QPointer<tcPluginManager> spInstance;
    if (!spInstance)
        spInstance = new tcPluginManager(QCoreApplication::instance());
    return spInstance;
}

tcPluginManager::tcPluginManager(QObject* apParent) : QObject(apParent), tcDebugSource(QStringLiteral("tcPluginManager"))
{
    // pluginsChanged may be queued to a window of another thread.
    qRegisterMetaType<QList<tcGenTLPlugin*>>("QList<tcGenTLPlugin*>");
}

tcPluginManager::~tcPluginManager()
{
    unloadPlugins();
}

QString tcPluginManager::pluginsDirKey()
{
    return scGroup + QStringLiteral("/pluginsDir");
}

QString tcPluginManager::pluginKey(const QString& arClassName, const QString& arKey)
{
    return QStringLiteral("%1/%2/%3").arg(scGroup, arClassName, arKey);
}

QString tcPluginManager::defaultPluginsDir()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins");
}

QString tcPluginManager::configuredPluginsDir(QSettings* apSettings) const
{
    return apSettings->value(pluginsDirKey(), defaultPluginsDir()).toString();
}

QSettings* tcPluginManager::settings()
{
    if (!mpSettings)
        mpSettings.reset(tcSettings::getQSettings());
    return mpSettings.get();
}

void tcPluginManager::ensureRunner()
{
    if (!mpRunner)
        mpRunner = std::make_unique<tcCmdRunner>(nullptr, settings());
    mpRunner->setCamera(mpCamera);
}

QMainWindow* tcPluginManager::mainWindow() const
{
    return mpMainWindow;
}

tcCameraInterface* tcPluginManager::camera() const
{
    return mpCamera;
}

tcCmdRunner* tcPluginManager::getCmdRunner()
{
    return mpRunner.get();
}

QString tcPluginManager::getPluginsDir()
{
    return mbLoaded ? msPluginsDir : configuredPluginsDir(settings());
}

// ---------------------------------------------------------------------------
// Loading

bool tcPluginManager::loadPlugins(QMainWindow* apMainWindow, const QString& arDir)
{
    unloadPlugins();
    mpMainWindow = apMainWindow;
    ensureRunner();
    msPluginsDir = arDir.isEmpty() ? configuredPluginsDir(settings()) : arDir;
    mbLoaded = true;
    // A fresh load takes the settings as they are.
    mbSettingsChanged = false;
    if (GetDbgLevel() >= 1)
        qDebug() << "tcPluginManager::loadPlugins"
                 << "[" << getName() << 1 << "]" << msPluginsDir;

    const QDir lcDir(msPluginsDir);
    bool lbReadable = true;
    if (msPluginsDir.isEmpty())
    {
        emit Error(tr("No plugin folder is set"));
        lbReadable = false;
    }
    else if (!lcDir.exists())
    {
        emit Error(tr("Plugin folder %1 does not exist").arg(QDir::toNativeSeparators(msPluginsDir)));
        lbReadable = false;
    }
    else
    {
        const QFileInfoList lcFiles = lcDir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo& lcFile : lcFiles)
            examineFile(lcFile.absoluteFilePath());
        emit Message(tr("%n plugin(s) loaded from %1", nullptr, getAllPlugins().count())
                         .arg(QDir::toNativeSeparators(msPluginsDir)));
    }
    refreshActive();
    emit pluginsChanged(activePlugins());
    return lbReadable;
}

void tcPluginManager::examineFile(const QString& arPath)
{
    if (!QLibrary::isLibrary(arPath))
    {
        skip(arPath, tr("not a plugin library"));
        return;
    }
    auto lpLoader = std::make_unique<QPluginLoader>(arPath);
    const QJsonObject lcMeta = lpLoader->metaData();
    if (lcMeta.isEmpty())
    {
        skip(arPath, tr("not a plugin (%1)").arg(lpLoader->errorString()));
        return;
    }
    const QString lsIid = lcMeta.value(QStringLiteral("IID")).toString();
    if (lsIid != QLatin1String(tcGenTLPlugin_iid))
    {
        skip(arPath, tr("its interface \"%1\" is not \"%2\"").arg(lsIid, QStringLiteral(tcGenTLPlugin_iid)));
        return;
    }
    const QString lsClass = lcMeta.value(QStringLiteral("className")).toString();
    if (const tcPluginEntry* lpTwin = entryOfClass(lsClass))
    {
        skip(arPath, tr("plugin %1 is already loaded from %2").arg(lsClass, lpTwin->fileName()));
        return;
    }

    auto lpEntry = std::make_unique<tcPluginEntry>();
    lpEntry->msFile = arPath;
    lpEntry->msClassName = lsClass;
    lpEntry->mpLoader = std::move(lpLoader);
    tcPluginEntry& lrEntry = *lpEntry;
    mlEntries.push_back(std::move(lpEntry));

    const QVariant lcEnabled = settings()->value(pluginKey(lsClass, QStringLiteral("enabled")));
    if (lcEnabled.isValid() && !lcEnabled.toBool())
    {
        // Disabled by the user: not even loaded, so a plugin that misbehaves
        // on loading can be switched off.
        lrEntry.msProblem = tr("disabled");
        return;
    }
    instantiate(lrEntry);
    if (!lrEntry.mpPlugin)
        return;
    // Here the user has either enabled the plugin or not decided yet.
    bool lbEnabled = lcEnabled.isValid();
    if (!lbEnabled)
        guarded(lrEntry, "isDefaultEnabled", [&] { lbEnabled = lrEntry.mpPlugin->isDefaultEnabled(); });
    setEnabled(lrEntry, lbEnabled);
}

void tcPluginManager::instantiate(tcPluginEntry& arEntry)
{
    QObject* lpInstance = arEntry.mpLoader->instance();
    if (!lpInstance)
    {
        arEntry.msProblem = arEntry.mpLoader->errorString();
        report(arEntry, arEntry.msProblem);
        return;
    }
    auto* lpPlugin = qobject_cast<tcGenTLPlugin*>(lpInstance);
    if (!lpPlugin)
    {
        arEntry.msProblem = tr("%1 does not derive from tcGenTLPlugin").arg(arEntry.msClassName);
        report(arEntry, arEntry.msProblem);
        delete lpInstance;
        return;
    }
    arEntry.msProblem.clear();
    arEntry.mpPlugin = lpPlugin;
    for (tcViewerInterface* lpInterface : lpPlugin->interfaces())
    {
        connect(lpInterface, &tcViewerInterface::Message, this, &tcPluginManager::Message);
        connect(lpInterface, &tcViewerInterface::Error, this, &tcPluginManager::Error);
    }
    if (!guarded(arEntry, "setSettings", [&] { lpPlugin->setSettings(settings()); }))
        return;
    // Remember how the plugin presents itself, so that the plugin list can
    // show it while it is disabled and not loaded.
    guarded(arEntry, "name",
            [&]
            {
                settings()->setValue(pluginKey(arEntry.msClassName, QStringLiteral("name")), lpPlugin->name());
                settings()->setValue(pluginKey(arEntry.msClassName, QStringLiteral("title")), lpPlugin->title());
                settings()->setValue(pluginKey(arEntry.msClassName, QStringLiteral("version")), lpPlugin->version());
            });
    if (GetDbgLevel() >= 1)
        qDebug() << "tcPluginManager::instantiate"
                 << "[" << getName() << 1 << "]" << arEntry.msClassName << arEntry.msFile;
}

void tcPluginManager::setEnabled(tcPluginEntry& arEntry, bool abEnabled)
{
    if (abEnabled && !arEntry.mpPlugin)
        instantiate(arEntry);
    arEntry.mbEnabled = abEnabled && arEntry.mpPlugin;
    if (arEntry.mbEnabled)
        registerCommands(arEntry);
    else
        withdrawCommands(arEntry);
}

tcPluginEntry* tcPluginManager::entryOfClass(const QString& arClassName) const
{
    for (const auto& lpEntry : mlEntries)
        if (lpEntry->msClassName == arClassName)
            return lpEntry.get();
    return nullptr;
}

// ---------------------------------------------------------------------------
// Unloading

void tcPluginManager::unloadPlugins()
{
    QList<QSharedPointer<tcCmdHandler>> llCommands;
    for (const auto& lpEntry : mlEntries)
        llCommands += lpEntry->mlCommands;
    removeHandlers(llCommands);
    for (auto lpIt = mlEntries.rbegin(); lpIt != mlEntries.rend(); ++lpIt)
    {
        tcPluginEntry& lrEntry = **lpIt;
        lrEntry.mlCommands.clear();
        if (!lrEntry.mpPlugin)
            continue;
        if (lrEntry.mbHasCamera)
            guarded(lrEntry, "setCamera", [&] { lrEntry.mpPlugin->setCamera(nullptr); });
        disconnect(lrEntry.mpPlugin, nullptr, this, nullptr);
        // Only the instance goes; the library stays mapped until the process
        // ends, because objects its code made (queued events, handlers still
        // held by a running script, registered types) may outlive it.
        delete lrEntry.mpPlugin.data();
    }
    mlEntries.clear();
    msSkipped.clear();
    mbLoaded = false;
}

// ---------------------------------------------------------------------------
// Cameras and activity

int tcPluginManager::setCamera(tcCameraInterface* apCamera)
{
    mpCamera = apCamera;
    if (mpRunner)
        mpRunner->setCamera(apCamera);
    refreshActive();
    const QList<tcGenTLPlugin*> lpActive = activePlugins();
    if (GetDbgLevel() >= 1)
        qDebug() << "tcPluginManager::setCamera"
                 << "[" << getName() << 1 << "]" << (apCamera ? apCamera->getModel() : QString())
                 << "active:" << lpActive.count();
    emit pluginsChanged(lpActive);
    return lpActive.count();
}

void tcPluginManager::refreshActive()
{
    const GenApi::CNodeMapRef* lpNodeMap = mpCamera ? &mpCamera->nodeMap() : nullptr;
    for (const auto& lpEntry : mlEntries)
    {
        tcPluginEntry& lrEntry = *lpEntry;
        tcGenTLPlugin* lpPlugin = lrEntry.mpPlugin;
        bool lbActive = false;
        if (lpPlugin && lrEntry.mbEnabled)
        {
            bool lbCompatible = false;
            lbActive = guarded(lrEntry, "isCompatible", [&] { lbCompatible = lpPlugin->isCompatible(lpNodeMap); }) &&
                       lbCompatible;
        }
        if (lbActive)
        {
            lbActive = guarded(lrEntry, "setCamera", [&] { lpPlugin->setCamera(mpCamera); });
            lrEntry.mbHasCamera = mpCamera;
        }
        if (!lbActive && lpPlugin && lrEntry.mbHasCamera)
        {
            guarded(lrEntry, "setCamera", [&] { lpPlugin->setCamera(nullptr); });
            lrEntry.mbHasCamera = false;
        }
        lrEntry.mbActive = lbActive;
    }
}

QList<tcGenTLPlugin*> tcPluginManager::getAllPlugins()
{
    QList<tcGenTLPlugin*> lpPlugins;
    for (const auto& lpEntry : mlEntries)
        if (lpEntry->mpPlugin && lpEntry->mbEnabled)
            lpPlugins.append(lpEntry->mpPlugin);
    return lpPlugins;
}

QList<tcGenTLPlugin*> tcPluginManager::activePlugins() const
{
    QList<tcGenTLPlugin*> lpPlugins;
    for (const auto& lpEntry : mlEntries)
        if (lpEntry->mpPlugin && lpEntry->mbActive)
            lpPlugins.append(lpEntry->mpPlugin);
    return lpPlugins;
}

QList<tcViewerInterface*> tcPluginManager::allInterfaces()
{
    QList<tcViewerInterface*> lpAll;
    for (const auto& lpEntry : mlEntries)
    {
        tcGenTLPlugin* lpPlugin = lpEntry->mpPlugin;
        if (!lpPlugin || !lpEntry->mbActive)
            continue;
        // Asked through the plugin's own operations, which it may override.
        QList<tcViewerInterface*> lpPieces{lpPlugin};
        guarded(*lpEntry, "findInterface",
                [&]
                {
                    for (const QString& lsName : lpPlugin->interfaceNames())
                        lpPieces.append(lpPlugin->findInterface(lsName));
                });
        for (tcViewerInterface* lpPiece : lpPieces)
            if (lpPiece && !lpAll.contains(lpPiece))
                lpAll.append(lpPiece);
    }
    return lpAll;
}

QList<tcViewerInterface*> tcPluginManager::allInterfaces(const QString& arTypeName)
{
    QList<tcViewerInterface*> lpOfType;
    for (tcViewerInterface* lpPiece : allInterfaces())
        if (lpPiece->typeName() == arTypeName)
            lpOfType.append(lpPiece);
    return lpOfType;
}

// ---------------------------------------------------------------------------
// Script commands

void tcPluginManager::registerCommands(tcPluginEntry& arEntry)
{
    if (!mpRunner || !arEntry.mpPlugin)
        return;
    if (!arEntry.mbCommandsAsked)
    {
        arEntry.mbCommandsAsked = true;
        guarded(arEntry, "scriptableCommands", [&] { arEntry.mlCommands = arEntry.mpPlugin->scriptableCommands(); });
    }
    // The runner keeps the first handler of a name; later ones are ignored.
    for (const QSharedPointer<tcCmdHandler>& lpHandler : arEntry.mlCommands)
        if (lpHandler)
            mpRunner->addCommand(lpHandler);
}

void tcPluginManager::withdrawCommands(tcPluginEntry& arEntry)
{
    if (!removeHandlers(arEntry.mlCommands))
        return;
    // A name this plugin had taken may be offered by another one.
    for (const auto& lpEntry : mlEntries)
        if (lpEntry.get() != &arEntry && lpEntry->mbEnabled)
            registerCommands(*lpEntry);
}

bool tcPluginManager::removeHandlers(const QList<QSharedPointer<tcCmdHandler>>& alHandlers)
{
    if (!mpRunner || alHandlers.isEmpty())
        return false;
    tcCmdRunner::tcHandlerMap lhHandlers = mpRunner->getCmdHandlers();
    bool lbRemoved = false;
    for (auto lpIt = lhHandlers.begin(); lpIt != lhHandlers.end();)
    {
        if (alHandlers.contains(lpIt.value()))
        {
            lpIt = lhHandlers.erase(lpIt);
            lbRemoved = true;
        }
        else
            ++lpIt;
    }
    if (lbRemoved)
        mpRunner->setCmdHandlers(lhHandlers);
    return lbRemoved;
}

// ---------------------------------------------------------------------------
// Settings

tcSettingsWidget* tcPluginManager::settingsWidget() const
{
    return new tcPluginSettings(const_cast<tcPluginManager*>(this));
}

bool tcPluginManager::settingsChanged() const
{
    return mbSettingsChanged;
}

void tcPluginManager::applySettings(QSettings* apSettings)
{
    if (!apSettings)
        return;
    if (mbLoaded && configuredPluginsDir(apSettings) != msPluginsDir)
        mbSettingsChanged = true;
    for (const auto& lpEntry : mlEntries)
    {
        const bool lbEnabled =
            apSettings->value(pluginKey(lpEntry->msClassName, QStringLiteral("enabled")), lpEntry->mbEnabled).toBool();
        if (lbEnabled == lpEntry->mbEnabled)
            continue;
        mbSettingsChanged = true;
        setEnabled(*lpEntry, lbEnabled);
    }
}

void tcPluginManager::updateSettings(tcSettings* apSettings)
{
    applySettings(apSettings ? static_cast<QSettings*>(apSettings) : settings());
    mbSettingsChanged = false;
}

// ---------------------------------------------------------------------------
// Reports

QList<tcPluginInfo> tcPluginManager::pluginInfos() const
{
    QList<tcPluginInfo> lcInfos;
    auto* lpThis = const_cast<tcPluginManager*>(this);
    for (const auto& lpEntry : mlEntries)
    {
        tcPluginInfo lcInfo;
        lcInfo.msFile = lpEntry->msFile;
        lcInfo.msClassName = lpEntry->msClassName;
        lcInfo.mbEnabled = lpEntry->mbEnabled;
        lcInfo.mbLoaded = lpEntry->mpPlugin;
        lcInfo.mbActive = lpEntry->mbActive;
        lcInfo.msProblem = lpEntry->msProblem;
        QSettings* lpSettings = lpThis->settings();
        lcInfo.msName =
            lpSettings->value(pluginKey(lpEntry->msClassName, QStringLiteral("name")), lpEntry->msClassName).toString();
        lcInfo.msTitle = lpSettings->value(pluginKey(lpEntry->msClassName, QStringLiteral("title"))).toString();
        lcInfo.msVersion = lpSettings->value(pluginKey(lpEntry->msClassName, QStringLiteral("version"))).toString();
        if (tcGenTLPlugin* lpPlugin = lpEntry->mpPlugin)
        {
            lpThis->guarded(*lpEntry, "interfaceNames",
                            [&]
                            {
                                lcInfo.msName = lpPlugin->name();
                                lcInfo.msTitle = lpPlugin->title();
                                lcInfo.msVersion = lpPlugin->version();
                                lcInfo.msInterfaces.append(describeInterface(lpPlugin));
                                for (const QString& lsName : lpPlugin->interfaceNames())
                                {
                                    tcViewerInterface* lpPiece = lpPlugin->findInterface(lsName);
                                    if (lpPiece && lpPiece != lpPlugin)
                                        lcInfo.msInterfaces.append(describeInterface(lpPiece));
                                }
                            });
        }
        lcInfos.append(lcInfo);
    }
    return lcInfos;
}

QDialog* tcPluginManager::aboutPlugins()
{
    auto* lpDialog = new tcAboutPluginsDialog(this, mpMainWindow);
    lpDialog->setAttribute(Qt::WA_DeleteOnClose);
    lpDialog->show();
    lpDialog->raise();
    return lpDialog;
}

void tcPluginManager::skip(const QString& arPath, const QString& arReason)
{
    const QString lsFile = QFileInfo(arPath).fileName();
    msSkipped.append(QStringLiteral("%1: %2").arg(lsFile, arReason));
    emit Error(tr("Plugin file %1 skipped: %2").arg(lsFile, arReason));
}

void tcPluginManager::report(const tcPluginEntry& arEntry, const QString& arReason)
{
    emit Error(tr("Plugin %1 (%2): %3").arg(arEntry.msClassName, arEntry.fileName(), arReason));
}

// Every call into a plugin goes through here: whatever it throws is reported
// and the caller treats the plugin as unable for that step.
template <typename tFunc>
bool tcPluginManager::guarded(const tcPluginEntry& arEntry, const char* apOperation, tFunc&& arFunc)
{
    const QString lsOperation = QString::fromLatin1(apOperation);
    try
    {
        arFunc();
        return true;
    }
    catch (const GenICam::GenericException& arError)
    {
        tcGenICamIface::warn(arError);
        report(arEntry, tr("%1 failed: %2").arg(lsOperation, QString::fromLocal8Bit(arError.GetDescription())));
    }
    catch (const std::exception& arError)
    {
        qWarning() << "tcPluginManager" << lsOperation << arError.what();
        report(arEntry, tr("%1 failed: %2").arg(lsOperation, QString::fromLocal8Bit(arError.what())));
    }
    catch (...)
    {
        qWarning() << "Unhandled Execption";
        report(arEntry, tr("%1 failed: unknown exception").arg(lsOperation));
    }
    return false;
}
