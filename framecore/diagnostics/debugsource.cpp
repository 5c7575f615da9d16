#include "debugsource.h"

#include <QMultiMap>
#include <QSettings>

#include <memory>

namespace
{
// The registry lives as long as the process: sources with static storage may
// be destroyed after any function-local static, so it is never torn down.
QMultiMap<QString, tcDebugSource*>& registry()
{
    static auto* lpRegistry = new QMultiMap<QString, tcDebugSource*>;
    return *lpRegistry;
}

QSettings* (*gpSettingsFunc)() = nullptr;
} // namespace

tcDebugSource::tcDebugSource(const QString& arName) : msName(arName)
{
    mnLevel.store(levelFromSettings(arName), std::memory_order_relaxed);
    registerSource();
}

tcDebugSource::tcDebugSource(const QString& arName, int anLevel) : msName(arName), mnLevel(anLevel)
{
    registerSource();
}

tcDebugSource::tcDebugSource(const QString& arName, bool abUnregistered)
    : msName(arName), mbUnregistered(abUnregistered)
{
    mnLevel.store(levelFromSettings(arName), std::memory_order_relaxed);
    if (!mbUnregistered)
        registerSource();
}

tcDebugSource::tcDebugSource() : msName(QStringLiteral("tcDebugSource"))
{
    registerSource();
}

// A copy carries the same identity but is never entered in the registry, so
// destroying it cannot remove the original's entry.
tcDebugSource::tcDebugSource(const tcDebugSource& arOther)
    : msName(arOther.msName), msInstanceName(arOther.msInstanceName), mnLevel(arOther.GetDbgLevel()),
      mbUnregistered(arOther.mbUnregistered)
{
}

tcDebugSource& tcDebugSource::operator=(const tcDebugSource& arOther)
{
    if (this != &arOther)
    {
        msName = arOther.msName;
        msInstanceName = arOther.msInstanceName;
        mnLevel.store(arOther.GetDbgLevel(), std::memory_order_relaxed);
        mbUnregistered = arOther.mbUnregistered;
    }
    return *this;
}

tcDebugSource::~tcDebugSource()
{
    if (mbUnregistered)
        return;
    auto& lrRegistry = registry();
    auto lcIt = lrRegistry.find(msName);
    while (lcIt != lrRegistry.end() && lcIt.key() == msName)
    {
        if (lcIt.value() == this)
            lcIt = lrRegistry.erase(lcIt);
        else
            ++lcIt;
    }
}

void tcDebugSource::SetDbgLevel(int anLevel)
{
    mnLevel.store(anLevel, std::memory_order_relaxed);
}

void tcDebugSource::SetDbgLevel(const QString& arName, int anLevel)
{
    for (tcDebugSource* lpSource : getDbgSources(arName))
        lpSource->SetDbgLevel(anLevel);
}

QList<tcDebugSource*> tcDebugSource::getDbgSources(QString asName)
{
    // values() lists the most recently inserted entry of a key first.
    return registry().values(asName);
}

QStringList tcDebugSource::getDbgSourceNames()
{
    return registry().keys();
}

void tcDebugSource::setSettingsFunc(QSettings* (*apFunc)())
{
    gpSettingsFunc = apFunc;
}

void tcDebugSource::setInstanceName(const QString& arName)
{
    msInstanceName = arName;
    msInstanceName.replace(QLatin1Char(' '), QLatin1Char('_'));
}

void tcDebugSource::debugMinLevel(int /*anLevel*/)
{
    // Kept for subclasses that state the least level they expect; the level
    // itself stays what the settings gave.
}

int tcDebugSource::getDebugLevel(QSettings* apSettings, const QString& arName)
{
    if (!apSettings)
        return 0;
    const QString lsKey = arName.isEmpty()
                              ? QStringLiteral("debugLevel")
                              : QStringLiteral("%1/%2").arg(arName, QStringLiteral("debugLevel"));
    return apSettings->value(lsKey, 0).toInt();
}

int tcDebugSource::levelFromSettings(const QString& arName)
{
    std::unique_ptr<QSettings> lpSettings(gpSettingsFunc ? gpSettingsFunc() : nullptr);
    return getDebugLevel(lpSettings.get(), arName);
}

void tcDebugSource::registerSource()
{
    registry().insert(msName, this);
    setInstanceName(QString::number(reinterpret_cast<quintptr>(this), 16));
}
