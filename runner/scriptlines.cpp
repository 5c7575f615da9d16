#include "scriptlines.h"

#include <QFile>
#include <QRegularExpression>

bool tcScriptLines::read(const QString& arFileName, QString& arError)
{
    QFile lcFile(arFileName);
    if (!lcFile.open(QIODevice::ReadOnly | QIODevice::Text))
    {
        arError = QStringLiteral("Unable to open script %1: %2").arg(arFileName, lcFile.errorString());
        return false;
    }
    mcLines.clear();
    mnCursor = 0;
    int lnNumber = 0;
    while (!lcFile.atEnd())
    {
        const QString lsLine = QString::fromLocal8Bit(lcFile.readLine()).trimmed();
        ++lnNumber;
        if (lsLine.isEmpty() || lsLine.startsWith(QLatin1Char('#')))
            continue;
        mcLines.append({lnNumber, lsLine});
    }
    return true;
}

int tcScriptLines::take(const QString& arText)
{
    for (int i = mnCursor; i < mcLines.size(); ++i)
        if (mcLines.at(i).msText == arText)
        {
            mnCursor = i + 1;
            return mcLines.at(i).mnNumber;
        }
    return -1;
}

QString tcScriptLines::resolve(const QString& arWord, const QStringList& arCommands)
{
    const QString lsWord = arWord.toUpper();
    if (arCommands.contains(lsWord))
        return lsWord;
    for (const QString& lsCommand : arCommands)
        if (lsCommand.startsWith(lsWord))
            return lsCommand;
    return QString();
}

bool tcScriptLines::isCheck(const QString& arLine, const QStringList& arCommands)
{
    static const QRegularExpression scSeparator(QStringLiteral("[\\s+]"));
    const QStringList lsTokens = arLine.split(scSeparator);
    const QString lsSecond = lsTokens.value(1).toUpper();
    const QString lsWord = lsTokens.first().toUpper();
    if (lsWord == QLatin1String("HELP") || lsSecond == QLatin1String("HELP"))
        return false;
    const QString lsCommand = resolve(lsWord, arCommands);
    if (lsCommand.isEmpty() || lsCommand == QLatin1String("SLEEP") || lsCommand == QLatin1String("PROMPT"))
        return false;
    if (lsCommand == QLatin1String("CAM"))
        return lsSecond != QLatin1String("START") && lsSecond != QLatin1String("STOP");
    return true;
}
