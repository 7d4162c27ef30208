#pragma once

#include "announce/JTalkSpeech.h"
#include "announce/SpeechObject.h"

#include <memory>

class RideAudio;
class RideClock;

// The speech of a rendered ride: the machine's engine renders each text (its own renderer and
// cache) before Speak returns, and the sound goes on the ride's speech channel at now(). It
// speaks until the clock passes the sound's end.
class RenderedSpeech : public SpeechObject {
public:
    // Null without the machine's engine (no program, dictionary or voice), as the program then
    // has no speech object either.
    static std::unique_ptr<RenderedSpeech> create(RideAudio& audio, RideClock& clock,
                                                  const JTalkSpeech::Config& config = {});

    void Speak(const QString& text) override;
    void Stop() override;
    qint32 Status() const override;
    // The ride has no one to adjust the voice.
    void Adjust(const QString&) override {}
    // Every text is rendered when spoken, and found in the cache when it was rendered before.
    void RenderAhead(const QStringList&) override {}

private:
    RenderedSpeech(std::unique_ptr<JTalkSpeech> engine, RideAudio& audio, RideClock& clock);

    std::unique_ptr<JTalkSpeech> engine_;
    RideAudio& audio_;
    RideClock& clock_;
    qint64 end_ = 0; // where the sound spoken last ends, in the clock's ms
    bool failed_ = false;
};
