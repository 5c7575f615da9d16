#pragma once

#include "cmdrunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPair>
#include <QStringList>

// Watches a script run from the GUI thread: the runner's signals arrive here
// queued, as they reach the main window, so nothing is shared with the script
// thread while it runs.
class tcRunWatch : public QObject
{
    Q_OBJECT

public:
    explicit tcRunWatch(tcCmdRunner& arRunner) : mrRunner(arRunner)
    {
        connect(&arRunner, &tcCmdRunner::Done, this, &tcRunWatch::onDone, Qt::QueuedConnection);
        connect(&arRunner, &tcCmdRunner::Progress, this, &tcRunWatch::onProgress, Qt::QueuedConnection);
        connect(&arRunner, &tcCmdRunner::Message, this, &tcRunWatch::onMessage, Qt::QueuedConnection);
        connect(&arRunner, &QThread::finished, this, &tcRunWatch::onFinished, Qt::QueuedConnection);
    }

    // Starts the run and processes events until it has finished.
    bool run(int anTimeoutMs = 30000)
    {
        mbFinished = false;
        mrRunner.start();
        return waitFinished(anTimeoutMs);
    }

    bool waitFinished(int anTimeoutMs = 30000)
    {
        QElapsedTimer lcClock;
        lcClock.start();
        while (!mbFinished && lcClock.elapsed() < anTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
        if (mbFinished)
            mrRunner.wait();
        return mbFinished;
    }

    void clear()
    {
        mcDone.clear();
        mnProgress.clear();
        msMessages.clear();
    }

    QList<QPair<bool, QString>> mcDone;
    QList<int> mnProgress;
    QStringList msMessages;
    bool mbFinished = false;

private slots:
    void onDone(bool abOk, QString arText) { mcDone << qMakePair(abOk, arText); }
    void onProgress(int anPercent) { mnProgress << anPercent; }
    void onMessage(QString arText) { msMessages << arText; }
    void onFinished() { mbFinished = true; }

private:
    tcCmdRunner& mrRunner;
};
