#pragma once

#include "framecore_export.h"

#include <QSettings>
#include <QString>
#include <QVariant>

// The INI settings store. The program names one default file at start-up;
// from then on every part of the system, plugins included, obtains its own
// short-lived store from getSettings() and sees the same file.
class FRAMECORE_EXPORT tcSettings : public QSettings
{
public:
    explicit tcSettings(QString asFileName);
    tcSettings();
    ~tcSettings() override;

    // The caller owns the returned store.
    static tcSettings* getSettings(QString asFileName);
    static QSettings* getQSettings();

    static void setDefaultIniFile(QString asFileName);
    static QString getDefaultIniFile();

    QVariant grpValue(const QString& arGroup, const QString& arKey, const QVariant& arDefault) const;
    void setGrpValue(const QString& arGroup, const QString& arKey, const QVariant& arValue);

    QString getEncrypted(const QString& arKey);
    void setEncrypted(const QString& arKey, const QString& arText);

    static QString userDocsDir(const QString& arSubFolder);

private:
    static QString scDefaultIniFile;
};

// "major.minor.patch build N <compile date> <compile time>"
FRAMECORE_EXPORT QString appVersion();
