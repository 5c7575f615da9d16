#include "statefilescanner.h"

#include <QFile>

bool tcStateFileScanner::scan(const QString& arFileName)
{
    QFile lcFile(arFileName);
    if (!lcFile.open(QIODevice::ReadOnly))
    {
        msError = lcFile.errorString();
        return false;
    }
    scanText(lcFile.readAll());
    return true;
}

void tcStateFileScanner::scanText(const QByteArray& arText)
{
    mlGroups.clear();
    mlFaults.clear();
    const QList<QByteArray> lcLines = arText.split('\n');
    // split() leaves an empty last piece after a final line end; a last piece
    // with text is a line that lost its end.
    const int lnLast = lcLines.size() - 1;
    bool lbInBrokenGroup = false;
    for (int i = 0; i < lcLines.size(); ++i)
    {
        const int lnLine = i + 1;
        const QString lsLine = QString::fromUtf8(lcLines.at(i)).trimmed();
        if (lsLine.isEmpty() || lsLine.startsWith(QLatin1Char(';')) || lsLine.startsWith(QLatin1Char('#')))
            continue;
        if (i == lnLast)
        {
            addFault(lnLine, QStringLiteral("the file ends in the middle of this line (truncated)"));
            break;
        }
        if (lsLine.startsWith(QLatin1Char('[')))
        {
            lbInBrokenGroup = !lsLine.endsWith(QLatin1Char(']'));
            if (lbInBrokenGroup)
            {
                addFault(lnLine,
                         QStringLiteral("damaged group header \"%1\"; its entries are not used").arg(lsLine));
                continue;
            }
            tcGroup lcGroup;
            lcGroup.mnLine = lnLine;
            lcGroup.msName = unescape(lsLine.mid(1, lsLine.size() - 2));
            mlGroups.append(lcGroup);
            continue;
        }
        if (lbInBrokenGroup)
            continue;
        const int lnEquals = lsLine.indexOf(QLatin1Char('='));
        if (lnEquals < 0)
        {
            addFault(lnLine, QStringLiteral("incomplete entry \"%1\" (no \"=\")").arg(lsLine));
            continue;
        }
        if (mlGroups.isEmpty())
            mlGroups.append(tcGroup{0, QStringLiteral("General"), {}});
        mlGroups.last().mlEntries.append(
            tcEntry{lnLine, unescape(lsLine.left(lnEquals).trimmed()), lsLine.mid(lnEquals + 1).trimmed()});
    }
}

void tcStateFileScanner::addFault(int anLine, const QString& arText)
{
    mlFaults.append(tcFault{anLine, arText});
}

QString tcStateFileScanner::unescape(const QString& arText)
{
    QString lsResult;
    for (int i = 0; i < arText.size(); ++i)
    {
        const QChar lcChar = arText.at(i);
        if (lcChar == QLatin1Char('\\') && i + 1 < arText.size())
        {
            // A backslash in a name stands for a "/" (a sub-group).
            lsResult += QLatin1Char('/');
            ++i;
            continue;
        }
        if (lcChar != QLatin1Char('%'))
        {
            lsResult += lcChar;
            continue;
        }
        bool lbOk = false;
        if (arText.mid(i + 1, 1) == QLatin1String("U"))
        {
            const ushort lnCode = arText.mid(i + 2, 4).toUShort(&lbOk, 16);
            if (lbOk)
            {
                lsResult += QChar(lnCode);
                i += 5;
                continue;
            }
        }
        const ushort lnCode = arText.mid(i + 1, 2).toUShort(&lbOk, 16);
        if (lbOk && arText.mid(i + 1, 2).size() == 2)
        {
            lsResult += QChar(lnCode);
            i += 2;
            continue;
        }
        lsResult += lcChar;
    }
    return lsResult;
}
