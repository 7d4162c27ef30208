// The costs of a route: reading a full fare data file, and one display update with every
// information digit on and a six-cell stop name, without and with the ticket preview.

#include "BenchSupport.h"
#include "FullRoute.h"
#include "Q57App.h"
#include "announce/TapeFile.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>

namespace {

void BM_LoadFareFile301(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = writeFullRoute(dir);
    DataIo data;
    data.StartSection = 1;
    for (auto _ : state)
        if (!data.LoadFareFile(path))
            state.SkipWithError("the route was refused");
}

// The program with the full route set and every information digit on.
struct RouteShown {
    QTemporaryDir dir;
    Q57App program;
    frmCtl& ctl = program.operatingPanel();

    explicit RouteShown(const std::function<void(IniRecord&)>& more = {}) {
        const QString path = writeFullRoute(dir);
        program.start();
        IniRecord settings = program.options().currentSettings();
        settings.InfoOrderOn = settings.InfoSeiriNumOn = settings.InfoRouteOn =
            settings.InfoColumnOn = 1;
        settings.InfoOrderSlot = 57, settings.InfoSeiriNumSlot = 58, settings.InfoRouteSlot = 59;
        settings.InfoColumn = 99, settings.InfoColumnSlot = 60;
        if (more)
            more(settings);
        program.options().SetOptionInfo(settings);
        DataIo& data = ctl.RouteData();
        data.RouteNo = QStringLiteral("00012");
        data.StartSection = 1;
        data.LoadFareFile(path).valueOrThrow();
    }
};

void BM_DispDataAllInfoDigits(benchmark::State& state) {
    RouteShown route;
    int row = 1;
    for (auto _ : state) {
        route.ctl.DispData(row);
        row = row % 301 + 1;
    }
}

// The ticket of the sample bar-code plug-in drawn at every update; its bar code covers ticket
// numbers 1 to 99, so the rows stay among those.
void BM_DispDataTicketPreview(benchmark::State& state) {
    RouteShown route([](IniRecord& settings) {
        settings.UseSeiriPrev = 1;
        settings.SeiriPlgFile =
            QStringLiteral(Q57_SOURCE_DIR "/data/plugins/hoshizora-barcode.4SP");
    });
    int row = 1;
    for (auto _ : state) {
        route.ctl.DispData(row);
        row = row % 99 + 1;
    }
}

// Setting a route whose announcement file is as large as the program reads (16 MiB, 560,000
// announcements): the longest the window goes without answering, from the route's setting until
// the announcements are in, and what the reading holds in memory at its peak. The speech engine
// of the machine renders the list ahead, as in the program. Run it alone or first: the peak is
// the process's.
void BM_SetRouteHugeAnnouncements(benchmark::State& state) {
    RouteShown route;
    const QByteArray line = ShiftJis::encode(QStringLiteral("次は、市役所前広場です。,0,1\r\n"));
    QByteArray lines;
    lines.reserve(TapeFile::kMaxFileBytes);
    while (lines.size() + line.size() <= TapeFile::kMaxFileBytes)
        lines += line;
    if (!SafeSave::write(route.dir.filePath(QStringLiteral("12tp.csv")), lines))
        qFatal("cannot write the announcements");
    const qint64 fileBytes = lines.size();
    lines = QByteArray();
    const double before = residentMegabytes();
    mdlM_Tape& tape = route.program.tape();
    qint64 longest = 0;
    for (auto _ : state) {
        Heartbeat heartbeat;
        tape.LoadTapeData(route.dir.path() + u'/', QStringLiteral("12"));
        while (tape.Loading())
            runEventsFor(5);
        longest = std::max(longest, heartbeat.takeLongest());
        if (tape.GetTapeCount() != fileBytes / line.size())
            state.SkipWithError("the announcements were not all read");
    }
    state.counters["longest_block_ms"] = double(longest);
    state.counters["file_MiB"] = double(fileBytes) / (1024 * 1024);
    state.counters["peak_above_start_MiB"] = statusMegabytes("VmHWM") - before;
    state.counters["held_after_MiB"] = residentMegabytes() - before;
}

} // namespace

// Once: a second load would find the first one's list still held by the speech engine.
BENCHMARK(BM_SetRouteHugeAnnouncements)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadFareFile301)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DispDataAllInfoDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DispDataTicketPreview)->Unit(benchmark::kMillisecond);
