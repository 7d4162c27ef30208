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
        const QString five = file("five.hy3", simpleRoute(5));
        QVERIFY(data.LoadFareFile(five));

        // 駅前 in Shift-JIS, an empty name, fare -1 and column 150, bytes after the last record.
        QByteArray second = record(QByteArray(), 7, {});
        second.replace(second.size() - 2, 2, QByteArray("\x2C\x01", 2));
        const QByteArray bytes = count(2) + record("\x89\x77\x91\x4F", 12, {180, -1, 32767}) +
                                 second + QByteArray("trailing");
        QVERIFY(data.LoadFareFile(file("two.hy3", bytes)));
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

        // The first record shown is the section entered, and the file must hold more records
        // than that number.
        data.StartSection = 5;
        const Result<void> refused = data.LoadFareFile(five);
        QVERIFY(!refused);
        QCOMPARE(refused.error().number(), int(DataIo::SectionTooLarge));
        QCOMPARE(data.StopCount, 2);
        data.StartSection = 4;
        QVERIFY(data.LoadFareFile(five));
        QCOMPARE(data.CurStop, 3);
        QCOMPARE(data.FareTable(4).Fare[3], 403);
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
