// Synthesises the sample sounds that come with the simulator and writes them to the folder given:
//   make_sounds data/sounds
// Chimes are sums of decaying partials, the key click a short burst; all mono 22.05 kHz. They
// come in the three kinds of file the simulator plays: WAV, MP3 (through GStreamer's LAME
// encoder) and a Standard MIDI File. Each file is opened as the simulator opens it before the
// program reports success.

#include "announce/SoundPlayer.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gst/gst.h>
#include <initializer_list>
#include <vector>

namespace {

constexpr int rate = 22050;
constexpr double twoPi = 6.283185307179586;

using Samples = std::vector<float>;

// A struck bell: a few partials, the higher ones dying away sooner, and a stretched fourth one
// for the metallic ring. decay is the time the fundamental takes to fall to a third.
void addBell(Samples& out, double start, double frequency, double decay) {
    const struct {
        double ratio, level, decayShare;
    } partials[] = {{1.0, 1.0, 1.0}, {2.0, 0.45, 0.5}, {3.0, 0.18, 0.3}, {4.2, 0.1, 0.2}};
    const int first = int(start * rate);
    const int length = int(decay * 5 * rate);
    out.resize(std::max(out.size(), size_t(first + length)));
    for (int i = 0; i < length; ++i) {
        const double t = double(i) / rate;
        const double attack = std::min(1.0, t / 0.004);
        double value = 0;
        for (const auto& partial : partials)
            value += partial.level * std::exp(-t / (decay * partial.decayShare)) *
                     std::sin(twoPi * frequency * partial.ratio * t);
        out[size_t(first + i)] += float(attack * value);
    }
}

// A dry tick: a high tone and a little noise, both gone within a few milliseconds.
Samples keyClick() {
    Samples out(size_t(rate * 0.04));
    unsigned noise = 12345;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        noise = noise * 1103515245u + 12345u;
        const double white = double((noise >> 16) & 0x7fff) / 16384.0 - 1.0;
        out[i] = float(std::exp(-t / 0.002) * std::sin(twoPi * 3200 * t) +
                       0.6 * std::exp(-t / 0.001) * white);
    }
    return out;
}

Samples bells(std::initializer_list<double> frequencies, double spacing, double decay) {
    Samples out;
    double start = 0;
    for (double frequency : frequencies) {
        addBell(out, start, frequency, decay);
        start += spacing;
    }
    return out;
}

// Peaks at 70 % of full scale, and ends in a short fade so that no sound stops with a click.
QByteArray pcm16(Samples samples) {
    float peak = 0;
    for (float value : samples)
        peak = std::max(peak, std::abs(value));
    const size_t fade = std::min(samples.size(), size_t(rate * 0.02));
    QByteArray bytes(qsizetype(samples.size() * 2), Qt::Uninitialized);
    for (size_t i = 0; i < samples.size(); ++i) {
        const size_t left = samples.size() - i;
        const double tail = left < fade ? double(left) / double(fade) : 1.0;
        const auto value = qint16(std::lround(samples[i] / peak * 0.7 * tail * 32767));
        qToLittleEndian(value, bytes.data() + i * 2);
    }
    return bytes;
}

template <typename Number> QByteArray littleEndian(Number value) {
    QByteArray bytes(sizeof value, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

template <typename Number> QByteArray bigEndian(Number value) {
    QByteArray bytes(sizeof value, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray wav(const QByteArray& pcm) {
    return "RIFF" + littleEndian<quint32>(quint32(36 + pcm.size())) + "WAVEfmt " +
           littleEndian<quint32>(16) + littleEndian<quint16>(1) + littleEndian<quint16>(1) +
           littleEndian<quint32>(rate) + littleEndian<quint32>(rate * 2) +
           littleEndian<quint16>(2) + littleEndian<quint16>(16) + "data" +
           littleEndian<quint32>(quint32(pcm.size())) + pcm;
}

// An event of a MIDI track: the ticks since the one before, then its bytes.
QByteArray event(quint32 delta, std::initializer_list<int> data) {
    QByteArray bytes(1, char(delta & 0x7f));
    while (delta >>= 7)
        bytes.prepend(char(0x80 | (delta & 0x7f)));
    for (int byte : data)
        bytes += char(byte);
    return bytes;
}

// "ピンポンパンポーン": four rising vibraphone notes, the last one held. One track, 480 ticks
// to the beat at 120 beats a minute, so a tick is about a millisecond. The end of the track
// comes after the last note has rung out, so that the synthesiser plays its tail.
QByteArray fourToneMidi() {
    QByteArray track = event(0, {0xFF, 0x51, 3, 0x07, 0xA1, 0x20}) // 500000 us to the beat
                       + event(0, {0xC0, 11})                      // vibraphone
                       + event(0, {0xB0, 7, 127});                 // channel volume
    const struct {
        int key;
        quint32 ticks;
    } notes[] = {{77, 280}, {81, 280}, {84, 280}, {89, 1100}}; // F5 A5 C6 F6
    for (const auto& note : notes)
        track += event(0, {0x90, note.key, 110}) + event(note.ticks, {0x80, note.key, 0});
    track += event(300, {0xFF, 0x2F, 0});
    return "MThd" + bigEndian<quint32>(6) + bigEndian<quint16>(0) + bigEndian<quint16>(1) +
           bigEndian<quint16>(480) + "MTrk" + bigEndian<quint32>(quint32(track.size())) + track;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Encodes 16-bit mono PCM as a 64 kbit/s constant-rate MP3.
bool writeMp3(const QString& path, const QByteArray& pcm) {
    GError* error = nullptr;
    GstElement* pipeline =
        gst_parse_launch("appsrc name=source format=time ! audioconvert ! "
                         "lamemp3enc target=bitrate bitrate=64 cbr=true ! filesink name=file",
                         &error);
    if (!pipeline) {
        std::fprintf(stderr, "make_sounds: %s\n", error->message);
        g_error_free(error);
        return false;
    }
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "source");
    GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline), "file");
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate",
                                        G_TYPE_INT, rate, "channels", G_TYPE_INT, 1, "layout",
                                        G_TYPE_STRING, "interleaved", nullptr);
    g_object_set(source, "caps", caps, nullptr);
    g_object_set(file, "location", QFile::encodeName(path).constData(), nullptr);
    gst_caps_unref(caps);

    GstBuffer* buffer = gst_buffer_new_memdup(pcm.constData(), gsize(pcm.size()));
    GST_BUFFER_PTS(buffer) = 0;
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(guint64(pcm.size() / 2), GST_SECOND, rate);
    GstFlowReturn flow = GST_FLOW_OK;
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    g_signal_emit_by_name(source, "push-buffer", buffer, &flow);
    g_signal_emit_by_name(source, "end-of-stream", &flow);
    gst_buffer_unref(buffer);

    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus, GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool encoded = GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    gst_message_unref(end);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(source);
    gst_object_unref(file);
    gst_object_unref(pipeline);
    return encoded;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <folder>\n");
        return 2;
    }
    gst_init(nullptr, nullptr);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "make_sounds: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    const double a5 = 880, cs6 = 1108.73, e6 = 1318.51;
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {
        // Route set: a quick rising triad.
        {"route_set.wav", wav(pcm16(bells({1046.5, 1318.51, 1567.98}, 0.08, 0.12)))},
        {"key_click.wav", wav(pcm16(keyClick()))},
        // Data steps by column value: one, two and three notes of the same chord.
        {"step1.wav", wav(pcm16(bells({a5}, 0, 0.11)))},
        {"step2.wav", wav(pcm16(bells({a5, e6}, 0.13, 0.11)))},
        {"step3.wav", wav(pcm16(bells({a5, cs6, e6}, 0.13, 0.11)))},
        {"four_tone.mid", fourToneMidi()},
    };
    // "ピンポーン": high, then low and long.
    const QString twoTone = QStringLiteral("two_tone.mp3");
    bool written = writeMp3(folder.filePath(twoTone), pcm16(bells({659.26, 523.25}, 0.45, 0.3)));
    QStringList names{twoTone};
    for (const auto& sound : files) {
        names << QLatin1String(sound.name);
        written = written && writeFile(folder.filePath(names.last()), sound.bytes);
    }
    if (!written) {
        std::fprintf(stderr, "make_sounds: cannot write into %s\n", argv[1]);
        return 1;
    }

    SoundPlayer player([] { return gst_element_factory_make("fakesink", nullptr); });
    for (const QString& name : names) {
        if (!player.open(folder.filePath(name))) {
            std::fprintf(stderr, "make_sounds: %s does not open as a sound\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
