#include "plotcsv.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <limits>

bool tcPlotCsv::write(QIODevice& arDevice, const double* apY, int anCount)
{
    QByteArray lcLine;
    for (int lnIndex = 0; lnIndex < anCount; ++lnIndex)
    {
        lcLine += QByteArray::number(apY[lnIndex], 'g', std::numeric_limits<double>::max_digits10);
        lcLine += ',';
    }
    lcLine += '\n';
    return arDevice.write(lcLine) == lcLine.size();
}

tcPlotCsv::tsCurve tcPlotCsv::read(const QByteArray& arText)
{
    tsCurve lcCurve;
    // Two commas in a row enclose an empty field (no number), while line
    // breaks only separate.
    const QStringList lsFields = QString::fromUtf8(arText)
                                     .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                     .split(QLatin1Char(','));
    QStringList lsSplit;
    for (const QString& lrField : qAsConst(lsFields))
    {
        const QStringList lsLines = lrField.split(QLatin1Char('\n'));
        for (int lnLine = 0; lnLine < lsLines.size(); ++lnLine)
        {
            // A line break right after a comma (or a blank line) separates
            // nothing new.
            if (lsLines[lnLine].trimmed().isEmpty() && lsLines.size() > 1)
                continue;
            lsSplit << lsLines[lnLine];
        }
    }
    while (!lsSplit.isEmpty() && lsSplit.last().trimmed().isEmpty())
        lsSplit.removeLast();

    for (const QString& lrField : qAsConst(lsSplit))
    {
        bool lbOk = false;
        double ldValue = lrField.trimmed().toDouble(&lbOk);
        if (!lbOk)
        {
            ldValue = std::numeric_limits<double>::quiet_NaN();
            ++lcCurve.mnSkipped;
        }
        lcCurve.mcX << lcCurve.mcX.size();
        lcCurve.mcY << ldValue;
    }
    return lcCurve;
}
