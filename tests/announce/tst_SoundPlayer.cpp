#include "announce/SoundPlayer.h"
#include "platform/SafeSave.h"
#include "support/SoundCapture.h"

#include <QElapsedTimer>
#include <QFile>
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
        QElapsedTimer clock;
        clock.start();
        player.play();
        QVERIFY(player.isPlaying());
        QVERIFY(finished.wait(10000));
        const double elapsed = clock.elapsed() / 1000.0;

        QVERIFY(!player.isPlaying());
        QCOMPARE(finished.count(), 1);
        // The MP3 encoder adds a few frames of silence at either end.
        QVERIFY2(std::abs(capture.seconds(kDevice) - length) < 0.12,
                 qPrintable(QString::number(capture.seconds(kDevice))));
        QVERIFY2(elapsed > capture.seconds(kDevice) - 0.05 && elapsed < length + 1.5,
                 qPrintable(QString::number(elapsed)));
        // Loud enough to hear, not only for the sampled sounds but for the synthesised MIDI too.
        QVERIFY2(capture.peak(kDevice) > 32767 / 4,
                 qPrintable(QString::number(capture.peak(kDevice))));
    }

    void anotherKindCutsOffMidi() {
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
    }

    void notASoundPlaysNothing() {
        QTemporaryDir folder;
        const QString text = folder.filePath(QStringLiteral("x.wav"));
        QVERIFY(SafeSave::write(text, "This is a note, not a sound.\n"));

        SoundCapture capture;
        SoundPlayer player(capture.sinks(kDevice));
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QVERIFY(player.open(sound("route_set.wav")));
        player.play();
        // An open that fails has still cut off the sound before it.
        QVERIFY(!player.open(text));
        QCOMPARE(finished.count(), 1);
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

    // A file kept ready or played before starts again from its start and plays whole; changed
    // on disk, or failing while kept aside, it is loaded afresh, and its failure reaches no
    // other sound.
    void replaysWholeAndReloadsWhatChanged() {
        QTemporaryDir folder;
        const QString chime = folder.filePath(QStringLiteral("chime.wav"));
        const QString damaged = folder.filePath(QStringLiteral("damaged.wav"));
        QVERIFY(QFile::copy(sound("route_set.wav"), chime));
        QVERIFY(SafeSave::write(damaged,
                                QByteArray("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0", 24)));
        SoundCapture capture;
        SoundPlayer player(capture.sinks(kDevice));
        QSignalSpy finished(&player, &SoundPlayer::finished);
        const auto heard = [&](const QString& file) {
            const double before = capture.seconds(kDevice);
            player.stop();
            if (!player.open(file))
                return -1.0;
            player.play();
            return finished.wait(5000) ? capture.seconds(kDevice) - before : -1.0;
        };
        player.prepare(damaged);
        player.prepare(chime);
        const double lengths[] = {heard(chime), heard(chime)};
        QFile::remove(chime);
        QVERIFY(QFile::copy(sound("key_click.wav"), chime));
        const double changed = heard(chime);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged.wav")));
        const double failed = heard(damaged);
        const double after = heard(chime);
        for (const double seconds : lengths)
            QVERIFY2(std::abs(seconds - 0.76) < 0.12, qPrintable(QString::number(seconds)));
        QVERIFY2(changed > 0 && changed < 0.2, qPrintable(QString::number(changed)));
        QCOMPARE(failed, 0.0);
        QCOMPARE(after, changed);
    }
};

QTEST_GUILESS_MAIN(tst_SoundPlayer)
#include "tst_SoundPlayer.moc"
