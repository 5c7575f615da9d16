#include "cmdhandlerprompt.h"

tcCmdHandlerPrompt::tcCmdHandlerPrompt() : QObject(nullptr), tcCmdHandler(QStringLiteral("PROMPT")) {}

QVariant tcCmdHandlerPrompt::handleCommand(tcCameraInterface*, const QStringList& arArgs, QString& arResult)
{
    // No mask at all is treated like one that does not parse: no box.
    bool lbParsed = false;
    const int lnButtons = arArgs.size() > 1 ? arArgs.at(1).toInt(&lbParsed, 0) : 0;
    int lnButton = 0;
    if (lbParsed)
    {
        QString lsMessage;
        for (int i = 2; i < arArgs.size(); ++i)
            lsMessage += arArgs.at(i) + QLatin1Char(' ');
        emit showMessageBox(QMessageBox::StandardButtons(lnButtons), lsMessage);
        mcAnswered.acquire();
        lnButton = mnButton.load();
    }
    arResult += QStringLiteral("\n   Result = %1").arg(lnButton);
    return QVariant(lnButton);
}

void tcCmdHandlerPrompt::messageBoxDone(QMessageBox::StandardButtons anButton)
{
    mnButton.store(static_cast<int>(anButton));
    mcAnswered.release();
}

QString tcCmdHandlerPrompt::help()
{
    return QStringLiteral(
               "%1 - Used to prompt for input or display information.\n%1 <type> <message text>\n    "
               "type is the QMessageBox StandardButton mask for the buttons\n    to include (0x400 for "
               "OK, 0x14000 for Yes/No)")
        .arg(cmd());
}
