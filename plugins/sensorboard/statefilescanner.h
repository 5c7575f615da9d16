#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Reads the groups of a state file line by line, as the INI text stands, so
// that every register entry and every fault can be named by its line. The
// settings class reads the same file but forgets where a value came from and
// silently drops lines it cannot understand; a register restore must not.
//
// A file cut short shows in three ways, each reported as a fault of its line:
// a group header without its closing bracket (the group's entries are then
// left unread), an entry without "=", and a last line without the line end
// every writer puts after each line (its value may have lost digits).
class tcStateFileScanner
{
public:
    struct tcEntry
    {
        int mnLine = 0;
        QString msKey;   // unescaped
        QString msValue; // as written
    };
    struct tcGroup
    {
        int mnLine = 0; // of the header
        QString msName; // unescaped
        QList<tcEntry> mlEntries;
    };
    struct tcFault
    {
        int mnLine = 0;
        QString msText;
    };

    // False when the file cannot be read at all (errorString() says why).
    bool scan(const QString& arFileName);
    void scanText(const QByteArray& arText);

    QList<tcGroup> groups() const { return mlGroups; }
    QList<tcFault> faults() const { return mlFaults; }
    QString errorString() const { return msError; }

    // Undoes the escaping of group and key names in INI files ("%20", "%U00e9").
    static QString unescape(const QString& arText);

private:
    void addFault(int anLine, const QString& arText);

    QList<tcGroup> mlGroups;
    QList<tcFault> mlFaults;
    QString msError;
};
