#include "xmldocumentation.h"

#include "settings.h"

#include <QAbstractMessageHandler>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>
#include <QXmlQuery>

#include <memory>

namespace
{
// Keeps the first error the query engine reports instead of letting it
// print to the log as a bare warning.
class tcQueryErrors : public QAbstractMessageHandler
{
public:
    QString msFirst;

protected:
    void handleMessage(QtMsgType aeType, const QString& arDescription, const QUrl& arIdentifier,
                       const QSourceLocation& arLocation) override
    {
        if (aeType == QtDebugMsg || !msFirst.isEmpty())
            return;
        msFirst = QStringLiteral("%1 (%2 line %3)")
                      .arg(arDescription, arIdentifier.toString())
                      .arg(arLocation.line());
        msFirst.remove(QRegExp(QStringLiteral("<[^>]*>")));
    }
};

QUrl styleSheetUrl(const QString& arStyleSheet)
{
    const QUrl lcUrl(arStyleSheet);
    if (lcUrl.isValid() && !lcUrl.scheme().isEmpty() && lcUrl.scheme().size() > 1)
        return lcUrl;
    return QUrl::fromLocalFile(QFileInfo(arStyleSheet).absoluteFilePath());
}
} // namespace

QString tcXmlDocumentation::defaultStyleSheet()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/xml_to_documentation.xsl");
}

QString tcXmlDocumentation::configuredStyleSheet()
{
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    const QString lsSheet = lpSettings->value(QStringLiteral("xsltFile")).toString();
    return lsSheet.isEmpty() ? defaultStyleSheet() : lsSheet;
}

bool tcXmlDocumentation::transform(const QString& arXml, const QString& arStyleSheet, QString& arHtml,
                                   QString* apError)
{
    auto lcFail = [apError](const QString& arReason)
    {
        if (apError)
            *apError = arReason;
        return false;
    };
    if (arXml.trimmed().isEmpty())
        return lcFail(QStringLiteral("There is no description to document"));
    const QUrl lcSheet = styleSheetUrl(arStyleSheet);
    if (lcSheet.isLocalFile() && !QFileInfo(lcSheet.toLocalFile()).isReadable())
        return lcFail(QStringLiteral("Style sheet %1 cannot be read").arg(lcSheet.toLocalFile()));

    // The style sheet engine takes its input document only by URL: string
    // and device focuses are seen as plain items, not as a document.
    QTemporaryFile lcDocument(QDir::tempPath() + QStringLiteral("/kestrix_description_XXXXXX.xml"));
    if (!lcDocument.open() || lcDocument.write(arXml.toUtf8()) < 0 || !lcDocument.flush())
        return lcFail(QStringLiteral("Unable to write a temporary copy of the description: %1")
                          .arg(lcDocument.errorString()));
    tcQueryErrors lcErrors;
    QXmlQuery lcQuery(QXmlQuery::XSLT20);
    lcQuery.setMessageHandler(&lcErrors);
    if (!lcQuery.setFocus(QUrl::fromLocalFile(lcDocument.fileName())))
        return lcFail(lcErrors.msFirst.isEmpty() ? QStringLiteral("The description is not well-formed XML")
                                                 : lcErrors.msFirst);
    lcQuery.setQuery(lcSheet);
    if (!lcQuery.isValid())
        return lcFail(lcErrors.msFirst.isEmpty() ? QStringLiteral("The style sheet is not valid")
                                                 : lcErrors.msFirst);
    QString lsResult;
    if (!lcQuery.evaluateTo(&lsResult) || lsResult.trimmed().isEmpty())
        return lcFail(lcErrors.msFirst.isEmpty() ? QStringLiteral("The transformation gave no result")
                                                 : lcErrors.msFirst);
    arHtml = lsResult;
    return true;
}
