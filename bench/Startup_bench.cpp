// From the start of the program's own start-up routine to its main window shown, beside a bare
// QMainWindow shown in the same process. Both run once (the program's windows exist once per
// process); a plain window is shown first so that neither pays for the platform's first window.
#include "core/UStartup.h"

#include <QApplication>
#include <QMainWindow>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <exception>

namespace {

void BM_Startup_QMainWindow(benchmark::State& state)
{
    for (auto _ : state) {
        QMainWindow w;
        w.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(w.isVisible());
        state.PauseTiming();
        w.close();
        state.ResumeTiming();
    }
}

void BM_Startup_Program(benchmark::State& state)
{
    for (auto _ : state) {
        try {
            TFVelmoraeFirmWare* shown = StartProgram();
            QApplication::processEvents();
            benchmark::DoNotOptimize(shown);
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}

BENCHMARK(BM_Startup_QMainWindow)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Startup_Program)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    {
        QWidget warm;
        warm.show();
        QApplication::processEvents();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
