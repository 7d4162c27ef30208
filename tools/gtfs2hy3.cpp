// Makes a route for the simulator from a route of a GTFS / GTFS-JP feed (a .zip as published,
// or a folder of its .txt files): the fare data file N.hy3 and the announcement file Ntp.csv.
//
//   gtfs2hy3 FEED --list
//   gtfs2hy3 FEED --route ROUTE_ID [--pattern INDEX] --number N [--tickets section|stop]
//            [--out DIR] [--force]
//   gtfs2hy3 FEED --route ROUTE_ID [--pattern INDEX] [--tickets section|stop] --csv

#include "Hy3Csv.h"
#include "app/FareFile.h"
#include "gtfs/GtfsFeed.h"
#include "gtfs/RouteImport.h"
#include "platform/SafeSave.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {

constexpr const char* kUsage =
    "usage: gtfs2hy3 FEED --list\n"
    "       gtfs2hy3 FEED --route ROUTE_ID [--pattern INDEX] --number N\n"
    "                [--tickets section|stop] [--out DIR] [--force]\n"
    "       gtfs2hy3 FEED --route ROUTE_ID [--pattern INDEX] [--tickets section|stop] --csv\n";

void print(FILE* to, const QString& text) {
    std::fputs(text.toUtf8().constData(), to);
}

int refuse(const QString& message) {
    print(stderr, QStringLiteral("gtfs2hy3: %1\n").arg(message));
    return 1;
}

struct Options {
    QString feed;
    bool list = false;
    QString route;
    int pattern = 1;
    std::optional<int> number;
    RouteImport::Tickets tickets = RouteImport::Tickets::BySection;
    QString out = QStringLiteral(".");
    bool force = false;
    bool csv = false;
};

// The options, or the reason they are not ones the tool takes.
std::optional<Options> parse(const QStringList& arguments, QString& why) {
    Options options;
    if (arguments.isEmpty() || arguments.first().startsWith(QStringLiteral("--"))) {
        why = QStringLiteral("the feed comes first");
        return std::nullopt;
    }
    options.feed = arguments.first();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& option = arguments[i];
        const auto value = [&]() -> std::optional<QString> {
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        const auto positive = [&]() -> std::optional<int> {
            bool ok = false;
            const std::optional<QString> text = value();
            const int number = text ? text->toInt(&ok) : 0;
            return ok && number > 0 ? std::optional<int>(number) : std::nullopt;
        };
        if (option == QStringLiteral("--list")) {
            options.list = true;
        } else if (option == QStringLiteral("--force")) {
            options.force = true;
        } else if (option == QStringLiteral("--csv")) {
            options.csv = true;
        } else if (option == QStringLiteral("--route")) {
            options.route = value().value_or(QString());
            if (options.route.isEmpty()) {
                why = QStringLiteral("--route needs a route_id");
                return std::nullopt;
            }
        } else if (option == QStringLiteral("--pattern")) {
            const std::optional<int> index = positive();
            if (!index) {
                why = QStringLiteral("--pattern needs an index from the list, 1 or more");
                return std::nullopt;
            }
            options.pattern = *index;
        } else if (option == QStringLiteral("--number")) {
            options.number = positive();
            if (!options.number) {
                why = QStringLiteral("--number needs a route number, 1 or more");
                return std::nullopt;
            }
        } else if (option == QStringLiteral("--tickets")) {
            const std::optional<QString> how = value();
            if (how == QStringLiteral("section")) {
                options.tickets = RouteImport::Tickets::BySection;
            } else if (how == QStringLiteral("stop")) {
                options.tickets = RouteImport::Tickets::ByStop;
            } else {
                why = QStringLiteral("--tickets is section or stop");
                return std::nullopt;
            }
        } else if (option == QStringLiteral("--out")) {
            options.out = value().value_or(QString());
            if (options.out.isEmpty()) {
                why = QStringLiteral("--out needs a folder");
                return std::nullopt;
            }
        } else {
            why = QStringLiteral("unknown option %1").arg(option);
            return std::nullopt;
        }
    }
    if (options.list == !options.route.isEmpty()) {
        why = QStringLiteral("give either --list or --route");
        return std::nullopt;
    }
    if (!options.list && !options.csv && !options.number) {
        why = QStringLiteral("--route needs --number (or --csv)");
        return std::nullopt;
    }
    return options;
}

QString direction(int direction) {
    return direction < 0 ? QStringLiteral("-") : QString::number(direction);
}

int list(const GtfsFeed& feed) {
    for (int r = 0; r < int(feed.routes().size()); ++r) {
        const GtfsFeed::Route& route = feed.routes()[std::size_t(r)];
        print(stdout,
              QStringLiteral("%1  %2  %3\n").arg(route.id, route.shortName, route.longName));
        const std::vector<GtfsFeed::Pattern> patterns = feed.patterns(r);
        for (std::size_t p = 0; p < patterns.size(); ++p) {
            const GtfsFeed::Pattern& pattern = patterns[p];
            const auto name = [&feed](int stop) { return feed.stops()[std::size_t(stop)].name; };
            print(stdout,
                  QStringLiteral("  pattern %1  direction %2  %3 → %4  %5 stops  %6 trips\n")
                      .arg(p + 1)
                      .arg(direction(pattern.direction))
                      .arg(name(pattern.stops.front()), name(pattern.stops.back()))
                      .arg(pattern.stops.size())
                      .arg(pattern.trips.size()));
        }
    }
    return 0;
}

int import(const GtfsFeed& feed, const Options& options) {
    const int route = feed.route(options.route);
    if (route < 0)
        return refuse(QStringLiteral("the feed has no route %1 (--list shows its routes)")
                          .arg(options.route));
    const std::vector<GtfsFeed::Pattern> patterns = feed.patterns(route);
    if (options.pattern > int(patterns.size()))
        return refuse(QStringLiteral("the route %1 has %2 patterns, not %3 (--list shows them)")
                          .arg(options.route)
                          .arg(patterns.size())
                          .arg(options.pattern));
    const GtfsFeed::Pattern& pattern = patterns[std::size_t(options.pattern - 1)];
    const Result<RouteImport::Route> made =
        RouteImport::build(feed, route, pattern, options.tickets);
    if (!made) {
        QString wayOut;
        if (made.error().description().contains(QStringLiteral("ticket numbers")))
            wayOut = options.tickets == RouteImport::Tickets::ByStop
                         ? QStringLiteral(" (use --tickets section, or a shorter pattern)")
                         : QStringLiteral(" (choose a shorter pattern)");
        else if (made.error().description().contains(QStringLiteral("stops")))
            wayOut = QStringLiteral(" (choose a shorter pattern)");
        return refuse(made.error().description() + wayOut);
    }
    const RouteImport::Route& imported = made.value();
    if (options.csv) {
        print(stdout, Hy3Csv::toCsv(imported.records));
        return 0;
    }
    const Result<QByteArray> fareFile = FareFile::encode(imported.records);
    if (!fareFile)
        return refuse(fareFile.error().description());
    const QDir out(options.out);
    const QString number = QString::number(*options.number);
    const std::pair<QString, QByteArray> files[] = {
        {out.filePath(number + QStringLiteral(".hy3")), fareFile.value()},
        {out.filePath(number + QStringLiteral("tp.csv")),
         TapeFile::encode(imported.announcements)}};
    for (const auto& [path, bytes] : files)
        if (!options.force && QFileInfo::exists(path))
            return refuse(QStringLiteral("%1 is already there; --force replaces it").arg(path));
    for (const auto& [path, bytes] : files)
        if (const Result<void> saved = SafeSave::write(path, bytes); !saved)
            return refuse(QStringLiteral("%1 not written (error %2, %3); a file already there is "
                                         "unchanged")
                              .arg(path)
                              .arg(saved.error().number())
                              .arg(saved.error().description()));
    const GtfsFeed::Route& about = feed.routes()[std::size_t(route)];
    print(stdout,
          QStringLiteral("%1 %2 %3, pattern %4: %5 stops, %6 ticket numbers, fares %7 to %8\n")
              .arg(about.id, about.shortName, about.longName)
              .arg(options.pattern)
              .arg(imported.records.size())
              .arg(imported.ticketNumbers)
              .arg(imported.lowestFare)
              .arg(imported.highestFare));
    for (const QString& warning : imported.warnings)
        print(stdout, QStringLiteral("warning: %1\n").arg(warning));
    print(stdout, QStringLiteral("wrote %1 and %2\n").arg(files[0].first, files[1].first));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString why;
    const std::optional<Options> options = parse(arguments, why);
    if (!options) {
        std::fputs(kUsage, stderr);
        return refuse(why);
    }
    // Large feeds take a while: after a second, each file read is told.
    QElapsedTimer clock;
    clock.start();
    const Result<FeedFiles> files = FeedFiles::open(options->feed);
    if (!files)
        return refuse(files.error().description());
    const Result<GtfsFeed> feed = GtfsFeed::read(files.value(), [&clock](const QString& file) {
        if (clock.elapsed() > 1000)
            print(stderr, QStringLiteral("gtfs2hy3: reading %1 …\n").arg(file));
    });
    if (!feed)
        return refuse(feed.error().description());
    return options->list ? list(feed.value()) : import(feed.value(), *options);
}
