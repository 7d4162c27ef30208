#include "Q57App.h"
#include "announce/JTalkSpeech.h"
#include "announce/SpeechAdjustDialog.h"
#include "app/FareFileBytes.h"
#include "app/frmCtl.h"
#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "platform/KvRes.h"
#include "platform/MsgBox.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"
#include "support/SoundCapture.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using mdlSndAPI::Alias;

const auto sample = SoundCapture::sample;

// The program with the speech engine made as the test says, announcement and fare files in a
// folder of its own, and the sample chimes as pre-announcement sounds, waited for by default.
struct Rig {
    QTemporaryDir folder;
    SoundCapture capture;
    JTalkSpeech* speech = nullptr;
    Q57App program;
    frmCtl& ctl = program.operatingPanel();
    mdlM_Tape& tape = program.tape();
    QGroupBox& group = TestSupport::control<QGroupBox>(ctl, QStringLiteral("grpM_Tape"));

    explicit Rig(const std::function<void(JTalkSpeech::Config&)>& change = {})
        : program(capture.sinks(), [this, change] {
              JTalkSpeech::Config config;
              config.adjustDialog = program.speechAdjustDialog();
              config.settingsFile = folder.filePath(QStringLiteral("speech.ini"));
              config.cacheFolder = folder.filePath(QStringLiteral("cache"));
              if (change)
                  change(config);
              std::unique_ptr<JTalkSpeech> made =
                  JTalkSpeech::create(config, capture.sinks(QStringLiteral("speech")));
              speech = made.get();
              return made;
          }) {
        program.start();
        ctl.setLampTestMilliseconds(0);
        QVERIFY(SafeSave::write(folder.filePath(QStringLiteral("1.hy3")),
                                FareFileBytes::simpleRoute(6)));
        TestSupport::changeSettings(program.options(), [this](IniRecord& s) {
            s.FareDataDir = s.TapeDataDir = folder.path();
            s.PreSoundAlways = 0;
            s.PreSoundByFlag = -1;
            s.PreSoundFile = sample("route_set.wav");
            s.PreSoundFile1 = sample("step1.wav");
            s.PreSoundFile2 = sample("step2.wav");
            s.PreSoundFile3 = sample("step3.wav");
        });
    }
    QString setRoute(const QString& announcements, int route = 1) {
        if (!SafeSave::write(folder.filePath(QStringLiteral("%1tp.csv").arg(route)),
                             ShiftJis::encode(announcements)))
            return QStringLiteral("not written");
        return TestSupport::setRoute(ctl, QString::number(route), QStringLiteral("1"));
    }
    void press(const QString& name) { TestSupport::click(ctl, name); }
    double heard(Alias alias) const { return capture.seconds(mdlSndAPI::deviceName(alias)); }
};

} // namespace

class tst_mdlM_Tape : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TestSupport::prepareWindowTests(); }

    void speechUsableOrNot() {
        const std::function<void(JTalkSpeech::Config&)> unusable[] = {
            [](JTalkSpeech::Config& c) { c.program = QStringLiteral("/nowhere/open_jtalk"); },
            [](JTalkSpeech::Config& c) {
                c.voiceFolders = {QFileInfo(c.settingsFile).path(), QStringLiteral("/nowhere")};
            },
            [](JTalkSpeech::Config& c) {
                c.dictionaryFolders = {QFileInfo(c.settingsFile).path()};
            },
        };
        for (const auto& change : unusable) {
            auto boxes = std::make_unique<MessageBoxHook>();
            Rig rig(change);
            QCOMPARE(rig.group.title(), QStringLiteral("音合使用不可"));
            QCOMPARE(TestSupport::lastMessage(*boxes), QString());
            boxes.reset();
            // The file is read all the same; the group stays disabled.
            QCOMPARE(rig.setRoute(QStringLiteral("a,0,0\nb,0,0\n")), QString());
            QCOMPARE(rig.tape.GetTapeCount(), 2);
            QVERIFY(!rig.group.isEnabled());
        }
        // The one system without announcements: no engine is made, no file read.
        KvRes::ChoiceHook system;
        system.setOsInfo(QStringLiteral("Windows Vista"));
        Rig rig;
        QVERIFY(rig.speech == nullptr);
        QCOMPARE(rig.group.title(), QStringLiteral("音合使用不可"));
        rig.setRoute(QStringLiteral("a,0,0\n"));
        QCOMPARE(rig.tape.GetTapeCount(), 0);
        QVERIFY(!rig.group.isEnabled());
    }

    void stepsSpeakUntilTheEnds() {
        Rig rig;
        QCOMPARE(rig.group.title(), QStringLiteral("音合使用可"));
        QSignalSpy stops(rig.speech, &JTalkSpeech::stopped);
        // Empty: forward stays at 0, back goes to 1; nothing sounds or is spoken.
        rig.setRoute(QString());
        QVERIFY(rig.group.isEnabled());
        rig.press(QStringLiteral("cmdTapeNext"));
        QCOMPARE(rig.tape.GetTapeIndex(), 0);
        rig.press(QStringLiteral("cmdTapeBack"));
        QCOMPARE(rig.tape.GetTapeIndex(), 1);
        QCOMPARE(stops.count(), 0);

        // Three lines, four presses: each of the three is spoken (and the one before stopped),
        // the fourth does nothing. Flags 0 and 4 speak without a sound.
        rig.setRoute(
            QStringLiteral("次は、北町です。,0,0\r\n次は、港町です。,0,4\r\n終点です。,0,1"));
        for (int press = 1; press <= 4; ++press) {
            rig.press(QStringLiteral("cmdTapeNext"));
            QCOMPARE(rig.tape.GetTapeIndex(), std::min(press, 3));
            QCOMPARE(stops.count(), std::min(press, 3));
            QCOMPARE(rig.heard(Alias::S3) > 0.4, press >= 3);
        }
        QTRY_VERIFY_WITH_TIMEOUT(rig.capture.seconds(QStringLiteral("speech")) > 0.5, 20000);
        rig.press(QStringLiteral("cmdTapeStop"));
        QCOMPARE(stops.count(), 4);
        SpeechAdjustHook adjust;
        rig.press(QStringLiteral("cmdTapeSet"));
        QCOMPARE(adjust.asked().size(), 1);
        QCOMPARE(adjust.asked()[0].owner, &rig.ctl);
        QCOMPARE(adjust.asked()[0].title, QStringLiteral("音声の調節"));

        // An empty text cannot be spoken (status -1): exactly one more stop follows.
        rig.setRoute(QStringLiteral("\"\",0,0\n"));
        stops.clear();
        rig.press(QStringLiteral("cmdTapeNext"));
        QCOMPARE(stops.count(), 2);

        // Five lines after eight: the list is the five, from before the first.
        rig.setRoute(QStringLiteral("a,0,1\n").repeated(8));
        rig.setRoute(QStringLiteral("a,0,2\n").repeated(5));
        QCOMPARE(rig.tape.GetTapeCount(), 5);
        QCOMPARE(rig.tape.GetTapeIndex(), 0);
        QCOMPARE(rig.tape.GetTapeSoundFlag(5), 2);
        QCOMPARE(rig.tape.GetTapeSoundFlag(6), 0);

        // Always one sound: forward plays it whatever the flag; back still the flag's, on S2.
        TestSupport::changeSettings(rig.program.options(), [](IniRecord& s) {
            s.PreSoundAlways = -1;
            s.PreSoundByFlag = 0;
        });
        const double before = rig.heard(Alias::S3);
        for (int press = 0; press < 3; ++press)
            rig.press(QStringLiteral("cmdTapeNext"));
        QVERIFY(std::abs(rig.heard(Alias::S3) - before - 3 * 0.76) < 0.2);
        rig.press(QStringLiteral("cmdTapeBack"));
        QVERIFY(std::abs(rig.heard(Alias::S2) - 0.68) < 0.1);
    }

    void linkedAnnouncementsStepTheFares() {
        Rig rig;
        TestSupport::changeSettings(rig.program.options(),
                                    [](IniRecord& s) { s.PreSoundByFlag = 0; });
        // Before any fares are set, a linked announcement has none to step.
        rig.setRoute(QStringLiteral("a,1,0\n"), 2);
        rig.press(QStringLiteral("cmdTapeNext"));
        QCOMPARE(rig.ctl.RouteData().CurStop, 0);
        rig.setRoute(QStringLiteral("a,0,0\nb,1,0\nc,1,0\n"));
        // Forward: unlinked, linked, linked, then the linked last again, stepping each time. Back:
        // onto the linked second, stepping back, then onto the unlinked first, twice.
        const int stops[] = {0, 1, 2, 3, 4, 3, 3, 3};
        for (int k = 0; k < 8; ++k) {
            rig.press(k < 5 ? QStringLiteral("cmdTapeNext") : QStringLiteral("cmdTapeBack"));
            QCOMPARE(rig.ctl.RouteData().CurStop, stops[k]);
            if (k == 4)
                QCOMPARE(rig.program.form().Degit(1).Value().toInt(), 501);
        }

        // A file that fails to load disables the group. Missing: the list stays as it was.
        QVERIFY(QFile::remove(rig.folder.filePath(QStringLiteral("1tp.csv"))));
        rig.press(QStringLiteral("Command1(1)"));
        QVERIFY(!rig.group.isEnabled());
        QCOMPARE(rig.tape.GetTapeCount(), 3);
        QCOMPARE(rig.tape.GetTapeLinkFlag(3), 1);
        // A number out of range on line 2: the new list up to there, the position on it.
        rig.setRoute(QStringLiteral("x,0,3\ny,40000,0\nz,1,1\n"));
        QVERIFY(!rig.group.isEnabled());
        QCOMPARE(rig.tape.GetTapeCount(), 3);
        QCOMPARE(rig.tape.GetTapeIndex(), 2);
        QCOMPARE(rig.tape.GetTapeSoundFlag(1), 3);
        QCOMPARE(rig.tape.GetTapeLinkFlag(3), 0);
        rig.setRoute(QStringLiteral("x,0,3\n"));
        QVERIFY(rig.group.isEnabled());
    }
};

QTEST_MAIN(tst_mdlM_Tape)
#include "tst_mdlM_Tape.moc"
