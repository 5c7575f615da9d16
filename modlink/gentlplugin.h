#pragma once

#include "viewerinterface.h"

#include <QStringList>

class tcSettingsWidget;

// The interface identifier every plugin library declares in its metadata;
// the plugin manager loads nothing else.
#define tcGenTLPlugin_iid "com.tarnwick.Kestrix.tcGenTLPlugin.3"

// The root object of a plugin library. Besides being a piece of its own, it
// names the pieces it contains (interfaces()), offers a settings page, a
// version and a title for the plugin list, and status-bar indicators.
//
// A plugin library declares one class derived from this one with
//   Q_PLUGIN_METADATA(IID tcGenTLPlugin_iid)
// and adds its further pieces with addInterface() in its constructor.
class MODLINK_EXPORT tcGenTLPlugin : public tcViewerInterface
{
    Q_OBJECT

public:
    ~tcGenTLPlugin() override;

    // A new page on each call, owned by the caller; null without settings.
    virtual tcSettingsWidget* settingsWidget();
    virtual QString version() const;
    // Defaults to name().
    virtual QString title() const;
    // The distinct type names of the contained pieces, this plugin included.
    virtual QStringList interfaceTypes() const;
    virtual QStringList interfaceNames() const;
    virtual tcViewerInterface* findInterface(const QString& arName) const;
    virtual QList<tcViewerInterface*> interfacesOfType(const QString& arType) const;
    virtual QList<QWidget*> getIndicators();
    // Whether the plugin is enabled until the user decides otherwise.
    virtual bool isDefaultEnabled() const;

    // The contained pieces in the order they were added, this plugin first.
    QList<tcViewerInterface*> interfaces() const;

protected:
    explicit tcGenTLPlugin(const QString& arDebugName, QObject* apParent = nullptr);

    // The piece stays owned by the caller (normally a child of the plugin);
    // it is forgotten when destroyed.
    void addInterface(tcViewerInterface* apInterface);

private:
    QList<QPointer<tcViewerInterface>> mlInterfaces;
};
