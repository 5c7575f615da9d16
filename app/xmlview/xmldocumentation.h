#pragma once

#include <QString>

// Turns a camera description into readable HTML through an XSLT 2.0 style
// sheet. The program ships its own sheet beside the executable.
class tcXmlDocumentation
{
public:
    tcXmlDocumentation() = delete;

    // The sheet shipped beside the program.
    static QString defaultStyleSheet();
    // The sheet of the "xsltFile" setting; the shipped one while it is unset.
    static QString configuredStyleSheet();

    // False, with the reason in apError, when the sheet cannot be read or
    // compiled or the description cannot be transformed.
    static bool transform(const QString& arXml, const QString& arStyleSheet, QString& arHtml,
                          QString* apError = nullptr);
};
