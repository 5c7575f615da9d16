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

    // A default file that exists but cannot be used is reported and, unless
    // it is a folder, moved aside as "<name>.bad" before anything can write
    // over it: a hand-edited file is never overwritten silently.
    static void setDefaultIniFile(QString asFileName);
    static QString getDefaultIniFile();
    // What was reported about the default file when it was set, for the
    // status bar; empty when the file was fine or absent.
    static QString defaultFileProblem();

    // Why an existing file cannot serve as settings file; empty when it reads
    // fine or does not exist.
    static QString fileProblem(const QString& arFileName);
    // Moves a file aside as "<name>.bad", or "<name>.bad.N" with the first
    // free N; returns the new name, empty when it could not be moved.
    static QString keepAside(const QString& arFileName);

    QVariant grpValue(const QString& arGroup, const QString& arKey, const QVariant& arDefault) const;
    void setGrpValue(const QString& arGroup, const QString& arKey, const QVariant& arValue);

    QString getEncrypted(const QString& arKey);
    void setEncrypted(const QString& arKey, const QString& arText);

    static QString userDocsDir(const QString& arSubFolder);

private:
    static QString recoverUnusable(const QString& arFileName);

    static QString scDefaultIniFile;
    static QString scDefaultProblem;
};

// "major.minor.patch build N <compile date> <compile time>"
FRAMECORE_EXPORT QString appVersion();
