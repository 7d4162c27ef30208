#include "announce/mdlM_Tape.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"
#include "support/Fakes.h"

#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

namespace {

using mdlSndAPI::Alias;
using Played = TestSupport::FakeSounds::Played;

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

    explicit Rig(mdlM_Tape::SpeechFactory factory = {}, const QString& system = QString())
        : tape(
              settings, sounds,
              factory ? factory
                      : [this] { return std::make_unique<TestSupport::FakeSpeech>(speech); },
              [system] { return system; }) {
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

        // The one system without announcements: no engine is made, no file read.
        bool made = false;
        Rig vista(
            [&made] {
                made = true;
                return std::unique_ptr<SpeechObject>();
            },
            QStringLiteral("Windows Vista"));
        QVERIFY(!made);
        vista.load(QStringLiteral("a,0,0\n"));
        QCOMPARE(vista.tape.GetTapeCount(), 0);
        QVERIFY(!vista.groupEnabled);
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

        rig.tape.TapeStop();
        rig.tape.TapeAdjust();
        QCOMPARE(rig.speech.calls,
                 QStringList({QStringLiteral("stop"), QStringLiteral("adjust 音声の調節")}));

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
};

QTEST_GUILESS_MAIN(tst_mdlM_Tape)
#include "tst_mdlM_Tape.moc"
