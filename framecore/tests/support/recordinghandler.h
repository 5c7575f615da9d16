#pragma once

#include "cmdhandler.h"

#include <QThread>

#include <atomic>

// A command handler that records how it was called and answers with a value
// chosen by the test; a null value makes the line fail.
class tcRecordingHandler : public tcCmdHandler
{
public:
    explicit tcRecordingHandler(const QString& arCmd, const QVariant& arAnswer = QVariant(true),
                                const QString& arHelp = QString())
        : tcCmdHandler(arCmd), mcAnswer(arAnswer), msHelp(arHelp)
    {
    }

    QVariant handleCommand(tcCameraInterface* apCamera, const QStringList& arArgs, QString& arResult) override
    {
        ++mnCalls;
        mpCamera = apCamera;
        msArgs = arArgs;
        msTextIn = arResult;
        mpThread = QThread::currentThread();
        arResult += msAppend;
        return mcAnswer;
    }
    QString help() override { return msHelp; }

    QVariant mcAnswer;
    QString msHelp;
    QString msAppend;
    std::atomic<int> mnCalls{0};
    tcCameraInterface* mpCamera = nullptr;
    QStringList msArgs;
    QString msTextIn;
    QThread* mpThread = nullptr;
};
