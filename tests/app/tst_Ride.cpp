#include "announce/mdlM_Tape.h"
#include "app/FareFileBytes.h"
#include "app/Ride.h"
#include "panel/DisplayPanel.h"
#include "support/Fakes.h"

#include <QtTest>
#include <map>

using namespace FareFileBytes;
using TestSupport::FakeSounds;
using Played = TestSupport::FakeSounds::Played;
using mdlSndAPI::Alias;

namespace {

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

class tst_Ride : public QObject {
    Q_OBJECT
private slots:
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
        rig.settings.record.DateUpdateOnPrint = 0;
        rig.settings.record.DateKeepAtRouteSet = -1;
        QSignalSpy changed(&rig.ride, &Ride::stateChanged);
        QCOMPARE(rig.set("12", "2"), QString());
        // Below the section the lamp test's 0 stays; from it on, stop 2's fares.
        QCOMPARE(rig.panel.at({1, 2, 3, 61}), QVariantList({0, 202, 203, 0}));
        QCOMPARE(rig.panel.events.last(), QStringLiteral("strip S2"));
        QVERIFY(rig.ride.canStep() && changed.count() == 1);
        const QString today = QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"));
        QCOMPARE(rig.ride.TicketDate(), today);
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

QTEST_GUILESS_MAIN(tst_Ride)
#include "tst_Ride.moc"
