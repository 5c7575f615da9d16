#include "cmdconsole.h"

#include "cmdrunner.h"
#include "settings.h"
#include "ui_consoledialog.h"

#include <QCompleter>
#include <QDebug>
#include <QStringListModel>

#include <exception>
#include <memory>

namespace
{
const char* const kHistoryKey = "commands";
} // namespace

tcCmdConsole::tcCmdConsole(tcCmdRunner* apRunner, QWidget* apParent)
    : tcConsoleDialog(apParent), mpRunner(apRunner), mpHistory(new QStringListModel(this)),
      mpCompleter(new QCompleter(mpHistory, this))
{
    // Repeating a command needs a connection this console does not have.
    mpUi->mqRepeatSpin->hide();
    if (mpRunner)
    {
        setCommands(mpRunner->cmds());
        connect(mpRunner, &tcCmdRunner::Message, this, &tcCmdConsole::appendLog);
    }
    mpCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    mpUi->mqCmd->setCompleter(mpCompleter);
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    mpHistory->setStringList(lpSettings->value(QLatin1String(kHistoryKey)).toStringList());
}

tcCmdConsole::~tcCmdConsole()
{
    std::unique_ptr<tcSettings> lpSettings(tcSettings::getSettings(QString()));
    lpSettings->setValue(QLatin1String(kHistoryKey), history());
}

QStringList tcCmdConsole::history() const
{
    return mpHistory->stringList();
}

void tcCmdConsole::SendCommand()
{
    tcConsoleDialog::SendCommand();
    const QString lsCommand = currentCommand();
    // An empty line would abbreviate the first command of all.
    if (lsCommand.isEmpty())
        return;
    if (run(lsCommand))
    {
        if (!history().contains(lsCommand))
        {
            const int lnRow = mpHistory->rowCount();
            mpHistory->insertRows(lnRow, 1);
            mpHistory->setData(mpHistory->index(lnRow), lsCommand);
        }
    }
    else
    {
        appendLog(tr("Error running command %1").arg(lsCommand));
    }
    mpUi->mqCmd->selectAll();
}

// No failure of a handler goes further than this console.
bool tcCmdConsole::run(const QString& arCommand)
{
    if (!mpRunner)
    {
        appendLog(tr("No command runner"));
        return false;
    }
    try
    {
        return mpRunner->ProcessCommand(arCommand);
    }
    catch (const std::exception& arError)
    {
        qWarning() << "tcCmdConsole::run" << arCommand << arError.what();
    }
    catch (...)
    {
        qWarning() << "tcCmdConsole::run" << arCommand << "Unhandled Execption";
    }
    return false;
}
