#pragma once

#include "cmdhandler.h"
#include "framecore_export.h"

// CAM START|STOP|WAIT [msec]: starts and stops the camera's acquisition and
// waits for its next frame.
class FRAMECORE_EXPORT tcCmdHandlerCamera : public tcCmdHandler
{
public:
    tcCmdHandlerCamera();

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                           QString& arResult) override;
    QString help() override;

private:
    QVariant handleAcquire(tcCameraInterface* apCamera, const QString& arCmd, QString& arResult);
    QVariant handleWait(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult);
};
