// Rendering a ride to video: sample route 12 (sample settings, 30 fps, VP8) at scale 1 and 2,
// as a multiple of real time and with the renderer's peak memory, beside the floor GStreamer
// itself needs to encode 10 s of frames of the same sizes. Targets: 8x real time at scale 1,
// 3x at scale 2, at most 300 MB.

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <gst/gst.h>
#include <sys/resource.h>

namespace {

// The most any child process waited for so far has held, in MiB.
double childPeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) / 1024;
}

void BM_RenderRoute12(benchmark::State& state) {
    const int scale = int(state.range(0));
    QTemporaryDir folder;
    double rideSeconds = 0;
    for (auto _ : state) {
        QProcess tool;
        tool.setWorkingDirectory(QStringLiteral(Q57_SOURCE_DIR "/data/routes"));
        QElapsedTimer wall;
        wall.start();
        tool.start(QStringLiteral(Q57_RENDER),
                   {QStringLiteral("video"), QStringLiteral(Q57_BUILD_DIR "/Q57.in4"),
                    QStringLiteral("12"), QStringLiteral("--scale"), QString::number(scale),
                    QStringLiteral("--out"), folder.filePath(QStringLiteral("ride.webm"))});
        if (!tool.waitForFinished(-1) || tool.exitCode() != 0) {
            state.SkipWithError("q57_render failed");
            return;
        }
        state.SetIterationTime(double(wall.elapsed()) / 1000);
        // The progress line's last "M:SS rendered".
        const QString progress = QString::fromUtf8(tool.readAllStandardError());
        QRegularExpressionMatch last;
        for (const auto& match :
             QRegularExpression(QStringLiteral("(\\d+):(\\d\\d) rendered")).globalMatch(progress))
            last = match;
        rideSeconds = last.captured(1).toDouble() * 60 + last.captured(2).toDouble();
        state.counters["x_real_time"] = rideSeconds / (double(wall.elapsed()) / 1000);
    }
    state.counters["ride_s"] = rideSeconds;
    state.counters["peak_MB"] = childPeakMegabytes();
}
BENCHMARK(BM_RenderRoute12)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// GStreamer's own encoding of 10 s of test frames: the floor under any renderer.
void BM_EncoderFloor(benchmark::State& state) {
    const int scale = int(state.range(0));
    const QByteArray description =
        QStringLiteral("videotestsrc num-buffers=300 ! video/x-raw,width=%1,height=%2,"
                       "framerate=30/1 ! vp8enc deadline=1 cpu-used=8 ! webmmux ! fakesink")
            .arg(756 * scale)
            .arg(308 * scale)
            .toUtf8();
    gst_init(nullptr, nullptr);
    for (auto _ : state) {
        GstElement* pipeline = gst_parse_launch(description.constData(), nullptr);
        QElapsedTimer wall;
        wall.start();
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        GstBus* bus = gst_element_get_bus(pipeline);
        GstMessage* end = gst_bus_timed_pop_filtered(
            bus, GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        const bool failed = GST_MESSAGE_TYPE(end) == GST_MESSAGE_ERROR;
        state.SetIterationTime(double(wall.elapsed()) / 1000);
        gst_message_unref(end);
        gst_object_unref(bus);
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
        if (failed) {
            state.SkipWithError("the encoder pipeline failed");
            return;
        }
        state.counters["x_real_time"] = 10.0 / (double(wall.elapsed()) / 1000);
    }
}
BENCHMARK(BM_EncoderFloor)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

} // namespace
