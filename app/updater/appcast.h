#pragma once

#include "versionnumber.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QUrl>

// One release as the update source describes it. The source serves an XML
// document of this form; when it lists several releases the newest is taken:
//
//   <appcast>
//     <release>
//       <version>0.9.1</version>
//       <date>2026-12-01</date>                      (optional)
//       <notes>What changed, as plain text</notes>   (optional)
//       <installer url="kestrix-0.9.1-setup.exe" sha256="64 hex digits"/>
//     </release>
//   </appcast>
//
// A relative installer address is resolved against the document's own
// address; only http and https are accepted.
class tcAppCast
{
public:
    QString msVersion;
    tcVersionNumber mcVersion;
    QString msDate;
    QString msNotes;
    QUrl mcInstallerUrl;
    QByteArray msSha256; // lower-case hex

    // Fills arOut from arXml. On failure returns false and puts one sentence
    // saying what is wrong into arError (without the source's address).
    static bool parse(const QByteArray& arXml, const QUrl& arBase, tcAppCast& arOut, QString& arError);
};

Q_DECLARE_METATYPE(tcAppCast)
