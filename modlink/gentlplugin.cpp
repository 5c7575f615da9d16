#include "gentlplugin.h"

#include "settingswidget.h"

tcGenTLPlugin::tcGenTLPlugin(const QString& arDebugName, QObject* apParent)
    : tcViewerInterface(QStringLiteral("tcGenTLPlugin"), arDebugName, apParent)
{
    mlInterfaces.append(this);
}

tcGenTLPlugin::~tcGenTLPlugin() = default;

tcSettingsWidget* tcGenTLPlugin::settingsWidget()
{
    return nullptr;
}

QString tcGenTLPlugin::version() const
{
    return {};
}

QString tcGenTLPlugin::title() const
{
    return name();
}

QStringList tcGenTLPlugin::interfaceTypes() const
{
    QStringList lsTypes;
    for (tcViewerInterface* lpInterface : interfaces())
        if (!lsTypes.contains(lpInterface->typeName()))
            lsTypes.append(lpInterface->typeName());
    return lsTypes;
}

QStringList tcGenTLPlugin::interfaceNames() const
{
    QStringList lsNames;
    for (tcViewerInterface* lpInterface : interfaces())
        lsNames.append(lpInterface->name());
    return lsNames;
}

tcViewerInterface* tcGenTLPlugin::findInterface(const QString& arName) const
{
    for (tcViewerInterface* lpInterface : interfaces())
        if (lpInterface->name() == arName)
            return lpInterface;
    return nullptr;
}

QList<tcViewerInterface*> tcGenTLPlugin::interfacesOfType(const QString& arType) const
{
    QList<tcViewerInterface*> lpFound;
    for (tcViewerInterface* lpInterface : interfaces())
        if (lpInterface->typeName() == arType)
            lpFound.append(lpInterface);
    return lpFound;
}

QList<QWidget*> tcGenTLPlugin::getIndicators()
{
    return {};
}

bool tcGenTLPlugin::isDefaultEnabled() const
{
    return true;
}

QList<tcViewerInterface*> tcGenTLPlugin::interfaces() const
{
    QList<tcViewerInterface*> lpLiving;
    for (const QPointer<tcViewerInterface>& lpInterface : mlInterfaces)
        if (lpInterface)
            lpLiving.append(lpInterface.data());
    return lpLiving;
}

void tcGenTLPlugin::addInterface(tcViewerInterface* apInterface)
{
    if (apInterface && !mlInterfaces.contains(apInterface))
        mlInterfaces.append(apInterface);
}
