#include "appcast.h"

#include <QXmlStreamReader>

namespace
{
bool isSha256Hex(const QByteArray& arHex)
{
    if (arHex.size() != 64)
        return false;
    for (const char lcChar : arHex)
        if (!((lcChar >= '0' && lcChar <= '9') || (lcChar >= 'a' && lcChar <= 'f')))
            return false;
    return true;
}

// Reads one <release> element; the reader stands on its start tag.
bool readRelease(QXmlStreamReader& arReader, const QUrl& arBase, tcAppCast& arOut, QString& arError)
{
    bool lbHasInstaller = false;
    while (arReader.readNextStartElement())
    {
        const QStringRef lsName = arReader.name();
        if (lsName == QLatin1String("version"))
            arOut.msVersion = arReader.readElementText().trimmed();
        else if (lsName == QLatin1String("date"))
            arOut.msDate = arReader.readElementText().trimmed();
        else if (lsName == QLatin1String("notes"))
            arOut.msNotes = arReader.readElementText().trimmed();
        else if (lsName == QLatin1String("installer"))
        {
            const QXmlStreamAttributes lcAttributes = arReader.attributes();
            arOut.mcInstallerUrl =
                arBase.resolved(QUrl(lcAttributes.value(QLatin1String("url")).toString().trimmed()));
            arOut.msSha256 = lcAttributes.value(QLatin1String("sha256")).toLatin1().trimmed().toLower();
            lbHasInstaller = !lcAttributes.value(QLatin1String("url")).trimmed().isEmpty();
            arReader.skipCurrentElement();
        }
        else
            arReader.skipCurrentElement();
    }
    if (arReader.hasError())
        return false;
    if (arOut.msVersion.isEmpty())
    {
        arError = QStringLiteral("a release has no version");
        return false;
    }
    if (!tcVersionNumber::parse(arOut.msVersion, arOut.mcVersion))
    {
        arError = QStringLiteral("the version \"%1\" is not a version number").arg(arOut.msVersion);
        return false;
    }
    if (!lbHasInstaller)
    {
        arError = QStringLiteral("release %1 names no installer").arg(arOut.msVersion);
        return false;
    }
    const QString lsScheme = arOut.mcInstallerUrl.scheme();
    if (!arOut.mcInstallerUrl.isValid() ||
        (lsScheme != QLatin1String("http") && lsScheme != QLatin1String("https")))
    {
        arError = QStringLiteral("the installer address \"%1\" is not an http or https address")
                      .arg(arOut.mcInstallerUrl.toString());
        return false;
    }
    if (!isSha256Hex(arOut.msSha256))
    {
        arError =
            QStringLiteral("the installer of release %1 has no valid SHA-256 checksum").arg(arOut.msVersion);
        return false;
    }
    return true;
}
} // namespace

bool tcAppCast::parse(const QByteArray& arXml, const QUrl& arBase, tcAppCast& arOut, QString& arError)
{
    QXmlStreamReader lcReader(arXml);
    if (!lcReader.readNextStartElement() || lcReader.name() != QLatin1String("appcast"))
    {
        arError =
            lcReader.hasError() ? QString() : QStringLiteral("the document is not an update description");
    }
    else
    {
        bool lbFound = false;
        while (arError.isEmpty() && lcReader.readNextStartElement())
        {
            if (lcReader.name() != QLatin1String("release"))
            {
                lcReader.skipCurrentElement();
                continue;
            }
            tcAppCast lcRelease;
            if (!readRelease(lcReader, arBase, lcRelease, arError))
                break;
            if (!lbFound || lcRelease.mcVersion.compare(arOut.mcVersion) > 0)
                arOut = lcRelease;
            lbFound = true;
        }
        if (arError.isEmpty() && !lcReader.hasError() && !lbFound)
            arError = QStringLiteral("it lists no release");
        // Whatever follows the root must still be well-formed.
        while (arError.isEmpty() && !lcReader.atEnd())
            lcReader.readNext();
    }
    if (arError.isEmpty() && lcReader.hasError())
        arError = QStringLiteral("%1 at line %2, column %3")
                      .arg(lcReader.errorString())
                      .arg(lcReader.lineNumber())
                      .arg(lcReader.columnNumber());
    return arError.isEmpty();
}
