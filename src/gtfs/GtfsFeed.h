#pragma once

#include "gtfs/FeedFiles.h"
#include "platform/Result.h"

#include <QHash>
#include <QString>
#include <functional>
#include <vector>

// What a route import needs of a GTFS / GTFS-JP feed: stops, routes, trips with their stops in
// order, fares and fare rules, and the kana readings of names. Other files and columns are not
// read.
class GtfsFeed {
public:
    struct Stop {
        QString id, name, zone;
    };
    struct Route {
        QString id, shortName, longName;
    };
    struct Trip {
        int route = 0;
        // 0 or 1 as the feed gives it, -1 when it gives none.
        int direction = -1;
        QString headsign;
        // Indexes into stops(), in the order of their stop_sequence.
        std::vector<int> stops;
    };
    struct Fare {
        QString id;
        double price = 0;
    };
    struct FareRule {
        int fare = 0;
        // -1: a rule of every route.
        int route = -1;
        QString origin, destination, contains;
    };
    // Trips of one route that stop at the same stops in the same order, in one direction.
    struct Pattern {
        int direction = -1;
        std::vector<int> stops;
        std::vector<int> trips;
    };

    // Told the name of each file as its reading begins.
    using Progress = std::function<void(const QString& file)>;

    // The feed, or the first thing that makes it unusable (a required file or column missing,
    // a damaged file, a name of a stop, trip, route or fare that the feed does not have), with
    // its file, line and column.
    static Result<GtfsFeed> read(const FeedFiles& files, const Progress& progress = {});

    const QString& publisher() const { return publisher_; }
    const std::vector<Stop>& stops() const { return stops_; }
    const std::vector<Route>& routes() const { return routes_; }
    const std::vector<Trip>& trips() const { return trips_; }
    const std::vector<Fare>& fares() const { return fares_; }
    const std::vector<FareRule>& fareRules() const { return fareRules_; }

    // The route with that route_id, or -1.
    int route(const QString& id) const { return routeIndex_.value(id, -1); }
    // The route's patterns, the one with most trips first.
    std::vector<Pattern> patterns(int route) const;

    // How a text is read aloud: the feed's kana reading (ja-Hrkt) of the whole text where it
    // has one; else the text with every piece the feed has a reading for read so, longest
    // pieces first from its start (feeds in the GTFS-JP 2.x form give readings of parts of
    // names, such as 番のりば); the text itself where it has none.
    QString reading(const QString& text) const;
    // The same for a stop, whose reading the feed may also give by its stop_id.
    QString stopReading(int stop) const;

private:
    struct Reading;
    Result<void> readStops(Reading& in);
    Result<void> readRoutes(Reading& in);
    Result<void> readTrips(Reading& in);
    Result<void> readStopTimes(Reading& in);
    Result<void> readFares(Reading& in);
    Result<void> readTranslations(Reading& in);
    Result<void> readFeedInfo(Reading& in);
    void addReading(const QString& text, const QString& reading);

    QString publisher_;
    std::vector<Stop> stops_;
    std::vector<Route> routes_;
    std::vector<Trip> trips_;
    std::vector<Fare> fares_;
    std::vector<FareRule> fareRules_;
    QHash<QString, int> stopIndex_, routeIndex_, tripIndex_;
    QHash<QString, QString> readingOfText_, readingOfStop_;
    qsizetype longestReadText_ = 0;
};
