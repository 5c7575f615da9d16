#include "settingsdialog.h"

#include "appsettings.h"
#include "gentlplugin.h"
#include "gentlsettings.h"
#include "pluginmanager.h"
#include "settings.h"
#include "settingswidget.h"
#include "ui_settingsdialog.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>

#include <exception>

namespace
{
std::unique_ptr<QSettings> openSettings()
{
    return std::unique_ptr<QSettings>(tcSettings::getQSettings());
}
} // namespace

tcSettingsDialog::tcSettingsDialog(bool abExpert, QWidget* apParent)
    : tcSettingsDialog(abExpert, apParent, tcPluginManager::getInstance())
{
}

tcSettingsDialog::tcSettingsDialog(bool abExpert, QWidget* apParent, tcPluginManager* apPlugins)
    : QDialog(apParent), mpUi(std::make_unique<Ui::tcSettingsDialog>()), mbExpert(abExpert)
{
    mpUi->setupUi(this);
    mpUi->treeWidget->clear();
    {
        // The first page is shown until one is chosen; filling the tree
        // selects nothing by itself.
        const QSignalBlocker lcBlock(mpUi->treeWidget);
        addPage(new tcAppSettings);
        addPage(new tcGenTLSettings);
        addPluginPages(apPlugins);
    }
    if (QTreeWidgetItem* lpFirst = mpUi->treeWidget->topLevelItem(0))
        selectPage(lpFirst->text(0));
}

tcSettingsDialog::~tcSettingsDialog() = default;

void tcSettingsDialog::addPluginPages(tcPluginManager* apPlugins)
{
    if (!apPlugins)
        return;
    addPage(apPlugins->settingsWidget());
    for (tcGenTLPlugin* lpPlugin : apPlugins->getAllPlugins())
    {
        // A plugin's failure costs its page, never the dialog.
        try
        {
            if (tcSettingsWidget* lpPage = lpPlugin->settingsWidget())
                addPage(lpPage);
        }
        catch (const std::exception& arError)
        {
            qWarning() << "tcSettingsDialog: settings page of" << lpPlugin->name()
                       << "failed:" << arError.what();
        }
        catch (...)
        {
            qWarning() << "tcSettingsDialog: settings page of" << lpPlugin->name()
                       << "failed: Unhandled Execption";
        }
    }
}

void tcSettingsDialog::addPage(tcSettingsWidget* apPage)
{
    if (!apPage)
        return;
    apPage->setExpert(mbExpert);
    mpUi->stackedWidget->addWidget(apPage);
    mpUi->treeWidget->addTopLevelItem(new QTreeWidgetItem(QStringList(apPage->windowTitle())));
    apPage->readSettings(openSettings().get());
    connect(apPage, &tcSettingsWidget::dirty, this, &tcSettingsDialog::pageEdited);
}

QList<tcSettingsWidget*> tcSettingsDialog::pages() const
{
    QList<tcSettingsWidget*> lcPages;
    for (int lnIndex = 0; lnIndex < mpUi->stackedWidget->count(); ++lnIndex)
        lcPages.append(static_cast<tcSettingsWidget*>(mpUi->stackedWidget->widget(lnIndex)));
    return lcPages;
}

QStringList tcSettingsDialog::pageTitles() const
{
    QStringList lsTitles;
    for (const tcSettingsWidget* lpPage : pages())
        lsTitles.append(lpPage->windowTitle());
    return lsTitles;
}

QString tcSettingsDialog::currentPageTitle() const
{
    const QWidget* lpPage = mpUi->stackedWidget->currentWidget();
    return lpPage ? lpPage->windowTitle() : QString();
}

tcSettingsWidget* tcSettingsDialog::page(const QString& arTitle) const
{
    for (tcSettingsWidget* lpPage : pages())
        if (lpPage->windowTitle() == arTitle)
            return lpPage;
    return nullptr;
}

QStringList tcSettingsDialog::editedPageTitles() const
{
    QStringList lsTitles;
    for (const tcSettingsWidget* lpPage : pages())
        if (msEdited.contains(const_cast<tcSettingsWidget*>(lpPage)))
            lsTitles.append(lpPage->windowTitle());
    return lsTitles;
}

void tcSettingsDialog::setInitialPage(const QString& arTitle)
{
    selectPage(arTitle);
}

void tcSettingsDialog::selectPage(const QString& arTitle)
{
    if (arTitle.isEmpty())
        return;
    const QList<QTreeWidgetItem*> lcItems = mpUi->treeWidget->findItems(arTitle, Qt::MatchExactly, 0);
    tcSettingsWidget* lpPage = page(arTitle);
    if (lcItems.isEmpty() || !lpPage)
        return;
    mpUi->stackedWidget->setCurrentWidget(lpPage);
    const QSignalBlocker lcBlock(mpUi->treeWidget);
    mpUi->treeWidget->setCurrentItem(lcItems.first());
}

void tcSettingsDialog::on_treeWidget_currentItemChanged(QTreeWidgetItem* apCurrent, QTreeWidgetItem*)
{
    if (apCurrent)
        selectPage(apCurrent->text(0));
}

void tcSettingsDialog::pageEdited(tcSettingsWidget* apPage)
{
    msEdited.insert(apPage);
    refreshFonts();
}

void tcSettingsDialog::refreshFonts()
{
    const QStringList lsEdited = editedPageTitles();
    for (int lnRow = 0; lnRow < mpUi->treeWidget->topLevelItemCount(); ++lnRow)
    {
        QTreeWidgetItem* lpItem = mpUi->treeWidget->topLevelItem(lnRow);
        QFont lcFont = lpItem->font(0);
        lcFont.setItalic(lsEdited.contains(lpItem->text(0)));
        lpItem->setFont(0, lcFont);
    }
}

bool tcSettingsDialog::save()
{
    const bool lbAny = !msEdited.isEmpty();
    if (lbAny)
    {
        std::unique_ptr<QSettings> lpSettings = openSettings();
        for (tcSettingsWidget* lpPage : pages())
            if (msEdited.contains(lpPage))
                lpPage->writeSettings(lpSettings.get());
        lpSettings->sync();
    }
    msEdited.clear();
    refreshFonts();
    if (lbAny)
    {
        mbSaved = true;
        emit saved();
    }
    return lbAny;
}

void tcSettingsDialog::on_buttonBox_clicked(QAbstractButton* apButton)
{
    switch (mpUi->buttonBox->standardButton(apButton))
    {
    case QDialogButtonBox::Ok:
        save();
        if (mbSaved)
            emit accepted();
        close();
        break;
    case QDialogButtonBox::Apply:
        save();
        break;
    case QDialogButtonBox::Cancel:
        close();
        break;
    default:
        break;
    }
}

bool tcSettingsDialog::mayClose()
{
    const QStringList lsEdited = editedPageTitles();
    if (lsEdited.isEmpty())
        return true;
    QString lsText = tr("The following settings have changes:\n");
    for (const QString& lsTitle : lsEdited)
        lsText += QStringLiteral("%1 %2\n").arg(QChar(0x2022), lsTitle);
    lsText += tr("Do you want to save the changes?");
    const QMessageBox::StandardButton leAnswer =
        QMessageBox::question(this, QGuiApplication::applicationDisplayName(), lsText,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    qDebug() << "tcSettingsDialog::mayClose res=" << leAnswer;
    switch (leAnswer)
    {
    case QMessageBox::Yes:
        save();
        return true;
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void tcSettingsDialog::closeEvent(QCloseEvent* apEvent)
{
    if (mayClose())
        apEvent->accept();
    else
        apEvent->ignore();
}

void tcSettingsDialog::reject()
{
    close();
}
