#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// Kinds of log entry the log window shows.
class tcLogEvent
{
public:
    enum teEventLogType
    {
        eDebug = 0,
        eJournal = 1,
        eError = 2,
        eEvent = 3
    };

    // "DBG", "JNL", "ERR", "EVT", or "UNK" for anything else.
    static QString typeName(int anType);
};

// One entry of the log window, in the fixed-size layout log records keep on
// disk and on the wire: the text in Latin-1, cut to 511 characters.
struct tcLogMsg
{
    static constexpr int kTagSize = 16;
    static constexpr int kTextSize = 512;

    int mnType = tcLogEvent::eDebug;
    quint32 mnTime = 0; // seconds since the epoch
    int mnMilliseconds = 0;
    int mnReserved = 0;
    int mnErrno = 0;
    char mcTag[kTagSize] = {};
    char mcText[kTextSize] = {};
    QString msSource;

    // An entry made now: local time, the current errno, tag "INTERNAL".
    static tcLogMsg make(int anType, const QString& arText, const QString& arSource);

    void setText(const QString& arText);
    QString text() const { return QString::fromLatin1(mcText); }
    void setTag(const QString& arTag);
    QString tag() const { return QString::fromLatin1(mcTag); }
};

Q_DECLARE_METATYPE(tcLogMsg)
