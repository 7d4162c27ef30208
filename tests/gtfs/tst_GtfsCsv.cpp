#include "gtfs/GtfsCsv.h"

#include <QTest>

class tst_GtfsCsv : public QObject {
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
};

QTEST_GUILESS_MAIN(tst_GtfsCsv)
#include "tst_GtfsCsv.moc"
