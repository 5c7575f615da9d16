#include "settings.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace
{
const char* const kOrganization = "Tarnwick LLC";

// Swaps the two 4-bit halves of every byte; its own inverse.
void nibbleSwap(QByteArray& arBytes)
{
    for (char& lrByte : arBytes)
    {
        const auto lnByte = static_cast<unsigned char>(lrByte);
        lrByte = static_cast<char>(((lnByte & 0x0F) << 4) | (lnByte >> 4));
    }
}

constexpr auto kBase64Options = QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals;
} // namespace

QString tcSettings::scDefaultIniFile;
QString tcSettings::scDefaultProblem;

tcSettings::tcSettings(QString asFileName) : QSettings(asFileName, QSettings::IniFormat) {}

tcSettings::tcSettings()
    : QSettings(QSettings::IniFormat, QSettings::SystemScope, QString::fromLatin1(kOrganization),
                QCoreApplication::applicationName())
{
}

tcSettings::~tcSettings() = default;

tcSettings* tcSettings::getSettings(QString asFileName)
{
    if (asFileName.isEmpty())
        asFileName = scDefaultIniFile;
    if (!asFileName.isEmpty())
        return new tcSettings(asFileName);
    return new tcSettings();
}

QSettings* tcSettings::getQSettings()
{
    return getSettings(QString());
}

void tcSettings::setDefaultIniFile(QString asFileName)
{
    scDefaultProblem = recoverUnusable(asFileName);
    scDefaultIniFile = asFileName;
}

QString tcSettings::getDefaultIniFile()
{
    return scDefaultIniFile;
}

QString tcSettings::defaultFileProblem()
{
    return scDefaultProblem;
}

QString tcSettings::fileProblem(const QString& arFileName)
{
    const QFileInfo lcInfo(arFileName);
    if (arFileName.isEmpty() || !lcInfo.exists())
        return QString();
    if (lcInfo.isDir())
        return QStringLiteral("it is a folder, not a file");
    QFile lcFile(arFileName);
    if (!lcFile.open(QIODevice::ReadOnly))
        return QStringLiteral("it cannot be read (%1)").arg(lcFile.errorString());
    // Qt's INI reader passes over zero bytes and other control characters;
    // a text file has none but line breaks and tabs.
    const QByteArray lcBytes = lcFile.readAll();
    const bool lbBinary = std::any_of(lcBytes.cbegin(), lcBytes.cend(),
                                      [](char anByte)
                                      {
                                          const auto lnByte = static_cast<unsigned char>(anByte);
                                          return lnByte < 0x20 && anByte != '\n' && anByte != '\r' &&
                                                 anByte != '\t' && anByte != '\f';
                                      });
    if (lbBinary)
        return QStringLiteral("it holds binary data, not text");
    lcFile.close();
    const QSettings lcProbe(arFileName, QSettings::IniFormat);
    if (lcProbe.status() == QSettings::FormatError)
        return QStringLiteral("it is not a valid INI file (damaged or cut short)");
    if (lcProbe.status() == QSettings::AccessError)
        return QStringLiteral("it cannot be read");
    return QString();
}

QString tcSettings::keepAside(const QString& arFileName)
{
    QString lsKept = arFileName + QStringLiteral(".bad");
    for (int lnCopy = 1; QFileInfo::exists(lsKept) || QFileInfo(lsKept).isSymLink(); ++lnCopy)
        lsKept = arFileName + QStringLiteral(".bad.%1").arg(lnCopy);
    return QFile::rename(arFileName, lsKept) ? lsKept : QString();
}

// Nothing is written to a folder, so it stays where it is; any other unusable
// file is kept aside so that the settings written later start afresh.
QString tcSettings::recoverUnusable(const QString& arFileName)
{
    const QString lsProblem = fileProblem(arFileName);
    if (lsProblem.isEmpty())
        return QString();
    QString lsReport;
    if (QFileInfo(arFileName).isDir())
    {
        lsReport = QStringLiteral(
                       "Settings file %1 is unusable: %2. Settings are neither read from nor saved to it.")
                       .arg(arFileName, lsProblem);
    }
    else
    {
        const QString lsKept = keepAside(arFileName);
        lsReport =
            lsKept.isEmpty()
                ? QStringLiteral(
                      "Settings file %1 is unusable: %2. It could not be kept aside; settings start "
                      "from their defaults.")
                      .arg(arFileName, lsProblem)
                : QStringLiteral("Settings file %1 is unusable: %2. It is kept as %3; settings start from "
                                 "their defaults.")
                      .arg(arFileName, lsProblem, lsKept);
    }
    qWarning().noquote() << lsReport;
    return lsReport;
}

QVariant tcSettings::grpValue(const QString& arGroup, const QString& arKey, const QVariant& arDefault) const
{
    return value(arGroup + QLatin1Char('/') + arKey, arDefault);
}

void tcSettings::setGrpValue(const QString& arGroup, const QString& arKey, const QVariant& arValue)
{
    setValue(arGroup + QLatin1Char('/') + arKey, arValue);
}

QString tcSettings::getEncrypted(const QString& arKey)
{
    QByteArray lcBytes = value(arKey).toByteArray();
    nibbleSwap(lcBytes);
    const QByteArray lcText = QByteArray::fromBase64(lcBytes, kBase64Options);
    // The text was stored as Latin-1, so it is read back as Latin-1: every
    // character of the stored text survives the round trip.
    return QString::fromLatin1(lcText.constData());
}

void tcSettings::setEncrypted(const QString& arKey, const QString& arText)
{
    QByteArray lcBytes = arText.toLatin1().toBase64(kBase64Options);
    nibbleSwap(lcBytes);
    setValue(arKey, lcBytes);
}

QString tcSettings::userDocsDir(const QString& arSubFolder)
{
    QString lsOrganization = QString::fromLatin1(kOrganization);
    QString lsApplication = QString::fromLatin1(kOrganization);
    if (QCoreApplication::instance())
    {
        lsOrganization = QCoreApplication::organizationName();
        lsApplication = QCoreApplication::applicationName();
    }
    QString lsDir = QStringLiteral("%1/%2/%3")
                        .arg(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                             lsOrganization, lsApplication);
    if (!arSubFolder.isEmpty())
        lsDir += QStringLiteral("/%1").arg(arSubFolder);
    return lsDir;
}

QString appVersion()
{
    // __DATE__ pads single-digit days with a blank ("Dec  8 2026").
    const QString lsDate = QString::fromLatin1(__DATE__).simplified();
    const QString lsBuild = QStringLiteral("build %1").arg(KESTRIX_BUILD_NUMBER);
    return QStringLiteral("%1.%2.%3 %6 %4 %5")
        .arg(KESTRIX_VERSION_MAJOR)
        .arg(KESTRIX_VERSION_MINOR)
        .arg(KESTRIX_VERSION_PATCH)
        .arg(lsDate, QString::fromLatin1(__TIME__), lsBuild);
}
