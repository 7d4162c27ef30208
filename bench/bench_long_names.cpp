// Stop names as long as a fare data file can hold them (65535 Shift-JIS bytes): what showing one
// costs, and what a whole route of them costs the window and the memory when it is set and
// stepped through on the operating panel.

#include "BenchSupport.h"
#include "Q57App.h"
#include "app/FareFile.h"
#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "options/frmOption.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRouteStops = 300;

// 32767 full-width characters and one ASCII letter: 65535 bytes.
QString longestName() {
    return QStringLiteral("中央バスターミナル前").repeated(3277).left(32767) + u'A';
}

void writeRoute(const QString& path, const QString& name) {
    std::vector<FareRecord> records(kRouteStops);
    for (int r = 0; r < kRouteStops; ++r) {
        records[std::size_t(r)].StopName = name;
        records[std::size_t(r)].SeiriNum = qint16(r + 1);
        for (int n = 1; n <= FareRecord::kFareColumns; ++n)
            records[std::size_t(r)].Fare[std::size_t(n)] = qint16(170 + 10 * ((r + n) % 50));
    }
    if (!SafeSave::write(path, FareFile::encode(records).valueOrThrow()))
        qFatal("cannot write the route");
}

// The operating panel, driven by its buttons as the driver would.
struct Panel {
    Q57App program;
    frmCtl& ctl = program.operatingPanel();

    explicit Panel(const QString& folder) {
        program.start();
        ctl.setLampTestMilliseconds(0);
        IniRecord settings = program.options().currentSettings();
        settings.FareDataDir = folder;
        program.options().SetOptionInfo(settings);
    }
    void click(const QString& name) {
        auto* button = ctl.findChild<QAbstractButton*>(name);
        if (button == nullptr)
            qFatal("no button %s", qPrintable(name));
        button->click();
    }
    void setRoute(const QString& route) {
        click(QStringLiteral("CommandButton1(10)"));
        for (QChar digit : route)
            click(QStringLiteral("CommandButton1(%1)").arg(digit));
        click(QStringLiteral("CommandButton1(11)"));
        click(QStringLiteral("CommandButton1(1)"));
        click(QStringLiteral("Command1(1)"));
    }
    // Sets the route and steps to its end, the strip scrolling for a while at every stop.
    // Returns the longest block of a step; the route setting's own goes to routeBlock.
    qint64 runRoute(const QString& route, Heartbeat& heartbeat, qint64& routeBlock) {
        heartbeat.takeLongest();
        setRoute(route);
        runEventsFor(20);
        routeBlock = heartbeat.takeLongest();
        qint64 longestStep = 0;
        for (int step = 1; step < kRouteStops; ++step) {
            click(QStringLiteral("Command2(1)"));
            runEventsFor(20);
            longestStep = std::max(longestStep, heartbeat.takeLongest());
        }
        if (ctl.RouteData().CurStop != kRouteStops - 1)
            qFatal("the route was not stepped through");
        return longestStep;
    }
};

// A route of ordinary names first, then in the same program one whose every name is as long as
// the file can hold: the window's longest block per step and the memory the long names add.
void BM_RouteOfLongestNames(benchmark::State& state) {
    QTemporaryDir folder;
    writeRoute(folder.filePath(QStringLiteral("12.hy3")), QStringLiteral("中央バスターミナル前"));
    writeRoute(folder.filePath(QStringLiteral("57.hy3")), longestName());
    for (auto _ : state) {
        Panel panel(folder.path());
        Heartbeat heartbeat;
        qint64 normalRouteBlock = 0;
        qint64 longRouteBlock = 0;
        const qint64 normalStep = panel.runRoute(QStringLiteral("12"), heartbeat, normalRouteBlock);
        const double normalMegabytes = residentMegabytes();
        const qint64 longStep = panel.runRoute(QStringLiteral("57"), heartbeat, longRouteBlock);
        const double longMegabytes = residentMegabytes();
        state.counters["normal_route_set_block_ms"] = double(normalRouteBlock);
        state.counters["normal_step_block_ms"] = double(normalStep);
        state.counters["long_route_set_block_ms"] = double(longRouteBlock);
        state.counters["long_step_block_ms"] = double(longStep);
        state.counters["normal_route_MB"] = normalMegabytes;
        state.counters["long_route_MB"] = longMegabytes;
        state.counters["added_MB"] = longMegabytes - normalMegabytes;
    }
}
BENCHMARK(BM_RouteOfLongestNames)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

void BM_SetChimeiLongestName(benchmark::State& state) {
    const QString name = longestName();
    if (ShiftJis::lenB(name) != 65535)
        state.SkipWithError("the name is not 65535 bytes");
    ChimeiCtl_B strip;
    for (auto _ : state) {
        strip.SetChimei(QString());
        strip.SetChimei(name);
    }
    state.counters["canvas_MB"] = double(strip.canvas().sizeInBytes()) / (1024 * 1024);
}
BENCHMARK(BM_SetChimeiLongestName)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
