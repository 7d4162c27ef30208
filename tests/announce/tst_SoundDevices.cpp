#include "announce/SoundPlayer.h"
#include "announce/mdlSndAPI.h"
#include "app/FareFile.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "platform/SafeSave.h"
#include "support/ProgramRig.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Lengths of our sample sounds in seconds, as the capture measures them.
constexpr double kRouteSet = 0.76;
constexpr double kSlack = 0.12;

const auto sample = SoundCapture::sample;
const QString kPlayer = QStringLiteral("player");

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
    double heard(mdlSndAPI::Alias alias) const {
        return capture.seconds(mdlSndAPI::deviceName(alias));
    }
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
        QVERIFY(rig.capture.peak(mdlSndAPI::deviceName(Alias::S1)) > 32767 / 4);

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
                     qPrintable(QString::number(attempt)));
        }
    }

    void playsEachKindForItsLength_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("length");
        QTest::newRow("WAV") << sample("route_set.wav") << 0.76;
        QTest::newRow("MP3") << sample("two_tone.mp3") << 1.95;
        QTest::newRow("MIDI") << sample("four_tone.mid") << 2.33;
    }

    void playsEachKindForItsLength() {
        QFETCH(QString, file);
        QFETCH(double, length);
        SoundCapture capture;
        SoundPlayer player(capture.sinks(kPlayer));
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QVERIFY(player.open(file));
        player.play();
        QVERIFY(player.isPlaying());
        // Finished soon after its end and not before it was heard whole; the MP3 encoder adds a
        // few frames of silence at either end.
        QVERIFY(finished.wait(int(1000 * length) + 1500));
        QVERIFY(!player.isPlaying());
        QCOMPARE(finished.count(), 1);
        QVERIFY2(std::abs(capture.seconds(kPlayer) - length) < 0.12,
                 qPrintable(QString::number(capture.seconds(kPlayer))));
        // Loud enough to hear, not only for the sampled sounds but for the synthesised MIDI too.
        QVERIFY2(capture.peak(kPlayer) > 32767 / 4,
                 qPrintable(QString::number(capture.peak(kPlayer))));
    }

    void anotherKindOrWhatIsNoSoundCutsOff() {
        SoundCapture capture;
        SoundPlayer player(capture.sinks(kPlayer));
        QSignalSpy finished(&player, &SoundPlayer::finished);

        QVERIFY(player.open(sample("four_tone.mid")));
        player.play();
        QTest::qWait(300);
        QVERIFY(player.open(sample("step3.wav")));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!player.isPlaying());
        const double atCut = capture.seconds(kPlayer);
        QVERIFY(atCut > 0.1);
        QTest::qWait(300);
        QVERIFY2(capture.seconds(kPlayer) - atCut < 0.05, qPrintable(QString::number(atCut)));

        // An open that fails has still cut off the sound before it, and nothing plays after.
        QTemporaryDir folder;
        const QString text = folder.filePath(QStringLiteral("x.wav"));
        QVERIFY(SafeSave::write(text, "This is a note, not a sound.\n"));
        QVERIFY(player.open(sample("route_set.wav")));
        player.play();
        QVERIFY(!player.open(text));
        QCOMPARE(finished.count(), 2);
        QVERIFY(!player.open(folder.filePath(QStringLiteral("missing.wav"))));
        player.play();
        QVERIFY(!player.isPlaying());
        QTest::qWait(100);
        const double before = capture.seconds(kPlayer);
        QTest::qWait(300);
        QCOMPARE(capture.seconds(kPlayer), before);

        // A file that starts like a sound and breaks off is only found out while loading: when
        // played it ends at once, so that nobody waits for it.
        const QString broken = folder.filePath(QStringLiteral("broken.wav"));
        QVERIFY(SafeSave::write(broken,
                                QByteArray("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0", 24)));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("broken.wav")));
        QVERIFY(player.open(broken));
        player.play();
        QVERIFY(finished.wait(5000));
        QVERIFY(!player.isPlaying());
        QCOMPARE(capture.seconds(kPlayer), before);
    }

    // A file kept ready or played before starts again from its start and plays whole, even after
    // being cut off; changed on disk, or failing while kept aside, it is loaded afresh, and its
    // failure reaches no other sound.
    void replaysWholeAndReloadsWhatChanged() {
        QTemporaryDir folder;
        const QString chime = folder.filePath(QStringLiteral("chime.wav"));
        const QString damaged = folder.filePath(QStringLiteral("damaged.wav"));
        QVERIFY(QFile::copy(sample("route_set.wav"), chime));
        QVERIFY(SafeSave::write(damaged,
                                QByteArray("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0", 24)));
        SoundCapture capture;
        SoundPlayer player(capture.sinks(kPlayer));
        QSignalSpy finished(&player, &SoundPlayer::finished);
        const auto heard = [&](const QString& file) {
            const double before = capture.seconds(kPlayer);
            player.stop();
            if (!player.open(file))
                return -1.0;
            player.play();
            return finished.wait(5000) ? capture.seconds(kPlayer) - before : -1.0;
        };
        player.prepare(damaged);
        player.prepare(chime);
        // From the file, from memory, again where the stream stood.
        double lengths[] = {heard(chime), heard(chime), heard(chime), 0};
        // Cut off mid-way, the copy in memory starts again from its beginning.
        QVERIFY(player.open(chime));
        player.play();
        QTest::qWait(300);
        lengths[3] = heard(chime);
        QFile::remove(chime);
        QVERIFY(QFile::copy(sample("key_click.wav"), chime));
        const double changed = heard(chime);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged.wav")));
        const double failed = heard(damaged);
        const double after = heard(chime);
        for (const double seconds : lengths)
            QVERIFY2(std::abs(seconds - kRouteSet) < kSlack, qPrintable(QString::number(seconds)));
        QVERIFY2(changed > 0 && changed < 0.2, qPrintable(QString::number(changed)));
        QCOMPARE(failed, 0.0);
        // From memory the stream goes on, and the capture holds a last part shorter than its
        // period until the next sound.
        QVERIFY2(std::abs(after - changed) < 0.021, qPrintable(QString::number(after)));
    }
};

QTEST_MAIN(TestSoundDevices)
#include "tst_SoundDevices.moc"
