// Speed of the feature tree on the largest shared camera description: building
// the model over a memory port (target: well under a second) and one repaint
// of the fully expanded tree in the parameters dialog.
#include "genicammodel.h"
#include "genicamparamsdialog.h"

#include "memoryport.h"

#include <GenApi/GenApi.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QTreeView>

#include <benchmark/benchmark.h>

using namespace GenApi;

namespace
{
QString largestDescription()
{
    const QDir lcDir(QStringLiteral(KESTRIX_TESTDATA_DIR "/genicam"));
    const QFileInfoList lsFiles = lcDir.entryInfoList({"*.xml"}, QDir::Files, QDir::Size);
    return lsFiles.isEmpty() ? QString() : lsFiles.first().absoluteFilePath();
}

struct tcLoadedMap
{
    tcLoadedMap()
    {
        mcMap._LoadXMLFromFile(largestDescription().toLocal8Bit().constData());
        mcMap._Connect(&mcPort, "Device");
    }
    CNodeMapRef mcMap{"Device"};
    tcMemoryPort mcPort;
};

void BuildTree(benchmark::State& arState)
{
    tcLoadedMap lcLoaded;
    int lnRows = 0;
    for (auto _ : arState)
    {
        tcGenICamModel lcModel(&lcLoaded.mcMap);
        lnRows = lcModel.rowCount();
        benchmark::DoNotOptimize(lnRows);
    }
    arState.counters["categories"] = lnRows;
}
BENCHMARK(BuildTree)->Unit(benchmark::kMillisecond);

void RepaintExpandedTree(benchmark::State& arState)
{
    tcLoadedMap lcLoaded;
    auto lpModel = QSharedPointer<tcGenICamModel>::create(&lcLoaded.mcMap);
    tcGenICamParamsDialog lcDialog(nullptr, lpModel);
    lcDialog.resize(600, 900);
    lcDialog.show();
    lcDialog.treeView()->expandAll();
    lcDialog.treeView()->viewport()->grab();
    lcLoaded.mcPort.resetCounts();
    int lnPaints = 0;
    for (auto _ : arState)
    {
        // Scroll a page and paint, as the user does.
        QScrollBar* lpBar = lcDialog.treeView()->verticalScrollBar();
        lpBar->setValue(lpBar->value() >= lpBar->maximum() ? 0 : lpBar->value() + lpBar->pageStep());
        benchmark::DoNotOptimize(lcDialog.treeView()->viewport()->grab());
        ++lnPaints;
    }
    arState.counters["port reads per paint"] = double(lcLoaded.mcPort.readCount()) / qMax(lnPaints, 1);
}
BENCHMARK(RepaintExpandedTree)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication lcApp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
