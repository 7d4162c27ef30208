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
        QCOMPARE(FareDisplay::nightFare(180), 360);
        QCOMPARE(FareDisplay::nightFare(-1), -1);
        QCOMPARE(FareDisplay::nightFare(-2), -4);
        QCOMPARE(FareDisplay::nightFare(16384), 32767);
        QCOMPARE(FareDisplay::nightFare(-20000), -32768);
    }
};

QTEST_GUILESS_MAIN(tst_DataIo)
#include "tst_DataIo.moc"
