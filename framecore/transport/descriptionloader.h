#pragma once

#include "framecore_export.h"

#include <QString>

namespace GenApi
{
class CNodeMapRef;
}
class tcDebugSource;
class tcGenTLInterface;

// What became of a device's description: the text shown to the user, where
// its cached copy went, whether the node map was filled, and when it was not,
// why (for the user; it is logged as well).
struct tcDeviceDescription
{
    QString msXmlText;
    QString msCachedFile;
    bool mbLoaded = false;
    QString msProblem;
};

// Fetches the description of the device the binding has open, keeps a
// readable copy of a zipped one in the cache folder and loads the node map.
// GenICam exceptions raised while loading pass to the caller.
class FRAMECORE_EXPORT tcDescriptionLoader
{
public:
    tcDescriptionLoader() = delete;

    // An empty cache folder stands for the default one. The tracer decides,
    // by its debug level, whether the extraction is traced.
    static tcDeviceDescription load(tcGenTLInterface& arBinding, GenApi::CNodeMapRef& arNodeMap,
                                    const QString& arCacheDir, const tcDebugSource& arTracer);

    // PUBLIC/Documents/<organization>/<program>/xml when PUBLIC is set, else
    // the same below the user's documents folder.
    static QString defaultCacheDir();

    static bool isZip(const QByteArray& arData);

private:
    static void cacheZipEntry(const QByteArray& arData, const QString& arCacheDir,
                              const tcDebugSource& arTracer, tcDeviceDescription& arResult);
    static void loadNodeMap(const QByteArray& arData, GenApi::CNodeMapRef& arNodeMap,
                            tcDeviceDescription& arResult);
};
