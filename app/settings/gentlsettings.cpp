#include "gentlsettings.h"

#include "producerbinding.h"
#include "producerfiles.h"
#include "ui_gentlsettings.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QSettings>
#include <QSignalBlocker>

namespace
{
QString defaultProducer()
{
    const QString lsBundled = tcProducerBinding::bundledProducerPath();
    return QFileInfo::exists(lsBundled) ? lsBundled : QString();
}
} // namespace

tcGenTLSettings::tcGenTLSettings(QWidget* apParent)
    : tcSettingsWidget(false, apParent), mpUi(std::make_unique<Ui::tcGenTLSettings>())
{
    mpUi->setupUi(this);
    mpUi->dllPathWidget->setLabel(tr("GenTL DLL:"));
    mpUi->dllPathWidget->setFileTypes(tcProducerBinding::producerFileFilter());
    connect(mpUi->dllPathWidget, &tcFileSettingsWidget::fileNameChanged, this, &tcGenTLSettings::pathChanged);
    refreshProducers();
}

tcGenTLSettings::~tcGenTLSettings() = default;

void tcGenTLSettings::readSettings(QSettings* apSettings)
{
    apSettings->beginGroup(groupName());
    const QString lsPath = apSettings->value(pathKey(), defaultProducer()).toString();
    apSettings->endGroup();
    // Filling the page is no edit.
    const QSignalBlocker lcBlock(mpUi->dllPathWidget);
    mpUi->dllPathWidget->setFileName(lsPath);
    showCurrentInCombo();
}

void tcGenTLSettings::writeSettings(QSettings* apSettings)
{
    apSettings->beginGroup(groupName());
    const QString lsPath = producerPath();
    if (apSettings->value(pathKey()).toString() != lsPath)
        apSettings->setValue(pathKey(), lsPath);
    apSettings->endGroup();
}

QString tcGenTLSettings::producerPath() const
{
    return mpUi->dllPathWidget->fileName();
}

QStringList tcGenTLSettings::offeredProducers() const
{
    QStringList lsFiles;
    for (int lnRow = 0; lnRow < mpUi->producerCombo->count(); ++lnRow)
        lsFiles.append(mpUi->producerCombo->itemData(lnRow).toString());
    return lsFiles;
}

void tcGenTLSettings::refreshProducers()
{
    const QSignalBlocker lcBlock(mpUi->producerCombo);
    mpUi->producerCombo->clear();
    for (const QString& lsFile : tcProducerFiles::available())
    {
        // The name first: the drop-down is narrow, and vendors' files differ
        // by name more than by folder.
        const QFileInfo lcInfo(lsFile);
        mpUi->producerCombo->addItem(QStringLiteral("%1 (%2)").arg(lcInfo.fileName(), lcInfo.path()), lsFile);
        mpUi->producerCombo->setItemData(mpUi->producerCombo->count() - 1, lsFile, Qt::ToolTipRole);
    }
    mpUi->producerCombo->setEnabled(mpUi->producerCombo->count() > 0);
    // The open list shows whole paths even where the closed box cannot.
    QAbstractItemView* lpView = mpUi->producerCombo->view();
    lpView->setMinimumWidth(lpView->sizeHintForColumn(0) + 2 * lpView->frameWidth());
    showCurrentInCombo();
}

void tcGenTLSettings::on_producerCombo_activated(int anIndex)
{
    if (anIndex >= 0)
        mpUi->dllPathWidget->setFileName(mpUi->producerCombo->itemData(anIndex).toString());
}

void tcGenTLSettings::pathChanged()
{
    showCurrentInCombo();
    markDirty();
}

// The drop-down names the chosen producer when it is one of those found, and
// shows its placeholder otherwise.
void tcGenTLSettings::showCurrentInCombo()
{
    const QSignalBlocker lcBlock(mpUi->producerCombo);
    mpUi->producerCombo->setCurrentIndex(mpUi->producerCombo->findData(producerPath()));
}
