#pragma once

#include "framecore_export.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>

class QSettings;

// A named object with a run-time debug level. Almost every long-lived class of
// Kestrix derives from it, so that the debug-level dialog can find all live
// objects by name and turn their diagnostics up or down while the program runs.
//
// The registry and the settings function are not locked: sources are built,
// destroyed and queried on the GUI thread only. The level itself is atomic so
// that worker threads may test it in their trace guards at any time.
class FRAMECORE_EXPORT tcDebugSource
{
public:
    virtual void SetDbgLevel(int anLevel);
    virtual ~tcDebugSource();

    int GetDbgLevel() const { return mnLevel.load(std::memory_order_relaxed); }
    QString getName() const { return msName; }
    QString getInstanceName() const { return msInstanceName; }

    static void SetDbgLevel(const QString& arName, int anLevel);
    static QList<tcDebugSource*> getDbgSources(QString asName);
    static QStringList getDbgSourceNames();
    static void setSettingsFunc(QSettings* (*apFunc)());

protected:
    explicit tcDebugSource(const QString& arName);
    tcDebugSource(const QString& arName, int anLevel);
    tcDebugSource(const QString& arName, bool abUnregistered);
    tcDebugSource();
    tcDebugSource(const tcDebugSource& arOther);
    tcDebugSource& operator=(const tcDebugSource& arOther);

    void setInstanceName(const QString& arName);
    void debugMinLevel(int anLevel);
    int getDebugLevel(QSettings* apSettings, const QString& arName);

private:
    int levelFromSettings(const QString& arName);
    void registerSource();

    QString msName;
    QString msInstanceName;
    std::atomic<int> mnLevel{0};
    bool mbUnregistered = false;
};
