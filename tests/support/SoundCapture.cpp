#include "SoundCapture.h"

#include <algorithm>
#include <cstdlib>
#include <gst/gst.h>

QString SoundCapture::sample(const char* name) {
    return QStringLiteral(Q57_SOURCE_DIR "/data/sounds/") + QLatin1String(name);
}

SoundPlayer::AudioSinkFactory SoundCapture::sinks(const QString& device) {
    return [makeSink = sinks(), device] { return makeSink(device); };
}

SoundDevices::SinkFactory SoundCapture::sinks() {
    return [this](const QString& device) {
        // A sound card takes a long buffer a period at a time: what it has heard so far grows
        // in fiftieths of a second, however the player hands it the sound. A last part shorter
        // than that is heard when its stream ends or the next sound begins.
        GstElement* card = gst_parse_bin_from_description(
            "audiobuffersplit output-buffer-duration=1/50 ! appsink name=card", TRUE, nullptr);
        GstElement* sink = gst_bin_get_by_name(GST_BIN(card), "card");
        GstCaps* caps =
            gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "channels",
                                G_TYPE_INT, 1, "rate", G_TYPE_INT, kRate, nullptr);
        g_object_set(sink, "caps", caps, "sync", TRUE, "emit-signals", TRUE, nullptr);
        gst_caps_unref(caps);
        // Lives as long as the sink does.
        auto* target = new Sink{this, device};
        g_signal_connect_data(
            sink, "new-sample", G_CALLBACK(&SoundCapture::take), target,
            [](gpointer data, GClosure*) { delete static_cast<Sink*>(data); }, GConnectFlags(0));
        gst_object_unref(sink);
        return card;
    };
}

int SoundCapture::take(void* element, void* target) {
    auto* sink = static_cast<Sink*>(target);
    GstSample* sample = nullptr;
    g_signal_emit_by_name(element, "pull-sample", &sample);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    const auto* values = reinterpret_cast<const qint16*>(map.data);
    const qint64 count = qint64(map.size / 2);
    int loudest = 0;
    for (qint64 i = 0; i < count; ++i)
        loudest = std::max(loudest, std::abs(int(values[i])));
    gst_buffer_unmap(buffer, &map);
    gst_sample_unref(sample);
    QMutexLocker lock(&sink->capture->mutex_);
    Device& device = sink->capture->devices_[sink->device];
    device.frames += count;
    device.peak = std::max(device.peak, loudest);
    return GST_FLOW_OK;
}

double SoundCapture::seconds(const QString& device) const {
    QMutexLocker lock(&mutex_);
    return double(devices_.value(device).frames) / kRate;
}

int SoundCapture::peak(const QString& device) const {
    QMutexLocker lock(&mutex_);
    return devices_.value(device).peak;
}
