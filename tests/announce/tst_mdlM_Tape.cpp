#include "announce/JTalkSpeech.h"
#include "announce/SpeechAdjustDialog.h"
#include "announce/TapeFile.h"
#include "announce/mdlM_Tape.h"
#include "platform/FileBytes.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"
#include "support/Fakes.h"
#include "support/FileSupport.h"
#include "support/SoundCapture.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

namespace {

using mdlSndAPI::Alias;
using Played = TestSupport::FakeSounds::Played;

const QString kFixtures = QStringLiteral(Q57_SOURCE_DIR "/tests/data/tape");

// The announcements with fake sounds, speech and settings, and what the operating panel's
// announcement group was last told to show.
struct Rig {
    QTemporaryDir folder;
    TestSupport::FakeSettings settings;
    TestSupport::FakeSounds sounds;
    TestSupport::SpeechLog speech;
    QString groupTitle;
    bool groupEnabled = false;
    mdlM_Tape tape;

    explicit Rig(mdlM_Tape::SpeechFactory factory = {})
        : tape(
              settings, sounds,
              factory ? factory
                      : [this] { return std::make_unique<TestSupport::FakeSpeech>(speech); },
              [] { return QString(); }) {
        IniRecord& s = settings.record;
        s.PreSoundFile = QStringLiteral("always.wav");
        s.PreSoundFile1 = QStringLiteral("one.wav");
        s.PreSoundFile2 = QStringLiteral("two.wav");
        s.PreSoundFile3 = QStringLiteral("three.wav");
        tape.InitSpeech([this](const QString& title, bool enabled) {
            groupTitle = title;
            groupEnabled = enabled;
        });
    }
    // Writes route 12's announcements and loads them; the speech log starts afresh.
    void load(const QString& lines) {
        QVERIFY(
            SafeSave::write(folder.filePath(QStringLiteral("12tp.csv")), ShiftJis::encode(lines)));
        tape.LoadTapeData(folder.path() + u'/', QStringLiteral("12"));
        speech.calls.clear();
    }
    QStringList spoken(const QString& text) const {
        return {QStringLiteral("stop"), QStringLiteral("speak ") + text};
    }
    // The announcement count and the position.
    std::pair<int, int> where() const { return {tape.GetTapeCount(), tape.GetTapeIndex()}; }
};

const QString kDevice = QStringLiteral("speech");
const QString kShort = QStringLiteral("次は、市役所前です。");
const QString kLong = QStringLiteral(
    "次は、終点、駅前バスターミナルです。どなたさまも、お忘れ物のないよう、ご注意ください。");
constexpr int kWait = 20000;

// Our renders are 48 kHz 16-bit mono WAVs.
double wavSeconds(const QString& file) {
    return double(QFileInfo(file).size() - 44) / 96000;
}

struct Fixture {
    QTemporaryDir folder;
    SoundCapture capture;
    JTalkSpeech::Config config;

    Fixture() {
        config.settingsFile = folder.filePath(QStringLiteral("config/speech.ini"));
        config.cacheFolder = folder.filePath(QStringLiteral("cache"));
    }
    std::unique_ptr<JTalkSpeech> make() {
        return JTalkSpeech::create(config, capture.sinks(kDevice));
    }
    double heard() const { return capture.seconds(kDevice); }
};

// A 48 kHz 16-bit mono WAV of a tone, its header claiming `claimed` samples of which `written`
// are there: what open_jtalk leaves when the disk fills under it, exiting 0 all the same.
QByteArray wav(quint32 claimed, quint32 written) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + 2 * claimed);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(48000) << quint32(96000) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(2 * claimed);
    for (quint32 i = 0; i < written; ++i)
        out << qint16((i / 24) % 2 ? 8000 : -8000);
    return bytes;
}

// Stands in for open_jtalk: writes its folder's "give" where -ow asks and exits 0.
struct FakeRenderer {
    QTemporaryDir folder;
    QString program = folder.filePath(QStringLiteral("open_jtalk"));

    FakeRenderer() {
        const QString script = "#!/bin/sh\n"
                               "while [ $# -gt 0 ]; do [ \"$1\" = -ow ] && out=$2; shift; done\n"
                               "cat >/dev/null\n"
                               "cp '%1/give' \"$out\"\n";
        QVERIFY(SafeSave::write(program, script.arg(folder.path()).toUtf8()));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    }
    void give(const QByteArray& wave) const {
        QVERIFY(SafeSave::write(folder.filePath(QStringLiteral("give")), wave));
    }
};

} // namespace

class tst_mdlM_Tape : public QObject {
    Q_OBJECT
private slots:
    void speechUsableOrNot() {
        Rig usable;
        QCOMPARE(usable.groupTitle, QStringLiteral("音合使用可"));
        QVERIFY(usable.groupEnabled);

        // No engine, or one that fails to start: the file is read all the same, the group stays
        // disabled and nothing is spoken.
        const mdlM_Tape::SpeechFactory unusable[] = {
            [] { return std::unique_ptr<SpeechObject>(); },
            []() -> std::unique_ptr<SpeechObject> { throw std::runtime_error("no voice"); },
        };
        for (const auto& factory : unusable) {
            Rig rig(factory);
            QCOMPARE(rig.groupTitle, QStringLiteral("音合使用不可"));
            rig.load(QStringLiteral("a,0,1\nb,0,0\n"));
            QCOMPARE(rig.tape.GetTapeCount(), 2);
            QVERIFY(!rig.groupEnabled);
            rig.tape.TapeNext();
            QCOMPARE(rig.sounds.played, QList<Played>({{"one.wav", Alias::S3, false, 0}}));
        }
    }

    void stepsPlayTheFlagsSoundThenSpeakWhatCanBeSpoken() {
        Rig rig;
        rig.load(QStringLiteral("北町,0,1\n港町,0,2\n終点,0,3\n駅前,0,0\n灯台,0,4\n"));
        // Forward, by flag: 1 to 3 their sounds on S3, 0 and 4 none; each text cut in before.
        for (int press = 1; press <= 5; ++press)
            rig.tape.TapeNext();
        QCOMPARE(rig.sounds.played, QList<Played>({{"one.wav", Alias::S3, false, 0},
                                                   {"two.wav", Alias::S3, false, 0},
                                                   {"three.wav", Alias::S3, false, 0}}));
        QCOMPARE(rig.speech.calls, rig.spoken("北町") + rig.spoken("港町") + rig.spoken("終点") +
                                       rig.spoken("駅前") + rig.spoken("灯台"));

        // Past the last: nothing. Back: the flag's sound on S2, waited for when set so.
        rig.sounds.played.clear();
        rig.speech.calls.clear();
        rig.tape.TapeNext();
        QCOMPARE(rig.where(), std::pair(5, 5));
        rig.settings.record.PreSoundSync = -1;
        rig.tape.TapeBack();
        rig.tape.TapeBack();
        QCOMPARE(rig.where(), std::pair(5, 3));
        QCOMPARE(rig.sounds.played, QList<Played>({{"three.wav", Alias::S2, true, 0}}));
        QCOMPARE(rig.speech.calls, rig.spoken("駅前") + rig.spoken("終点"));

        // Always one sound: forward plays it whatever the flag; back still the flag's.
        rig.sounds.played.clear();
        rig.settings.record.PreSoundSync = 0;
        rig.settings.record.PreSoundAlways = -1;
        for (int press = 0; press < 5; ++press)
            press < 2 ? rig.tape.TapeNext() : rig.tape.TapeBack();
        QCOMPARE(rig.sounds.played, QList<Played>({{"always.wav", Alias::S3, false, 0},
                                                   {"always.wav", Alias::S3, false, 0},
                                                   {"three.wav", Alias::S2, false, 0},
                                                   {"two.wav", Alias::S2, false, 0}}));

        // Back before the first stays on it, silent.
        rig.tape.TapeBack();
        rig.speech.calls.clear();
        rig.tape.TapeBack();
        QCOMPARE(rig.where(), std::pair(5, 1));
        QCOMPARE(rig.sounds.played.size(), 5);
        QCOMPARE(rig.speech.calls, QStringList());

        // Empty: forward stays at 0, back goes to 1; nothing sounds or is spoken.
        rig.sounds.played.clear();
        rig.load(QString());
        QVERIFY(rig.groupEnabled);
        rig.tape.TapeNext();
        QCOMPARE(rig.where(), std::pair(0, 0));
        rig.tape.TapeBack();
        QCOMPARE(rig.where(), std::pair(0, 1));
        QCOMPARE(rig.speech.calls, QStringList());
        QCOMPARE(rig.sounds.played, QList<Played>());

        // A text that cannot be spoken (status -1) is stopped once more.
        rig.load(QStringLiteral("\"\",0,0\n"));
        rig.tape.TapeNext();
        QCOMPARE(rig.speech.calls, rig.spoken(QString()) << QStringLiteral("stop"));
    }

    void loadsReplaceTheListOrKeepWhatWasRead() {
        Rig rig;
        // Five after eight: the five, from before the first, handed to the engine to render.
        rig.load(QStringLiteral("a,0,1\n").repeated(8));
        rig.tape.TapeNext();
        rig.speech.calls.clear();
        QVERIFY(SafeSave::write(rig.folder.filePath(QStringLiteral("12tp.csv")),
                                QByteArray("b,1,2\n").repeated(5)));
        rig.tape.LoadTapeData(rig.folder.path() + u'/', QStringLiteral("12"));
        QCOMPARE(rig.speech.calls, QStringList(QStringLiteral("ahead 5")));
        QCOMPARE(rig.where(), std::pair(5, 0));
        QCOMPARE(QList({rig.tape.GetTapeSoundFlag(5), rig.tape.GetTapeLinkFlag(5),
                        rig.tape.GetTapeSoundFlag(6), rig.tape.GetTapeLinkFlag(0)}),
                 QList<qint16>({2, 1, 0, 0}));

        // Missing: the group is disabled and the list stays as it was.
        QVERIFY(QFile::remove(rig.folder.filePath(QStringLiteral("12tp.csv"))));
        rig.tape.LoadTapeData(rig.folder.path() + u'/', QStringLiteral("12"));
        QVERIFY(!rig.groupEnabled);
        QCOMPARE(rig.where(), std::pair(5, 0));
        // A number out of range on line 2: the new list up to there, the position on it,
        // nothing rendered ahead.
        rig.load(QStringLiteral("x,0,3\ny,40000,0\nz,1,1\n"));
        QVERIFY(!rig.groupEnabled);
        QCOMPARE(rig.where(), std::pair(3, 2));
        QCOMPARE(std::pair(rig.tape.GetTapeSoundFlag(1), rig.tape.GetTapeLinkFlag(3)),
                 std::pair(qint16(3), qint16(0)));
        // A good file enables the group again.
        rig.load(QStringLiteral("x,0,3\n"));
        QVERIFY(rig.groupEnabled);
    }

    void fixtureGivesItsOutcome_data() {
        TestSupport::addFixtureRows(kFixtures, QStringLiteral("*.csv"));
    }
    void fixtureGivesItsOutcome() {
        QFETCH(QString, file);
        QFETCH(QString, outcome);
        const Result<QByteArray> bytes = FileBytes::read(file);
        const Result<std::vector<TapeData>> read =
            bytes ? TapeFile::read(bytes.value()) : bytes.error();
        QCOMPARE(read ? QStringLiteral("reads %1").arg(read.value().size())
                      : QStringLiteral("error %1").arg(read.error().number()),
                 outcome);
    }

    void valuesAsListInputReadsThem() {
        const struct {
            const char* line;
            TapeData expected;
        } cases[] = {
            {"\"a,b\",1,2", {QStringLiteral("a,b"), 1, 2}},
            // Blanks around a value go, blanks inside it stay; a sign is allowed.
            {"  次は 、 北町 ,\t+1 ,\u3000-3 ", {QStringLiteral("次は 、 北町"), 1, -3}},
            {"\" 北町 \" ,0,0", {QStringLiteral(" 北町 "), 0, 0}},
            // "" in a quoted value is one quote; what follows the closing quote is dropped.
            {"\"「\"\"北町\"\"」\" です,1,1", {QStringLiteral("「\"北町\"」"), 1, 1}},
            {"次は\"北町\",1,1", {QStringLiteral("次は\"北町\""), 1, 1}},
            {"北町,,", {QStringLiteral("北町"), 0, 0}},
            {"北町,-32768,32767", {QStringLiteral("北町"), -32768, 32767}},
            // Decimals round to the nearest whole number, halves to the even one.
            {"北町,1.5,2.5", {QStringLiteral("北町"), 2, 2}},
            {"北町,-0.5,.51", {QStringLiteral("北町"), 0, 1}},
            {"次は、北町です。,1\r\n\r\n 2", {QStringLiteral("次は、北町です。"), 1, 2}},
        };
        for (const auto& c : cases) {
            const Result<std::vector<TapeData>> read =
                TapeFile::read(ShiftJis::encode(QString::fromUtf8(c.line)));
            QVERIFY2(read, c.line);
            QCOMPARE(read.value(), std::vector<TapeData>{c.expected});
        }
        const QByteArray utf8 = "\xEF\xBB\xBF" + QStringLiteral("灯台公園,1,3").toUtf8();
        QCOMPARE(TapeFile::read(utf8).value().front().Text, QStringLiteral("灯台公園"));
    }

    void fileFoundWhateverTheCaseOfItsEnding() {
        QTemporaryDir folder;
        const QString prefix = folder.path() + u'/';
        QCOMPARE(TapeFile::path(prefix, QStringLiteral("12")), prefix + QStringLiteral("12tp.csv"));
        QVERIFY(SafeSave::write(prefix + QStringLiteral("12TP.CSV"), "a,0,0"));
        QCOMPARE(TapeFile::path(prefix, QStringLiteral("12")), prefix + QStringLiteral("12TP.CSV"));
        QVERIFY(SafeSave::write(prefix + QStringLiteral("12tp.csv"), "a,0,0"));
        QCOMPARE(TapeFile::path(prefix, QStringLiteral("12")), prefix + QStringLiteral("12tp.csv"));
    }

    void speaksEveryLineOrFailsAndPlaysFromTheCache() {
        Fixture f;
        auto speech = f.make();
        QVERIFY(speech);
        speech->Speak(QStringLiteral("次は、\n市役所前です。"));
        QTRY_COMPARE_WITH_TIMEOUT(speech->Status(), 0, kWait);
        const QString file = speech->cacheFile(QStringLiteral("次は、 市役所前です。"));
        // Both lines, not only the first, which alone lasts about a second.
        QVERIFY2(f.heard() > 2.0 && std::abs(f.heard() - wavSeconds(file)) < 0.15,
                 qPrintable(QString::number(f.heard())));
        QVERIFY(f.capture.peak(kDevice) > 3000);

        // Nothing to say: -1 until the next Stop; punctuation alone, which open_jtalk finds
        // nothing to pronounce in, once it is rendered.
        speech->Speak(QStringLiteral(" \n\u3000"));
        QCOMPARE(speech->Status(), -1);
        speech->Stop();
        QCOMPARE(speech->Status(), 0);
        speech->Speak(QStringLiteral("、。"));
        QCOMPARE(speech->Status(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(speech->Status(), -1, kWait);

        // A renderer that would fail: the text is played from the cache all the same.
        f.config.program = QStringLiteral("/bin/false");
        auto cached = f.make();
        cached->Speak(QStringLiteral("次は、\r\n市役所前です。"));
        QTRY_COMPARE_WITH_TIMEOUT(cached->Status(), 0, kWait);
        QVERIFY2(std::abs(f.heard() - 2 * wavSeconds(file)) < 0.3,
                 qPrintable(QString::number(f.heard())));
    }

    void stopAndSpeakCutOff() {
        Fixture f;
        auto speech = f.make();
        QSignalSpy stopped(speech.get(), &JTalkSpeech::stopped);
        // While it renders: nothing sounds, nothing is left half-written.
        speech->Speak(kLong);
        speech->Stop();
        QCOMPARE(speech->Status(), 0);
        QTest::qWait(1500);
        QCOMPARE(f.heard(), 0.0);
        QCOMPARE(QDir(f.config.cacheFolder).entryList(QDir::Files), QStringList());

        speech->Speak(kLong);
        QTRY_VERIFY_WITH_TIMEOUT(f.heard() > 0.3, kWait);
        speech->Speak(kShort);
        QTRY_COMPARE_WITH_TIMEOUT(speech->Status(), 0, kWait);
        const double shortSeconds = wavSeconds(speech->cacheFile(kShort));
        QVERIFY2(f.heard() > shortSeconds && f.heard() < shortSeconds + 1.0,
                 qPrintable(QString::number(f.heard())));
        QCOMPARE(stopped.count(), 1);
    }

    void settingsFromTheFileAndTheDialog() {
        Fixture f;
        auto speech = f.make();
        SpeechSettings defaults;
        defaults.voice = speech->voices().first();
        QCOMPARE(speech->settings(), defaults);
        QVERIFY(QDir().mkpath(QFileInfo(f.config.settingsFile).path()));
        for (const QByteArray& damaged :
             {QByteArray("speed=9\n"), QByteArray("pitch=2\nloudness=1\n"),
              QByteArray("speed=1.5\nvolume\n"), QByteArray("\xff\x00\x01", 3)}) {
            QVERIFY(SafeSave::write(f.config.settingsFile, damaged));
            QCOMPARE(f.make()->settings(), defaults);
        }
        QVERIFY(SafeSave::write(f.config.settingsFile, "voice=/nowhere.htsvoice\npitch=-2.5\n"));
        QWidget owner;
        f.config.adjustDialog = [&owner](const QString& title, const SpeechSettings& now,
                                         const QStringList& voices, const auto& hearSample) {
            return SpeechAdjustDialog::ask(&owner, title, now, voices, hearSample);
        };
        speech = f.make();
        QCOMPARE(speech->settings().pitch, -2.5);
        QCOMPARE(speech->settings().voice, defaults.voice);

        // The sample is heard with what the dialog shows; OK keeps it, for this run and the next,
        // and the pitch between the slider's steps, which the user did not move, stays as it was.
        SpeechAdjustHook hook;
        hook.setNextAnswer(QDialog::Accepted);
        hook.whileShown = [&f](SpeechAdjustDialog& dialog) {
            dialog.findChild<QSlider*>(QStringLiteral("speed"))->setValue(150);
            dialog.findChild<QSlider*>(QStringLiteral("volume"))->setValue(-6);
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("sample")),
                              Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(f.heard() > 0.5, kWait);
        };
        const QString before = speech->cacheFile(kShort);
        speech->Adjust(QStringLiteral("音声の調節"));
        SpeechSettings chosen = defaults;
        chosen.pitch = -2.5;
        chosen.speed = 1.5;
        chosen.volume = -6;
        QCOMPARE(speech->settings(), chosen);
        QCOMPARE(f.make()->settings(), chosen);
        QVERIFY(speech->cacheFile(kShort) != before);
    }

    void rendersAheadIntoABoundedCache() {
        Fixture f;
        f.config.cacheLimit = 600 * 1024;
        auto speech = f.make();
        const QStringList texts{QStringLiteral("一番目の停留所です。"), QString(),
                                QStringLiteral("二番目の停留所です。"),
                                QStringLiteral("三番目の停留所です。")};
        QSignalSpy done(speech.get(), &JTalkSpeech::renderedAhead);
        speech->RenderAhead(texts);
        QVERIFY(done.wait(kWait));
        // About 240 kB each: the oldest gave way.
        QVERIFY(!QFileInfo::exists(speech->cacheFile(texts[0])));
        QVERIFY(QFileInfo::exists(speech->cacheFile(texts[2])));
        QVERIFY(QFileInfo::exists(speech->cacheFile(texts[3])));
        QCOMPARE(QDir(f.config.cacheFolder).entryList(QDir::Files).size(), 2);
    }

    // A rendering cut off by a full disk is never kept nor played; a damaged cache file is
    // rendered again.
    void onlyWholeRenderingsAreKept() {
        Fixture f;
        FakeRenderer renderer;
        f.config.program = renderer.program;
        const QDir cache(f.config.cacheFolder);
        auto speech = f.make();
        QVERIFY(speech);
        renderer.give(wav(24000, 2400));
        speech->Speak(kShort);
        QTRY_COMPARE_WITH_TIMEOUT(speech->Status(), -1, kWait);
        QCOMPARE(cache.entryList(QDir::Files), QStringList());
        QCOMPARE(f.heard(), 0.0);

        renderer.give(wav(24000, 24000));
        speech->Speak(kShort);
        QTRY_COMPARE_WITH_TIMEOUT(speech->Status(), 0, kWait);
        QVERIFY2(std::abs(f.heard() - 0.5) < 0.1, qPrintable(QString::number(f.heard())));
        const QString file = speech->cacheFile(kShort);
        QCOMPARE(cache.entryList(QDir::Files), QStringList{QFileInfo(file).fileName()});

        // Cut short on disk afterwards: rendered again, and the whole one is heard.
        QVERIFY(SafeSave::write(file, wav(24000, 2400)));
        speech->Speak(kShort);
        QTRY_COMPARE_WITH_TIMEOUT(speech->Status(), 0, kWait);
        QVERIFY2(std::abs(f.heard() - 1.0) < 0.15, qPrintable(QString::number(f.heard())));
        QCOMPARE(QFileInfo(file).size(), wav(24000, 24000).size());
    }
};

QTEST_MAIN(tst_mdlM_Tape)
#include "tst_mdlM_Tape.moc"
