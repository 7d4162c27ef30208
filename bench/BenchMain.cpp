// The main of every benchmark: a GUI application for the panel's widgets, then the benchmarks.

#include "platform/JapaneseFonts.h"

#include <QApplication>
#include <QStandardPaths>
#include <benchmark/benchmark.h>
#include <vector>

int main(int argc, char** argv) {
    // Offscreen unless the caller picked a platform, as for the CPU figures taken under Xvfb.
    std::vector<char*> qtArgv{argv[0]};
    char platformOption[] = "-platform";
    char offscreen[] = "offscreen";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qtArgv.push_back(platformOption);
        qtArgv.push_back(offscreen);
    }
    int qtArgc = int(qtArgv.size());
    QApplication app(qtArgc, qtArgv.data());
    JapaneseFonts::registerSubstitutions();
    // The program's speech engine keeps its settings and cache out of the user's own folders.
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
