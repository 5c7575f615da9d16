#include "basicconsole.h"

#include "cmdrunner.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

tcBasicConsole::tcBasicConsole(tcCmdRunner* apRunner, QWidget* apParent)
    : QDialog(apParent), mpRunner(apRunner), mpCommand(new QLineEdit(this)), mpLog(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("tcConsoleDialog"));
    setWindowTitle(QStringLiteral("Command Console"));
    mpCommand->setObjectName(QStringLiteral("mqCmd"));
    mpCommand->setPlaceholderText(QStringLiteral("command, then Enter (HELP lists them)"));
    mpLog->setObjectName(QStringLiteral("mqLog"));
    mpLog->setReadOnly(true);
    mpLog->setFont(QFont(QStringLiteral("Courier"), 9));
    auto* lpLayout = new QVBoxLayout(this);
    lpLayout->addWidget(mpCommand);
    lpLayout->addWidget(mpLog, 1);
    connect(mpCommand, &QLineEdit::returnPressed, this, &tcBasicConsole::SendCommand);
    if (mpRunner)
        connect(mpRunner, &tcCmdRunner::Message, mpLog, &QPlainTextEdit::appendPlainText);
    resize(404, 374);
}

QString tcBasicConsole::transcript() const
{
    return mpLog->toPlainText();
}

void tcBasicConsole::SendCommand()
{
    const QString lsLine = mpCommand->text().trimmed();
    if (lsLine.isEmpty())
        return;
    mpLog->appendPlainText(QStringLiteral("> ") + lsLine);
    if (!mpRunner)
    {
        mpLog->appendPlainText(QStringLiteral("No command runner"));
        return;
    }
    if (mpRunner->isRunning())
    {
        mpLog->appendPlainText(QStringLiteral("A script is running; try again when it has finished"));
        return;
    }
    const bool lbOk = mpRunner->ProcessCommand(lsLine);
    const QVariant lcResult = mpRunner->getLastResult();
    mpLog->appendPlainText((lbOk ? QStringLiteral("ok") : QStringLiteral("failed")) +
                           (lcResult.isValid() ? QStringLiteral(": ") + lcResult.toString() : QString()));
    mpCommand->clear();
}
