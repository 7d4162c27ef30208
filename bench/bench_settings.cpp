// What the settings file adds to a start and to the end of a run: reading it into every window,
// and collecting every window into it.

#include "Q57App.h"
#include "settings/mdlIniIo.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct LoadedPanel {
    QTemporaryDir dir;
    Q57App program;

    LoadedPanel() {
        mdlIniIo::setIniFileName(dir.filePath(QStringLiteral("Q57.in4")));
        program.start();
        program.SaveIni();
    }
};

void BM_LoadIni(benchmark::State& state) {
    LoadedPanel panel;
    for (auto _ : state)
        panel.program.LoadIni();
}
BENCHMARK(BM_LoadIni)->Unit(benchmark::kMillisecond);

void BM_SaveIni(benchmark::State& state) {
    LoadedPanel panel;
    for (auto _ : state)
        panel.program.SaveIni();
}
BENCHMARK(BM_SaveIni)->Unit(benchmark::kMillisecond);

} // namespace
