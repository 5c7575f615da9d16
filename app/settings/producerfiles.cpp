#include "producerfiles.h"

#include "producerbinding.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace
{
// Adds the file once, judged by where it really is, so that links and
// "folder/../folder" spellings do not offer the same producer twice.
void addOnce(const QFileInfo& arFile, QSet<QString>& arSeen, QStringList& arFiles)
{
    const QString lsReal = arFile.canonicalFilePath();
    if (lsReal.isEmpty() || arSeen.contains(lsReal))
        return;
    arSeen.insert(lsReal);
    arFiles.append(QDir::cleanPath(arFile.absoluteFilePath()));
}
} // namespace

QStringList tcProducerFiles::find(const QString& arSearchPath, const QString& arBundled)
{
    QStringList lsFiles;
    QSet<QString> lsSeen;
    if (!arBundled.isEmpty() && QFileInfo(arBundled).isFile())
        addOnce(QFileInfo(arBundled), lsSeen, lsFiles);

    const QStringList lsFolders = arSearchPath.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    for (const QString& lsFolder : lsFolders)
    {
        const QDir lcDir(lsFolder.trimmed());
        if (!lcDir.exists())
            continue;
        const QFileInfoList lcEntries =
            lcDir.entryInfoList({QStringLiteral("*.cti")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo& lcEntry : lcEntries)
            addOnce(lcEntry, lsSeen, lsFiles);
    }
    return lsFiles;
}

QStringList tcProducerFiles::available()
{
    return find(qEnvironmentVariable(kSearchPathVariable), tcProducerBinding::bundledProducerPath());
}
