#pragma once

#include <QDialog>
#include <QPointer>

class QLineEdit;
class QPlainTextEdit;
class tcCmdRunner;

// Types one script command at a time into the shared command runner and
// shows what it answers.
class tcBasicConsole : public QDialog
{
    Q_OBJECT

public:
    explicit tcBasicConsole(tcCmdRunner* apRunner, QWidget* apParent = nullptr);

    QString transcript() const;

public slots:
    void SendCommand();

private:
    QPointer<tcCmdRunner> mpRunner;
    QLineEdit* mpCommand;
    QPlainTextEdit* mpLog;
};
