#pragma once

#include "BenchSupport.h"
#include "announce/SoundPlayer.h"

#include <atomic>
#include <chrono>
#include <gst/gst.h>

using Clock = std::chrono::steady_clock;

// The sink that the audio output falls back to without a sound card, a fakesink that keeps real
// time, noting when it renders its first buffer after being armed.
struct Output {
    std::atomic<Clock::rep> firstBuffer{0};

    SoundPlayer::AudioSinkFactory sinks() {
        return [this] {
            GstElement* sink = gst_element_factory_make("fakesink", nullptr);
            g_object_set(sink, "sync", TRUE, "signal-handoffs", TRUE, nullptr);
            g_signal_connect(sink, "handoff", G_CALLBACK(&Output::rendered), this);
            return sink;
        };
    }

    static void rendered(GstElement*, GstBuffer*, GstPad*, Output* output) {
        Clock::rep none = 0;
        output->firstBuffer.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
    }

    // The time is taken on the sink's thread; the wait sleeps between looks rather than
    // spinning, which would hold up the threads being measured and the UI thread itself.
    Clock::time_point waitForFirstBuffer() {
        while (firstBuffer == 0)
            runEventsFor(1);
        return Clock::time_point(Clock::duration(firstBuffer.load()));
    }
};
