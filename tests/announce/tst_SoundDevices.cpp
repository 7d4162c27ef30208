#include "announce/mdlSndAPI.h"
#include "app/FareFile.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "platform/SafeSave.h"
#include "support/ProgramRig.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Lengths of our sample sounds in seconds, as the capture measures them.
constexpr double kRouteSet = 0.76;
constexpr double kSlack = 0.12;

const auto sample = SoundCapture::sample;

QString device(mdlSndAPI::Alias alias) {
    return mdlSndAPI::deviceName(alias);
}

// The program sounding into a capture, with a route of five stops and a sound for every step.
struct Rig : ProgramRig {
    Rig() {
        std::vector<FareRecord> stops(5);
        for (int k = 0; k < 5; ++k) {
            stops[std::size_t(k)].StopName = QStringLiteral("停留所%1").arg(k + 1);
            stops[std::size_t(k)].Fare[1] = qint16(100 + 10 * k);
        }
        write(QStringLiteral("3.hy3"), FareFile::encode(stops).value());
        settings([](IniRecord& s) {
            s.SoundRouteSet = sample("route_set.wav");
            s.SoundReset = sample("key_click.wav");
            s.StepSoundAlways = -1;
            s.StepSoundByColumn = 0;
            s.StepSoundFile = sample("step1.wav");
        });
    }
    double heard(mdlSndAPI::Alias alias) const { return capture.seconds(device(alias)); }
    bool waitFor(mdlSndAPI::Alias alias, double seconds) const {
        return QTest::qWaitFor([&] { return heard(alias) >= seconds; }, 10000);
    }
};

using mdlSndAPI::Alias;

} // namespace

class TestSoundDevices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void deviceTypeByTheLastThreeCharacters() {
        using mdlSndAPI::DeviceType;
        // ".wave" is heard below; a value outside 1 to 3 chooses no sound.
        QCOMPARE(QList({mdlSndAPI::deviceType("a/x.Wav"), mdlSndAPI::deviceType("a/x.Mp3"),
                        mdlSndAPI::deviceType("a/x.MID"), mdlSndAPI::deviceType("a/x.mp3 "),
                        mdlSndAPI::deviceType("a/x.midi")}),
                 QList({DeviceType::WaveAudio, DeviceType::MpegVideo, DeviceType::Sequencer,
                        DeviceType::None, DeviceType::None}));
        const std::array<QString, 3> byValue = {"1", "2", "3"};
        QCOMPARE(mdlSndAPI::chosenSound(false, "A", byValue, -1), QString());
    }

    void routeSettingAndStepsSoundOnTheirDevices() {
        Rig rig;
        // Every key clicks on S1; route setting then cuts the click off with its chime.
        rig.setRoute(QStringLiteral("3"));
        QVERIFY(rig.waitFor(Alias::S1, 0.3));
        // A second route setting at once: the chime is cut and starts again from its beginning.
        const double firstPart = rig.heard(Alias::S1);
        rig.click(QStringLiteral("Command1(1)"));
        QVERIFY(rig.waitFor(Alias::S1, firstPart + kRouteSet - kSlack));
        QTest::qWait(300);
        QVERIFY2(std::abs(rig.heard(Alias::S1) - firstPart - kRouteSet) < kSlack,
                 qPrintable(QString::number(rig.heard(Alias::S1))));
        QVERIFY(rig.capture.peak(device(Alias::S1)) > 32767 / 4);

        // A step sounds on S2 while S1 goes on: both devices play at once.
        rig.click(QStringLiteral("Command1(1)"));
        QTest::qWait(100);
        const double s1Before = rig.heard(Alias::S1);
        rig.click(QStringLiteral("Command2(1)"));
        QVERIFY(rig.waitFor(Alias::S2, 0.2));
        QVERIFY(rig.heard(Alias::S1) > s1Before + 0.15);
    }

    void theFileDecidesWhatPlays() {
        Rig rig;
        QTemporaryDir copies;
        const QString wave = copies.filePath(QStringLiteral("chime.wave"));
        QVERIFY(QFile::copy(sample("route_set.wav"), wave));
        rig.settings([&](IniRecord& s) { s.SoundReset = sample("route_set.wav"); });

        // A missing file leaves it playing; ".wave" plays nothing and stops it.
        rig.click(QStringLiteral("CommandButton1(5)"));
        QVERIFY(rig.waitFor(Alias::S1, 0.2));
        rig.settings(
            [&](IniRecord& s) { s.SoundReset = copies.filePath(QStringLiteral("none.wav")); });
        rig.click(QStringLiteral("CommandButton1(5)"));
        QVERIFY(rig.waitFor(Alias::S1, 0.5));
        rig.settings([&](IniRecord& s) { s.SoundReset = wave; });
        rig.click(QStringLiteral("CommandButton1(5)"));
        const double cut = rig.heard(Alias::S1);
        QTest::qWait(400);
        QVERIFY2(rig.heard(Alias::S1) - cut < 0.08, qPrintable(QString::number(cut)));
        QVERIFY(cut < kRouteSet - 0.1);

        // Closing the devices at the end cuts off every sound at once.
        rig.settings([&](IniRecord& s) { s.SoundReset = sample("two_tone.mp3"); });
        rig.click(QStringLiteral("CommandButton1(5)"));
        QVERIFY(rig.waitFor(Alias::S1, cut + 0.3));
        rig.program.sounds().CloseSoundAliases();
        const double closed = rig.heard(Alias::S1);
        QTest::qWait(400);
        QVERIFY(rig.heard(Alias::S1) - closed < 0.08);
    }

    void waitingStepChangesTheFaresAfterTheSound() {
        Rig rig;
        rig.setRoute(QStringLiteral("3"));
        rig.settings([](IniRecord& s) {
            s.StepSoundFile = sample("route_set.wav");
            s.StepSoundSync = -1;
            s.StepSoundAsync = 0;
        });
        ChimeiCtl_B& strip = rig.program.form().ChimeiCtl();
        strip.setSpeed(1);
        strip.setScrollStartWait(0);
        strip.SetChimei(QStringLiteral("とても長い停留所の名前がスクロールします"));
        QTest::qWait(100);
        M_Degit& first = rig.program.form().Degit(1);
        QVariant during;
        int topBefore = 0, topDuring = 0;
        QTimer::singleShot(100, [&] { topBefore = strip.canvasTop(); });
        QTimer::singleShot(500, [&] {
            during = first.Value();
            topDuring = strip.canvasTop();
        });
        // The click returns after the sound: the timers fire in its wait.
        rig.click(QStringLiteral("Command2(1)"));
        QCOMPARE(during.toInt(), 100);
        QVERIFY(topDuring != topBefore);
        QCOMPARE(first.Value().toInt(), 110);
    }

    // A damaged file's failure comes from playbin's own threads, which the old player let into
    // the next file's loading: the route chime was lost in about one try of six when it came
    // 60 to 150 ms after a damaged key click. The chime plays whole every time. Damaged two
    // ways: cut off 30 bytes in, and an unknown sample format.
    void aDamagedSoundDoesNotSilenceTheNext() {
        Rig rig;
        rig.setRoute(QStringLiteral("3"));
        QTemporaryDir copies;
        QFile source(sample("route_set.wav"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray whole = source.readAll();
        QByteArray unknownFormat = whole.left(4000);
        unknownFormat[20] = char(0x99);
        const QByteArray damages[] = {whole.left(30), unknownFormat};
        for (int attempt = 0; attempt < 18; ++attempt) {
            const QString damaged = copies.filePath(QStringLiteral("reset%1.wav").arg(attempt));
            QVERIFY(SafeSave::write(damaged, damages[attempt % 2]));
            const double before = rig.heard(Alias::S1);
            // As a key clicks it, and the route setting's chime follows.
            rig.program.sounds().PlaySoundFile(damaged, Alias::S1, false, 0);
            QTest::qWait(60 + 30 * (attempt % 4));
            rig.click(QStringLiteral("Command1(1)"));
            QTest::qWait(int(1000 * (kRouteSet + 0.3)));
            QVERIFY2(std::abs(rig.heard(Alias::S1) - before - kRouteSet) < kSlack,
                     qPrintable(QStringLiteral("attempt %1: %2 s")
                                    .arg(attempt)
                                    .arg(rig.heard(Alias::S1) - before)));
        }
    }
};

QTEST_MAIN(TestSoundDevices)
#include "tst_SoundDevices.moc"
