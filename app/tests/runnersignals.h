#pragma once

#include "cmdrunner.h"

#include <QList>
#include <QObject>
#include <QString>

// What the script runner signals from its own thread, taken in the test's
// thread (queued to a receiver living here) as the main window takes it; a
// signal spy would record in the runner's thread.
struct tcRunnerSignals
{
    explicit tcRunnerSignals(tcCmdRunner* apRunner)
    {
        QObject::connect(apRunner, &tcViewerThread::Progress, &mcReceiver,
                         [this](int anPercent) { mlProgress << anPercent; });
        QObject::connect(apRunner, &tcViewerThread::Done, &mcReceiver,
                         [this](bool abSuccess, const QString& arText)
                         {
                             mlDone << abSuccess;
                             msDoneText = arText;
                         });
    }
    QObject mcReceiver;
    QList<int> mlProgress;
    QList<bool> mlDone;
    QString msDoneText; // of the last Done
};
