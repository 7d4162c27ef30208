#include "render/FakeClock.h"
#include "render/RenderedSpeech.h"
#include "render/RideAudio.h"

#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

bool loud(const RideAudio& audio, qint64 fromMs, qint64 toMs) {
    const QByteArray pcm = audio.mix(fromMs * 48, toMs * 48);
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    return std::any_of(samples, samples + pcm.size() / 2,
                       [](qint16 value) { return std::abs(int(value)) > 2000; });
}

} // namespace

class tst_RenderedSpeech : public QObject {
    Q_OBJECT
private slots:
    void speaksOnTheRidesClock();
};

void tst_RenderedSpeech::speaksOnTheRidesClock() {
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
    QVERIFY(!loud(audio, 0, 1000));
    QVERIFY(loud(audio, 1000, end));
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

QTEST_GUILESS_MAIN(tst_RenderedSpeech)
#include "tst_RenderedSpeech.moc"
