#pragma once

// The shared real-camera descriptions live outside the repository (CI has
// them beside it). A clone of the project alone has no such folder: tests
// that read it skip with one line that says where they looked and how to
// point them at the folder, and every other test still runs.

#include <QDir>
#include <QString>
#include <QtTest>

inline QString sharedDescriptionsDir()
{
    return QDir(qEnvironmentVariable("KESTRIX_TESTDATA_DIR")).filePath(QStringLiteral("genicam"));
}

// Empty when the folder is there, else the reason to skip.
inline QString sharedDescriptionsMissing()
{
    const QString lsDir = sharedDescriptionsDir();
    if (QDir(lsDir).exists())
        return QString();
    return QStringLiteral("shared camera descriptions not found in %1; set KESTRIX_TESTDATA_DIR "
                          "(or the CMake cache entry of that name) to the folder holding genicam/ to run them")
        .arg(QDir::cleanPath(lsDir));
}

// Skips the calling test function (or, from initTestCase, the whole test)
// when the shared descriptions are absent.
#define KX_SKIP_WITHOUT_SHARED_DESCRIPTIONS()                                                                \
    do                                                                                                       \
    {                                                                                                        \
        const QString lsWhy = sharedDescriptionsMissing();                                                   \
        if (!lsWhy.isEmpty())                                                                                \
            QSKIP(qPrintable(lsWhy));                                                                        \
    } while (false)
