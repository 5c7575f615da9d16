#include "versionnumber.h"

#include <QStringList>

namespace
{
constexpr int kMaxParts = 4;
constexpr int kMaxDigits = 9; // keeps every component inside an int
} // namespace

bool tcVersionNumber::parse(const QString& arText, tcVersionNumber& arOut)
{
    const QStringList lsParts = arText.trimmed().split(QLatin1Char('.'));
    if (lsParts.size() > kMaxParts)
        return false;
    QVector<int> lcParts;
    for (const QString& lsPart : lsParts)
    {
        if (lsPart.isEmpty() || lsPart.size() > kMaxDigits)
            return false;
        for (const QChar lcChar : lsPart)
            if (lcChar < QLatin1Char('0') || lcChar > QLatin1Char('9'))
                return false;
        lcParts.append(lsPart.toInt());
    }
    arOut.mcParts = lcParts;
    return true;
}

int tcVersionNumber::compare(const tcVersionNumber& arOther) const
{
    const int lnCount = qMax(mcParts.size(), arOther.mcParts.size());
    for (int lnIndex = 0; lnIndex < lnCount; ++lnIndex)
    {
        const int lnMine = mcParts.value(lnIndex, 0);
        const int lnTheirs = arOther.mcParts.value(lnIndex, 0);
        if (lnMine != lnTheirs)
            return lnMine < lnTheirs ? -1 : 1;
    }
    return 0;
}

QString tcVersionNumber::toString() const
{
    QStringList lsParts;
    for (const int lnPart : mcParts)
        lsParts.append(QString::number(lnPart));
    return lsParts.join(QLatin1Char('.'));
}
