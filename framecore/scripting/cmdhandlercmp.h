#pragma once

#include "cmdhandler.h"
#include "framecore_export.h"

class tcCmdRunner;

// CMP <value> [mask]: compares a value with the result of the previous
// command, as text without a mask and as a number with one.
class FRAMECORE_EXPORT tcCmdHandlerCmp : public tcCmdHandler
{
public:
    explicit tcCmdHandlerCmp(tcCmdRunner* apRunner);

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                           QString& arResult) override;
    QString help() override;

private:
    tcCmdRunner* mpRunner;
};
