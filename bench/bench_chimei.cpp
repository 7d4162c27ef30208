// The stop-name strip: drawing a name, one scroll tick, and what a scrolling name costs the
// whole program while it runs on a real display.

#include "Q57App.h"
#include "controls/ChimeiCtl_B.h"
#include "panel/Form1.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

const QString kSixKanji = QStringLiteral("市役所前広場");
const QString kTenCells = QStringLiteral("中央バスターミナル前");

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void BM_SetChimeiSixKanji(benchmark::State& state) {
    ChimeiCtl_B strip;
    for (auto _ : state)
        strip.SetChimei(kSixKanji);
    state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(BM_SetChimeiSixKanji)->Unit(benchmark::kMicrosecond);

// Stepping to and fro between stops: names the strip showed a moment ago.
void BM_SetChimeiSeenBefore(benchmark::State& state) {
    ChimeiCtl_B strip;
    const QString names[] = {kSixKanji, kTenCells, QStringLiteral("県庁前")};
    std::size_t k = 0;
    for (auto _ : state)
        strip.SetChimei(names[k++ % std::size(names)]);
}
BENCHMARK(BM_SetChimeiSeenBefore)->Unit(benchmark::kMicrosecond);

// A name never shown, of characters that were: the usual next stop of a route.
void BM_SetChimeiNewName(benchmark::State& state) {
    ChimeiCtl_B strip;
    const QString digits = QStringLiteral("０１２３４５６７８９");
    strip.SetChimei(kTenCells + digits);
    int n = 0;
    for (auto _ : state) {
        QString name = kTenCells;
        for (int m = ++n; m > 0; m /= 10)
            name += digits[m % 10];
        strip.SetChimei(name);
    }
}
BENCHMARK(BM_SetChimeiNewName)->Unit(benchmark::kMicrosecond);

void BM_ScrollTick(benchmark::State& state) {
    ChimeiCtl_B strip;
    qint64 now = 0;
    strip.setClock([&now] { return now; });
    strip.setSpeed(100);
    strip.setScrollStartWait(0);
    strip.SetChimei(kTenCells);
    for (auto _ : state) {
        now += 17;
        strip.scrollTick();
    }
}
BENCHMARK(BM_ScrollTick)->Unit(benchmark::kMicrosecond);

// Runs the event loop with the panel shown for the given seconds and reports the share of one
// core that the whole process used, and whether the strip's timer was running at the end.
void runPanel(benchmark::State& state, const QString& name, int seconds) {
    Q57App program;
    program.start();
    Form1& form = program.form();
    form.ChimeiCtl().setSpeed(100);
    for (auto _ : state) {
        form.ChimeiCtl().SetChimei(name);
        const double cpuBefore = processCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        QEventLoop loop;
        QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        state.counters["cpu_percent"] =
            (processCpuSeconds() - cpuBefore) * 1e5 / double(wall.elapsed());
        state.counters["timer_running"] = form.ChimeiCtl().scrollTimer().isActive() ? 1 : 0;
    }
}

void BM_PanelWhileTenCellsScroll(benchmark::State& state) {
    runPanel(state, kTenCells, 10);
}
BENCHMARK(BM_PanelWhileTenCellsScroll)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void BM_PanelWhileStill(benchmark::State& state) {
    runPanel(state, kSixKanji, 5);
}
BENCHMARK(BM_PanelWhileStill)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

} // namespace
