// Redrawing every fare position once, as a step of the route does; the digits draw when they are
// painted, so the paint events are handled in each round.

#include "Q57App.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_RedrawAllFareDigits(benchmark::State& state) {
    Q57App program;
    program.start();
    Form1& form = program.form();
    int fare = 100;
    for (auto _ : state) {
        fare = fare >= 9990 ? 100 : fare + 10;
        for (int n = 1; n <= 61; ++n)
            form.Degit(n).setValue(fare + n);
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * 61);
}
BENCHMARK(BM_RedrawAllFareDigits)->Unit(benchmark::kMicrosecond);

} // namespace
