#include "RideAudio.h"

#include "announce/SoundDecoder.h"
#include "announce/SoundPlayer.h"
#include "platform/FileExists.h"

#include <algorithm>
#include <gst/gst.h>

using mdlSndAPI::Alias;

namespace {

constexpr qint64 kFrameBytes = RideAudio::kChannels * 2;
// A sound longer than this is cut there: a whole ride's memory would go to one file.
constexpr qint64 kLongestSeconds = 600;

qint64 toMs(qint64 samples) {
    return (samples * 1000 + RideAudio::kRate - 1) / RideAudio::kRate;
}

} // namespace

RideAudio::RideAudio(RideClock& clock) : clock_(clock) {
    gst_init(nullptr, nullptr);
}

void RideAudio::PlaySoundFile(const QString& file, Alias alias, bool wait, qint16 pauseMs) {
    if (!fileExists(file)) {
        if (!file.isEmpty())
            warn(QStringLiteral("Sound %1 is not played: there is no such file").arg(file));
        return;
    }
    const std::size_t channel = std::size_t(alias);
    // The device is stopped before the new file is opened, even one that then does not play.
    cut(channel);
    if (mdlSndAPI::deviceType(file) == mdlSndAPI::DeviceType::None) {
        warn(QStringLiteral("Sound %1 is not played: only WAV, MP3 and MID files play").arg(file));
        return;
    }
    const QByteArray pcm = decoded(file);
    if (pcm.isNull())
        return;
    const qint64 end = place(channel, pcm);
    if (wait)
        clock_.advance(end - clock_.now() + std::max<qint64>(0, pauseMs));
}

void RideAudio::CloseSoundAliases() {
    for (const Alias alias : mdlSndAPI::kAliases)
        cut(std::size_t(alias));
}

qint64 RideAudio::speak(const QString& file) {
    cut(kSpeech);
    const QByteArray pcm = decoded(file);
    return pcm.isNull() ? -1 : place(kSpeech, pcm);
}

void RideAudio::cutSpeech() {
    cut(kSpeech);
}

qint64 RideAudio::soundEnd() const {
    qint64 end = 0;
    for (const auto& channel : channels_) {
        if (!channel.empty())
            end = std::max(end, channel.back().end);
    }
    return toMs(end);
}

QString RideAudio::warnings() const {
    return warnings_.join(QLatin1Char('\n'));
}

void RideAudio::warn(const QString& line) {
    if (!warned_.contains(line)) {
        warned_.insert(line);
        warnings_ << line;
    }
}

QByteArray RideAudio::mix(qint64 from, qint64 to) const {
    const qint64 frames = std::max<qint64>(0, to - from);
    std::vector<qint32> sum(std::size_t(frames * kChannels), 0);
    for (const auto& channel : channels_) {
        for (const Placed& sound : channel) {
            const qint64 first = std::max(from, sound.start);
            const qint64 last = std::min(to, sound.end);
            const auto* samples = reinterpret_cast<const qint16*>(sound.pcm.constData());
            for (qint64 at = first; at < last; ++at) {
                for (int c = 0; c < kChannels; ++c)
                    sum[std::size_t((at - from) * kChannels + c)] +=
                        samples[(at - sound.start) * kChannels + c];
            }
        }
    }
    QByteArray out(qsizetype(sum.size() * 2), Qt::Uninitialized);
    auto* samples = reinterpret_cast<qint16*>(out.data());
    for (std::size_t i = 0; i < sum.size(); ++i)
        samples[i] = qint16(std::clamp(sum[i], -32768, 32767));
    return out;
}

QByteArray RideAudio::decoded(const QString& file) {
    const QString identity = SoundDecoder::identity(file);
    const auto known = cache_.constFind(identity);
    if (known != cache_.constEnd())
        return *known;
    QString reason = QStringLiteral("nothing installed decodes it");
    const SoundPlayer::Kind kind = SoundPlayer::kindOf(file);
    const QByteArray pcm = kind == SoundPlayer::Kind::None
                               ? QByteArray()
                               : SoundDecoder::decode(file, kind == SoundPlayer::Kind::Midi, kRate,
                                                      kChannels, kLongestSeconds, reason)
                                     .pcm;
    if (pcm.isNull())
        warn(QStringLiteral("Sound %1 is not played: %2").arg(file, reason));
    cache_.insert(identity, pcm);
    return pcm;
}

qint64 RideAudio::place(std::size_t channel, const QByteArray& pcm) {
    const qint64 start = nowSample();
    const qint64 end = start + pcm.size() / kFrameBytes;
    channels_[channel].push_back({pcm, start, end});
    return toMs(end);
}

void RideAudio::cut(std::size_t channel) {
    if (!channels_[channel].empty()) {
        Placed& last = channels_[channel].back();
        last.end = std::min(last.end, std::max(last.start, nowSample()));
    }
}

qint64 RideAudio::nowSample() const {
    return clock_.now() * kRate / 1000;
}
