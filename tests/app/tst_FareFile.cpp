#include "app/DataIo.h"
#include "app/FareFile.h"
#include "support/FileSupport.h"

#include <QTest>

namespace {

const QString kFixtures = QStringLiteral(Q57_SOURCE_DIR "/tests/data/fare");

bool sameRoute(const DataIo& a, const DataIo& b) {
    if (a.StopCount != b.StopCount || a.CurStop != b.CurStop)
        return false;
    for (int row = 1; row <= DataIo::kTableRows; ++row)
        if (a.FareTable(row) != b.FareTable(row))
            return false;
    return true;
}

} // namespace

class tst_FareFile : public QObject {
    Q_OBJECT
private slots:
    void fixtureGivesItsOutcome_data() {
        TestSupport::addFixtureRows(kFixtures, QStringLiteral("*.hy3"));
    }
    void fixtureGivesItsOutcome() {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        // A route already set and stepped on: a refusal must not move the display back.
        DataIo data;
        data.StartSection = 1;
        QVERIFY(data.LoadFareFile(kFixtures + QStringLiteral("/three-stops.hy3")));
        data.CurStop = 1;
        const DataIo before = data;
        const Result<void> loaded = data.LoadFareFile(file);
        QString shown = loaded ? QStringLiteral("loads %1 records").arg(data.StopCount)
                               : QStringLiteral("error %1, %2")
                                     .arg(loaded.error().number())
                                     .arg(loaded.error().description());
        QCOMPARE(shown.replace(u'\n', QStringLiteral("\\n")).simplified(), outcome);
        if (!loaded) {
            QVERIFY(sameRoute(data, before));
            return;
        }
        QCOMPARE(data.CurStop, 0);
        for (int rest = data.StopCount + 1; rest <= DataIo::kTableRows; ++rest)
            QCOMPARE(data.FareTable(rest), FareRecord{});
    }

    void encodeRefusesWhatTheFileCannotHold() {
        std::vector<FareRecord> stops(FareFile::kMaxRecords);
        stops.back().StopName = QString(65535, u'a');
        stops.back().Fare[150] = -32768;
        const QByteArray bytes = FareFile::encode(stops).valueOrThrow();
        QCOMPARE(FareFile::records(bytes, FareFile::recordCount(bytes).valueOrThrow()).value(),
                 stops);

        // The stop name, the number of stops, and what the refusal says.
        const std::tuple<QString, int, int, QString> cases[] = {
            {QString(), 302, RuntimeError::SubscriptOutOfRange,
             QStringLiteral("more than 301 stops")},
            {QStringLiteral("한국"), 301, RuntimeError::InvalidProcedureCall,
             QStringLiteral("stop 301: the stop name has characters Shift-JIS lacks")},
            {QString(65536, u'a'), 301, RuntimeError::Overflow,
             QStringLiteral("stop 301: the stop name is too long")},
        };
        for (const auto& [name, count, error, description] : cases) {
            stops.resize(std::size_t(count));
            stops.back().StopName = name;
            const Result<QByteArray> refused = FareFile::encode(stops);
            QVERIFY2(!refused, qPrintable(description));
            QCOMPARE(std::pair(refused.error().number(), refused.error().description()),
                     std::pair(error, description));
        }
    }
};

QTEST_GUILESS_MAIN(tst_FareFile)
#include "tst_FareFile.moc"
