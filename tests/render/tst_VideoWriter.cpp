#include "render/FakeClock.h"
#include "render/RideAudio.h"
#include "render/VideoWriter.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <gst/gst.h>

class tst_VideoWriter : public QObject {
    Q_OBJECT
private slots:
    void writesTheFileAtTheEnd();
    void refusesWhatItCannotWrite();
};

// Only a finished video appears under its name, and nothing beside it.
void tst_VideoWriter::writesTheFileAtTheEnd() {
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
