#pragma once

#include <QString>

// Where kestrix-run's diagnostics go. Standard output belongs to the script's
// transcript, so debug and info lines go only to the log file (when one was
// asked for); warnings and worse go to standard error as well.
class tcRunLog
{
public:
    tcRunLog() = delete;

    // Installs the message handler; false with the reason when the log file
    // cannot be opened.
    static bool install(const QString& arLogFile, QString* apError);
    // Until install(): debug and info lines are dropped, the rest goes to
    // standard error. For what the libraries write while they load.
    static void installEarly();
    // Flushes and closes the log file; later messages reach standard error only.
    static void close();
    // One line in the log file format, without the line end.
    static QString formatLine(QtMsgType anType, const QString& arFile, int anLine, const QString& arText);
};
