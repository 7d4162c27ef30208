// What the settings file adds to a start and to the end of a run: reading it into every window,
// and collecting every window into it.

#include "panel/Form1.h"
#include "settings/mdlIniIo.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct LoadedPanel {
    QTemporaryDir dir;
    Form1 form;

    LoadedPanel() {
        mdlIniIo::setIniFileName(dir.filePath(QStringLiteral("Q57.in4")));
        form.Form_Load();
        mdlIniIo::SaveIni(form);
    }
};

void BM_LoadIni(benchmark::State& state) {
    LoadedPanel panel;
    for (auto _ : state)
        mdlIniIo::LoadIni(panel.form);
}
BENCHMARK(BM_LoadIni)->Unit(benchmark::kMillisecond);

void BM_SaveIni(benchmark::State& state) {
    LoadedPanel panel;
    for (auto _ : state)
        mdlIniIo::SaveIni(panel.form);
}
BENCHMARK(BM_SaveIni)->Unit(benchmark::kMillisecond);

} // namespace
