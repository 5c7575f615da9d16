#include "aboutbox.h"

#include "pfncnames.h"
#include "pixelformatregistry.h"
#include "reportform.h"
#include "settings.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QSysInfo>

tcAboutBox::tcAboutBox(QWidget* apParent, const QString& arCamera) : QMessageBox(apParent)
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About %1").arg(QApplication::applicationDisplayName()));
    setIconPixmap(QPixmap(QStringLiteral(":/images/resouces/icon.png")));
    setTextFormat(Qt::RichText);
    setText(aboutText(arCamera));
    setDefaultButton(addButton(QMessageBox::Close));
    QPushButton* lpEnvironment = addButton(QStringLiteral("Environment"), QMessageBox::ActionRole);
    connect(lpEnvironment, &QPushButton::clicked, this, &tcAboutBox::showEnvironment);
}

QStringList tcAboutBox::pixelFormatNames()
{
    QStringList lsNames;
    for (quint32 lnCode : PixelFormats::tcPixelFormatRegistry::registeredCodes())
    {
        const QString lsName = QString::fromLatin1(PixelFormats::pfncName(lnCode));
        if (lnCode != 0 && lsName != QLatin1String("NULL"))
            lsNames << lsName;
    }
    return lsNames;
}

QString tcAboutBox::aboutText(const QString& arCamera)
{
    QString lsCamera = arCamera.isEmpty() ? QStringLiteral("No Device Connected") : arCamera.toHtmlEscaped();
    lsCamera.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    QString lsText = QStringLiteral("<table cellspacing=\"10\"><tr><td colspan=\"2\">");
    lsText += QStringLiteral("<b>Kestrix Display</b><br>Version %1<br>").arg(appVersion().toHtmlEscaped());
    lsText += QStringLiteral("Built with <a href=\"https://www.qt.io/\">Qt %1</a> and "
                             "<a href=\"https://www.emva.org/standards-technology/genicam/\">GenICam %2</a>")
                  .arg(QString::fromLatin1(qVersion()), QStringLiteral("%1.%2.%3").arg(2).arg(4).arg(1));
    lsText += QStringLiteral("</td></tr><tr><td colspan=\"2\"><b>Camera</b><br>%1</td></tr>").arg(lsCamera);
    lsText += QStringLiteral("<tr><td colspan=\"2\">%1 bit %2 [%3]<br>Build time: %4 %5</td></tr>")
                  .arg(64)
                  .arg(QSysInfo::prettyProductName().toHtmlEscaped(), QSysInfo::currentCpuArchitecture(),
                       QStringLiteral(__DATE__), QStringLiteral(__TIME__));
    lsText += QStringLiteral("<tr><td span=\"2\"><b>Supported Pixel Formats:</b></td></tr>");
    const QStringList lsFormats = pixelFormatNames();
    for (int lnIndex = 0; lnIndex < lsFormats.size(); lnIndex += 2)
        lsText +=
            QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                .arg(lsFormats[lnIndex], lnIndex + 1 < lsFormats.size() ? lsFormats[lnIndex + 1] : QString());
    lsText += QStringLiteral("</table>");
    return lsText;
}

void tcAboutBox::showEnvironment()
{
    tcReportForm::ShowDocument(
        QProcessEnvironment::systemEnvironment().toStringList().join(QLatin1Char('\n')),
        QStringLiteral("Environment"));
}
