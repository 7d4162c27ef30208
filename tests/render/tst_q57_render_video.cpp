#include "controls/M_Degit.h"
#include "panel/Form1.h"
#include "panel/mdlQ57_000.h"
#include "settings/IniFile.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <gst/gst.h>
#include <map>

namespace {

const QColor kLit(248, 210, 114);
constexpr int kAudioRate = 8000;

// What the test reads back from a video: its length, frames at the times asked for, and the
// loudness of its sound track.
struct Decoded {
    qint64 videoEndMs = 0;           // the end of the last frame
    std::map<qint64, QImage> frames; // by the time asked for
    std::vector<qint16> samples;     // mono at kAudioRate
    QMutex lock;
    std::vector<qint64> wantedMs;

    double loudness(qint64 fromMs, qint64 toMs) const {
        double sum = 0;
        const qint64 from = fromMs * kAudioRate / 1000, to = toMs * kAudioRate / 1000;
        for (qint64 k = from; k < to && k < qint64(samples.size()); ++k)
            sum += double(samples[std::size_t(k)]) * samples[std::size_t(k)];
        return std::sqrt(sum / double(std::max<qint64>(to - from, 1)));
    }
};

GstFlowReturn takeVideo(GstElement* sink, gpointer data) {
    auto& decoded = *static_cast<Decoded*>(data);
    GstSample* sample = nullptr;
    g_signal_emit_by_name(sink, "pull-sample", &sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    const qint64 ms = qint64(GST_BUFFER_PTS(buffer) / GST_MSECOND);
    const qint64 frameMs = qint64(GST_BUFFER_DURATION(buffer) / GST_MSECOND);
    GstStructure* caps = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
    int width = 0, height = 0;
    gst_structure_get_int(caps, "width", &width);
    gst_structure_get_int(caps, "height", &height);
    QMutexLocker hold(&decoded.lock);
    decoded.videoEndMs = std::max(decoded.videoEndMs, ms + frameMs);
    for (qint64 wanted : decoded.wantedMs)
        if (wanted >= ms && wanted < ms + std::max<qint64>(frameMs, 1)) {
            GstMapInfo map;
            gst_buffer_map(buffer, &map, GST_MAP_READ);
            decoded.frames[wanted] =
                QImage(map.data, width, height, width * 4, QImage::Format_RGB32).copy();
            gst_buffer_unmap(buffer, &map);
        }
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

GstFlowReturn takeAudio(GstElement* sink, gpointer data) {
    auto& decoded = *static_cast<Decoded*>(data);
    GstSample* sample = nullptr;
    g_signal_emit_by_name(sink, "pull-sample", &sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    const auto* pcm = reinterpret_cast<const qint16*>(map.data);
    QMutexLocker hold(&decoded.lock);
    decoded.samples.insert(decoded.samples.end(), pcm, pcm + map.size / 2);
    gst_buffer_unmap(buffer, &map);
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

void decode(const QString& path, Decoded& decoded) {
    const QByteArray description =
        QStringLiteral("filesrc location=\"%1\" ! decodebin name=d "
                       "d. ! queue ! videoconvert ! video/x-raw,format=BGRx ! "
                       "appsink name=v emit-signals=true sync=false "
                       "d. ! queue ! audioconvert ! audioresample ! "
                       "audio/x-raw,format=S16LE,channels=1,rate=%2 ! "
                       "appsink name=a emit-signals=true sync=false")
            .arg(path)
            .arg(kAudioRate)
            .toUtf8();
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.constData(), &error);
    QVERIFY2(error == nullptr, error != nullptr ? error->message : "");
    GstElement* video = gst_bin_get_by_name(GST_BIN(pipeline), "v");
    GstElement* audio = gst_bin_get_by_name(GST_BIN(pipeline), "a");
    g_signal_connect(video, "new-sample", G_CALLBACK(takeVideo), &decoded);
    g_signal_connect(audio, "new-sample", G_CALLBACK(takeAudio), &decoded);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, 120 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool finished = end != nullptr && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end != nullptr)
        gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(video);
    gst_object_unref(audio);
    gst_object_unref(pipeline);
    QVERIFY(finished);
}

} // namespace

class tst_q57_render_video : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        TestSupport::prepareWindowTests();
        gst_init(nullptr, nullptr);
    }

    // Route 7 of the samples, scripted: the route set (its sound, 3 s of lamp test), a step
    // with its chime, the first announcement with its pre-announcement sound and speech.
    void scriptedRideOfRoute7() {
        QTemporaryDir folder;
        QFile sample(QStringLiteral(Q57_BUILD_DIR "/Q57.in4"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        Result<IniRecord> settings = IniFile::decode(sample.readAll());
        QVERIFY(settings);
        IniRecord record = settings.value();
        record.FareDataDir = QStringLiteral(Q57_SOURCE_DIR "/data/routes");
        // Sounds that hold the ride would move what follows by their lengths.
        record.StepSoundSync = 0;
        record.PreSoundSync = 0;
        QFile written(folder.filePath(QStringLiteral("ride.in4")));
        QVERIFY(written.open(QIODevice::WriteOnly));
        written.write(IniFile::encode(record).value());
        written.close();
        QFile script(folder.filePath(QStringLiteral("ride.csv")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("set,7\nwait,2\nstep\nwait,2\nannounce\nwait,5\n");
        script.close();

        const QString video = folder.filePath(QStringLiteral("ride.webm"));
        QProcess tool;
        tool.start(QStringLiteral(Q57_RENDER),
                   {QStringLiteral("video"), written.fileName(), QStringLiteral("7"),
                    QStringLiteral("--script"), script.fileName(), QStringLiteral("--out"), video});
        QVERIFY(tool.waitForFinished(300000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());

        Decoded decoded;
        decoded.wantedMs = {2000, 4000, 6000};
        decode(video, decoded);
        QVERIFY2(qAbs(decoded.videoEndMs - 12000) <= 1000 / 30 + 1,
                 qPrintable(QString::number(decoded.videoEndMs)));

        // Where the program's panel has its first two fare positions; the encoding leaves
        // colours near, not at, what was drawn.
        Form1 form;
        mdlQ57_000::InitFareDegits(form);
        const auto litOnly = [](QImage image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    const int off = qAbs(c.red() - kLit.red()) + qAbs(c.green() - kLit.green()) +
                                    qAbs(c.blue() - kLit.blue());
                    image.setPixelColor(x, y, off < 150 ? kLit : Qt::black);
                }
            return image;
        };
        const auto shown = [&](qint64 ms, int position) {
            M_Degit& digit = form.Degit(position);
            const QSize cell = M_Degit::cellSize(digit.DegitSize());
            const QImage part = litOnly(decoded.frames[ms].copy(digit.geometry()));
            return TestSupport::readSegments(part, cell.width(), cell.height(), kLit).trimmed();
        };
        QCOMPARE(shown(2000, 1), QStringLiteral("8888"));
        QCOMPARE(shown(4000, 1), QStringLiteral("150"));
        QCOMPARE(shown(6000, 1), QStringLiteral("190"));
        QCOMPARE(shown(6000, 2), QStringLiteral("150"));

        // Loud where the route-set sound, the step chime and the announcement start; silent
        // in the lamp test and between.
        const double quiet = 200;
        QVERIFY(decoded.loudness(50, 400) > 5 * quiet);
        QVERIFY(decoded.loudness(1200, 2800) < quiet);
        QVERIFY(decoded.loudness(3200, 4900) < quiet);
        QVERIFY(decoded.loudness(5050, 5400) > 5 * quiet);
        QVERIFY(decoded.loudness(5800, 6900) < quiet);
        QVERIFY(decoded.loudness(7050, 7400) > 5 * quiet);
    }
};

QTEST_MAIN(tst_q57_render_video)
#include "tst_q57_render_video.moc"
