#include "RideAudio.h"

#include "announce/SoundPlayer.h"
#include "platform/FileExists.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <gst/gst.h>

using mdlSndAPI::Alias;

namespace {

constexpr qint64 kFrameBytes = RideAudio::kChannels * 2;
// A sound longer than this is cut there: a whole ride's memory would go to one file.
constexpr qint64 kLongestSeconds = 600;
// How long decoding may go without a sample before the file counts as one that does not play.
constexpr int kStallPolls = 100;
constexpr GstClockTime kPoll = GST_SECOND / 10;

qint64 toMs(qint64 samples) {
    return (samples * 1000 + RideAudio::kRate - 1) / RideAudio::kRate;
}

// The whole file through the chain a player would use, or the reason it gave none.
QByteArray decode(const QString& path, SoundPlayer::Kind kind, QString& reason) {
    const QByteArray source =
        kind == SoundPlayer::Kind::Midi
            ? QByteArrayLiteral("filesrc name=file ! ") + SoundPlayer::midiSynthesis()
            : QByteArrayLiteral("filesrc name=file ! decodebin");
    const QByteArray description =
        source +
        " ! audioconvert ! audioresample ! audio/x-raw,format=S16LE,layout=interleaved,"
        "rate=" +
        QByteArray::number(RideAudio::kRate) +
        ",channels=" + QByteArray::number(RideAudio::kChannels) +
        " ! appsink name=out sync=false max-buffers=64";
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.constData(), &error);
    if (!pipeline) {
        reason = QString::fromUtf8(error ? error->message : "no decoder");
        g_clear_error(&error);
        return {};
    }
    g_clear_error(&error);
    GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
    g_object_set(file, "location", QFile::encodeName(path).constData(), nullptr);
    gst_object_unref(file);
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    QByteArray pcm;
    bool ok = false;
    for (int idle = 0; idle < kStallPolls;) {
        GstSample* sample = nullptr;
        g_signal_emit_by_name(sink, "try-pull-sample", kPoll, &sample);
        if (sample) {
            GstBuffer* buffer = gst_sample_get_buffer(sample);
            GstMapInfo map;
            if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                pcm.append(reinterpret_cast<const char*>(map.data), qsizetype(map.size));
                gst_buffer_unmap(buffer, &map);
            }
            gst_sample_unref(sample);
            idle = 0;
            if (pcm.size() >= kLongestSeconds * RideAudio::kRate * kFrameBytes) {
                ok = true;
                break;
            }
            continue;
        }
        if (GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
            gst_message_parse_error(message, &error, nullptr);
            reason = QString::fromUtf8(error->message);
            g_clear_error(&error);
            gst_message_unref(message);
            break;
        }
        gboolean ended = FALSE;
        g_object_get(sink, "eos", &ended, nullptr);
        if (ended) {
            ok = true;
            break;
        }
        if (++idle == kStallPolls)
            reason = QStringLiteral("it does not decode");
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    if (ok && pcm.isEmpty())
        reason = QStringLiteral("it holds no sound");
    pcm.truncate(pcm.size() - pcm.size() % kFrameBytes);
    return ok ? pcm : QByteArray();
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
    const QFileInfo info(file);
    const QString identity = info.absoluteFilePath() + QLatin1Char(' ') +
                             QString::number(info.size()) + QLatin1Char(' ') +
                             QString::number(info.lastModified().toMSecsSinceEpoch());
    const auto known = cache_.constFind(identity);
    if (known != cache_.constEnd())
        return *known;
    QString reason = QStringLiteral("nothing installed decodes it");
    const SoundPlayer::Kind kind = SoundPlayer::kindOf(file);
    const QByteArray pcm =
        kind == SoundPlayer::Kind::None ? QByteArray() : decode(file, kind, reason);
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
