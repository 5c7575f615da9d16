#pragma once

#include "cmdhandler.h"
#include "framecore_export.h"

// PEEK <address>: reads a sensor register through the camera's register
// access features (RegAddress, ExecRead, RegValue).
class FRAMECORE_EXPORT tcCmdHandlerPeek : public tcCmdHandler
{
public:
    tcCmdHandlerPeek();

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                           QString& arResult) override;
    QString help() override;
};
