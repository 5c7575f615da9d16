#pragma once

#include "modlink_export.h"

#include "debugsource.h"
#include "imagebuffer.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSharedPointer>
#include <QString>

class QAction;
class QMenu;
class QSettings;
class QWidget;
class tcCameraInterface;
class tcCmdHandler;
class tcCmdRunner;

namespace GenApi
{
class CNodeMapRef;
}

// What every piece a plugin contributes has in common: a name, optional user
// interface (control widget, tool-bar actions, application menu, context
// menu), script commands, and the camera and settings handed down by the
// plugin manager. Every virtual operation has a harmless default, so a plugin
// overrides only what it offers.
//
// The kind of a piece is fixed when it is built and read with typeName(); the
// program looks pieces up by that name rather than by casting.
class MODLINK_EXPORT tcViewerInterface : public QObject, public tcDebugSource
{
    Q_OBJECT

public:
    ~tcViewerInterface() override;

    QString typeName() const { return msTypeName; }

    // Defaults to the object name.
    virtual QString name() const;
    virtual QWidget* controlWidget();
    virtual QList<QAction*> toolbarActions();
    virtual QMenu* applicationMenu();
    // Whether this piece works with the camera of the given node map (null
    // when no camera is open); by default with every camera.
    virtual bool isCompatible(const GenApi::CNodeMapRef* apNodeMap);
    virtual QMenu* contextMenu(tpImageBuffer apImage);
    // A new list on each call; the manager asks once per loaded plugin.
    virtual QList<QSharedPointer<tcCmdHandler>> scriptableCommands();
    // The settings object stays owned by the manager and lives as long as
    // the plugin is loaded.
    virtual void setSettings(QSettings* apSettings);
    // Null when the camera is closed or this piece is not active for it.
    virtual void setCamera(tcCameraInterface* apCamera);

    tcCameraInterface* camera() const;
    QSettings* settings() const { return mpSettings; }

signals:
    void Message(QString arText);
    void Error(QString arText);

protected:
    tcViewerInterface(const QString& arTypeName, const QString& arDebugName, QObject* apParent = nullptr);

    // The shared command runner of the plugin manager, or null before the
    // plugins are loaded.
    tcCmdRunner* getCmdRunner() const;

private:
    QString msTypeName;
    QPointer<tcCameraInterface> mpCamera;
    QSettings* mpSettings = nullptr;
};
