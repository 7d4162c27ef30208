#include "SmallFeeds.h"
#include "gtfs/FeedFiles.h"
#include "gtfs/GtfsCsv.h"
#include "gtfs/GtfsFeed.h"
#include "gtfs/RouteImport.h"
#include "platform/SafeSave.h"

#include <QTemporaryDir>
#include <QTest>

using RouteImport::Tickets;
using SmallFeeds::Files;

namespace {

Result<GtfsFeed> feedOf(const Files& files) {
    return GtfsFeed::read(SmallFeeds::inZip(SmallFeeds::line(files)));
}

QString refusal(const Files& files) {
    const Result<GtfsFeed> feed = feedOf(files);
    return feed ? QStringLiteral("read") : feed.error().description();
}

const QByteArray kFares = "fare_id,price\nF1,100\nF2,200\nF3,300\nF9,900\n";

Result<RouteImport::Route> imported(const GtfsFeed& feed, const QString& route,
                                    Tickets tickets = Tickets::BySection) {
    const int r = feed.route(route);
    return RouteImport::build(feed, r, feed.patterns(r).front(), tickets);
}

Result<RouteImport::Route> imported(const Files& files, Tickets tickets = Tickets::BySection) {
    return imported(feedOf(files).valueOrThrow(), QStringLiteral("R"), tickets);
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

class tst_Gtfs : public QObject {
    Q_OBJECT
private slots:
    void readsCsvAsPublished() {
        // A byte-order mark, CR LF, a quoted comma, a doubled quote, a line break in quotes,
        // a blank line, blanks around a field, a row that ends early.
        GtfsCsv csv = GtfsCsv::open(QStringLiteral("stops.txt"), "\xEF\xBB\xBFstop_name,stop_id\r\n"
                                                                 "\"A, \"\"north\"\"\",1\r\n\r\n"
                                                                 "\"two\nlines\", 2 \r\n"
                                                                 "short\n")
                          .valueOrThrow();
        QCOMPARE(csv.column(u"stop_id"), 1);
        QCOMPARE(csv.column(u"zone_id"), -1);
        QList<QStringList> rows;
        while (csv.next())
            rows << QStringList{csv.field(0), csv.field(1), csv.field(-1),
                                QString::number(csv.line())};
        QVERIFY(!csv.error());
        QCOMPARE(rows,
                 (QList<QStringList>{
                     {QStringLiteral("A, \"north\""), QStringLiteral("1"), {}, QStringLiteral("2")},
                     {QStringLiteral("two\nlines"), QStringLiteral("2"), {}, QStringLiteral("4")},
                     {QStringLiteral("short"), {}, {}, QStringLiteral("6")}}));
    }

    void refusesWithFileLineAndColumn() {
        QVERIFY(!GtfsCsv::open(QStringLiteral("stops.txt"), ""));
        GtfsCsv csv = GtfsCsv::open(QStringLiteral("stops.txt"), "stop_id,stop_name\nA,x\n\"B,y\n")
                          .valueOrThrow();
        QCOMPARE(csv.required(u"zone_id").error().description(),
                 QStringLiteral("stops.txt, line 1: the column zone_id is missing"));
        QVERIFY(csv.next());
        QCOMPARE(csv.refusal(1, QStringLiteral("bad")).description(),
                 QStringLiteral("stops.txt, line 2, column 2 (stop_name): bad"));
        QVERIFY(!csv.next());
        QCOMPARE(csv.error()->description(),
                 QStringLiteral("stops.txt, line 3: a quoted field is never closed"));
    }

    void readsZipsAndFolders() {
        const SmallFeeds::Files files{{QStringLiteral("stops.txt"), "stop_id\nA\n"}};
        QTemporaryDir dir;
        const QString zip = dir.filePath(QStringLiteral("feed.zip"));
        SafeSave::write(zip, SmallFeeds::zipped(files)).valueOrThrow();
        // Feeds are often zipped with their folder, and named in capitals.
        const QString nested = dir.filePath(QStringLiteral("nested.zip"));
        SafeSave::write(nested, SmallFeeds::zipped({{QStringLiteral("STOPS.TXT"), "stop_id\nA\n"}},
                                                   QStringLiteral("feed/")))
            .valueOrThrow();
        // Folders are read in the sample's import.
        for (const QString& path : {zip, nested}) {
            const FeedFiles feed = FeedFiles::open(path).valueOrThrow();
            QCOMPARE(feed.read(QStringLiteral("stops.txt")).valueOrThrow(),
                     std::optional<QByteArray>("stop_id\nA\n"));
            QCOMPARE(feed.read(QStringLiteral("routes.txt")).valueOrThrow(),
                     std::optional<QByteArray>());
        }
    }

    void refusesDamagedZips() {
        const QByteArray good = SmallFeeds::zipped(
            {{QStringLiteral("stops.txt"), QByteArray("stop_id\n").repeated(100)}});
        QVERIFY(!FeedFiles::fromZip(QStringLiteral("x.zip"), "not a zip"));
        QVERIFY(!FeedFiles::fromZip(QStringLiteral("x.zip"), good.left(good.size() / 2)));
        // A changed byte of the stored data fails its check when the file is read.
        QByteArray flipped = good;
        const qsizetype data = flipped.indexOf("stop_id");
        QVERIFY(data > 0);
        flipped[data] = 'X';
        const Result<FeedFiles> opened = FeedFiles::fromZip(QStringLiteral("x.zip"), flipped);
        QVERIFY(opened);
        const auto read = opened.value().read(QStringLiteral("stops.txt"));
        QVERIFY(!read);
        QVERIFY2(read.error().description().contains(QStringLiteral("stops.txt is damaged")),
                 qPrintable(read.error().description()));
        QCOMPARE(FeedFiles::open(QStringLiteral("/nonexistent/feed.zip")).error().number(),
                 int(RuntimeError::FileNotFound));
    }

    void refusesFeedsItCannotUse() {
        QCOMPARE(refusal({{QStringLiteral("stop_times.txt"),
                           "trip_id,stop_id,stop_sequence\nT1,A,1\nT1,X,2\n"}}),
                 QStringLiteral("stop_times.txt, line 3, column 2 (stop_id): no stop X in "
                                "stops.txt"));
        QCOMPARE(refusal({{QStringLiteral("stop_times.txt"),
                           "trip_id,stop_id,stop_sequence\nT1,A,first\n"}}),
                 QStringLiteral("stop_times.txt, line 2, column 3 (stop_sequence): a "
                                "stop_sequence is a whole number"));
        QCOMPARE(refusal({{QStringLiteral("fare_attributes.txt"), "fare_id,price\nF,200\n"},
                          {QStringLiteral("fare_rules.txt"), "fare_id,route_id\nG,R\n"}}),
                 QStringLiteral("fare_rules.txt, line 2, column 1 (fare_id): no fare G in "
                                "fare_attributes.txt"));
        QCOMPARE(refusal({{QStringLiteral("trips.txt"), "route_id,trip_id\nQ,T1\n"}}),
                 QStringLiteral("trips.txt, line 2, column 1 (route_id): no route Q in "
                                "routes.txt"));
        Files noStops = SmallFeeds::line();
        noStops.remove(QStringLiteral("stops.txt"));
        QCOMPARE(GtfsFeed::read(SmallFeeds::inZip(noStops)).error().description(),
                 QStringLiteral("stops.txt: the feed has no such file"));
    }

    void findsPatternsMostTripsFirst() {
        // T1 and T3 stop alike; T2 runs the other way, T4 the same stops in the other direction.
        const GtfsFeed feed =
            feedOf({{QStringLiteral("trips.txt"),
                     "trip_id,route_id,direction_id\nT1,R,0\nT2,R,1\nT3,R,0\nT4,R,1\n"},
                    {QStringLiteral("stop_times.txt"),
                     "trip_id,stop_sequence,stop_id\nT1,2,B\nT1,1,A\nT1,5,C\nT2,1,C\nT2,2,A\n"
                     "T3,1,A\nT3,2,B\nT3,3,C\nT4,1,A\nT4,2,B\nT4,3,C\n"}})
                .valueOrThrow();
        const std::vector<GtfsFeed::Pattern> patterns = feed.patterns(feed.route(u"R"_qs));
        QCOMPARE(patterns.size(), std::size_t(3));
        QCOMPARE(patterns[0].trips, (std::vector<int>{0, 2}));
        QCOMPARE(patterns[0].stops, (std::vector<int>{0, 1, 2}));
        QCOMPARE(patterns[1].trips, (std::vector<int>{1}));
        QCOMPARE(patterns[1].stops, (std::vector<int>{2, 0}));
        QCOMPARE(patterns[2].direction, 1);
        QCOMPARE(patterns[2].stops, (std::vector<int>{0, 1, 2}));
    }

    void readsReadingsInBothForms() {
        const GtfsFeed jp =
            feedOf({{QStringLiteral("translations.txt"),
                     "trans_id,lang,translation\n駅前,ja-Hrkt,えきまえ\n本,ja-Hrkt,ほん\n"
                     "本町,ja-Hrkt,ほんまち\n本町,en,Honmachi\n"}})
                .valueOrThrow();
        QCOMPARE(jp.stopReading(0), QStringLiteral("えきまえ"));
        // Longest pieces first, the rest as written.
        QCOMPARE(jp.reading(QStringLiteral("本町駅前西")), QStringLiteral("ほんまちえきまえ西"));
        QCOMPARE(jp.stopReading(2), QStringLiteral("市役所"));

        const GtfsFeed gtfs =
            feedOf({{QStringLiteral("translations.txt"),
                     "table_name,field_name,language,translation,record_id,field_value\n"
                     "stops,stop_name,ja-Hrkt,しやくしょ,C,\n"
                     "stops,stop_name,ja-Hrkt,えきまえ,,駅前\n"
                     "stops,stop_name,en,Station,A,\n"}})
                .valueOrThrow();
        QCOMPARE(gtfs.stopReading(0), QStringLiteral("えきまえ"));
        QCOMPARE(gtfs.stopReading(2), QStringLiteral("しやくしょ"));
        QCOMPARE(gtfs.stopReading(1), QStringLiteral("本町"));
    }

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

QTEST_GUILESS_MAIN(tst_Gtfs)
#include "tst_Gtfs.moc"
