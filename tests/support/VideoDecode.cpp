#include "VideoDecode.h"

#include <QFile>
#include <QMutex>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <gst/gst.h>

namespace TestSupport {

namespace {

struct Collected {
    QMutex mutex;
    QList<qint64> wanted;
    DecodedVideo* video;
};

GstSample* pull(GstElement* sink) {
    GstSample* sample = nullptr;
    g_signal_emit_by_name(sink, "pull-sample", &sample);
    return sample;
}

int takeFrame(GstElement* sink, Collected* collected) {
    GstSample* sample = pull(sink);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    const GstStructure* caps = gst_caps_get_structure(gst_sample_get_caps(sample), 0);
    int width = 0;
    int height = 0;
    gst_structure_get_int(caps, "width", &width);
    gst_structure_get_int(caps, "height", &height);
    const qint64 start = qint64(GST_BUFFER_PTS(buffer) / GST_MSECOND);
    const qint64 end = qint64((GST_BUFFER_PTS(buffer) + GST_BUFFER_DURATION(buffer)) / GST_MSECOND);
    QMutexLocker lock(&collected->mutex);
    ++collected->video->frameCount;
    for (const qint64 at : collected->wanted) {
        if (at < start || at >= end)
            continue;
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_READ);
        collected->video->frames[at] =
            QImage(map.data, width, height, width * 4, QImage::Format_RGB32).copy();
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

int takeSound(GstElement* sink, Collected* collected) {
    GstSample* sample = pull(sink);
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_READ);
    QMutexLocker lock(&collected->mutex);
    // Placed by its time stamp: the decoder may leave out a first block.
    QVector<qint16>& audio = collected->video->audio;
    const qsizetype at =
        qsizetype(gst_util_uint64_scale(GST_BUFFER_PTS(buffer), DecodedVideo::kRate, GST_SECOND));
    const qsizetype count = qsizetype(map.size / 2);
    if (audio.size() < at + count)
        audio.resize(at + count);
    std::copy_n(reinterpret_cast<const qint16*>(map.data), count, audio.begin() + at);
    gst_buffer_unmap(buffer, &map);
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

} // namespace

int DecodedVideo::peak(qint64 fromMs, qint64 toMs) const {
    int loudest = 0;
    const qsizetype last = std::min<qsizetype>(audio.size(), qsizetype(toMs * kRate / 1000));
    for (qsizetype i = qsizetype(fromMs * kRate / 1000); i < last; ++i)
        loudest = std::max(loudest, std::abs(int(audio[i])));
    return loudest;
}

DecodedVideo decodeVideo(const QString& path, const QList<qint64>& atMs) {
    gst_init(nullptr, nullptr);
    DecodedVideo video;
    const QByteArray description =
        "uridecodebin name=d uri=" + QUrl::fromLocalFile(path).toEncoded() +
        " d. ! videoconvert ! video/x-raw,format=BGRx ! appsink name=v sync=false async=false "
        "emit-signals=true d. ! audioconvert ! audioresample ! "
        "audio/x-raw,format=S16LE,channels=1,rate=" +
        QByteArray::number(DecodedVideo::kRate) +
        " ! appsink name=a sync=false async=false emit-signals=true";
    GError* error = nullptr;
    // Our own description: it fails only where GStreamer's base plug-ins are missing.
    GstElement* pipeline = gst_parse_launch(description.constData(), &error);
    if (error)
        qFatal("%s", error->message);
    Collected collected{{}, atMs, &video};
    GstElement* frames = gst_bin_get_by_name(GST_BIN(pipeline), "v");
    GstElement* sound = gst_bin_get_by_name(GST_BIN(pipeline), "a");
    g_signal_connect(frames, "new-sample", G_CALLBACK(takeFrame), &collected);
    g_signal_connect(sound, "new-sample", G_CALLBACK(takeSound), &collected);
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, 120 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (!message) {
        video.error = QStringLiteral("no end in 120 s");
    } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
        gst_message_parse_error(message, &error, nullptr);
        video.error = QString::fromUtf8(error->message);
        g_clear_error(&error);
    }
    gst_clear_message(&message);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(bus);
    gst_object_unref(frames);
    gst_object_unref(sound);
    gst_object_unref(pipeline);
    return video;
}

} // namespace TestSupport
