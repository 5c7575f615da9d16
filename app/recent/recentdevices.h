#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QSettings;

// The devices opened last, oldest first, as entries of a menu. Each entry's
// text is the device's name, its data the "interface,device id" string that
// opens it again, and its tool tip says where it was found. The list lives in
// the INI array "mru".
class tcRecentDevices : public QObject
{
    Q_OBJECT

public:
    explicit tcRecentDevices(QMenu* apMenu);

    QMenu* menu() const { return mpMenu; }
    QList<QAction*> actions() const { return mlActions; }

    void load(QSettings& arSettings);
    void save(QSettings& arSettings) const;

    // An entry of that name keeps its place and takes the new device; a new
    // one goes last and pushes the oldest out beyond anMax entries.
    QAction* remember(const QString& arName, int anInterfaceIndex, const QString& arDeviceId, int anMax);
    void remove(QAction* apAction);

    static QString encode(int anInterfaceIndex, const QString& arDeviceId);

signals:
    void openRequested(QAction* apAction);

private:
    QAction* add(const QString& arName, const QString& arEncoded, const QString& arToolTip);

    QMenu* mpMenu;
    QList<QAction*> mlActions;
};
