#pragma once

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
    enum teColumn
    {
        eName,
        eTitle,
        eVersion,
        eFile,
        eInterfaces,
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
