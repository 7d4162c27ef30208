#include "SoundDecoder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <gst/gst.h>

namespace {

// How long decoding may go without a sample before the file counts as one that does not play.
constexpr int kStallPolls = 100;
constexpr GstClockTime kPoll = GST_SECOND / 10;

} // namespace

QString SoundDecoder::identity(const QString& path) {
    const QFileInfo info(path);
    return info.absoluteFilePath() + QLatin1Char(' ') + QString::number(info.size()) +
           QLatin1Char(' ') + QString::number(info.lastModified().toMSecsSinceEpoch());
}

// FluidSynth's own gain of 0.2 leaves a MIDI chime far below a WAV chime; at 1.0 a single
// instrument peaks at about half of full scale.
const char* SoundDecoder::midiSynthesis() {
    return "midiparse ! fluiddec soundfont=/usr/share/sounds/sf2/TimGM6mb.sf2 synth-gain=1.0 ! "
           "audioconvert ! audioresample";
}

SoundDecoder::Sound SoundDecoder::decode(const QString& path, bool midi, int rate, int channels,
                                         qint64 longestSeconds, QString& reason) {
    const QByteArray source = midi ? QByteArrayLiteral("filesrc name=file ! ") + midiSynthesis()
                                   : QByteArrayLiteral("filesrc name=file ! decodebin");
    QByteArray description =
        source + " ! audioconvert ! audioresample ! audio/x-raw,format=S16LE,layout=interleaved";
    if (rate > 0)
        description += ",rate=" + QByteArray::number(rate);
    if (channels > 0)
        description += ",channels=" + QByteArray::number(channels);
    description += " ! appsink name=out sync=false max-buffers=64";
    Sound sound;
    GError* error = nullptr;
    GstElement* pipeline = gst_parse_launch(description.constData(), &error);
    if (!pipeline) {
        reason = QString::fromUtf8(error ? error->message : "no decoder");
        g_clear_error(&error);
        return sound;
    }
    g_clear_error(&error);
    GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
    g_object_set(file, "location", QFile::encodeName(path).constData(), nullptr);
    gst_object_unref(file);
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    QByteArray pcm;
    qint64 longest = -1;
    int frameBytes = 0;
    bool ok = false;
    for (int idle = 0; idle < kStallPolls;) {
        GstSample* sample = nullptr;
        g_signal_emit_by_name(sink, "try-pull-sample", kPoll, &sample);
        if (sample) {
            if (longest < 0) {
                const GstStructure* format = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
                gst_structure_get_int(format, "rate", &sound.rate);
                gst_structure_get_int(format, "channels", &sound.channels);
                frameBytes = 2 * std::max(1, sound.channels);
                longest = longestSeconds * sound.rate * frameBytes;
            }
            GstBuffer* buffer = gst_sample_get_buffer(sample);
            GstMapInfo map;
            if (gst_buffer_map(buffer, &map, GST_MAP_READ)) {
                pcm.append(reinterpret_cast<const char*>(map.data), qsizetype(map.size));
                gst_buffer_unmap(buffer, &map);
            }
            gst_sample_unref(sample);
            idle = 0;
            if (pcm.size() >= longest) {
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
            ok = sound.whole = true;
            break;
        }
        if (++idle == kStallPolls)
            reason = QStringLiteral("it does not decode");
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    if (ok && pcm.isEmpty()) {
        reason = QStringLiteral("it holds no sound");
        ok = false;
    }
    if (ok) {
        pcm.truncate(longest < 0 ? 0 : std::min<qint64>(pcm.size(), longest));
        pcm.truncate(pcm.size() - pcm.size() % frameBytes);
        sound.pcm = pcm;
    }
    return sound;
}
