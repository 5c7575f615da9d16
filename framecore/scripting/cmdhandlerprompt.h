#pragma once

#include "cmdhandler.h"
#include "framecore_export.h"
#include "semaphore.h"

#include <QMessageBox>
#include <QObject>

#include <atomic>

// PROMPT <buttons> <message words...>: shows a message box through whoever
// listens to showMessageBox (the main window) and waits for the button that
// closed it. The script thread blocks here until messageBoxDone() answers.
class FRAMECORE_EXPORT tcCmdHandlerPrompt : public QObject, public tcCmdHandler
{
    Q_OBJECT

public:
    tcCmdHandlerPrompt();

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs,
                           QString& arResult) override;
    QString help() override;

signals:
    void showMessageBox(QMessageBox::StandardButtons anButtons, QString arMsg);

public slots:
    void messageBoxDone(QMessageBox::StandardButtons anButton);

private:
    std::atomic<int> mnButton{0};
    tcSemaphore mcAnswered;
};
