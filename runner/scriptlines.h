#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One command line of a script file with its line number (from 1).
struct tcScriptLine
{
    int mnNumber = 0;
    QString msText;
};

// The command lines of a script file, read the way the command runner reads
// them (trimmed; empty lines and comments skipped), so that the lines the
// runner handles can be told apart by number.
class tcScriptLines
{
public:
    // False with the reason when the file cannot be read.
    bool read(const QString& arFileName, QString& arError);
    const QList<tcScriptLine>& lines() const { return mcLines; }

    // The next line at or after the cursor whose text is the given one; the
    // cursor moves past it. -1 when none is left.
    int take(const QString& arText);

    // Whether a command word, resolved among the given command names as the
    // runner resolves it (exact, else the first name it abbreviates), with
    // its sub-command, checks something: every command but delays, prompts,
    // help and starting or stopping the acquisition.
    static bool isCheck(const QString& arLine, const QStringList& arCommands);
    static QString resolve(const QString& arWord, const QStringList& arCommands);

private:
    QList<tcScriptLine> mcLines;
    int mnCursor = 0;
};
