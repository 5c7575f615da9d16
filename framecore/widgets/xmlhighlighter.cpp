#include "xmlhighlighter.h"

#include <QColor>

namespace
{
// Block state of a block that ends inside a quoted value.
const int gnInsideValue = 1;
} // namespace

XMLHighlighter::XMLHighlighter(QTextDocument* apDocument)
    : QSyntaxHighlighter(apDocument), mcValueStart(QStringLiteral("\"")),
      mcValueEnd(QStringLiteral("\"(?=[\\s></])"))
{
    // Order matters: later rules overwrite earlier ones where they overlap.
    addRule(QStringLiteral(">[^\n]*<"), Qt::black);
    addRule(QStringLiteral("<"), Qt::blue);
    addRule(QStringLiteral(">"), Qt::blue);
    addRule(QStringLiteral("/>"), Qt::blue);
    addRule(QStringLiteral("\\b?xml\\b"), Qt::blue);
    addRule(QStringLiteral("\\b[A-Za-z0-9_]+(?=[\\/>])"), Qt::blue);
    addRule(QStringLiteral("\\b[A-Za-z0-9_]+(?=\\=)"), Qt::red);
    addRule(QStringLiteral("<!--[^\n]*-->"), Qt::gray);
    mcValueFormat.setForeground(QColor(128, 0, 255));
}

void XMLHighlighter::addRule(const QString& arPattern, const QColor& arColour)
{
    tcRule lcRule;
    lcRule.mcPattern = QRegExp(arPattern);
    lcRule.mcFormat.setForeground(arColour);
    msRules.append(lcRule);
}

void XMLHighlighter::highlightBlock(const QString& arText)
{
    for (tcRule& lrRule : msRules)
    {
        int lnIndex = lrRule.mcPattern.indexIn(arText);
        while (lnIndex >= 0)
        {
            const int lnLength = lrRule.mcPattern.matchedLength();
            setFormat(lnIndex, lnLength, lrRule.mcFormat);
            // A zero-length match would find itself again forever.
            lnIndex = lrRule.mcPattern.indexIn(arText, lnIndex + qMax(lnLength, 1));
        }
    }
    highlightValues(arText);
}

void XMLHighlighter::highlightValues(const QString& arText)
{
    setCurrentBlockState(0);
    int lnStart = 0;
    if (previousBlockState() != gnInsideValue)
        lnStart = mcValueStart.indexIn(arText);

    while (lnStart >= 0)
    {
        // The closing quote is searched after the opening one, unless the
        // value was opened in an earlier block.
        const int lnFrom = (previousBlockState() == gnInsideValue && lnStart == 0) ? 0 : lnStart + 1;
        const int lnEnd = mcValueEnd.indexIn(arText, lnFrom);
        int lnLength = 0;
        if (lnEnd < 0)
        {
            setCurrentBlockState(gnInsideValue);
            lnLength = arText.length() - lnStart;
        }
        else
        {
            lnLength = lnEnd - lnStart + mcValueEnd.matchedLength();
        }
        setFormat(lnStart, lnLength, mcValueFormat);
        lnStart = mcValueStart.indexIn(arText, lnStart + lnLength);
    }
}
