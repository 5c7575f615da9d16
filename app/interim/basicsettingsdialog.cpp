#include "basicsettingsdialog.h"

#include "filesettingswidget.h"
#include "pluginmanager.h"
#include "producerbinding.h"
#include "settings.h"
#include "settingswidget.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

namespace
{
// The producer library the program loads at start-up.
class tcProducerPage : public tcSettingsWidget
{
public:
    explicit tcProducerPage(bool abExpert)
        : tcSettingsWidget(abExpert), mpPath(new tcFileSettingsWidget(this))
    {
        mpPath->setObjectName(QStringLiteral("dllPathWidget"));
        mpPath->setLabel(QStringLiteral("GenTL DLL:"));
        mpPath->setFileTypes(tcProducerBinding::producerFileFilter());
        auto* lpLayout = new QVBoxLayout(this);
        lpLayout->addWidget(mpPath);
        lpLayout->addStretch();
    }
    void readSettings(QSettings*) override { mpPath->setFileName(tcProducerBinding::defaultProducerPath()); }
    void writeSettings(QSettings* apSettings) override
    {
        apSettings->beginGroup(QStringLiteral("GenTL"));
        apSettings->setValue(QStringLiteral("default_path"), mpPath->fileName());
        apSettings->endGroup();
    }

private:
    tcFileSettingsWidget* mpPath;
};
} // namespace

tcBasicSettingsDialog::tcBasicSettingsDialog(bool abExpert, QWidget* apParent)
    : QDialog(apParent), mpTabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("tcSettingsDialog"));
    setWindowTitle(QStringLiteral("Settings"));
    auto* lpButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(lpButtons, &QDialogButtonBox::accepted, this, &tcBasicSettingsDialog::accept);
    connect(lpButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* lpLayout = new QVBoxLayout(this);
    lpLayout->addWidget(mpTabs);
    lpLayout->addWidget(lpButtons);

    addPage(new tcProducerPage(abExpert), QStringLiteral("Gen TL"));
    addPage(tcPluginManager::getInstance()->settingsWidget(), QStringLiteral("Plugins"));
    resize(700, 450);
}

tcBasicSettingsDialog::~tcBasicSettingsDialog() = default;

void tcBasicSettingsDialog::addPage(tcSettingsWidget* apPage, const QString& arTitle)
{
    if (!apPage)
        return;
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    apPage->readSettings(lpSettings.get());
    mpTabs->addTab(apPage, arTitle);
    mlPages << apPage;
}

bool tcBasicSettingsDialog::showPage(const QString& arTitle)
{
    for (int lnTab = 0; lnTab < mpTabs->count(); ++lnTab)
        if (mpTabs->tabText(lnTab) == arTitle)
        {
            mpTabs->setCurrentIndex(lnTab);
            return true;
        }
    return false;
}

QString tcBasicSettingsDialog::currentPage() const
{
    return mpTabs->tabText(mpTabs->currentIndex());
}

tcSettingsWidget* tcBasicSettingsDialog::page(const QString& arTitle) const
{
    for (int lnTab = 0; lnTab < mpTabs->count(); ++lnTab)
        if (mpTabs->tabText(lnTab) == arTitle)
            return qobject_cast<tcSettingsWidget*>(mpTabs->widget(lnTab));
    return nullptr;
}

void tcBasicSettingsDialog::accept()
{
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    for (tcSettingsWidget* lpPage : mlPages)
        lpPage->writeSettings(lpSettings.get());
    lpSettings->sync();
    QDialog::accept();
}
