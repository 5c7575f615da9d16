#include "appsettings.h"

#include "descriptionloader.h"
#include "ui_appsettings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QSignalBlocker>

namespace
{
const char* const kXmlDir = "xmlDir";
const char* const kXsltFile = "xsltFile";
const char* const kSimCamXml = "simCamXmlFile";

// An empty stored path means "not chosen", so the default shows instead.
QString pathOrDefault(QSettings* apSettings, const char* apKey, const QString& arDefault)
{
    const QString lsStored = apSettings->value(QLatin1String(apKey)).toString();
    return lsStored.isEmpty() ? arDefault : lsStored;
}
} // namespace

tcAppSettings::tcAppSettings(QWidget* apParent)
    : tcSettingsWidget(false, apParent), mpUi(std::make_unique<Ui::tcAppSettings>())
{
    mpUi->setupUi(this);
    mpUi->xmlPathWidget->setLabel(tr("XML cache Dir:"));
    mpUi->xmlPathWidget->setMode(tcFileSettingsWidget::eDirectory);
    mpUi->xslPathWidget->setLabel(tr("XSL File:"));
    mpUi->xslPathWidget->setFileTypes(tr("Style sheets (*.xsl *.xslt)"));
    mpUi->simCamXMLPathWidget->setLabel(tr("Simulated Camera XML File:"));
    mpUi->simCamXMLPathWidget->setPlaceholderText(tr("Location of Simulated Camera XML file"));
    mpUi->simCamXMLPathWidget->setFileTypes(tr("Camera descriptions (*.xml *.zip)"));

    for (tcFileSettingsWidget* lpChooser :
         {mpUi->xmlPathWidget, mpUi->xslPathWidget, mpUi->simCamXMLPathWidget})
        connect(lpChooser, &tcFileSettingsWidget::fileNameChanged, this, &tcAppSettings::markDirty);
    for (const tcChoice& lcChoice : choices())
        connect(lcChoice.mpBox, &QCheckBox::clicked, this, &tcAppSettings::markDirty);
}

tcAppSettings::~tcAppSettings() = default;

QList<tcAppSettings::tcChoice> tcAppSettings::choices() const
{
    return {{mpUi->checkBoxAutoOpenVideoWidget, "autoOpenVideoWidget", true},
            {mpUi->checkBoxOpenVideoWidgetMax, "openVideoWidgetMaximized", true},
            {mpUi->checkBoxConnectPrevious, "openLast", false},
            {mpUi->cbShowAllNotifcations, "showAllNotifcations", true},
            {mpUi->cbShowUpdateNotifications, "showUpdateNotifications", true},
            {mpUi->cbEnableDownloader, "enableDownloader", true},
            {mpUi->cbEnablePeriodic, "enablePeriodicUpdate", true}};
}

QString tcAppSettings::defaultXmlDir()
{
    return tcDescriptionLoader::defaultCacheDir();
}

QString tcAppSettings::defaultXsltFile()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/xml_to_documentation.xsl");
}

void tcAppSettings::readSettings(QSettings* apSettings)
{
    // Filling the page is no edit: the choosers stay silent meanwhile.
    const QSignalBlocker lcXml(mpUi->xmlPathWidget);
    const QSignalBlocker lcXsl(mpUi->xslPathWidget);
    const QSignalBlocker lcSim(mpUi->simCamXMLPathWidget);
    mpUi->xmlPathWidget->setFileName(pathOrDefault(apSettings, kXmlDir, defaultXmlDir()));
    mpUi->xslPathWidget->setFileName(pathOrDefault(apSettings, kXsltFile, defaultXsltFile()));
    mpUi->simCamXMLPathWidget->setFileName(apSettings->value(QLatin1String(kSimCamXml)).toString());
    for (const tcChoice& lcChoice : choices())
        lcChoice.mpBox->setChecked(
            apSettings->value(QLatin1String(lcChoice.mpKey), lcChoice.mbDefault).toBool());
}

void tcAppSettings::writeSettings(QSettings* apSettings)
{
    apSettings->setValue(QLatin1String(kXmlDir), mpUi->xmlPathWidget->fileName());
    apSettings->setValue(QLatin1String(kXsltFile), mpUi->xslPathWidget->fileName());
    apSettings->setValue(QLatin1String(kSimCamXml), mpUi->simCamXMLPathWidget->fileName());
    for (const tcChoice& lcChoice : choices())
        apSettings->setValue(QLatin1String(lcChoice.mpKey), lcChoice.mpBox->isChecked());
}
