// Redrawing every fare position once, as a step of the route does.

#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "platform/JapaneseFonts.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_RedrawAllFareDigits(benchmark::State& state) {
    Form1 form;
    form.Form_Load();
    int fare = 100;
    for (auto _ : state) {
        fare = fare >= 9990 ? 100 : fare + 10;
        for (int n = 1; n <= 61; ++n)
            form.Degit(n).setValue(fare + n);
    }
    state.SetItemsProcessed(state.iterations() * 61);
}
BENCHMARK(BM_RedrawAllFareDigits)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // The panel needs a GUI application; draw offscreen so no display is required.
    int qtArgc = 3;
    const char* qtArgv[] = {argv[0], "-platform", "offscreen"};
    QApplication app(qtArgc, const_cast<char**>(qtArgv));
    JapaneseFonts::registerSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
