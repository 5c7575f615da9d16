#pragma once

#include "cmdhandler.h"
#include "framecore_export.h"

// POKE <address> <value>: writes a sensor register through the camera's
// register access features (RegAddress, RegValue, ExecWrite).
class FRAMECORE_EXPORT tcCmdHandlerPoke : public tcCmdHandler
{
public:
    tcCmdHandlerPoke();

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                           QString& arResult) override;
    QString help() override;
};
