#pragma once

#include "consoledialog.h"

#include <QPointer>
#include <QStringList>

class QCompleter;
class QStringListModel;
class tcCmdRunner;

// The command console: each line typed runs through the shared command
// runner, and its output arrives through the runner's Message signal. Lines
// that ran are kept (once each) as the history, which completes what the
// user types and is kept in the INI key "commands" from one run to the next.
// A line that fails says so in the log and changes nothing else.
//
// The runner is not owned and must outlive the console.
class tcCmdConsole : public tcConsoleDialog
{
    Q_OBJECT

public:
    explicit tcCmdConsole(tcCmdRunner* apRunner, QWidget* apParent = nullptr);
    ~tcCmdConsole() override;

    QStringList history() const;
    QCompleter* completer() const { return mpCompleter; }

public slots:
    void SendCommand() override;

private:
    bool run(const QString& arCommand);

    QPointer<tcCmdRunner> mpRunner;
    QStringListModel* mpHistory;
    QCompleter* mpCompleter;
};
