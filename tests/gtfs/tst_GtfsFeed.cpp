#include "SmallFeeds.h"
#include "gtfs/GtfsFeed.h"

#include <QTest>

using SmallFeeds::Files;

namespace {

Result<GtfsFeed> feedOf(const Files& files) {
    return GtfsFeed::read(SmallFeeds::inZip(SmallFeeds::line(files)));
}

QString refusal(const Files& files) {
    const Result<GtfsFeed> feed = feedOf(files);
    return feed ? QStringLiteral("read") : feed.error().description();
}

} // namespace

class tst_GtfsFeed : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(tst_GtfsFeed)
#include "tst_GtfsFeed.moc"
