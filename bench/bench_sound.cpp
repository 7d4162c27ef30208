// Sound: what a click's sound costs the user-interface thread, how soon it is heard, and the
// memory that the sound devices of a running simulator hold.

#include "BenchSupport.h"
#include "SoundOutput.h"
#include "announce/SoundPlayer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <gst/gst.h>
#include <memory>
#include <vector>

namespace {

QString sound(const char* name) {
    return QStringLiteral(Q57_SOURCE_DIR "/data/sounds/") + QLatin1String(name);
}

double cpuMilliseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double threadCpuMilliseconds() {
    return cpuMilliseconds(CLOCK_THREAD_CPUTIME_ID);
}

double processCpuMilliseconds() {
    return cpuMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
}

// Four players, as the simulator has for its four devices, each having played a sound: three
// sampled ones and a MIDI one. First in this file, so that the figure before is that of a
// program that has not touched GStreamer.
void BM_MemoryOfFourPlayers(benchmark::State& state) {
    const double before = residentMegabytes();
    double after = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<SoundPlayer>> players;
        for (const char* name : {"route_set.wav", "step3.wav", "two_tone.mp3", "four_tone.mid"}) {
            players.push_back(std::make_unique<SoundPlayer>());
            players.back()->open(sound(name));
            players.back()->play();
        }
        while (std::any_of(players.begin(), players.end(), [](auto& p) { return p->isPlaying(); }))
            runEventsFor(20);
        after = residentMegabytes();
    }
    state.counters["before_MB"] = before;
    state.counters["after_MB"] = after;
    state.counters["added_MB"] = after - before;
}
BENCHMARK(BM_MemoryOfFourPlayers)->Iterations(1)->Unit(benchmark::kMillisecond);

// From play() to the first buffer the output renders, for a sound that is not waited for: the
// key click again (the player rewinds it), or in turn with the route chime (loaded afresh).
void BM_FirstBufferAfterPlay(benchmark::State& state) {
    const bool alternate = state.range(0) != 0;
    Output output;
    SoundPlayer player(output.sinks());
    std::vector<double> afterPlay;
    std::vector<double> afterOpen;
    int round = 0;
    for (auto _ : state) {
        const char* name = alternate && round++ % 2 ? "route_set.wav" : "key_click.wav";
        output.firstBuffer = 0;
        const Clock::time_point opened = Clock::now();
        player.open(sound(name));
        const Clock::time_point played = Clock::now();
        player.play();
        const Clock::time_point first = output.waitForFirstBuffer();
        const std::chrono::duration<double> latency = first - played;
        state.SetIterationTime(latency.count());
        afterPlay.push_back(latency.count() * 1000);
        afterOpen.push_back(std::chrono::duration<double, std::milli>(first - opened).count());
        // To its end, so that the next first buffer cannot be one of this sound's.
        while (player.isPlaying())
            runEventsFor(5);
    }
    state.counters["median_ms"] = median(afterPlay);
    state.counters["max_ms"] = *std::max_element(afterPlay.begin(), afterPlay.end());
    state.counters["from_open_median_ms"] = median(afterOpen);
}
BENCHMARK(BM_FirstBufferAfterPlay)
    ->ArgName("alternate")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// What open() and play() take on the calling thread, with the stand-in output or with the
// system's output (here without a sound card, so autoaudiosink's fallback).
void BM_OpenAndPlayCall(benchmark::State& state) {
    const bool alternate = state.range(0) != 0;
    const bool systemOutput = state.range(1) != 0;
    Output output;
    SoundPlayer player(systemOutput ? SoundPlayer::AudioSinkFactory() : output.sinks());
    std::vector<double> calls;
    std::vector<double> cpu;
    int round = 0;
    for (auto _ : state) {
        const char* name = alternate && round++ % 2 ? "route_set.wav" : "key_click.wav";
        const double cpuStart = threadCpuMilliseconds();
        const Clock::time_point start = Clock::now();
        player.open(sound(name));
        player.play();
        const std::chrono::duration<double> call = Clock::now() - start;
        cpu.push_back(threadCpuMilliseconds() - cpuStart);
        state.SetIterationTime(call.count());
        calls.push_back(call.count() * 1000);
        runEventsFor(60);
    }
    state.counters["median_ms"] = median(calls);
    state.counters["max_ms"] = *std::max_element(calls.begin(), calls.end());
    // The calling thread's own work, without the time it lost to other threads on a busy machine.
    state.counters["cpu_median_ms"] = median(cpu);
}
BENCHMARK(BM_OpenAndPlayCall)
    ->ArgNames({"alternate", "system_output"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Iterations(60)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The whole process's CPU, every thread, for one step sound played to its end, as a step
// does it on the system's output: the same chime again, or a different chime each time.
void BM_ProcessCpuPerSound(benchmark::State& state) {
    const bool alternate = state.range(0) != 0;
    SoundPlayer player;
    std::vector<double> cpu;
    int round = 0;
    for (auto _ : state) {
        const char* name = alternate && round++ % 2 ? "step3.wav" : "step1.wav";
        const double start = processCpuMilliseconds();
        player.stop();
        player.open(sound(name));
        player.play();
        // Woken only by the end, as the program waits: a polling wait would cost more than
        // the sound.
        QEventLoop loop;
        QObject::connect(&player, &SoundPlayer::finished, &loop, &QEventLoop::quit);
        if (player.isPlaying())
            loop.exec();
        cpu.push_back(processCpuMilliseconds() - start);
    }
    state.counters["cpu_median_ms"] = median(cpu);
}
BENCHMARK(BM_ProcessCpuPerSound)
    ->ArgName("alternate")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

// What opening a MIDI file takes on the calling thread: on a new player, whose synthesiser and
// soundfont are set up in the player's own thread, and on one that has two files in turn.
void BM_OpenMidi(benchmark::State& state) {
    const bool firstOfPlayer = state.range(0) != 0;
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("copy.mid"));
    QFile::copy(sound("four_tone.mid"), copy);
    Output output;
    auto player = std::make_unique<SoundPlayer>(output.sinks());
    int round = 0;
    for (auto _ : state) {
        if (firstOfPlayer)
            player = std::make_unique<SoundPlayer>(output.sinks());
        const Clock::time_point start = Clock::now();
        player->open(round++ % 2 ? copy : sound("four_tone.mid"));
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        runEventsFor(20);
    }
}
BENCHMARK(BM_OpenMidi)
    ->ArgName("first_of_player")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
