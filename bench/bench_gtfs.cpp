// Importing a route from open data: a large generated feed (300,000 stop times, 200,000 fare
// rules; goal at most 2 s and 200 MB at the peak) and the format's sample (goal 20 ms). Each
// import reads the feed, finds the route's patterns and makes both files' bytes.

#include "announce/TapeFile.h"
#include "app/FareFile.h"
#include "gtfs/RouteImport.h"
#include "platform/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRoutes = 20, kTripsPerRoute = 50, kStopsPerTrip = 300, kRules = 200'000;
// Ten stops to a fare section: 30 ticket numbers for a pattern.
constexpr int kStopsPerSection = 10;

// A feed of kRoutes routes, each one pattern of its own stops, fares from stop to stop.
QString generatedFeed(const QTemporaryDir& dir) {
    QByteArray stops = "stop_id,stop_name,zone_id\n", routes = "route_id,route_short_name\n",
               trips = "route_id,trip_id,direction_id,trip_headsign\n",
               times = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n",
               fares = "fare_id,price\n", rules = "fare_id,route_id,origin_id,destination_id\n";
    for (int section = 0; section < kStopsPerTrip / kStopsPerSection; ++section)
        fares +=
            "F" + QByteArray::number(section) + "," + QByteArray::number(160 + 10 * section) + "\n";
    int ruleCount = 0;
    for (int r = 0; r < kRoutes; ++r) {
        const QByteArray route = "R" + QByteArray::number(r);
        routes += route + "," + QByteArray::number(r) + "\n";
        for (int s = 0; s < kStopsPerTrip; ++s) {
            const QByteArray stop = route + "-" + QByteArray::number(s);
            stops += stop + ",停留所" + stop + "," + stop + "\n";
        }
        for (int t = 0; t < kTripsPerRoute; ++t) {
            const QByteArray trip = route + "-T" + QByteArray::number(t);
            trips += route + "," + trip + ",0,終点\n";
            for (int s = 0; s < kStopsPerTrip; ++s)
                times += trip + ",6:00:00,6:00:00," + route + "-" + QByteArray::number(s) + "," +
                         QByteArray::number(s) + "\n";
        }
        for (int i = 0; i < kStopsPerTrip && ruleCount < kRules; ++i)
            for (int j = i + 1; j < kStopsPerTrip && ruleCount < kRules; ++j, ++ruleCount)
                rules += "F" + QByteArray::number(j / kStopsPerSection - i / kStopsPerSection) +
                         "," + route + "," + route + "-" + QByteArray::number(i) + "," + route +
                         "-" + QByteArray::number(j) + "\n";
    }
    const QString folder = dir.filePath(QStringLiteral("feed"));
    QDir().mkpath(folder);
    for (const auto& [name, bytes] :
         {std::pair{"agency.txt", QByteArray("agency_id,agency_name\n1,Bus\n")},
          std::pair{"stops.txt", stops}, std::pair{"routes.txt", routes},
          std::pair{"trips.txt", trips}, std::pair{"stop_times.txt", times},
          std::pair{"fare_attributes.txt", fares}, std::pair{"fare_rules.txt", rules}})
        SafeSave::write(QDir(folder).filePath(QString::fromLatin1(name)), bytes).valueOrThrow();
    return folder;
}

// The most the process held in memory since the peak was last reset, in MiB.
double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

void resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void importRoute(const QString& feedPath, const QString& routeId) {
    const GtfsFeed feed = GtfsFeed::read(FeedFiles::open(feedPath).valueOrThrow()).valueOrThrow();
    const int route = feed.route(routeId);
    const RouteImport::Route made = RouteImport::build(feed, route, feed.patterns(route).front(),
                                                       RouteImport::Tickets::BySection)
                                        .valueOrThrow();
    benchmark::DoNotOptimize(FareFile::encode(made.records).valueOrThrow());
    benchmark::DoNotOptimize(TapeFile::encode(made.announcements));
}

void BM_ImportGeneratedFeed(benchmark::State& state) {
    QTemporaryDir dir;
    const QString feed = generatedFeed(dir);
    double peak = 0;
    for (auto _ : state) {
        resetPeak();
        importRoute(feed, QStringLiteral("R0"));
        peak = std::max(peak, peakMegabytes());
    }
    state.counters["peak_MiB"] = peak;
}
BENCHMARK(BM_ImportGeneratedFeed)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportSample(benchmark::State& state) {
    for (auto _ : state)
        importRoute(QStringLiteral(Q57_SOURCE_DIR "/data/gtfs-sample"), QStringLiteral("21000-0"));
}
BENCHMARK(BM_ImportSample)->Unit(benchmark::kMillisecond);

} // namespace
