#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui
{
class tcConsoleDialog;
}

// The form of a command console: a drop-down of known commands, a command
// line with a "Do it" button, a log of output, and quick commands (from the
// INI array "quickies") in the window's right-click menu. The drop-down's
// entries are kept in the INI array "cmds". What a command does is up to the
// subclass (SendCommand).
class tcConsoleDialog : public QDialog
{
    Q_OBJECT

public:
    explicit tcConsoleDialog(QWidget* apParent = nullptr);
    ~tcConsoleDialog() override;

    QString logText() const;

public slots:
    // Takes the command line's text as the current command.
    virtual void SendCommand();
    void QuickieTriggered();
    void ComboIndexChanged(const QString& arText);
    // Appends one message to the log as its own line.
    void appendLog(const QString& arText);

protected:
    void setCommands(const QStringList& arCommands);
    QString currentCommand() const { return msCommand; }

    std::unique_ptr<Ui::tcConsoleDialog> mpUi;

private:
    void readCommands();
    void readQuickies();

    QString msCommand;
};
