#pragma once

#include "cmdhandler.h"
#include "framecore_export.h"

// SLEEP <ms>: delays the thread that runs the command.
class FRAMECORE_EXPORT tcCmdHandlerSleep : public tcCmdHandler
{
public:
    tcCmdHandlerSleep();

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                           QString& arResult) override;
    QString help() override;
};
