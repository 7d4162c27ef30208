// The two costs of a route: reading a full fare data file, and one display update with every
// information digit on and a six-cell stop name.

#include "Hy3Csv.h"
#include "Q57App.h"
#include "app/FareFile.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "platform/SafeSave.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A route of 301 stops named 市役所前広場, every stop with all 150 fares set.
QString writeFullRoute(const QTemporaryDir& dir) {
    QString csv;
    for (int r = 1; r <= 301; ++r) {
        csv += QStringLiteral("市役所前広場,%1").arg(r);
        for (int n = 1; n <= 150; ++n)
            csv += QStringLiteral(",%1").arg(170 + 10 * ((r + n) % 50));
        csv += u'\n';
    }
    const QString path = dir.filePath(QStringLiteral("12.hy3"));
    if (!SafeSave::write(path,
                         FareFile::encode(Hy3Csv::fromCsv(csv).valueOrThrow()).valueOrThrow()))
        qFatal("cannot write the route");
    return path;
}

void BM_LoadFareFile301(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = writeFullRoute(dir);
    DataIo data;
    data.StartSection = 1;
    for (auto _ : state)
        if (!data.LoadFareFile(path))
            state.SkipWithError("the route was refused");
}

void BM_DispDataAllInfoDigits(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = writeFullRoute(dir);
    Q57App program;
    program.start();
    frmCtl& ctl = program.operatingPanel();
    IniRecord settings = program.options().currentSettings();
    settings.InfoOrderOn = settings.InfoSeiriNumOn = settings.InfoRouteOn = settings.InfoColumnOn =
        1;
    settings.InfoOrderSlot = 57, settings.InfoSeiriNumSlot = 58, settings.InfoRouteSlot = 59;
    settings.InfoColumn = 99, settings.InfoColumnSlot = 60;
    program.options().SetOptionInfo(settings);
    DataIo& data = ctl.RouteData();
    data.RouteNo = QStringLiteral("00012");
    data.StartSection = 1;
    data.LoadFareFile(path).valueOrThrow();
    int row = 1;
    for (auto _ : state) {
        ctl.DispData(row);
        row = row % 301 + 1;
    }
}

} // namespace

BENCHMARK(BM_LoadFareFile301)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DispDataAllInfoDigits)->Unit(benchmark::kMillisecond);
