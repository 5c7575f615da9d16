#include "viewerinterface.h"

#include "camerainterface.h"
#include "cmdhandler.h"
#include "pluginmanager.h"

tcViewerInterface::tcViewerInterface(const QString& arTypeName, const QString& arDebugName, QObject* apParent)
    : QObject(apParent), tcDebugSource(arDebugName), msTypeName(arTypeName)
{
}

tcViewerInterface::~tcViewerInterface() = default;

QString tcViewerInterface::name() const
{
    return objectName();
}

QWidget* tcViewerInterface::controlWidget()
{
    return nullptr;
}

QList<QAction*> tcViewerInterface::toolbarActions()
{
    return {};
}

QMenu* tcViewerInterface::applicationMenu()
{
    return nullptr;
}

bool tcViewerInterface::isCompatible(const GenApi::CNodeMapRef*)
{
    return true;
}

QMenu* tcViewerInterface::contextMenu(tpImageBuffer)
{
    return nullptr;
}

QList<QSharedPointer<tcCmdHandler>> tcViewerInterface::scriptableCommands()
{
    return {};
}

void tcViewerInterface::setSettings(QSettings* apSettings)
{
    mpSettings = apSettings;
}

void tcViewerInterface::setCamera(tcCameraInterface* apCamera)
{
    mpCamera = apCamera;
}

tcCameraInterface* tcViewerInterface::camera() const
{
    return mpCamera;
}

tcCmdRunner* tcViewerInterface::getCmdRunner() const
{
    return tcPluginManager::getInstance()->getCmdRunner();
}
