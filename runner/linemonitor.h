#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>

class tcCmdRunner;

// What became of one line that reached a command handler.
struct tcHandledLine
{
    QString msLine;    // as typed in the script
    QString msCommand; // the handler's command word
    QString msText;    // the line's transcript text
    bool mbRan = false;
    bool mbCompareFailed = false;
    qint64 mnMicroseconds = 0;
};
Q_DECLARE_METATYPE(tcHandledLine)

// Stands between the command runner and its handlers: every handler of the
// runner is wrapped so that each handled line is reported (lineHandled, sent
// from the script thread), so that no further handler runs once the run was
// interrupted, and so that a line can be refused after its handler returned
// (a prompt nobody may answer).
class tcLineMonitor : public QObject
{
    Q_OBJECT

public:
    explicit tcLineMonitor(QObject* apParent = nullptr);

    // Wraps the handlers the runner has now; call before the script starts.
    void watch(tcCmdRunner& arRunner);

    void interrupt();
    bool interrupted() const { return mbInterrupted.load(); }
    // Command word and first argument of the line being handled; empty when
    // no handler runs.
    QString inFlight() const;
    // Makes the line being handled fail with this reason once its handler
    // returns.
    void refuseCurrentLine(const QString& arReason);

    // Called by the wrapped handlers, in the script thread.
    bool enter(const QString& arCommand, const QStringList& arArgs);
    QString leave();
    void report(const tcHandledLine& arLine) { emit lineHandled(arLine); }

signals:
    void lineHandled(tcHandledLine);

private:
    std::atomic<bool> mbInterrupted{false};
    // A standard mutex: its locking is visible to the thread sanitizer.
    mutable std::mutex mcLock;
    QString msInFlight;
    QString msRefusal;
};
