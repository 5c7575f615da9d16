#pragma once

#include "modlink_export.h"

#include <QString>
#include <QStringList>

class QTreeWidgetItem;

// What the plugin list of the settings page and the about box show of one
// plugin file: a snapshot, taken when asked.
struct MODLINK_EXPORT tcPluginInfo
{
    QString msFile;      // full path of the library
    QString msClassName; // from the library's metadata; keys its settings
    QString msName;
    QString msTitle;
    QString msVersion;
    QStringList msInterfaces; // "name [type]" of each contained piece
    bool mbEnabled = false;
    bool mbLoaded = false;
    bool mbActive = false; // for the current camera
    QString msProblem;     // why it is not loaded, when it is not

    // The columns the plugin lists of the settings page and the about box
    // share; the about box adds its own after them.
    enum teColumn
    {
        eName,
        eTitle,
        eVersion,
        eFile,
        eCommonColumns
    };
    // Fills those columns of a list row.
    void fillRow(QTreeWidgetItem* apItem) const;
};
