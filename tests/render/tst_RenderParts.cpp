#include "render/FakeClock.h"
#include "render/RenderOptions.h"
#include "render/RenderedSpeech.h"
#include "render/RideAudio.h"
#include "render/RideScript.h"
#include "render/VideoWriter.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <gst/gst.h>

using Kind = RideScript::Action::Kind;

using mdlSndAPI::Alias;

namespace {

QString sample(const char* name) {
    return QStringLiteral(Q57_SOURCE_DIR "/data/sounds/") + QLatin1String(name);
}

// The loudest sample of the mixed track between the two times.
int peak(const RideAudio& audio, qint64 fromMs, qint64 toMs) {
    const QByteArray pcm =
        audio.mix(fromMs * RideAudio::kRate / 1000, toMs * RideAudio::kRate / 1000);
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    int loudest = 0;
    for (qsizetype i = 0; i < pcm.size() / 2; ++i)
        loudest = std::max(loudest, std::abs(int(samples[i])));
    return loudest;
}

// How long a sound lasts on the track.
qint64 length(const char* name) {
    FakeClock clock;
    RideAudio audio(clock);
    audio.PlaySoundFile(sample(name), Alias::S1, false, 0);
    return audio.soundEnd();
}

} // namespace

class tst_RenderParts : public QObject {
    Q_OBJECT
private slots:
    void readsAScript() {
        const auto parsed = RideScript::parse(QStringLiteral("# route 7 at night\n"
                                                             "set,7\n"
                                                             "\n"
                                                             " Night , 1 \r\n"
                                                             "wait,2.5\n"
                                                             "set,00012,003\n"
                                                             "announce\n"
                                                             "backlight,2"));
        QVERIFY(parsed);
        const QList<RideScript::Action>& actions = parsed.value();
        QCOMPARE(actions.size(), 6);
        QCOMPARE(actions[0].section, QStringLiteral("1"));
        QCOMPARE(std::pair(actions[1].kind, actions[1].line), std::pair(Kind::Night, 4));
        QCOMPARE(actions[2].value, 2500);
        QCOMPARE(actions[3].route + actions[3].section, QStringLiteral("00012003"));
        QCOMPARE(std::pair(actions[5].kind, actions[5].value),
                 std::pair(Kind::Backlight, qint64(2)));
    }

    void refusesABadLine_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown") << "set,7\njump"
                                 << "line 2: unknown action \"jump\"";
        QTest::newRow("no route") << "step\n\nset"
                                  << "line 3: set takes a route and maybe a section";
        QTest::newRow("route letters") << "set,7a"
                                       << "line 1: the route must be 1 to 5 digits, not \"7a\"";
        QTest::newRow("section") << "set,7,1000"
                                 << "line 1: the section must be 1 to 3 digits, not \"1000\"";
        QTest::newRow("night 2") << "# lit\nnight,2"
                                 << "line 2: night takes 0 to 1, not \"2\"";
        QTest::newRow("backlight 3") << "backlight,3"
                                     << "line 1: backlight takes 0 to 2, not \"3\"";
        QTest::newRow("wait negative") << "wait,-1"
                                       << "line 1: wait takes seconds from 0 to 86400, not \"-1\"";
        QTest::newRow("wait space") << "wait 2"
                                    << "line 1: unknown action \"wait 2\"";
    }
    void refusesABadLine() {
        QFETCH(QString, script);
        QFETCH(QString, error);
        const auto parsed = RideScript::parse(script);
        QVERIFY(!parsed);
        QCOMPARE(parsed.error().number(), int(RuntimeError::InvalidFileFormat));
        QCOMPARE(parsed.error().description(), error);
    }

    void commandLine() {
        const auto args = [](const char* line) {
            return QString::fromLatin1(line).split(QLatin1Char(' '));
        };
        const auto video = RenderOptions::parse(
            args("video s.in4 12 --scale 2 --dwell 1.5 --fps 25 --script r.csv --out r.webm"));
        QVERIFY(std::holds_alternative<RenderOptions>(video));
        const RenderOptions& options = std::get<RenderOptions>(video);
        QCOMPARE(options.scale, 2);
        QCOMPARE(options.dwellMs, 1500);
        QCOMPARE(options.fps, 25);
        QCOMPARE(options.out, QStringLiteral("r.webm"));
        for (const char* bad : {"stops s.in4 12", "stops s.in4 12 --fps 25 --out d",
                                "video s.in4 12 --ticket --out r.webm", "stops s.in4 12 --out",
                                "stops s.in4 12 --scale 0 --out d", "film s.in4 12 --out d"})
            QVERIFY2(std::holds_alternative<QString>(RenderOptions::parse(args(bad))), bad);
    }

    void soundsFollowTheAliasRules();

    void speaksOnTheRidesClock();

    void writesTheFileAtTheEnd();
    void refusesWhatItCannotWrite();
};

void tst_RenderParts::soundsFollowTheAliasRules() {
    const qint64 routeSet = length("route_set.wav");
    const qint64 click = length("key_click.wav");
    QVERIFY2(routeSet > click + 300, "the cut below needs a long sound and a short one");

    FakeClock clock;
    RideAudio audio(clock);
    // Waiting: the ride goes on after the sound and its pause.
    clock.t = 1000;
    audio.PlaySoundFile(sample("route_set.wav"), Alias::S2, true, 300);
    QCOMPARE(clock.t, 1000 + routeSet + 300);

    // A second sound on the alias cuts the first at its start; a missing file in between leaves
    // it playing; another alias sounds beside it.
    clock.t = 5000;
    audio.PlaySoundFile(sample("route_set.wav"), Alias::S3, false, 0);
    clock.t = 5100;
    audio.PlaySoundFile(sample("no_such.wav"), Alias::S3, true, 500);
    QCOMPARE(clock.t, 5100);
    clock.t = 5200;
    audio.PlaySoundFile(sample("key_click.wav"), Alias::S3, false, 0);
    QCOMPARE(audio.soundEnd(), 5200 + click);
    QVERIFY(peak(audio, 1000, 1000 + routeSet) > 3000);
    QCOMPARE(peak(audio, 1000 + routeSet + 5, 5000), 0);
    QVERIFY(peak(audio, 5000, 5200) > 3000);
    QCOMPARE(peak(audio, 5200 + click + 5, 5000 + routeSet), 0);

    // MIDI is synthesised as the players do; closing cuts every alias at once.
    clock.t = 7000;
    audio.PlaySoundFile(sample("four_tone.mid"), Alias::S4, false, 0);
    const qint64 midiEnd = audio.soundEnd();
    QVERIFY(midiEnd > 7500 && midiEnd < 12000);
    QVERIFY(peak(audio, 7000, midiEnd) > 3000);
    clock.t = 12000;
    audio.PlaySoundFile(sample("route_set.wav"), Alias::S1, false, 0);
    clock.t = 12100;
    audio.CloseSoundAliases();
    QCOMPARE(audio.soundEnd(), 12100);
    QVERIFY(audio.warnings().contains(QLatin1String("no_such.wav")));
}

void tst_RenderParts::speaksOnTheRidesClock() {
    QTemporaryDir cache;
    JTalkSpeech::Config config;
    config.cacheFolder = cache.path();
    config.settingsFile = cache.filePath(QStringLiteral("speech.ini"));
    FakeClock clock;
    RideAudio audio(clock);
    const auto speech = RenderedSpeech::create(audio, clock, config);
    if (!speech)
        QSKIP("open_jtalk, its dictionary or a voice is not installed");

    clock.t = 1000;
    speech->Speak(QStringLiteral("次は、\n市役所前です。"));
    const qint64 end = audio.soundEnd();
    QVERIFY(end > 2000);
    QCOMPARE(speech->Status(), 1);
    QVERIFY(peak(audio, 0, 1000) <= 2000);
    QVERIFY(peak(audio, 1000, end) > 2000);
    clock.t = end;
    QCOMPARE(speech->Status(), 0);

    // Stop cuts it where the ride stands; the same text comes from the cache.
    clock.t = 10000;
    speech->Speak(QStringLiteral("次は、 市役所前です。"));
    QCOMPARE(audio.soundEnd(), 10000 + end - 1000);
    clock.t = 10300;
    speech->Stop();
    QCOMPARE(speech->Status(), 0);
    QCOMPARE(audio.soundEnd(), 10300);
    // Nothing to say: -1, until the next Stop.
    speech->Speak(QStringLiteral("  \n"));
    QCOMPARE(speech->Status(), -1);
    speech->Stop();
    QCOMPARE(speech->Status(), 0);
    QVERIFY(audio.warnings().isEmpty());
}

// Only a finished video appears under its name, and nothing beside it.
void tst_RenderParts::writesTheFileAtTheEnd() {
    QTemporaryDir folder;
    FakeClock clock;
    RideAudio audio(clock);
    const QString path = folder.filePath(QStringLiteral("ride.webm"));
    auto opened = VideoWriter::open({path, QSize(64, 48), 30}, audio);
    QVERIFY2(opened, opened ? "" : qPrintable(opened.error().description()));
    QImage frame(64, 48, QImage::Format_RGB32);
    frame.fill(Qt::red);
    QVERIFY(opened.value()->addFrame(frame.constBits(), frame.bytesPerLine()));
    QVERIFY(!QFile::exists(path));
    QVERIFY(opened.value()->finish());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("ride.webm")});
}

void tst_RenderParts::refusesWhatItCannotWrite() {
    QTemporaryDir folder;
    FakeClock clock;
    RideAudio audio(clock);
    const auto refused = [&](const QString& path) {
        const auto opened = VideoWriter::open({path, QSize(64, 48), 30}, audio);
        return opened ? QString() : opened.error().description();
    };
    const QString missing = folder.filePath(QStringLiteral("no/ride.webm"));
    QVERIFY(refused(missing).contains(missing));
    // The file it writes first cannot be made: the encoder's own reason, and nothing left.
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("ride.webm.part")));
    QVERIFY(
        refused(folder.filePath(QStringLiteral("ride.webm"))).contains(QLatin1String("ride.webm")));
    QVERIFY(refused(folder.filePath(QStringLiteral("ride.avi"))).contains(QLatin1String(".webm")));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList());

    GstElementFactory* x264 = gst_element_factory_find("x264enc");
    if (x264) {
        gst_object_unref(x264);
        QSKIP("x264enc is installed: MP4 is written");
    }
    QVERIFY(refused(folder.filePath(QStringLiteral("ride.mp4")))
                .contains(QLatin1String("gstreamer1.0-plugins-ugly")));
}

QTEST_GUILESS_MAIN(tst_RenderParts)
#include "tst_RenderParts.moc"
