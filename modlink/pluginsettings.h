#pragma once

#include "settingswidget.h"

#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;
class tcFileSettingsWidget;
class tcPluginManager;

// The plugin manager's page of the settings dialog: the plugin folder and the
// plugins found there, each with a box that enables it.
class tcPluginSettings : public tcSettingsWidget
{
    Q_OBJECT

public:
    explicit tcPluginSettings(tcPluginManager* apManager, QWidget* apParent = nullptr);
    ~tcPluginSettings() override;

    void readSettings(QSettings* apSettings) override;
    void writeSettings(QSettings* apSettings) override;

private slots:
    void onItemChanged(QTreeWidgetItem* apItem, int anColumn);

private:
    void fillList(QSettings* apSettings);

    QPointer<tcPluginManager> mpManager;
    tcFileSettingsWidget* mpFolder;
    QTreeWidget* mpList;
};
