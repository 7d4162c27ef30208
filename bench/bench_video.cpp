// Video: how fast the writer encodes ten seconds of a ride, beside what GStreamer's own test
// pattern costs through the same encoder (the floor no writer of ours can beat).

#include "render/RideAudio.h"
#include "render/RideClock.h"
#include "render/VideoWriter.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <gst/gst.h>

namespace {

constexpr int kFps = 30;
constexpr int kFrames = 10 * kFps;

struct StillClock : RideClock {
    qint64 now() const override { return 0; }
    void advance(qint64) override {}
};

QSize frameSize(const benchmark::State& state) {
    return QSize(756, 308) * int(state.range(0));
}

// Ten seconds of a mostly still panel with a chime, as a ride looks between stops.
void BM_WriteTenSeconds(benchmark::State& state) {
    const QSize size = frameSize(state);
    StillClock clock;
    RideAudio audio(clock);
    audio.PlaySoundFile(QStringLiteral(Q57_SOURCE_DIR "/data/sounds/route_set.wav"),
                        mdlSndAPI::Alias::S1, false, 0);
    QImage frame(size, QImage::Format_RGB32);
    QTemporaryDir folder;
    for (auto _ : state) {
        auto writer =
            VideoWriter::open({folder.filePath(QStringLiteral("ride.webm")), size, kFps}, audio)
                .valueOrThrow();
        for (int n = 0; n < kFrames; ++n) {
            frame.fill(Qt::black);
            QPainter(&frame).fillRect(n % size.width(), size.height() / 2, 40, 20, Qt::green);
            if (!writer->addFrame(frame.constBits(), frame.bytesPerLine())) {
                state.SkipWithError("a frame was refused");
                return;
            }
        }
        writer->finish().valueOrThrow();
    }
    state.counters["x_real_time"] =
        benchmark::Counter(10.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WriteTenSeconds)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FloorTestPattern(benchmark::State& state) {
    const QSize size = frameSize(state);
    const QByteArray description = "videotestsrc num-buffers=" + QByteArray::number(kFrames) +
                                   " ! video/x-raw,width=" + QByteArray::number(size.width()) +
                                   ",height=" + QByteArray::number(size.height()) +
                                   ",framerate=30/1 ! videoconvert ! "
                                   "vp8enc deadline=1 cpu-used=8 threads=2 ! webmmux ! fakesink";
    for (auto _ : state) {
        GstElement* pipeline = gst_parse_launch(description.constData(), nullptr);
        GstBus* bus = gst_element_get_bus(pipeline);
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        if (GstMessage* message = gst_bus_timed_pop_filtered(
                bus, GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)))
            gst_message_unref(message);
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(bus);
        gst_object_unref(pipeline);
    }
    state.counters["x_real_time"] =
        benchmark::Counter(10.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FloorTestPattern)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
