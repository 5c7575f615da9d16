#pragma once

#include "plugininfo.h"

#include <QDialog>

class QTreeWidget;
class tcPluginManager;

// Lists every plugin of the folder with its name, title, version, file and
// pieces, whether it is active for the current camera, and the files of the
// folder that were skipped with their reasons.
class tcAboutPluginsDialog : public QDialog
{
    Q_OBJECT

public:
    // After the columns every plugin list shows.
    enum teColumn
    {
        eInterfaces = tcPluginInfo::eCommonColumns,
        eState,
        eColumnCount
    };

    tcAboutPluginsDialog(tcPluginManager* apManager, QWidget* apParent = nullptr);
    ~tcAboutPluginsDialog() override;

private:
    void fill(tcPluginManager* apManager);

    QTreeWidget* mpList;
    QTreeWidget* mpSkipped;
};
