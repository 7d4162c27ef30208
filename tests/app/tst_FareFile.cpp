#include "announce/mdlM_Tape.h"
#include "app/DataIo.h"
#include "app/FareDisplay.h"
#include "app/FareFile.h"
#include "app/FareFileBytes.h"
#include "app/Ride.h"
#include "app/RouteSetting.h"
#include "panel/DisplayPanel.h"
#include "support/Fakes.h"
#include "support/FileSupport.h"

#include <QDir>
#include <QtTest>
#include <map>

using namespace FareFileBytes;
using TestSupport::FakeSounds;
using Played = TestSupport::FakeSounds::Played;
using mdlSndAPI::Alias;

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

// A display panel that keeps what it shows, and a line for each name on the strip.
class FakePanel : public DisplayPanel {
public:
    void setFare(int position, const QVariant& value) override { fares[position] = value; }
    void setStripName(const QString& name) override { events << QStringLiteral("strip ") + name; }
    void lampTest() override { fares.clear(); }
    void blank() override { fares.clear(); }
    void unblank() override {}

    // The values at the positions, an empty QVariant where nothing was written.
    QVariantList at(std::initializer_list<int> positions) const {
        QVariantList shown;
        for (int position : positions)
            shown << (fares.count(position) != 0 ? fares.at(position) : QVariant());
        return shown;
    }

    std::map<int, QVariant> fares;
    QStringList events;
};

struct Rig {
    QTemporaryDir folder;
    FakePanel panel;
    FakeSounds sounds;
    TestSupport::SpeechLog speech;
    TestSupport::FakeSettings settings;
    mdlM_Tape tape{settings, sounds,
                   [this] { return std::make_unique<TestSupport::FakeSpeech>(speech); }};
    Ride ride{panel, settings, sounds, tape};

    Rig() {
        tape.InitSpeech([](const QString&, bool) {});
        ride.setLampTestMilliseconds(0);
        settings.record.FareDataDir = settings.record.TapeDataDir = folder.path();
        settings.record.SoundRouteSet = QStringLiteral("route.wav");
        settings.record.StepSoundAlways = -1;
        settings.record.StepSoundFile = QStringLiteral("step.wav");
    }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    // The message of a refused route, empty when it was set.
    QString set(const QString& route, const QString& section) {
        const std::optional<Ride::Refusal> refused = ride.setRoute(route, section);
        return refused ? refused->message : QString();
    }
    int stop() const { return ride.data().CurStop; }
};

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

    void entryIsCorrected() {
        QCOMPARE(RouteSetting::appendDigit(QStringLiteral("0001"), 2, 5), QStringLiteral("00012"));
        QCOMPARE(RouteSetting::appendDigit(QStringLiteral("00012"), 3, 5), QStringLiteral("00012"));
        QCOMPARE(RouteSetting::appendDigit(QString(), 0, 3), QStringLiteral("0"));
        const std::pair<qint64, qint16> sections[] = {
            {0, 1}, {1, 1}, {300, 300}, {301, 300}, {999, 300}};
        for (const auto& [entered, section] : sections)
            QCOMPARE(RouteSetting::clampSection(entered), section);
        // From the keypad or a list, the files are named by the number itself.
        QCOMPARE(RouteSetting::routeText(QStringLiteral("00012")), QStringLiteral("12"));
        QCOMPARE(RouteSetting::routeText(QStringLiteral("12")), QStringLiteral("12"));
        QCOMPARE(RouteSetting::routeText(QString()), QStringLiteral("0"));
    }

    void refusalsNameTheFileAndFolder() {
        QCOMPARE(RouteSetting::failureMessage(RuntimeError(RuntimeError::FileNotFound)),
                 QStringLiteral("指定した系統のデータがありません..."));
        const RuntimeError cut(RuntimeError::SubscriptOutOfRange);
        QCOMPARE(RouteSetting::failureMessage(cut), cut.description());

        const QString tail =
            QStringLiteral("\nこのフォルダーは「設定...」の「運賃データと放送用データ」にある"
                           "「運賃データ(*.hy3)のあるフォルダー：」で選べます。");
        const QString here = QDir::currentPath();
        QCOMPARE(RouteSetting::failureDetail(QStringLiteral("9.hy3"), QString()),
                 QStringLiteral("運賃データファイル：%1/9.hy3\n運賃データのフォルダー："
                                "（空欄：起動したフォルダー %1）")
                         .arg(here) +
                     tail);
        QCOMPARE(RouteSetting::failureDetail(QStringLiteral("/d/9.hy3"), QStringLiteral("fares")),
                 QStringLiteral("運賃データファイル：/d/9.hy3\n運賃データのフォルダー：%1/fares")
                         .arg(here) +
                     tail);
    }

    void ticketDateBySetting() {
        const QDate today(2026, 4, 1);
        QCOMPARE(RouteSetting::ticketDate(today), QStringLiteral("04-01-2026"));
        IniRecord s;
        s.FixedDate = QStringLiteral("12-24-2025");
        QCOMPARE(FareDisplay::ticketDateText(s, QStringLiteral("03-31-2026"), today), s.FixedDate);
        s.DateKeepAtRouteSet = -1;
        QCOMPARE(FareDisplay::ticketDateText(s, QStringLiteral("03-31-2026"), today),
                 QStringLiteral("03-31-2026"));
        s.DateUpdateOnPrint = -1;
        QCOMPARE(FareDisplay::ticketDateText(s, QStringLiteral("03-31-2026"), today),
                 QStringLiteral("04-01-2026"));
    }

    void routeSettingReadsTheAnnouncementsFirst() {
        Rig rig;
        rig.write("12.hy3", simpleRoute(5));
        rig.write("12tp.csv", "a,0,0\nb,0,0\n");
        rig.write("7tp.csv", "c,0,0\n");
        // Entered with leading zeros, as the lists give it: both files by the number.
        QCOMPARE(rig.set(QStringLiteral("00012"), QStringLiteral("003")), QString());
        QCOMPARE(rig.tape.GetTapeCount(), 2);
        QCOMPARE(rig.ride.data().RouteNo, QStringLiteral("00012"));
        QCOMPARE(rig.stop(), 2);
        QCOMPARE(rig.sounds.played.first(), (Played{"route.wav", Alias::S1, false, 0}));

        // Refused, with the file and the folder under the message: the old table and position
        // stay, the section entered and the new route's announcements are taken all the same.
        const std::optional<Ride::Refusal> missing = rig.ride.setRoute("7", "1");
        QVERIFY(missing);
        QCOMPARE(missing->message, QStringLiteral("指定した系統のデータがありません..."));
        QCOMPARE(missing->detail.section(u'\n', 0, 1),
                 QStringLiteral("運賃データファイル：%1\n運賃データのフォルダー：%2")
                     .arg(rig.folder.filePath("7.hy3"), rig.folder.path()));
        QCOMPARE(rig.tape.GetTapeCount(), 1);
        QCOMPARE(rig.ride.data().StopCount, 5);
        QCOMPARE(rig.stop(), 2);
    }

    void lampTestThenTheFirstStop() {
        Rig rig;
        rig.write("12.hy3", simpleRoute(5));
        QSignalSpy changed(&rig.ride, &Ride::stateChanged);
        QCOMPARE(rig.set("12", "2"), QString());
        // Below the section the lamp test's 0 stays; from it on, stop 2's fares.
        QCOMPARE(rig.panel.at({1, 2, 3, 61}), QVariantList({0, 202, 203, 0}));
        QCOMPARE(rig.panel.events.last(), QStringLiteral("strip S2"));
        QVERIFY(rig.ride.canStep() && changed.count() == 1);
    }

    void steppingAndItsSounds() {
        Rig rig;
        rig.write("12.hy3", count(4) + simpleRoute(1).mid(2) + record("B", 2, {0, 0, 0, 0, 1}) +
                                record("C", 3, {0, 0, 0, 0, 3}) + record("D", 4, {0, 0, 0, 0, 4}));
        QCOMPARE(rig.set("12", "1"), QString());
        rig.sounds.played.clear();
        // At either end nothing plays and nothing moves.
        rig.ride.step(Ride::Direction::Back);
        QVERIFY(rig.sounds.played.isEmpty());
        rig.settings.record.StepSoundSync = -1;
        rig.ride.step(Ride::Direction::Forward);
        QCOMPARE(rig.sounds.played, QList<Played>({{"step.wav", Alias::S2, true, 0}}));
        QCOMPARE(rig.panel.events.last(), QStringLiteral("strip B"));

        // By the value in column 5 of the new stop: 1 to 3 choose a sound, others none.
        rig.settings.record.StepSoundAlways = rig.settings.record.StepSoundSync = 0;
        rig.settings.record.StepSoundColumn = 4;
        rig.settings.record.StepSoundFile1 = QStringLiteral("one.wav");
        rig.settings.record.StepSoundFile3 = QStringLiteral("three.wav");
        rig.sounds.played.clear();
        for (int k = 0; k < 3; ++k)
            rig.ride.step(Ride::Direction::Forward);
        rig.ride.step(Ride::Direction::Back);
        rig.ride.step(Ride::Direction::Back);
        QCOMPARE(rig.sounds.played, QList<Played>({{"three.wav", Alias::S2, false, 0},
                                                   {"", Alias::S2, false, 0},
                                                   {"three.wav", Alias::S2, false, 0},
                                                   {"one.wav", Alias::S2, false, 0}}));
        QCOMPARE(rig.stop(), 1);
    }

    // A step asked for while one is being shown (from a handler that runs inside it, here the
    // ticket's) waits for it to end: the first stop is shown whole, then the next.
    void aStepDuringAStepIsQueued() {
        Rig rig;
        rig.write("12.hy3", simpleRoute(5));
        rig.set("12", "1");
        int asked = 0;
        connect(&rig.ride, &Ride::ticketChanged, this, [&] {
            if (asked++ < 2)
                rig.ride.step(Ride::Direction::Forward);
        });
        rig.panel.events.clear();
        rig.ride.step(Ride::Direction::Forward);
        QCOMPARE(rig.panel.events, QStringList({"strip S2", "strip S3", "strip S4"}));
        QCOMPARE(rig.stop(), 3);
        QCOMPARE(rig.panel.at({1}), QVariantList{401});
    }

    void linkedAnnouncementsStepTheFares() {
        Rig rig;
        rig.write("12.hy3", simpleRoute(5));
        rig.write("12tp.csv", "one,1,1\ntwo,0,0\nthree,1,0\n");
        rig.settings.record.PreSoundByFlag = -1;
        rig.settings.record.PreSoundFile1 = QStringLiteral("pre1.wav");
        rig.set("12", "1");
        rig.sounds.played.clear();
        rig.ride.tapeNext();
        QCOMPARE(rig.stop(), 1);
        QCOMPARE(rig.sounds.played, QList<Played>({{"pre1.wav", Alias::S3, false, 0},
                                                   {"step.wav", Alias::S2, false, 0}}));
        QVERIFY(rig.speech.calls.contains(QStringLiteral("speak one")));
        // At the list's end the linked last one steps again; back to a linked one steps back.
        QList<int> stops;
        for (bool next : {true, true, true, false, false}) {
            next ? rig.ride.tapeNext() : rig.ride.tapeBack();
            stops << rig.stop();
        }
        QCOMPARE(stops, QList<int>({1, 2, 3, 3, 2}));
        QCOMPARE(rig.tape.GetTapeIndex(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_FareFile)
#include "tst_FareFile.moc"
