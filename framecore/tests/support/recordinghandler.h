#pragma once

#include "cmdhandler.h"

#include <QThread>

#include <atomic>
#include <mutex>

// A command handler that records how it was called and answers with a value
// chosen by the test; a null value makes the line fail. What it records is
// locked, as scripts call it from their own thread.
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
        std::lock_guard<std::mutex> lcGuard(mcLock);
        ++mnCalls;
        mpCamera = apCamera;
        msArgs = arArgs;
        msTextIn = arResult;
        mpThread = QThread::currentThread();
        arResult += msAppend;
        return mcAnswer;
    }
    QString help() override { return msHelp; }

    void setAppend(const QString& arText)
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        msAppend = arText;
    }
    int calls() const { return mnCalls.load(); }
    QStringList args() const
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        return msArgs;
    }
    QString textIn() const
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        return msTextIn;
    }
    tcCameraInterface* camera() const
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        return mpCamera;
    }
    QThread* thread() const
    {
        std::lock_guard<std::mutex> lcGuard(mcLock);
        return mpThread;
    }

private:
    mutable std::mutex mcLock;
    const QVariant mcAnswer;
    const QString msHelp;
    QString msAppend;
    std::atomic<int> mnCalls{0};
    tcCameraInterface* mpCamera = nullptr;
    QStringList msArgs;
    QString msTextIn;
    QThread* mpThread = nullptr;
};
