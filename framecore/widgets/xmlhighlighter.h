#pragma once

#include "framecore_export.h"

#include <QRegExp>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QVector>

class QTextDocument;

// Colours XML text: brackets, element and attribute names, one-line comments
// and quoted attribute values, which may run over several lines (a block
// that ends inside a value carries state 1 into the next block).
class FRAMECORE_EXPORT XMLHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit XMLHighlighter(QTextDocument* apDocument);

protected:
    void highlightBlock(const QString& arText) override;

private:
    struct tcRule
    {
        QRegExp mcPattern;
        QTextCharFormat mcFormat;
    };

    void addRule(const QString& arPattern, const QColor& arColour);
    void highlightValues(const QString& arText);

    QVector<tcRule> msRules;
    QRegExp mcValueStart;
    QRegExp mcValueEnd;
    QTextCharFormat mcValueFormat;
};
