#include "plugininfo.h"

#include <QDir>
#include <QTreeWidgetItem>

void tcPluginInfo::fillRow(QTreeWidgetItem* apItem) const
{
    apItem->setText(eName, msName);
    apItem->setText(eTitle, msTitle);
    apItem->setText(eVersion, msVersion);
    apItem->setText(eFile, QDir::toNativeSeparators(msFile));
}
