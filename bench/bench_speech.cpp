// Speech: how soon an announcement is heard after Speak, and after the driver presses "送り" on
// the operating panel, from the cache and rendered on demand; how fast the cache fills; and how
// long speaking ever holds up the user-interface thread.

#include "BenchSupport.h"
#include "Q57App.h"
#include "SoundOutput.h"
#include "announce/JTalkSpeech.h"
#include "app/FareFile.h"
#include "app/frmCtl.h"
#include "options/frmOption.h"
#include "platform/SafeSave.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

// Twenty characters, as a stop's announcement begins.
const QString kTwenty = QStringLiteral("次は、市民会館前です。お降りの方はどうぞ");

const QStringList kRoute{
    QStringLiteral("次は、市役所前です。おおりのかたは、お知らせください。"),
    QStringLiteral("次は、中央病院前です。"),
    QStringLiteral("次は、県立図書館前です。"),
    QStringLiteral(
        "次は、駅前バスターミナルです。どなたさまも、お忘れ物のないよう、ご注意ください。"),
    QStringLiteral("次は、南町三丁目です。"),
    QStringLiteral("次は、市民会館前です。"),
    QStringLiteral("次は、北高校前です。"),
    QStringLiteral("次は、運動公園入口です。"),
    QStringLiteral("次は、消防署前です。"),
    QStringLiteral("次は、終点、車庫前です。"),
};

// An engine with a cache of its own, playing into the stand-in output.
struct Engine {
    QTemporaryDir folder;
    Output output;
    std::unique_ptr<JTalkSpeech> speech;

    Engine() {
        JTalkSpeech::Config config;
        config.settingsFile = folder.filePath(QStringLiteral("speech.ini"));
        config.cacheFolder = folder.filePath(QStringLiteral("cache"));
        speech = JTalkSpeech::create(config, output.sinks());
        if (!speech)
            qFatal("Open JTalk is not installed");
    }
    void renderAhead(const QStringList& texts) {
        QSignalSpy done(speech.get(), &JTalkSpeech::renderedAhead);
        speech->RenderAhead(texts);
        if (done.isEmpty() && !done.wait(60000))
            qFatal("the cache does not fill");
    }
    // From Speak to the output's first buffer, in milliseconds.
    double speakToFirstBuffer(const QString& text) {
        speech->Stop();
        runEventsFor(20);
        output.firstBuffer = 0;
        const Clock::time_point spoken = Clock::now();
        speech->Speak(text);
        return std::chrono::duration<double, std::milli>(output.waitForFirstBuffer() - spoken)
            .count();
    }
};

void BM_SpeakToFirstBuffer(benchmark::State& state) {
    const bool cached = state.range(0) != 0;
    Engine engine;
    if (cached)
        engine.renderAhead(kRoute);
    std::vector<double> latencies;
    int round = 0;
    for (auto _ : state) {
        const QString text = cached ? kRoute[round++ % kRoute.size()] : kTwenty;
        if (!cached)
            QFile::remove(engine.speech->cacheFile(text));
        latencies.push_back(engine.speakToFirstBuffer(text));
        state.SetIterationTime(latencies.back() / 1000);
    }
    engine.speech->Stop();
    state.counters["median_ms"] = median(latencies);
    state.counters["max_ms"] = *std::max_element(latencies.begin(), latencies.end());
}
BENCHMARK(BM_SpeakToFirstBuffer)
    ->ArgName("cached")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(20)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// RenderAhead of a route's ten announcements into an empty cache, one text at a time.
void BM_RenderAheadThroughput(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) {
        Engine engine;
        const Clock::time_point start = Clock::now();
        engine.renderAhead(kRoute);
        const std::chrono::duration<double> took = Clock::now() - start;
        state.SetIterationTime(took.count());
        seconds += took.count();
    }
    state.counters["texts_per_s"] = double(state.iterations() * kRoute.size()) / seconds;
}
BENCHMARK(BM_RenderAheadThroughput)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The longest gap between the turns of a 1 ms timer on the UI thread while announcements are
// spoken: rendered on demand, cut off by the next, stopped, and played from the cache while the
// rest of the route renders ahead. The same timer over as long a time without speech shows what the
// machine's other work costs.
void BM_LongestUiBlockWhileSpeaking(benchmark::State& state) {
    Engine engine;
    std::vector<double> speaking;
    std::vector<double> idle;
    for (auto _ : state) {
        Heartbeat heartbeat(1);
        runEventsFor(3000);
        idle.push_back(double(heartbeat.takeLongest()));
        for (const QString& text : kRoute + QStringList{kTwenty})
            QFile::remove(engine.speech->cacheFile(text));
        engine.speech->Speak(kTwenty);
        runEventsFor(300);
        engine.speech->Stop();
        engine.speech->Speak(kTwenty);
        while (engine.speech->Status() == 1)
            runEventsFor(5);
        engine.speech->RenderAhead(kRoute);
        for (const QString& text : kRoute) {
            engine.speech->Stop();
            engine.speech->Speak(text);
            runEventsFor(400);
        }
        engine.speech->Stop();
        speaking.push_back(double(heartbeat.takeLongest()));
        engine.renderAhead({});
    }
    // Each run's longest block: the middle one, and the worst.
    state.counters["longest_block_median_ms"] = median(speaking);
    state.counters["longest_block_max_ms"] = *std::max_element(speaking.begin(), speaking.end());
    state.counters["idle_median_ms"] = median(idle);
    state.counters["idle_max_ms"] = *std::max_element(idle.begin(), idle.end());
}
BENCHMARK(BM_LongestUiBlockWhileSpeaking)->Iterations(7)->Unit(benchmark::kMillisecond);

// The program, as the driver runs it, with the real engine speaking into the stand-in output:
// route 1's fares and announcements in a folder of its own, no pre-announcement sounds, the
// settings and the speech cache in temporary folders.
struct Program {
    // Before the program reads its settings: a settings file of its own.
    const bool prepared = (TestSupport::prepareWindowTests(), true);
    QTemporaryDir folder;
    Output output;
    JTalkSpeech* speech = nullptr;
    Q57App program;
    frmCtl& ctl = program.operatingPanel();

    Program()
        : program({}, [this] {
              JTalkSpeech::Config config;
              config.settingsFile = folder.filePath(QStringLiteral("speech.ini"));
              config.cacheFolder = folder.filePath(QStringLiteral("cache"));
              std::unique_ptr<JTalkSpeech> made = JTalkSpeech::create(config, output.sinks());
              speech = made.get();
              return made;
          }) {
        program.start();
        if (speech == nullptr)
            qFatal("Open JTalk is not installed");
        ctl.setLampTestMilliseconds(0);
        if (!SafeSave::write(folder.filePath(QStringLiteral("1.hy3")),
                             FareFile::encode(std::vector<FareRecord>(12)).valueOrThrow()))
            qFatal("cannot write the fares");
        TestSupport::changeSettings(program.options(), [this](IniRecord& s) {
            s.FareDataDir = s.TapeDataDir = folder.path();
            s.PreSoundAlways = 0;
            s.PreSoundByFlag = 0;
        });
    }
    // Sets route 1 with these announcements, one a line, unlinked and without sounds.
    void setRoute(const QStringList& texts) {
        QString file;
        for (const QString& text : texts)
            file += text + QStringLiteral(",0,0\r\n");
        if (!SafeSave::write(folder.filePath(QStringLiteral("1tp.csv")), ShiftJis::encode(file)))
            qFatal("cannot write the announcements");
        TestSupport::setRoute(ctl, QStringLiteral("1"), QStringLiteral("1"));
    }
    void waitForRenderedAhead() {
        QSignalSpy done(speech, &JTalkSpeech::renderedAhead);
        if (done.isEmpty() && !done.wait(60000))
            qFatal("the cache does not fill");
    }
    // From the press of "送り" to the output's first buffer, in milliseconds.
    double pressToFirstBuffer() {
        output.firstBuffer = 0;
        const Clock::time_point pressed = Clock::now();
        TestSupport::click(ctl, QStringLiteral("cmdTapeNext"));
        return std::chrono::duration<double, std::milli>(output.waitForFirstBuffer() - pressed)
            .count();
    }
    void waitUntilSpoken() {
        while (speech->Status() == 1)
            runEventsFor(5);
    }
};

// "送り" pressed on a route just set: its announcement played from the cache (the route's texts
// rendered ahead first), or a new twenty-character one, which the loading of the route has just
// begun to render. Also the longest block of the UI thread from the press until the text has
// played.
void BM_PressNextToFirstBuffer(benchmark::State& state) {
    const bool cached = state.range(0) != 0;
    Program program;
    if (cached) {
        program.setRoute(kRoute);
        program.waitForRenderedAhead();
    }
    std::vector<double> latencies;
    std::vector<double> blocks;
    int round = 0;
    for (auto _ : state) {
        if (cached) {
            // Past the last announcement, the route is set again to start from the first.
            if (round % kRoute.size() == 0)
                program.setRoute(kRoute);
        } else {
            // Twenty characters that no earlier round spoke.
            program.setRoute({kTwenty.left(17) + QString::number(100 + round)});
        }
        ++round;
        runEventsFor(20);
        Heartbeat heartbeat(1);
        latencies.push_back(program.pressToFirstBuffer());
        program.waitUntilSpoken();
        blocks.push_back(double(heartbeat.takeLongest()));
        state.SetIterationTime(latencies.back() / 1000);
    }
    program.speech->Stop();
    state.counters["median_ms"] = median(latencies);
    state.counters["max_ms"] = *std::max_element(latencies.begin(), latencies.end());
    state.counters["ui_block_median_ms"] = median(blocks);
    state.counters["ui_block_max_ms"] = *std::max_element(blocks.begin(), blocks.end());
}
BENCHMARK(BM_PressNextToFirstBuffer)
    ->ArgName("cached")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(15)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
