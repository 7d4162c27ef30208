#include "app/DataIo.h"
#include "app/FareDisplay.h"
#include "platform/RuntimeError.h"

#include <QTest>

class tst_DataIo : public QObject {
    Q_OBJECT
private slots:
    void pathsAndFields() {
        DataIo data;
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
        QList<qint16> night;
        for (qint16 fare : {180, -1, -2, 16384, -20000})
            night << FareDisplay::nightFare(fare);
        QCOMPARE(night, QList<qint16>({360, -1, -4, 32767, -32768}));
    }

    // The fares from the section on, then the information digits over the positions they name.
    void positionValuesOfARecord() {
        using Values = std::vector<std::pair<int, QVariant>>;
        DataIo data;
        data.RouteNo = QStringLiteral("00012");
        data.StartSection = 59;
        data.SetFareField(2, 2, 7);
        for (auto [column, fare] : {std::pair{5, 230}, {59, 180}, {60, -1}})
            data.SetFareField(2, column + 2, fare);
        IniRecord s;
        QCOMPARE(FareDisplay::positionValues(data, 2, s, false),
                 Values({{59, 180}, {60, -1}, {61, 0}}));
        // At night no fare stays no fare.
        QCOMPARE(FareDisplay::positionValues(data, 2, s, true),
                 Values({{59, 360}, {60, -1}, {61, 0}}));
        s.InfoOrderOn = s.InfoSeiriNumOn = s.InfoRouteOn = s.InfoColumnOn = 1;
        s.InfoOrderFromZero = -1;
        s.InfoSeiriNumSlot = 1;
        s.InfoRouteSlot = 2;
        s.InfoColumnSlot = 3;
        s.InfoColumn = 4;
        QCOMPARE(FareDisplay::positionValues(data, 2, s, false),
                 Values({{59, 180}, {60, -1}, {61, 0}, {1, 1}, {2, 7}, {3, "00012"}, {4, 230}}));
        data.StartSection = 1;
        s.InfoOrderFromZero = 0;
        QCOMPARE(FareDisplay::positionValues(data, 2, s, false)[61], std::pair(1, QVariant(2)));
    }
};

QTEST_GUILESS_MAIN(tst_DataIo)
#include "tst_DataIo.moc"
