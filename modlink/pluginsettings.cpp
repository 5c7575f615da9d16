#include "pluginsettings.h"

#include "filesettingswidget.h"
#include "pluginmanager.h"

#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

tcPluginSettings::tcPluginSettings(tcPluginManager* apManager, QWidget* apParent)
    : tcSettingsWidget(false, apParent),
      mpManager(apManager),
      mpFolder(new tcFileSettingsWidget(this)),
      mpList(new QTreeWidget(this))
{
    setWindowTitle(tr("Plugins"));
    auto* lpLayout = new QVBoxLayout(this);
    lpLayout->setObjectName(QStringLiteral("verticalLayout"));

    mpFolder->setObjectName(QStringLiteral("pluginsDirWidget"));
    mpFolder->setLabel(tr("Plugins folder:"));
    mpFolder->setMode(tcFileSettingsWidget::eDirectory);
    lpLayout->addWidget(mpFolder);

    auto* lpNote = new QLabel(tr("A changed folder takes effect when the program starts again."), this);
    lpNote->setObjectName(QStringLiteral("labelNote"));
    lpNote->setWordWrap(true);
    lpLayout->addWidget(lpNote);

    mpList->setObjectName(QStringLiteral("pluginList"));
    mpList->setColumnCount(tcPluginInfo::eCommonColumns);
    mpList->setHeaderLabels({tr("Name"), tr("Title"), tr("Version"), tr("File")});
    mpList->setRootIsDecorated(false);
    mpList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lpLayout->addWidget(mpList, 1);

    connect(mpFolder, &tcFileSettingsWidget::fileNameChanged, this, [this] { markDirty(); });
    connect(mpList, &QTreeWidget::itemChanged, this, &tcPluginSettings::onItemChanged);
}

tcPluginSettings::~tcPluginSettings() = default;

void tcPluginSettings::readSettings(QSettings* apSettings)
{
    if (!mpManager || !apSettings)
        return;
    {
        const QSignalBlocker lcBlock(mpFolder);
        mpFolder->setFileName(mpManager->configuredPluginsDir(apSettings));
    }
    fillList(apSettings);
}

void tcPluginSettings::fillList(QSettings* apSettings)
{
    const QSignalBlocker lcBlock(mpList);
    mpList->clear();
    for (const tcPluginInfo& lcInfo : mpManager->pluginInfos())
    {
        auto* lpItem = new QTreeWidgetItem(mpList);
        lcInfo.fillRow(lpItem);
        lpItem->setData(tcPluginInfo::eName, Qt::UserRole, lcInfo.msClassName);
        lpItem->setFlags(lpItem->flags() | Qt::ItemIsUserCheckable);
        const bool lbEnabled =
            apSettings->value(tcPluginManager::pluginKey(lcInfo.msClassName, QStringLiteral("enabled")), lcInfo.mbEnabled)
                .toBool();
        lpItem->setCheckState(tcPluginInfo::eName, lbEnabled ? Qt::Checked : Qt::Unchecked);
        if (!lcInfo.msProblem.isEmpty())
            for (int lnColumn = 0; lnColumn < tcPluginInfo::eCommonColumns; ++lnColumn)
                lpItem->setToolTip(lnColumn, lcInfo.msProblem);
    }
}

void tcPluginSettings::writeSettings(QSettings* apSettings)
{
    if (!apSettings)
        return;
    apSettings->setValue(tcPluginManager::pluginsDirKey(), mpFolder->fileName());
    for (int lnRow = 0; lnRow < mpList->topLevelItemCount(); ++lnRow)
    {
        const QTreeWidgetItem* lpItem = mpList->topLevelItem(lnRow);
        const QString lsClass = lpItem->data(tcPluginInfo::eName, Qt::UserRole).toString();
        apSettings->setValue(tcPluginManager::pluginKey(lsClass, QStringLiteral("enabled")),
                             lpItem->checkState(tcPluginInfo::eName) == Qt::Checked);
    }
    if (mpManager)
        mpManager->applySettings(apSettings);
}

void tcPluginSettings::onItemChanged(QTreeWidgetItem*, int anColumn)
{
    if (anColumn == tcPluginInfo::eName)
        markDirty();
}
