#include "logmsg.h"

#include <QDateTime>

#include <cerrno>
#include <cstring>

namespace
{
// Copies as much of the Latin-1 text as fits, always leaving the last byte
// as the terminating zero.
template <size_t tnSize> void copyLatin1(char (&acTarget)[tnSize], const QString& arText)
{
    const QByteArray lcBytes = arText.toLatin1();
    const size_t lnCount = qMin(static_cast<size_t>(lcBytes.size()), tnSize - 1);
    std::memset(acTarget, 0, tnSize);
    std::memcpy(acTarget, lcBytes.constData(), lnCount);
}
} // namespace

QString tcLogEvent::typeName(int anType)
{
    switch (anType)
    {
    case eDebug:
        return QStringLiteral("DBG");
    case eJournal:
        return QStringLiteral("JNL");
    case eError:
        return QStringLiteral("ERR");
    case eEvent:
        return QStringLiteral("EVT");
    default:
        return QStringLiteral("UNK");
    }
}

tcLogMsg tcLogMsg::make(int anType, const QString& arText, const QString& arSource)
{
    tcLogMsg lcMsg;
    lcMsg.mnErrno = errno;
    const qint64 lnNow = QDateTime::currentMSecsSinceEpoch();
    lcMsg.mnType = anType;
    lcMsg.mnTime = static_cast<quint32>(lnNow / 1000);
    lcMsg.mnMilliseconds = static_cast<int>(lnNow % 1000);
    lcMsg.setTag(QStringLiteral("INTERNAL"));
    lcMsg.setText(arText);
    lcMsg.msSource = arSource;
    return lcMsg;
}

void tcLogMsg::setText(const QString& arText)
{
    copyLatin1(mcText, arText);
}

void tcLogMsg::setTag(const QString& arTag)
{
    copyLatin1(mcTag, arTag);
}
