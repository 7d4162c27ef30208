#include "RenderedSpeech.h"

#include "render/RideAudio.h"
#include "render/RideClock.h"

std::unique_ptr<RenderedSpeech> RenderedSpeech::create(RideAudio& audio, RideClock& clock,
                                                       const JTalkSpeech::Config& config) {
    std::unique_ptr<JTalkSpeech> engine = JTalkSpeech::create(config);
    if (!engine)
        return nullptr;
    return std::unique_ptr<RenderedSpeech>(new RenderedSpeech(std::move(engine), audio, clock));
}

RenderedSpeech::RenderedSpeech(std::unique_ptr<JTalkSpeech> engine, RideAudio& audio,
                               RideClock& clock)
    : engine_(std::move(engine)), audio_(audio), clock_(clock) {}

void RenderedSpeech::Speak(const QString& text) {
    Stop();
    const QString file = engine_->renderNow(text);
    const qint64 end = file.isEmpty() ? -1 : audio_.speak(file);
    if (end < 0) {
        if (!text.simplified().isEmpty())
            audio_.warn(QStringLiteral("Announcement not spoken: %1").arg(text.simplified()));
        failed_ = true;
        return;
    }
    end_ = end;
}

void RenderedSpeech::Stop() {
    audio_.cutSpeech();
    end_ = std::min(end_, clock_.now());
    failed_ = false;
}

qint32 RenderedSpeech::Status() const {
    if (failed_)
        return -1;
    return clock_.now() < end_ ? 1 : 0;
}
