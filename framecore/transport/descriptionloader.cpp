#include "descriptionloader.h"

#include "debugsource.h"
#include "gentlinterface.h"

#include <GenApi/GenApi.h>

#include <quazip/JlCompress.h>

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace
{
const char* const kOrganization = "Tarnwick LLC";
const char* const kProgram = "Kestrix";

// The entry's own file name: a name with folders, "..", or an absolute path
// never leads outside the cache folder.
QString safeEntryName(const QString& arEntry)
{
    const QString lsName = QFileInfo(arEntry).fileName();
    if (lsName == QLatin1String(".") || lsName == QLatin1String(".."))
        return QString();
    return lsName;
}
} // namespace

tcDeviceDescription tcDescriptionLoader::load(tcGenTLInterface& arBinding, GenApi::CNodeMapRef& arNodeMap,
                                              const QString& arCacheDir, const tcDebugSource& arTracer)
{
    tcDeviceDescription lcResult;
    const QByteArray lcData = arBinding.loadXMLFromDevice();
    if (lcData.isEmpty())
    {
        lcResult.msProblem = QStringLiteral("The device delivered an empty description: there is nothing to "
                                            "build its features from");
        qWarning().noquote() << lcResult.msProblem;
        return lcResult;
    }

    const QString lsCacheDir = arCacheDir.isEmpty() ? defaultCacheDir() : arCacheDir;
    cacheZipEntry(lcData, lsCacheDir, arTracer, lcResult);
    loadNodeMap(lcData, arNodeMap, lcResult);
    return lcResult;
}

QString tcDescriptionLoader::defaultCacheDir()
{
    const QByteArray lcPublic = qgetenv("PUBLIC");
    const QString lsBase = lcPublic.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : QString::fromLocal8Bit(lcPublic) + QStringLiteral("/Documents");
    return QStringLiteral("%1/%2/%3/xml").arg(lsBase, QLatin1String(kOrganization), QLatin1String(kProgram));
}

bool tcDescriptionLoader::isZip(const QByteArray& arData)
{
    return arData.startsWith(QByteArray("PK\x03\x04", 4));
}

// The fetched bytes go through a temporary file because the zip library lists
// and extracts files; plain XML simply yields no entries.
void tcDescriptionLoader::cacheZipEntry(const QByteArray& arData, const QString& arCacheDir,
                                        const tcDebugSource& arTracer, tcDeviceDescription& arResult)
{
    QTemporaryFile lcTemp;
    if (!lcTemp.open())
        return;
    lcTemp.write(arData);
    lcTemp.flush();

    const QStringList lsEntries = JlCompress::getFileList(lcTemp.fileName());
    if (lsEntries.isEmpty())
        return;
    const QString lsEntry = lsEntries.first();
    const QString lsName = safeEntryName(lsEntry);
    if (lsName.isEmpty())
        return;
    QDir().mkpath(arCacheDir);
    const QString lsCachePath = arCacheDir + QLatin1Char('/') + lsName;
    const QString lsExtracted = JlCompress::extractFile(lcTemp.fileName(), lsEntry, lsCachePath);
    if (arTracer.GetDbgLevel() >= 1)
        qDebug() << "[" << arTracer.getName() << 1 << "]"
                 << "extracted" << lsEntry << "to" << lsCachePath;

    QFile lcCached(lsCachePath);
    if (lsExtracted.isEmpty() || !lcCached.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    arResult.msCachedFile = lsCachePath;
    arResult.msXmlText = QString::fromUtf8(lcCached.readAll());
}

void tcDescriptionLoader::loadNodeMap(const QByteArray& arData, GenApi::CNodeMapRef& arNodeMap,
                                      tcDeviceDescription& arResult)
{
    if (isZip(arData))
    {
        arNodeMap._LoadXMLFromZIPData(arData.constData(), static_cast<size_t>(arData.size()));
    }
    else
    {
        arNodeMap._LoadXMLFromString(GenICam::gcstring(arData.constData()));
        arResult.msXmlText = QString::fromUtf8(arData);
    }
    arResult.mbLoaded = true;
}
