#include "RouteImport.h"

#include "platform/ShiftJis.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <tuple>

namespace RouteImport {

namespace {

constexpr int kMaxStops = 301;
constexpr int kPairsNamed = 3;

using Fare = std::optional<qint16>;

bool isVariationSelector(char32_t c) {
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

bool encodable(const QString& text) {
    return ShiftJis::encode(text).count('?') == text.count(u'?');
}

// The fare rules that can apply to one route, found the way GTFS matches them: a rule of the
// route before one of every route; within each, a rule whose contains_id zones are exactly
// those the ride passes, then one naming both zones, one zone, no zone; the cheapest where
// several fares match equally.
class FareFinder {
public:
    FareFinder(const GtfsFeed& feed, int route) : feed_(feed) {
        QSet<int> fares;
        for (const GtfsFeed::FareRule& rule : feed.fareRules()) {
            if (rule.route != route && rule.route != -1)
                continue;
            Bucket& bucket = buckets_[rule.route == route ? 0 : 1];
            if (rule.contains.isEmpty()) {
                bucket.plain[{rule.origin, rule.destination}].push_back(rule.fare);
            } else {
                auto& group = bucket.containing[{rule.fare, rule.origin, rule.destination}];
                group.insert(rule.contains);
            }
            fares.insert(rule.fare);
        }
        if (fares.size() == 1)
            onlyFare_ = *fares.begin();
    }

    // The fare of the rules for a ride through these stops (first boarding, last alighting).
    std::optional<int> fare(const std::vector<int>& stops, std::size_t from, std::size_t to) const {
        const QString& origin = zone(stops[from]);
        const QString& destination = zone(stops[to]);
        for (const Bucket& bucket : buckets_) {
            std::optional<int> found;
            if (!bucket.containing.empty()) {
                QSet<QString> passed;
                for (std::size_t s = from; s <= to; ++s)
                    if (!zone(stops[s]).isEmpty())
                        passed.insert(zone(stops[s]));
                for (const auto& [key, zones] : bucket.containing) {
                    const auto& [fare, groupOrigin, groupDestination] = key;
                    if ((groupOrigin.isEmpty() || groupOrigin == origin) &&
                        (groupDestination.isEmpty() || groupDestination == destination) &&
                        zones == passed)
                        found = cheaper(found, fare);
                }
            }
            if (found)
                return found;
            for (const auto& [o, d] :
                 {std::pair{origin, destination}, std::pair{origin, QString()},
                  std::pair{QString(), destination}, std::pair{QString(), QString()}}) {
                const auto rules = bucket.plain.constFind({o, d});
                if (rules == bucket.plain.cend())
                    continue;
                for (int fare : *rules)
                    found = cheaper(found, fare);
                return found;
            }
        }
        return std::nullopt;
    }

    // The one fare every rule for the route names, if they name only one.
    std::optional<int> onlyFare() const { return onlyFare_; }

private:
    struct Bucket {
        QHash<std::pair<QString, QString>, std::vector<int>> plain;
        std::map<std::tuple<int, QString, QString>, QSet<QString>> containing;
    };

    const QString& zone(int stop) const { return feed_.stops()[std::size_t(stop)].zone; }
    std::optional<int> cheaper(std::optional<int> found, int fare) const {
        if (!found ||
            feed_.fares()[std::size_t(fare)].price < feed_.fares()[std::size_t(*found)].price)
            return fare;
        return found;
    }

    const GtfsFeed& feed_;
    Bucket buckets_[2];
    std::optional<int> onlyFare_;
};

} // namespace

QString forShiftJis(const QString& text, QStringList& replaced) {
    QString written;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(at, length);
        at += length;
        const char32_t code = character.toUcs4().value(0);
        if (isVariationSelector(code))
            continue;
        if (encodable(character)) {
            written += character;
            continue;
        }
        const QString compatible = character.normalized(QString::NormalizationForm_KC);
        const QString substitute =
            compatible != character && encodable(compatible) ? compatible : QString(kSubstitute);
        replaced << character + QStringLiteral(" → ") + substitute;
        written += substitute;
    }
    return written;
}

Result<Route> build(const GtfsFeed& feed, int route, const GtfsFeed::Pattern& pattern,
                    Tickets tickets) {
    const std::vector<int>& stops = pattern.stops;
    const std::size_t n = stops.size();
    if (n > std::size_t(kMaxStops))
        return RuntimeError(RuntimeError::SubscriptOutOfRange,
                            QStringLiteral("the pattern has %1 stops; a fare data file holds %2")
                                .arg(n)
                                .arg(kMaxStops));
    Route made;
    const auto stopName = [&feed, &stops](std::size_t s) {
        return feed.stops()[std::size_t(stops[s])].name;
    };

    // fares[i][j]: boarding at stop i, alighting at stop j > i.
    const FareFinder finder(feed, route);
    std::vector<std::vector<Fare>> fares(n, std::vector<Fare>(n));
    QStringList missing;
    int missingCount = 0, flatCount = 0, pairs = 0;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            ++pairs;
            std::optional<int> fare = finder.fare(stops, i, j);
            if (!fare && finder.onlyFare()) {
                fare = finder.onlyFare();
                ++flatCount;
            }
            if (!fare) {
                if (++missingCount <= kPairsNamed)
                    missing << stopName(i) + QStringLiteral(" → ") + stopName(j);
                continue;
            }
            const GtfsFeed::Fare& priced = feed.fares()[std::size_t(*fare)];
            if (priced.price != std::round(priced.price) || priced.price < 0 ||
                priced.price > std::numeric_limits<qint16>::max())
                return RuntimeError(RuntimeError::Overflow,
                                    QStringLiteral("the fare %1 costs %2; a fare data file holds "
                                                   "whole fares from 0 to %3")
                                        .arg(priced.id)
                                        .arg(priced.price)
                                        .arg(std::numeric_limits<qint16>::max()));
            fares[i][j] = qint16(priced.price);
        }
    }
    if (flatCount > 0)
        made.warnings << QStringLiteral("the route's fare rules name one fare only (%1, %2): it "
                                        "is taken for every pair of stops, also the %3 of %4 "
                                        "pairs its rules do not name")
                             .arg(feed.fares()[std::size_t(*finder.onlyFare())].id)
                             .arg(feed.fares()[std::size_t(*finder.onlyFare())].price)
                             .arg(flatCount)
                             .arg(pairs);
    if (missingCount > 0)
        made.warnings << QStringLiteral("no fare for %1 of %2 pairs of stops, left blank: %3%4")
                             .arg(missingCount)
                             .arg(pairs)
                             .arg(missing.join(QStringLiteral(", ")))
                             .arg(missingCount > kPairsNamed ? QStringLiteral(", …") : QString());

    // The number a passenger boarding at each stop takes.
    std::vector<int> number(n);
    for (std::size_t i = 0; i < n; ++i) {
        bool sameSection = i > 0 && tickets == Tickets::BySection;
        for (std::size_t k = i + 1; sameSection && k < n; ++k)
            sameSection = fares[i - 1][k] == fares[i][k];
        number[i] = i == 0 ? 1 : number[i - 1] + (sameSection ? 0 : 1);
    }
    made.ticketNumbers = n == 0 ? 0 : number[n - 1];
    if (made.ticketNumbers > kMaxTicketNumbers)
        return RuntimeError(
            RuntimeError::SubscriptOutOfRange,
            QStringLiteral("the pattern needs %1 ticket numbers; the display has %2")
                .arg(made.ticketNumbers)
                .arg(kMaxTicketNumbers));
    // The first stop that issues each number.
    std::vector<std::size_t> firstIssued;
    for (std::size_t i = 0; i < n; ++i)
        if (firstIssued.size() < std::size_t(number[i]))
            firstIssued.push_back(i);

    for (std::size_t j = 0; j < n; ++j) {
        FareRecord& record = made.records.emplace_back();
        QStringList replaced;
        record.StopName = forShiftJis(stopName(j), replaced);
        if (!replaced.isEmpty())
            made.warnings << QStringLiteral("stop %1 (%2): %3")
                                 .arg(j + 1)
                                 .arg(stopName(j), replaced.join(QStringLiteral(", ")));
        record.SeiriNum = qint16(number[j]);
        // A number first issued here, like one not issued yet, has no passenger alighting.
        for (std::size_t k = 0; k < firstIssued.size() && firstIssued[k] < j; ++k) {
            const Fare& fare = fares[firstIssued[k]][j];
            record.Fare[k + 1] = fare.value_or(0);
            if (fare && (made.highestFare == 0 || *fare < made.lowestFare))
                made.lowestFare = *fare;
            if (fare)
                made.highestFare = std::max<int>(made.highestFare, *fare);
        }
    }

    // The opening, then the next stop before each stop after the first, linked to its fares.
    const GtfsFeed::Trip& trip = feed.trips()[std::size_t(pattern.trips.front())];
    QString towards =
        trip.headsign.isEmpty() ? feed.stopReading(stops.back()) : feed.reading(trip.headsign);
    if (!towards.endsWith(u'行') && !towards.endsWith(QStringLiteral("行き")) &&
        !towards.contains(QStringLiteral("循環")) &&
        !towards.contains(QStringLiteral("じゅんかん")))
        towards += QStringLiteral("行き");
    QStringList replaced;
    made.announcements.push_back(
        {forShiftJis(
             QStringLiteral("ご乗車ありがとうございます。このバスは、%1です。").arg(towards),
             replaced),
         0, 0});
    for (std::size_t j = 1; j < n; ++j)
        made.announcements.push_back(
            {forShiftJis(QStringLiteral("次は、%1です。").arg(feed.stopReading(stops[j])),
                         replaced),
             1, 1});
    if (!replaced.isEmpty())
        made.warnings
            << QStringLiteral("announcements: %1").arg(replaced.join(QStringLiteral(", ")));
    return made;
}

} // namespace RouteImport
