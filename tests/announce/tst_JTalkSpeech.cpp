#include "announce/JTalkSpeech.h"
#include "announce/SpeechAdjustDialog.h"
#include "platform/SafeSave.h"
#include "support/SoundCapture.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

class tst_JTalkSpeech : public QObject {
    Q_OBJECT
private slots:
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

        // Spoken while the list is rendering it: heard once, and the list goes on to the rest
        // with nothing left half-written.
        Fixture racing;
        auto raced = racing.make();
        QSignalSpy rest(raced.get(), &JTalkSpeech::renderedAhead);
        raced->RenderAhead({kShort, texts[3]});
        raced->Speak(kShort);
        QTRY_COMPARE_WITH_TIMEOUT(raced->Status(), 0, kWait);
        QVERIFY2(std::abs(racing.heard() - wavSeconds(raced->cacheFile(kShort))) < 0.15,
                 qPrintable(QString::number(racing.heard())));
        QTRY_COMPARE_WITH_TIMEOUT(rest.count(), 1, kWait);
        QVERIFY(QFileInfo::exists(raced->cacheFile(texts[3])));
        QTRY_VERIFY(
            QDir(racing.config.cacheFolder).entryList({QStringLiteral("*.part")}).isEmpty());
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

QTEST_MAIN(tst_JTalkSpeech)
#include "tst_JTalkSpeech.moc"
