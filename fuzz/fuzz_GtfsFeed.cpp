// Any bytes as one file of a small feed (the first byte chooses which), or as the whole feed's
// zip: the CSV and feed reader refuse or read, and every route it reads imports into files the
// program takes back as they were made.

#include "FuzzSupport.h"
#include "app/FareFile.h"
#include "gtfs/RouteImport.h"
#include "gtfs/SmallFeeds.h" // the tests' small feeds

using FuzzSupport::check;

namespace {

const QString kFiles[] = {
    QStringLiteral("stops.txt"),           QStringLiteral("routes.txt"),
    QStringLiteral("trips.txt"),           QStringLiteral("stop_times.txt"),
    QStringLiteral("fare_attributes.txt"), QStringLiteral("fare_rules.txt"),
    QStringLiteral("translations.txt"),
};

void importEveryRoute(const GtfsFeed& feed) {
    for (int route = 0; route < int(feed.routes().size()); ++route) {
        for (const GtfsFeed::Pattern& pattern : feed.patterns(route)) {
            for (const auto tickets :
                 {RouteImport::Tickets::BySection, RouteImport::Tickets::ByStop}) {
                const Result<RouteImport::Route> made =
                    RouteImport::build(feed, route, pattern, tickets);
                if (!made)
                    continue;
                const RouteImport::Route& r = made.value();
                check(r.ticketNumbers <= RouteImport::kMaxTicketNumbers, "at most 61 numbers");
                const Result<QByteArray> file = FareFile::encode(r.records);
                check(bool(file), "every imported route makes a fare data file");
                // Names and texts may come back in another of the code page's forms.
                const auto back = FareFile::records(file.value(), int(r.records.size()));
                check(bool(back), "the fare data file reads back");
                for (std::size_t s = 0; s < r.records.size(); ++s)
                    check(back.value()[s].SeiriNum == r.records[s].SeiriNum &&
                              back.value()[s].Fare == r.records[s].Fare,
                          "numbers and fares read back");
                const auto tape = TapeFile::read(TapeFile::encode(r.announcements));
                check(tape && tape.value().size() == r.announcements.size(),
                      "every announcement reads back");
                for (std::size_t a = 0; a < r.announcements.size(); ++a)
                    check(tape.value()[a].DataLink == r.announcements[a].DataLink &&
                              tape.value()[a].SoundFlag == r.announcements[a].SoundFlag,
                          "links and sounds read back");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const QByteArray bytes = FuzzSupport::bytesOf(data, size).mid(1);
    const std::size_t choice = data[0] % (std::size(kFiles) + 1);
    Result<FeedFiles> files =
        choice == std::size(kFiles)
            ? FeedFiles::fromZip(QStringLiteral("fuzz.zip"), bytes)
            : Result<FeedFiles>(SmallFeeds::inZip(SmallFeeds::line(
                  {{QStringLiteral("fare_attributes.txt"), "fare_id,price\nF1,100\nF2,200\n"},
                   {kFiles[choice], bytes}})));
    if (!files)
        return 0;
    const Result<GtfsFeed> feed = GtfsFeed::read(files.value());
    if (feed)
        importEveryRoute(feed.value());
    return 0;
}
