#pragma once

#include "cmdhandler.h"

// A script command that answers with a fixed text, so that a test can tell
// which plugin's handler won a command word.
class tcFixedReplyHandler : public tcCmdHandler
{
public:
    tcFixedReplyHandler(const QString& arCmd, const QString& arReply) : tcCmdHandler(arCmd), msReply(arReply) {}

    QVariant handleCommand(tcCameraInterface*, const QStringList&, QString& arResult) override
    {
        arResult += QLatin1Char(' ') + msReply;
        return msReply;
    }
    QString help() override { return QStringLiteral("%1 : answers %2").arg(cmd(), msReply); }

private:
    QString msReply;
};
