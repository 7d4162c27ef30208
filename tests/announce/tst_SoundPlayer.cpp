#include "announce/SoundPlayer.h"
#include "platform/SafeSave.h"
#include "support/SoundCapture.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kDevice = QStringLiteral("player");

const auto sound = SoundCapture::sample;

} // namespace

class tst_SoundPlayer : public QObject {
    Q_OBJECT
private slots:
    void playsEachKindForItsLength_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("length");
        QTest::newRow("WAV") << sound("route_set.wav") << 0.76;
        QTest::newRow("MP3") << sound("two_tone.mp3") << 1.95;
        QTest::newRow("MIDI") << sound("four_tone.mid") << 2.33;
    }

    void playsEachKindForItsLength() {
        QFETCH(QString, file);
        QFETCH(double, length);
        SoundCapture capture;
        SoundPlayer player(capture.sinks(kDevice));
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QVERIFY(player.open(file));
        player.play();
        QVERIFY(player.isPlaying());
        // Finished soon after its end and not before it was heard whole; the MP3 encoder adds a
        // few frames of silence at either end.
        QVERIFY(finished.wait(int(1000 * length) + 1500));
        QVERIFY(!player.isPlaying());
        QCOMPARE(finished.count(), 1);
        QVERIFY2(std::abs(capture.seconds(kDevice) - length) < 0.12,
                 qPrintable(QString::number(capture.seconds(kDevice))));
        // Loud enough to hear, not only for the sampled sounds but for the synthesised MIDI too.
        QVERIFY2(capture.peak(kDevice) > 32767 / 4,
                 qPrintable(QString::number(capture.peak(kDevice))));
    }

    void anotherKindOrWhatIsNoSoundCutsOff() {
        SoundCapture capture;
        SoundPlayer player(capture.sinks(kDevice));
        QSignalSpy finished(&player, &SoundPlayer::finished);

        QVERIFY(player.open(sound("four_tone.mid")));
        player.play();
        QTest::qWait(300);
        QVERIFY(player.open(sound("step3.wav")));
        QCOMPARE(finished.count(), 1);
        QVERIFY(!player.isPlaying());
        const double atCut = capture.seconds(kDevice);
        QVERIFY(atCut > 0.1);
        QTest::qWait(300);
        QVERIFY2(capture.seconds(kDevice) - atCut < 0.05, qPrintable(QString::number(atCut)));

        // An open that fails has still cut off the sound before it, and nothing plays after.
        QTemporaryDir folder;
        const QString text = folder.filePath(QStringLiteral("x.wav"));
        QVERIFY(SafeSave::write(text, "This is a note, not a sound.\n"));
        QVERIFY(player.open(sound("route_set.wav")));
        player.play();
        QVERIFY(!player.open(text));
        QCOMPARE(finished.count(), 2);
        QVERIFY(!player.open(folder.filePath(QStringLiteral("missing.wav"))));
        player.play();
        QVERIFY(!player.isPlaying());
        QTest::qWait(100);
        const double before = capture.seconds(kDevice);
        QTest::qWait(300);
        QCOMPARE(capture.seconds(kDevice), before);

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
        QCOMPARE(capture.seconds(kDevice), before);
    }
};

QTEST_GUILESS_MAIN(tst_SoundPlayer)
#include "tst_SoundPlayer.moc"
