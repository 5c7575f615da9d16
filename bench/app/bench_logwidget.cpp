// How the log window copes with a flood of lines from a worker thread: the
// rate at which lines reach the list, and the longest time the GUI thread
// went without serving a timer meanwhile (the stall a user would feel).

#include "logwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <atomic>
#include <thread>

namespace
{
// Emits from the worker; the log window receives it queued, as it receives
// the camera's and the runner's messages through the main window.
class tcFlooder : public QObject
{
    Q_OBJECT
signals:
    void Message(QString asText);
};

void flood(benchmark::State& arState, bool abQueued)
{
    const int lnLines = static_cast<int>(arState.range(0));
    double lnLongestGap = 0;
    for (auto lcUnused : arState)
    {
        tcLogWidget lcLog;
        lcLog.show();
        tcFlooder lcFlooder;
        QObject::connect(&lcFlooder, &tcFlooder::Message, &lcLog, &tcLogWidget::LogMessage, Qt::QueuedConnection);
        const QString lsLast = QStringLiteral("flood %1").arg(lnLines - 1);

        QElapsedTimer lcSinceTick;
        lcSinceTick.start();
        QTimer lcTick;
        QObject::connect(&lcTick, &QTimer::timeout,
                         [&]
                         {
                             lnLongestGap = qMax(lnLongestGap, double(lcSinceTick.nsecsElapsed()) / 1e6);
                             lcSinceTick.restart();
                         });
        lcTick.start(1);

        std::atomic<bool> lbDone{false};
        std::thread lcWorker(
            [&]
            {
                for (int lnLine = 0; lnLine < lnLines; ++lnLine)
                {
                    const QString lsText = QStringLiteral("flood %1").arg(lnLine);
                    if (abQueued)
                        emit lcFlooder.Message(lsText);
                    else
                        lcLog.LogMessage(lsText);
                }
                lbDone = true;
            });
        auto* lpList = lcLog.findChild<QListWidget*>(QStringLiteral("listWidget"));
        while (!lbDone || lpList->count() == 0 || !lpList->item(lpList->count() - 1)->text().endsWith(lsLast))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        lcWorker.join();
        lcTick.stop();
    }
    arState.SetItemsProcessed(arState.iterations() * lnLines);
    arState.counters["longest_gui_gap_ms"] = lnLongestGap;
}

void FloodDirectCalls(benchmark::State& arState)
{
    flood(arState, false);
}
BENCHMARK(FloodDirectCalls)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void FloodQueuedSignals(benchmark::State& arState)
{
    flood(arState, true);
}
BENCHMARK(FloodQueuedSignals)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication lcApp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

#include "bench_logwidget.moc"
