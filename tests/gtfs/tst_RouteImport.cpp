#include "SmallFeeds.h"
#include "gtfs/RouteImport.h"

#include <QTest>

using RouteImport::Tickets;
using SmallFeeds::Files;

namespace {

const QByteArray kFares = "fare_id,price\nF1,100\nF2,200\nF3,300\nF9,900\n";

Result<RouteImport::Route> imported(const GtfsFeed& feed, const QString& route,
                                    Tickets tickets = Tickets::BySection) {
    const int r = feed.route(route);
    return RouteImport::build(feed, r, feed.patterns(r).front(), tickets);
}

Result<RouteImport::Route> imported(const Files& files, Tickets tickets = Tickets::BySection) {
    return imported(GtfsFeed::read(SmallFeeds::inZip(SmallFeeds::line(files))).valueOrThrow(),
                    QStringLiteral("R"), tickets);
}

// Ticket number and the fares of columns 1 to 4 of each record.
QList<QList<int>> table(const RouteImport::Route& route) {
    QList<QList<int>> rows;
    for (const FareRecord& record : route.records)
        rows << QList<int>{record.SeiriNum, record.Fare[1], record.Fare[2], record.Fare[3],
                           record.Fare[4]};
    return rows;
}

Files withRules(const QByteArray& rules) {
    return {{QStringLiteral("fare_attributes.txt"), kFares},
            {QStringLiteral("fare_rules.txt"), rules}};
}

// A line of that many stops and no fares.
Files longLine(int stops) {
    QByteArray stopsTxt = "stop_id,stop_name\n", times = "trip_id,stop_id,stop_sequence\n";
    for (int s = 0; s < stops; ++s) {
        stopsTxt += QByteArray::number(s) + ",S" + QByteArray::number(s) + "\n";
        times += "T1," + QByteArray::number(s) + "," + QByteArray::number(s) + "\n";
    }
    return {{QStringLiteral("stops.txt"), stopsTxt}, {QStringLiteral("stop_times.txt"), times}};
}

} // namespace

class tst_RouteImport : public QObject {
    Q_OBJECT
private slots:
    void numbersTicketsByFareSection() {
        // A and B pay alike to C and D: one section. The number first issued at a stop shows
        // nothing there.
        const Files zones = withRules("fare_id,origin_id,destination_id\nF1,ZA,ZB\nF2,ZA,ZC\n"
                                      "F3,ZA,ZD\nF2,ZB,ZC\nF3,ZB,ZD\nF1,ZC,ZD\n");
        const RouteImport::Route bySection = imported(zones).valueOrThrow();
        QCOMPARE(table(bySection),
                 (QList<QList<int>>{
                     {1, 0, 0, 0, 0}, {1, 100, 0, 0, 0}, {2, 200, 0, 0, 0}, {2, 300, 100, 0, 0}}));
        QCOMPARE(bySection.ticketNumbers, 2);
        QCOMPARE(bySection.lowestFare, 100);
        QCOMPARE(bySection.highestFare, 300);
        QVERIFY(bySection.warnings.isEmpty());
        const RouteImport::Route byStop = imported(zones, Tickets::ByStop).valueOrThrow();
        QCOMPARE(
            table(byStop),
            (QList<QList<int>>{
                {1, 0, 0, 0, 0}, {2, 100, 0, 0, 0}, {3, 200, 200, 0, 0}, {4, 300, 300, 100, 0}}));
    }

    void matchesRulesAsGtfsDoes() {
        // A rule of the route before a general one; a route-only rule for every other pair.
        QCOMPARE(table(imported(withRules("fare_id,route_id,origin_id,destination_id\n"
                                          "F9,,ZA,ZB\nF1,R,ZA,ZB\nF2,R,,\n"))
                           .valueOrThrow()),
                 (QList<QList<int>>{
                     {1, 0, 0, 0, 0}, {1, 100, 0, 0, 0}, {1, 200, 0, 0, 0}, {1, 200, 0, 0, 0}}));
        // contains_id: the zones a ride passes, all of them and no others.
        const RouteImport::Route contains =
            imported(withRules("fare_id,origin_id,destination_id,contains_id\n"
                               "F3,,,ZA\nF3,,,ZB\nF3,,,ZC\nF1,,,ZA\nF1,,,ZB\nF2,,,ZB\nF2,,,ZC\n"
                               "F2,,,ZD\nF9,,,\n"),
                     Tickets::ByStop)
                .valueOrThrow();
        QCOMPARE(contains.records[1].Fare[1], qint16(100)); // A-B
        QCOMPARE(contains.records[2].Fare[1], qint16(300)); // A-B-C
        QCOMPARE(contains.records[3].Fare[1], qint16(900)); // A-D: no group
        QCOMPARE(contains.records[3].Fare[2], qint16(200)); // B-C-D

        // Pairs without a fare stay blank and are named.
        const RouteImport::Route missing =
            imported(withRules("fare_id,origin_id,destination_id\nF1,ZA,ZB\nF2,ZA,ZC\n"))
                .valueOrThrow();
        QCOMPARE(missing.records[3].Fare[1], qint16(0));
        QCOMPARE(missing.warnings,
                 QStringList{QStringLiteral("no fare for 4 of 6 pairs of stops, left blank: 駅前 → "
                                            "終点, 本町 → 市役所, 本町 → 終点, …")});
    }

    void refusesWhatTheFileCannotHold() {
        QVERIFY(imported(longLine(61), Tickets::ByStop));
        QCOMPARE(imported(longLine(62), Tickets::ByStop).error().description(),
                 QStringLiteral("the pattern needs 62 ticket numbers; the display has 61"));
        QCOMPARE(imported(longLine(302)).error().description(),
                 QStringLiteral("the pattern has 302 stops; a fare data file holds 301"));
        Files big = withRules("fare_id,route_id\nBIG,R\n");
        big[QStringLiteral("fare_attributes.txt")] = "fare_id,price\nBIG,32768\n";
        QCOMPARE(imported(big).error().number(), int(RuntimeError::Overflow));
    }

    void replacesWhatShiftJisLacks() {
        QStringList replaced;
        QCOMPARE(
            RouteImport::forShiftJis(QStringLiteral("𠮷野家前㋿葛\U000E0100①"), replaced),
            QStringLiteral("〓野家前令和葛①"));
        QCOMPARE(replaced,
                 (QStringList{QStringLiteral("𠮷 → 〓"), QStringLiteral("㋿ → 令和")}));
        const RouteImport::Route route =
            imported({{QStringLiteral("stops.txt"),
                       "stop_id,stop_name\nA,𠮷田\nB,本町\nC,市役所\nD,終点\n"}})
                .valueOrThrow();
        QCOMPARE(route.records[0].StopName, QStringLiteral("〓田"));
        QVERIFY(route.warnings.contains(QStringLiteral("stop 1 (𠮷田): 𠮷 → 〓")));
    }

    void importsTheSample() {
        const QString folder = QStringLiteral(Q57_SOURCE_DIR "/data/gtfs-sample");
        const GtfsFeed feed = GtfsFeed::read(FeedFiles::open(folder).valueOrThrow()).valueOrThrow();
        const RouteImport::Route route = imported(feed, QStringLiteral("21000-0")).valueOrThrow();
        QCOMPARE(route.records.size(), std::size_t(21));
        QVERIFY(route.warnings.isEmpty());
        // The ticket numbers, the fares from the first stop and those to the last, as the
        // sample's fare rules give them.
        QList<int> numbers, fromFirst, toLast;
        for (const FareRecord& record : route.records) {
            numbers << record.SeiriNum;
            fromFirst << record.Fare[1];
        }
        for (int number = 1; number <= 10; ++number)
            toLast << route.records.back().Fare[std::size_t(number)];
        QCOMPARE(numbers,
                 (QList<int>{1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10}));
        QCOMPARE(fromFirst, (QList<int>{0,   190, 200, 200, 210, 210, 220, 220, 230, 230, 240,
                                        240, 250, 250, 260, 260, 260, 270, 270, 270, 280}));
        QCOMPARE(toLast, (QList<int>{280, 270, 260, 250, 240, 230, 220, 210, 200, 190}));

        // 川56: one rule from its only zone to itself, a fare for the whole route.
        const RouteImport::Route circle = imported(feed, QStringLiteral("25000-1")).valueOrThrow();
        QCOMPARE(circle.ticketNumbers, 1);
        QCOMPARE(circle.records.back().Fare[1], qint16(210));
        QCOMPARE(circle.warnings.size(), 1);
        QVERIFY(
            circle.warnings[0].startsWith(QStringLiteral("the route's fare rules name one fare")));
    }
};

QTEST_GUILESS_MAIN(tst_RouteImport)
#include "tst_RouteImport.moc"
