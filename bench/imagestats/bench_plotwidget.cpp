// What a plot window costs while it follows a source: 4 curves of 4096
// points refreshed and redrawn 10 times a second must stay under 10 % of
// one core, that is under 10 ms per refresh.
#include "plotproperties.h"
#include "plottableinterface.h"
#include "plotwidget.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>

namespace
{
class tcWaveSource : public tcPlottableInterface
{
    Q_OBJECT
public:
    tcWaveSource() : tcPlottableInterface(QStringLiteral("Wave")) { setObjectName(QStringLiteral("Wave")); }
    bool getData(const QString& arKey, tcPlotArray& arX, tcPlotArray& arY) override
    {
        const int lnCurve = arKey.toInt();
        arX.resize(4096);
        arY.resize(4096);
        for (int lnIndex = 0; lnIndex < 4096; ++lnIndex)
        {
            arX[lnIndex] = lnIndex;
            arY[lnIndex] = 1000 * std::sin((lnIndex + mnPhase) * 0.01 * (lnCurve + 1)) + 300 * lnCurve;
        }
        return true;
    }
    void next()
    {
        ++mnPhase;
        for (int lnCurve = 0; lnCurve < 4; ++lnCurve)
            emit PlotReady(this, QString::number(lnCurve));
    }
    int mnPhase = 0;
};

void RefreshFourCurves(benchmark::State& arState)
{
    tcWaveSource lcSource;
    tcPlotWidget lcWindow;
    lcWindow.onNewPlugin(&lcSource);
    for (int lnCurve = 0; lnCurve < 4; ++lnCurve)
    {
        tcPlotProperties lcProperties;
        lcProperties.msKey = QString::number(lnCurve);
        lcProperties.mhAttributes.insert(QStringLiteral("title"), lcProperties.msKey);
        lcProperties.mcLinePen = QPen(tcPlotWidget::defaultPalette().value(lnCurve), 1);
        lcWindow.onPlotChanged(lcProperties);
    }
    lcWindow.resize(1000, 600);
    lcWindow.show();
    QApplication::processEvents();
    for (auto _ : arState)
    {
        lcSource.next();
        // The replot happens when the canvas paints.
        benchmark::DoNotOptimize(lcWindow.grab());
    }
    // At ten refreshes a second, 1 ms per refresh is 1 % of a core.
}
BENCHMARK(RefreshFourCurves)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication lcApp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

#include "bench_plotwidget.moc"
