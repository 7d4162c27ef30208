#include "render/FakeClock.h"
#include "render/RideAudio.h"

#include <QtTest>
#include <algorithm>

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

class tst_RideAudio : public QObject {
    Q_OBJECT
private slots:
    void soundsFollowTheAliasRules();
};

void tst_RideAudio::soundsFollowTheAliasRules() {
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

QTEST_GUILESS_MAIN(tst_RideAudio)
#include "tst_RideAudio.moc"
