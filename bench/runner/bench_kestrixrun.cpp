// kestrix-run on the simulated camera, the program run as a test bench runs
// it: the time from starting the process to the first script line's
// transcript, and the time a script of 10,000 GENI READ lines takes (whole
// process, and from its first line to its completion).
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

namespace
{
struct tcTimes
{
    double mdFirstLine = 0; // seconds from start to the first line's transcript
    double mdComplete = 0;  // seconds from start to the completion line
    double mdProcess = 0;   // seconds from start to the end of the process
    bool mbOk = false;
};

QString writeScript(const QTemporaryDir& arDir, int anLines)
{
    const QString lsPath = arDir.filePath(QStringLiteral("bench.txt"));
    QFile lcFile(lsPath);
    lcFile.open(QIODevice::WriteOnly);
    for (int i = 0; i < anLines; ++i)
        lcFile.write("GENI READ Width\n");
    return lsPath;
}

tcTimes runOnce(const QTemporaryDir& arDir, const QString& arScript)
{
    tcTimes lcTimes;
    QProcessEnvironment lcEnvironment = QProcessEnvironment::systemEnvironment();
    lcEnvironment.insert(QStringLiteral("XDG_CONFIG_HOME"), arDir.path());
    QProcess lcProcess;
    lcProcess.setProcessEnvironment(lcEnvironment);
    lcProcess.setProcessChannelMode(QProcess::SeparateChannels);
    QByteArray lcOut;
    QElapsedTimer lcClock;
    lcClock.start();
    lcProcess.start(QStringLiteral(KX_RUN_PATH), {arScript});
    while (lcProcess.state() != QProcess::NotRunning || lcProcess.bytesAvailable() > 0)
    {
        lcProcess.waitForReadyRead(5);
        lcOut += lcProcess.readAllStandardOutput();
        if (lcTimes.mdFirstLine == 0 && lcOut.contains("GENI READ Width = "))
            lcTimes.mdFirstLine = lcClock.nsecsElapsed() / 1e9;
        if (lcTimes.mdComplete == 0 && lcOut.contains(" complete\n"))
            lcTimes.mdComplete = lcClock.nsecsElapsed() / 1e9;
        if (lcProcess.state() == QProcess::NotRunning)
            lcProcess.waitForFinished();
    }
    lcTimes.mdProcess = lcClock.nsecsElapsed() / 1e9;
    lcTimes.mbOk = lcProcess.exitStatus() == QProcess::NormalExit && lcProcess.exitCode() == 0;
    return lcTimes;
}

void BM_StartToFirstLine(benchmark::State& arState)
{
    QTemporaryDir lcDir;
    const QString lsScript = writeScript(lcDir, 1);
    for (auto _ : arState)
    {
        const tcTimes lcTimes = runOnce(lcDir, lsScript);
        if (!lcTimes.mbOk)
            arState.SkipWithError("kestrix-run failed");
        arState.SetIterationTime(lcTimes.mdFirstLine);
    }
}
BENCHMARK(BM_StartToFirstLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_GeniRead10000(benchmark::State& arState)
{
    QTemporaryDir lcDir;
    const int lnLines = 10000;
    const QString lsScript = writeScript(lcDir, lnLines);
    double ldScript = 0;
    for (auto _ : arState)
    {
        const tcTimes lcTimes = runOnce(lcDir, lsScript);
        if (!lcTimes.mbOk)
            arState.SkipWithError("kestrix-run failed");
        arState.SetIterationTime(lcTimes.mdProcess);
        ldScript += lcTimes.mdComplete - lcTimes.mdFirstLine;
    }
    const double ldMean = ldScript / static_cast<double>(arState.iterations());
    arState.counters["script_s"] = ldMean;
    arState.counters["lines_per_s"] = ldMean > 0 ? lnLines / ldMean : 0;
}
BENCHMARK(BM_GeniRead10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace

BENCHMARK_MAIN();
