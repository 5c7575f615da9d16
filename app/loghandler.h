#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// The process-wide message handler: every diagnostic line of every thread goes
// to the log file (when one is open) and to standard error, the Linux stand-in
// for a debugger channel. Critical lines are also handed to a receiver on the
// GUI thread, which shows them to the user.
class tcLogHandler
{
public:
    tcLogHandler() = delete;

    static void install();
    static void setAddThreadId(bool abAdd);

    // Opens the log for appending; on failure returns false and describes why.
    static bool openLogFile(const QString& arPath, QString* apError);
    static void closeLogFile();

    // The receiver gets showCriticalMessage(QString) queued on its own thread.
    static void setCriticalReceiver(QObject* apReceiver);

    static QString formatLine(QtMsgType aeType, const QMessageLogContext& arContext, const QString& arText);

private:
    static void handleMessage(QtMsgType aeType, const QMessageLogContext& arContext, const QString& arText);
};
