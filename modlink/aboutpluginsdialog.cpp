#include "aboutpluginsdialog.h"

#include "camerainterface.h"
#include "pluginmanager.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace
{
QString stateText(const tcPluginInfo& arInfo)
{
    if (!arInfo.mbLoaded)
        return QObject::tr("not loaded: %1").arg(arInfo.msProblem);
    if (!arInfo.mbEnabled)
        return QObject::tr("disabled");
    return arInfo.mbActive ? QObject::tr("active") : QObject::tr("not active for this camera");
}
} // namespace

tcAboutPluginsDialog::tcAboutPluginsDialog(tcPluginManager* apManager, QWidget* apParent)
    : QDialog(apParent), mpList(new QTreeWidget(this)), mpSkipped(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("tcAboutPluginsDialog"));
    setWindowTitle(tr("Plugins"));
    resize(900, 420);
    auto* lpLayout = new QVBoxLayout(this);

    tcCameraInterface* lpCamera = apManager->camera();
    auto* lpHeader = new QLabel(tr("Plugin folder: %1\nCamera: %2")
                                    .arg(QDir::toNativeSeparators(apManager->getPluginsDir()),
                                         lpCamera ? lpCamera->getModel() : tr("No Device Connected")),
                                this);
    lpHeader->setObjectName(QStringLiteral("labelHeader"));
    lpHeader->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lpLayout->addWidget(lpHeader);

    mpList->setObjectName(QStringLiteral("pluginList"));
    mpList->setColumnCount(eColumnCount);
    mpList->setHeaderLabels({tr("Name"), tr("Title"), tr("Version"), tr("File"), tr("Interfaces"), tr("State")});
    mpList->setRootIsDecorated(false);
    mpList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lpLayout->addWidget(mpList, 3);

    mpSkipped->setObjectName(QStringLiteral("skippedList"));
    mpSkipped->setHeaderLabels({tr("Skipped files")});
    mpSkipped->setRootIsDecorated(false);
    lpLayout->addWidget(mpSkipped, 1);

    auto* lpButtons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(lpButtons, &QDialogButtonBox::rejected, this, &QDialog::close);
    lpLayout->addWidget(lpButtons);

    fill(apManager);
}

tcAboutPluginsDialog::~tcAboutPluginsDialog() = default;

void tcAboutPluginsDialog::fill(tcPluginManager* apManager)
{
    for (const tcPluginInfo& lcInfo : apManager->pluginInfos())
    {
        auto* lpItem = new QTreeWidgetItem(mpList);
        lcInfo.fillRow(lpItem);
        lpItem->setText(eInterfaces, lcInfo.msInterfaces.join(QStringLiteral(", ")));
        lpItem->setText(eState, stateText(lcInfo));
    }
    const QStringList lsSkipped = apManager->skippedFiles();
    for (const QString& lsLine : lsSkipped)
        new QTreeWidgetItem(mpSkipped, QStringList{lsLine});
    mpSkipped->setVisible(!lsSkipped.isEmpty());
}
