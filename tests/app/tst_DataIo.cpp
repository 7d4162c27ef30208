#include "app/DataIo.h"
#include "app/FareDisplay.h"
#include "app/FareFileBytes.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using FareFileBytes::count;
using FareFileBytes::record;
using FareFileBytes::simpleRoute;
using Result = DataIo::LoadResult;

class tst_DataIo : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            qFatal("cannot write the fixture");
        return path;
    }

private slots:
    void loadsRecordsAndEmptiesTheRest() {
        DataIo data;
        data.StartSection = 1;
        QCOMPARE(data.LoadFareFile(file("long.hy3", simpleRoute(5))), Result::Loaded);

        // 駅前 in Shift-JIS, an empty name, fare -1 and column 150, bytes after the last record.
        QByteArray second = record(QByteArray(), 7, {});
        second.replace(second.size() - 2, 2, QByteArray("\x2C\x01", 2));
        const QByteArray bytes = count(2) + record("\x89\x77\x91\x4F", 12, {180, -1, 32767}) +
                                 second + QByteArray("trailing");
        QCOMPARE(data.LoadFareFile(file("two.hy3", bytes)), Result::Loaded);
        QCOMPARE(data.StopCount, 2);
        QCOMPARE(data.CurStop, 0);
        QCOMPARE(data.FareTable(1).StopName, QStringLiteral("駅前"));
        QCOMPARE(data.FareTable(1).SeiriNum, 12);
        QCOMPARE(data.FareTable(1).Fare[1], 180);
        QCOMPARE(data.FareTable(1).Fare[2], -1);
        QCOMPARE(data.FareTable(1).Fare[3], 32767);
        QCOMPARE(data.FareTable(2).StopName, QString());
        QCOMPARE(data.FareTable(2).Fare[150], 300);
        for (int row : {3, 5, 301})
            QCOMPARE(data.FareTable(row), FareRecord{});
    }

    void refusalsLeaveTheRouteAsItWas() {
        DataIo data;
        data.StartSection = 2;
        QCOMPARE(data.LoadFareFile(file("ten.hy3", simpleRoute(10))), Result::Loaded);
        data.CurStop = 6;
        const FareRecord fourth = data.FareTable(4);

        const QByteArray cut = simpleRoute(3);
        const struct {
            QByteArray bytes;
            int section;
            Result result;
        } cases[] = {
            {count(0), 1, Result::NoRecords},
            {simpleRoute(1), 1, Result::SectionTooLarge},
            {count(-3) + record("A", 1, {}), 1, Result::SectionTooLarge},
            {simpleRoute(10), 10, Result::SectionTooLarge},
            {count(302), 1, Result::TooManyRecords},
            {cut.left(cut.size() - 1), 1, Result::Truncated},
            {count(2) + record("A", 1, {}) +
                 QByteArray("\x10\x00"
                            "ABC",
                            5),
             1, Result::Truncated},
            {QByteArray("\x02", 1), 1, Result::Truncated},
        };
        for (const auto& c : cases) {
            data.StartSection = qint16(c.section);
            QCOMPARE(data.LoadFareFile(file("refused.hy3", c.bytes)), c.result);
            QCOMPARE(data.StopCount, 10);
            QCOMPARE(data.CurStop, 6);
            QCOMPARE(data.FareTable(4), fourth);
        }
        data.StartSection = 9;
        QCOMPARE(data.LoadFareFile(file("ten.hy3", simpleRoute(10))), Result::Loaded);
        QCOMPARE(data.CurStop, 8);

        try {
            data.LoadFareFile(dir_.filePath("none.hy3"));
            QFAIL("a missing file was read");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), int(RuntimeError::FileNotFound));
        }
    }

    void pathsAndFields() {
        DataIo data;
        data.RouteNo = QStringLiteral("00012");
        QCOMPARE(data.FareFilePath(QStringLiteral("/data/fares")),
                 QStringLiteral("/data/fares/12.hy3"));
        QCOMPARE(data.FareFilePath(QStringLiteral("/data/fares/")),
                 QStringLiteral("/data/fares/12.hy3"));
        data.RouteNo.clear();
        QCOMPARE(data.FareFilePath(QString()), QStringLiteral("0.hy3"));

        data.SetFareField(301, 152, 77);
        QCOMPARE(data.FareTable(301).Fare[150], 77);
        for (auto [row, column] : {std::pair{0, 1}, {302, 1}, {1, 0}, {1, 153}}) {
            try {
                data.SetFareField(row, column, 1);
                QFAIL("a field outside the table was written");
            } catch (const RuntimeError& error) {
                QCOMPARE(error.number(), int(RuntimeError::SubscriptOutOfRange));
            }
        }
    }

    void nightFareStaysInRange() {
        QCOMPARE(FareDisplay::nightFare(180), 360);
        QCOMPARE(FareDisplay::nightFare(-1), -1);
        QCOMPARE(FareDisplay::nightFare(-2), -4);
        QCOMPARE(FareDisplay::nightFare(16384), 32767);
        QCOMPARE(FareDisplay::nightFare(-20000), -32768);
    }
};

QTEST_GUILESS_MAIN(tst_DataIo)
#include "tst_DataIo.moc"
