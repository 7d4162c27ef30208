#include "GtfsFeed.h"

#include "gtfs/GtfsCsv.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace {

// The columns, each required, or the first one missing.
template <std::size_t N>
Result<std::array<int, N>> requiredColumns(const GtfsCsv& csv, const QStringView (&names)[N]) {
    std::array<int, N> columns{};
    for (std::size_t i = 0; i < N; ++i) {
        const Result<int> found = csv.required(names[i]);
        if (!found)
            return found.error();
        columns[i] = found.value();
    }
    return columns;
}

// Rows end at the end of the file or at a quote never closed.
Result<void> endOfRows(const GtfsCsv& csv) {
    if (csv.error())
        return *csv.error();
    return {};
}

// A whole number that is not negative, as GTFS writes sequences; -1 when it is not one.
qint64 count(QByteArrayView text) {
    if (text.isEmpty() || text.size() > 9)
        return -1;
    qint64 value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool isReadingLanguage(QStringView language) {
    return language.compare(u"ja-Hrkt", Qt::CaseInsensitive) == 0;
}

} // namespace

// The files being read, and who is told which file is next.
struct GtfsFeed::Reading {
    const FeedFiles& files;
    const Progress& progress;

    // The file as a table; nothing when an optional file is not in the feed.
    Result<std::optional<GtfsCsv>> table(const QString& name, bool required) const {
        if (progress)
            progress(name);
        Result<std::optional<QByteArray>> bytes = files.read(name);
        if (!bytes)
            return bytes.error();
        if (!bytes.value()) {
            if (required)
                return GtfsCsv::refusal(name, QStringLiteral("the feed has no such file"));
            return std::optional<GtfsCsv>();
        }
        Result<GtfsCsv> opened = GtfsCsv::open(name, *std::move(bytes).value());
        if (!opened)
            return opened.error();
        return std::optional<GtfsCsv>(std::move(opened).value());
    }
    // The file read by `read` when the feed has it; nothing to read when it has not.
    template <typename Read> Result<void> optional(const QString& name, Read&& read) const {
        Result<std::optional<GtfsCsv>> found = table(name, false);
        if (!found)
            return found.error();
        std::optional<GtfsCsv> csv = std::move(found).value();
        return csv ? read(*csv) : Result<void>();
    }
    Result<GtfsCsv> required(const QString& name) const {
        Result<std::optional<GtfsCsv>> found = table(name, true);
        if (!found)
            return found.error();
        return *std::move(found).value();
    }
};

Result<GtfsFeed> GtfsFeed::read(const FeedFiles& files, const Progress& progress) {
    GtfsFeed feed;
    Reading in{files, progress};
    // Required by the format, though nothing of it is used here.
    if (const auto agency = in.table(QStringLiteral("agency.txt"), true); !agency)
        return agency.error();
    // Stops, routes and trips come before the files that name them.
    for (const auto step : {&GtfsFeed::readStops, &GtfsFeed::readRoutes, &GtfsFeed::readTrips,
                            &GtfsFeed::readStopTimes, &GtfsFeed::readFares,
                            &GtfsFeed::readTranslations, &GtfsFeed::readFeedInfo})
        if (const Result<void> done = (feed.*step)(in); !done)
            return done.error();
    return feed;
}

Result<void> GtfsFeed::readStops(Reading& in) {
    Result<GtfsCsv> file = in.required(QStringLiteral("stops.txt"));
    if (!file)
        return file.error();
    GtfsCsv csv = std::move(file).value();
    const auto columns = requiredColumns(csv, {u"stop_id", u"stop_name"});
    if (!columns)
        return columns.error();
    const auto [id, name] = columns.value();
    const int zone = csv.column(u"zone_id");
    while (csv.next()) {
        Stop stop{csv.field(id), csv.field(name), csv.field(zone)};
        if (stop.id.isEmpty())
            return csv.refusal(id, QStringLiteral("a stop without a stop_id"));
        if (stopIndex_.contains(stop.id))
            return csv.refusal(id, QStringLiteral("the stop %1 is there twice").arg(stop.id));
        stopIndex_.insert(stop.id, int(stops_.size()));
        stops_.push_back(std::move(stop));
    }
    return endOfRows(csv);
}

Result<void> GtfsFeed::readRoutes(Reading& in) {
    Result<GtfsCsv> file = in.required(QStringLiteral("routes.txt"));
    if (!file)
        return file.error();
    GtfsCsv csv = std::move(file).value();
    const Result<int> id = csv.required(u"route_id");
    if (!id)
        return id.error();
    const int shortName = csv.column(u"route_short_name");
    const int longName = csv.column(u"route_long_name");
    while (csv.next()) {
        Route route{csv.field(id.value()), csv.field(shortName), csv.field(longName)};
        if (routeIndex_.contains(route.id))
            return csv.refusal(id.value(),
                               QStringLiteral("the route %1 is there twice").arg(route.id));
        routeIndex_.insert(route.id, int(routes_.size()));
        routes_.push_back(std::move(route));
    }
    return endOfRows(csv);
}

Result<void> GtfsFeed::readTrips(Reading& in) {
    Result<GtfsCsv> file = in.required(QStringLiteral("trips.txt"));
    if (!file)
        return file.error();
    GtfsCsv csv = std::move(file).value();
    const auto columns = requiredColumns(csv, {u"route_id", u"trip_id"});
    if (!columns)
        return columns.error();
    const auto [routeId, tripId] = columns.value();
    const int direction = csv.column(u"direction_id");
    const int headsign = csv.column(u"trip_headsign");
    while (csv.next()) {
        Trip trip;
        trip.route = routeIndex_.value(csv.field(routeId), -1);
        if (trip.route < 0)
            return csv.refusal(routeId,
                               QStringLiteral("no route %1 in routes.txt").arg(csv.field(routeId)));
        const QByteArrayView directionText = csv.raw(direction);
        if (directionText == "0" || directionText == "1")
            trip.direction = directionText[0] - '0';
        else if (!directionText.isEmpty())
            return csv.refusal(direction, QStringLiteral("a direction is 0 or 1"));
        trip.headsign = csv.field(headsign);
        const QString id = csv.field(tripId);
        if (tripIndex_.contains(id))
            return csv.refusal(tripId, QStringLiteral("the trip %1 is there twice").arg(id));
        tripIndex_.insert(id, int(trips_.size()));
        trips_.push_back(std::move(trip));
    }
    return endOfRows(csv);
}

Result<void> GtfsFeed::readStopTimes(Reading& in) {
    Result<GtfsCsv> file = in.required(QStringLiteral("stop_times.txt"));
    if (!file)
        return file.error();
    GtfsCsv csv = std::move(file).value();
    const auto columns = requiredColumns(csv, {u"trip_id", u"stop_id", u"stop_sequence"});
    if (!columns)
        return columns.error();
    const auto [tripId, stopId, sequence] = columns.value();
    struct StopTime {
        int trip;
        qint64 sequence;
        int stop;
    };
    std::vector<StopTime> times;
    // Rows of one trip usually follow each other: its id is looked up once for them.
    QByteArray lastTrip;
    int trip = -1;
    while (csv.next()) {
        if (csv.raw(tripId) != lastTrip || trip < 0) {
            lastTrip = csv.raw(tripId).toByteArray();
            trip = tripIndex_.value(QString::fromUtf8(lastTrip), -1);
            if (trip < 0)
                return csv.refusal(
                    tripId,
                    QStringLiteral("no trip %1 in trips.txt").arg(QString::fromUtf8(lastTrip)));
        }
        const int stop = stopIndex_.value(csv.field(stopId), -1);
        if (stop < 0)
            return csv.refusal(stopId,
                               QStringLiteral("no stop %1 in stops.txt").arg(csv.field(stopId)));
        const qint64 number = count(csv.raw(sequence));
        if (number < 0)
            return csv.refusal(sequence, QStringLiteral("a stop_sequence is a whole number"));
        times.push_back({trip, number, stop});
    }
    if (const Result<void> ended = endOfRows(csv); !ended)
        return ended;
    std::stable_sort(times.begin(), times.end(), [](const StopTime& a, const StopTime& b) {
        return a.trip != b.trip ? a.trip < b.trip : a.sequence < b.sequence;
    });
    for (const StopTime& time : times)
        trips_[std::size_t(time.trip)].stops.push_back(time.stop);
    return {};
}

Result<void> GtfsFeed::readFares(Reading& in) {
    QHash<QString, int> fareIndex;
    const Result<void> attributes =
        in.optional(QStringLiteral("fare_attributes.txt"), [&](GtfsCsv& csv) -> Result<void> {
            const auto columns = requiredColumns(csv, {u"fare_id", u"price"});
            if (!columns)
                return columns.error();
            const auto [id, price] = columns.value();
            while (csv.next()) {
                Fare fare{csv.field(id), 0};
                bool number = false;
                fare.price = QLocale::c().toDouble(csv.field(price), &number);
                if (!number)
                    return csv.refusal(price, QStringLiteral("a price is a number"));
                // A fare given again (per agency in feeds of several) takes the first price.
                if (!fareIndex.contains(fare.id)) {
                    fareIndex.insert(fare.id, int(fares_.size()));
                    fares_.push_back(std::move(fare));
                }
            }
            return endOfRows(csv);
        });
    if (!attributes)
        return attributes;
    return in.optional(QStringLiteral("fare_rules.txt"), [&](GtfsCsv& csv) -> Result<void> {
        const Result<int> fareId = csv.required(u"fare_id");
        if (!fareId)
            return fareId.error();
        const int routeId = csv.column(u"route_id");
        const int origin = csv.column(u"origin_id");
        const int destination = csv.column(u"destination_id");
        const int contains = csv.column(u"contains_id");
        while (csv.next()) {
            FareRule rule;
            rule.fare = fareIndex.value(csv.field(fareId.value()), -1);
            if (rule.fare < 0)
                return csv.refusal(fareId.value(),
                                   QStringLiteral("no fare %1 in fare_attributes.txt")
                                       .arg(csv.field(fareId.value())));
            const QString route = csv.field(routeId);
            rule.route = route.isEmpty() ? -1 : routeIndex_.value(route, -2);
            // A rule of a route the feed does not run can never apply.
            if (rule.route == -2)
                continue;
            rule.origin = csv.field(origin);
            rule.destination = csv.field(destination);
            rule.contains = csv.field(contains);
            fareRules_.push_back(std::move(rule));
        }
        return endOfRows(csv);
    });
}

Result<void> GtfsFeed::readTranslations(Reading& in) {
    return in.optional(QStringLiteral("translations.txt"), [this](GtfsCsv& csv) -> Result<void> {
        const int translation = csv.column(u"translation");
        if (csv.column(u"trans_id") >= 0) {
            // GTFS-JP 2.x: a translation of the text named by trans_id, wherever it stands.
            const auto columns = requiredColumns(csv, {u"trans_id", u"lang", u"translation"});
            if (!columns)
                return columns.error();
            const auto [text, language, _] = columns.value();
            while (csv.next())
                if (isReadingLanguage(csv.field(language)))
                    addReading(csv.field(text), csv.field(translation));
            return endOfRows(csv);
        }
        const auto columns =
            requiredColumns(csv, {u"table_name", u"field_name", u"language", u"translation"});
        if (!columns)
            return columns.error();
        const auto [tableName, fieldName, language, _] = columns.value();
        const int recordId = csv.column(u"record_id");
        const int fieldValue = csv.column(u"field_value");
        while (csv.next()) {
            if (!isReadingLanguage(csv.field(language)))
                continue;
            const QString reading = csv.field(translation);
            if (!csv.raw(fieldValue).isEmpty()) {
                addReading(csv.field(fieldValue), reading);
            } else if (csv.raw(tableName) == "stops" && csv.raw(fieldName) == "stop_name" &&
                       !csv.raw(recordId).isEmpty()) {
                readingOfStop_.insert(csv.field(recordId), reading);
            }
        }
        return endOfRows(csv);
    });
}

Result<void> GtfsFeed::readFeedInfo(Reading& in) {
    return in.optional(QStringLiteral("feed_info.txt"), [this](GtfsCsv& csv) -> Result<void> {
        const int publisher = csv.column(u"feed_publisher_name");
        if (csv.next())
            publisher_ = csv.field(publisher);
        return {};
    });
}

void GtfsFeed::addReading(const QString& text, const QString& reading) {
    if (text.isEmpty() || reading.isEmpty())
        return;
    readingOfText_.insert(text, reading);
    longestReadText_ = std::max(longestReadText_, text.size());
}

std::vector<GtfsFeed::Pattern> GtfsFeed::patterns(int route) const {
    std::map<std::pair<int, std::vector<int>>, std::size_t> found;
    std::vector<Pattern> patterns;
    for (std::size_t t = 0; t < trips_.size(); ++t) {
        const Trip& trip = trips_[t];
        if (trip.route != route || trip.stops.empty())
            continue;
        const auto [at, added] = found.try_emplace({trip.direction, trip.stops}, patterns.size());
        if (added)
            patterns.push_back({trip.direction, trip.stops, {}});
        patterns[at->second].trips.push_back(int(t));
    }
    std::stable_sort(patterns.begin(), patterns.end(), [](const Pattern& a, const Pattern& b) {
        return a.trips.size() > b.trips.size();
    });
    return patterns;
}

QString GtfsFeed::reading(const QString& text) const {
    if (const auto whole = readingOfText_.constFind(text); whole != readingOfText_.cend())
        return *whole;
    QString read;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype length = std::min(longestReadText_, text.size() - at);
        for (; length > 0; --length)
            if (const auto piece = readingOfText_.constFind(text.mid(at, length));
                piece != readingOfText_.cend()) {
                read += *piece;
                break;
            }
        if (length == 0) {
            read += text[at];
            length = 1;
        }
        at += length;
    }
    return read;
}

QString GtfsFeed::stopReading(int stop) const {
    const Stop& s = stops_[std::size_t(stop)];
    if (const auto byId = readingOfStop_.constFind(s.id); byId != readingOfStop_.cend())
        return *byId;
    return reading(s.name);
}
