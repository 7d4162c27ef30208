#include "render/FakeClock.h"
#include "render/RideAudio.h"
#include "render/VideoWriter.h"
#include "support/VideoDecode.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <gst/gst.h>

class tst_VideoWriter : public QObject {
    Q_OBJECT
private slots:
    void writesFramesAndSoundAtTheirTimes();
    void refusesWhatItCannotWrite();
};

void tst_VideoWriter::writesFramesAndSoundAtTheirTimes() {
    QTemporaryDir folder;
    FakeClock clock;
    RideAudio audio(clock);
    clock.t = 1000;
    audio.PlaySoundFile(QStringLiteral(Q57_SOURCE_DIR "/data/sounds/route_set.wav"),
                        mdlSndAPI::Alias::S1, false, 0);
    const qint64 toneEnd = audio.soundEnd();

    const QString path = folder.filePath(QStringLiteral("ride.webm"));
    auto opened = VideoWriter::open({path, QSize(160, 120), 30}, audio);
    QVERIFY2(opened, opened ? "" : qPrintable(opened.error().description()));
    const std::unique_ptr<VideoWriter> writer = std::move(opened).value();
    QImage frame(160, 120, QImage::Format_RGB32);
    for (int n = 0; n < 60; ++n) {
        frame.fill(n < 30 ? Qt::red : Qt::blue);
        QVERIFY(writer->addFrame(frame.constBits(), frame.bytesPerLine()));
    }
    QVERIFY(!QFile::exists(path));
    QVERIFY(writer->finish());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("ride.webm")});

    const TestSupport::DecodedVideo video = TestSupport::decodeVideo(path, {500, 1500});
    QVERIFY2(video.error.isEmpty(), qPrintable(video.error));
    QVERIFY2(qAbs(video.durationMs - 2000) <= 34, qPrintable(QString::number(video.durationMs)));
    QCOMPARE(video.frameCount, 60);
    const QRgb red = video.frames.value(500).pixel(80, 60);
    const QRgb blue = video.frames.value(1500).pixel(80, 60);
    QVERIFY(qRed(red) > 200 && qBlue(red) < 60);
    QVERIFY(qBlue(blue) > 200 && qRed(blue) < 60);
    QVERIFY(video.peak(100, 900) < 300);
    QVERIFY(video.peak(1050, toneEnd - 50) > 3000);
    QVERIFY(video.peak(toneEnd + 100, 2000) < 300);
}

void tst_VideoWriter::refusesWhatItCannotWrite() {
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

QTEST_GUILESS_MAIN(tst_VideoWriter)
#include "tst_VideoWriter.moc"
