// Video: how fast the writer encodes ten seconds of a ride. The floor under it, GStreamer's own
// test pattern through the encoder, is measured beside the whole renderer in bench_render.

#include "render/RideAudio.h"
#include "render/RideClock.h"
#include "render/VideoWriter.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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

} // namespace
