#include "VideoWriter.h"

#include "render/RideAudio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <gst/gst.h>

namespace {

// Raw frames queued before the encoder, at most: the renderer waits for it, memory stays small.
constexpr guint64 kQueuedFrames = 4;
// The longest wait for the encoder to take a frame, or for the end of the file to be written.
constexpr GstClockTime kStall = 30 * GST_SECOND;
constexpr GstClockTime kPoll = 5 * GST_MSECOND;

bool installed(const char* element) {
    GstElementFactory* factory = gst_element_factory_find(element);
    if (factory)
        gst_object_unref(factory);
    return factory != nullptr;
}

RuntimeError refusal(const QString& text) {
    return RuntimeError(RuntimeError::DeviceUnavailable, text);
}

// The encoders and muxer for the file's type, or why there are none.
Result<QByteArray> encoders(const QString& path, const QSize& size, int fps) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Sharp digits and letters need more than a film would; a still panel costs little anyway.
    const qint64 bitrate =
        std::max<qint64>(1000000, qint64(size.width()) * size.height() * fps / 4);
    const QByteArray keyframes = QByteArray::number(2 * fps);
    if (suffix == QLatin1String("webm")) {
        for (const char* element : {"vp8enc", "vorbisenc", "webmmux"}) {
            if (!installed(element))
                return refusal(QStringLiteral("WebM needs the GStreamer element %1 "
                                              "(packages gstreamer1.0-plugins-base and -good)")
                                   .arg(QLatin1String(element)));
        }
        return QByteArrayLiteral("vp8enc deadline=1 cpu-used=8 threads=2 lag-in-frames=0 "
                                 "end-usage=vbr target-bitrate=") +
               QByteArray::number(bitrate) + " keyframe-max-dist=" + keyframes +
               " ! queue max-size-time=0 max-size-bytes=0 max-size-buffers=0 ! mux. "
               "audioconvert name=sound ! vorbisenc quality=0.4 ! mux. webmmux name=mux";
    }
    if (suffix == QLatin1String("mp4")) {
        if (!installed("x264enc"))
            return refusal(QStringLiteral("MP4 needs the H.264 encoder x264enc, which is in the "
                                          "package gstreamer1.0-plugins-ugly: install it, or "
                                          "write a .webm file"));
        const char* aac = installed("avenc_aac") ? "avenc_aac" : "voaacenc";
        if (!installed(aac))
            return refusal(QStringLiteral("MP4 needs an AAC encoder, avenc_aac, which is in the "
                                          "package gstreamer1.0-libav: install it, or write a "
                                          ".webm file"));
        return QByteArrayLiteral("video/x-raw,format=I420 ! x264enc speed-preset=ultrafast "
                                 "tune=zerolatency bitrate=") +
               QByteArray::number(bitrate / 1000) + " key-int-max=" + keyframes +
               " ! queue max-size-time=0 max-size-bytes=0 max-size-buffers=0 ! mux. "
               "audioconvert name=sound ! " +
               aac + " ! mux. mp4mux name=mux";
    }
    return refusal(QStringLiteral("%1: a video is written as a .webm or .mp4 file").arg(path));
}

} // namespace

VideoWriter::VideoWriter(const Options& options, const RideAudio& audio)
    : options_(options), audio_(audio), part_(options.path + QStringLiteral(".part")) {}

VideoWriter::~VideoWriter() {
    if (pipeline_)
        (void)abandon(RuntimeError(RuntimeError::DeviceIoError));
}

Result<std::unique_ptr<VideoWriter>> VideoWriter::open(const Options& options,
                                                       const RideAudio& audio) {
    gst_init(nullptr, nullptr);
    if (options.frameSize.isEmpty() || options.fps <= 0)
        return RuntimeError(RuntimeError::InvalidProcedureCall,
                            QStringLiteral("A video needs a frame size and a frame rate"));
    std::unique_ptr<VideoWriter> writer(new VideoWriter(options, audio));
    const Result<void> started = writer->start();
    if (!started)
        return started.error();
    return writer;
}

Result<void> VideoWriter::start() {
    const QDir folder = QFileInfo(options_.path).absoluteDir();
    if (!folder.exists())
        return RuntimeError(RuntimeError::PathNotFound,
                            QStringLiteral("Cannot write %1: there is no folder %2")
                                .arg(options_.path, folder.path()));
    const Result<QByteArray> chain = encoders(options_.path, options_.frameSize, options_.fps);
    if (!chain)
        return chain.error();
    const QByteArray description =
        "appsrc name=video format=time caps=video/x-raw,format=BGRx,width=" +
        QByteArray::number(options_.frameSize.width()) +
        ",height=" + QByteArray::number(options_.frameSize.height()) +
        ",framerate=" + QByteArray::number(options_.fps) + "/1 ! videoconvert ! " + chain.value() +
        " ! filesink name=file appsrc name=audio format=time "
        "caps=audio/x-raw,format=S16LE,layout=interleaved,rate=" +
        QByteArray::number(RideAudio::kRate) +
        ",channels=" + QByteArray::number(RideAudio::kChannels) + " ! sound.";
    GError* error = nullptr;
    pipeline_ = gst_parse_launch(description.constData(), &error);
    if (!pipeline_ || error) {
        const QString reason = QString::fromUtf8(error ? error->message : "no pipeline");
        g_clear_error(&error);
        if (pipeline_)
            gst_object_unref(pipeline_);
        pipeline_ = nullptr;
        return refusal(QStringLiteral("Cannot make the video encoder: %1").arg(reason));
    }
    bus_ = gst_element_get_bus(pipeline_);
    video_ = gst_bin_get_by_name(GST_BIN(pipeline_), "video");
    sound_ = gst_bin_get_by_name(GST_BIN(pipeline_), "audio");
    GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline_), "file");
    g_object_set(file, "location", QFile::encodeName(part_).constData(), nullptr);
    gst_object_unref(file);
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return abandon(failure(QStringLiteral("Cannot write %1").arg(options_.path)));
    return {};
}

Result<void> VideoWriter::addFrame(const uchar* rgb32, qsizetype bytesPerLine) {
    if (!pipeline_)
        return RuntimeError(RuntimeError::DeviceIoError,
                            QStringLiteral("The video is not open for writing"));
    const int width = options_.frameSize.width();
    const int height = options_.frameSize.height();
    const gsize row = gsize(width) * 4;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, row * gsize(height), nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    for (int y = 0; y < height; ++y)
        memcpy(map.data + row * gsize(y), rgb32 + bytesPerLine * y, row);
    gst_buffer_unmap(buffer, &map);
    const GstClockTime at =
        gst_util_uint64_scale(guint64(frames_), GST_SECOND, guint64(options_.fps));
    ++frames_;
    const GstClockTime next =
        gst_util_uint64_scale(guint64(frames_), GST_SECOND, guint64(options_.fps));
    GST_BUFFER_PTS(buffer) = at;
    GST_BUFFER_DURATION(buffer) = next - at;
    GstFlowReturn flow = GST_FLOW_OK;
    g_signal_emit_by_name(video_, "push-buffer", buffer, &flow);
    gst_buffer_unref(buffer);
    if (flow != GST_FLOW_OK)
        return abandon(failure(QStringLiteral("Cannot encode the video")));
    // Only the sound before this frame's time is final: one may start or be cut until then.
    const Result<void> sound = pushAudio(sampleAt(frames_ - 1));
    if (!sound)
        return sound;
    // The encoder takes the frames at its own pace: wait for room, watching for its failure.
    const guint64 limit = kQueuedFrames * row * gsize(height);
    for (GstClockTime waited = 0;; waited += kPoll) {
        guint64 queued = 0;
        g_object_get(video_, "current-level-bytes", &queued, nullptr);
        if (queued <= limit)
            return {};
        if (waited >= kStall)
            return abandon(RuntimeError(RuntimeError::DeviceIoError,
                                        QStringLiteral("The video encoder stopped taking frames")));
        if (GstMessage* message = gst_bus_timed_pop_filtered(bus_, kPoll, GST_MESSAGE_ERROR)) {
            gst_element_post_message(pipeline_, message);
            return abandon(failure(QStringLiteral("Cannot encode the video")));
        }
    }
}

qint64 VideoWriter::sampleAt(qint64 frame) const {
    return qint64(gst_util_uint64_scale(guint64(frame), RideAudio::kRate, guint64(options_.fps)));
}

Result<void> VideoWriter::pushAudio(qint64 toSample) {
    if (toSample <= samples_)
        return {};
    const QByteArray pcm = audio_.mix(samples_, toSample);
    GstBuffer* buffer = gst_buffer_new_memdup(pcm.constData(), gsize(pcm.size()));
    const GstClockTime at = gst_util_uint64_scale(guint64(samples_), GST_SECOND, RideAudio::kRate);
    GST_BUFFER_PTS(buffer) = at;
    GST_BUFFER_DURATION(buffer) =
        gst_util_uint64_scale(guint64(toSample), GST_SECOND, RideAudio::kRate) - at;
    samples_ = toSample;
    GstFlowReturn flow = GST_FLOW_OK;
    g_signal_emit_by_name(sound_, "push-buffer", buffer, &flow);
    gst_buffer_unref(buffer);
    if (flow != GST_FLOW_OK)
        return abandon(failure(QStringLiteral("Cannot encode the sound")));
    return {};
}

Result<void> VideoWriter::finish() {
    if (!pipeline_)
        return RuntimeError(RuntimeError::DeviceIoError,
                            QStringLiteral("The video is not open for writing"));
    const Result<void> sound = pushAudio(sampleAt(frames_));
    if (!sound)
        return sound;
    GstFlowReturn flow = GST_FLOW_OK;
    g_signal_emit_by_name(video_, "end-of-stream", &flow);
    g_signal_emit_by_name(sound_, "end-of-stream", &flow);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus_, kStall, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ended = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (!ended) {
        if (message)
            gst_element_post_message(pipeline_, message);
        return abandon(message ? failure(QStringLiteral("Cannot finish %1").arg(options_.path))
                               : RuntimeError(RuntimeError::DeviceIoError,
                                              QStringLiteral("Cannot finish %1: the encoder "
                                                             "did not end in time")
                                                  .arg(options_.path)));
    }
    gst_message_unref(message);
    release();
    // Replaces an older file of that name in one step.
    if (std::rename(QFile::encodeName(part_).constData(),
                    QFile::encodeName(options_.path).constData()) != 0) {
        QFile::remove(part_);
        return RuntimeError(RuntimeError::DeviceIoError,
                            QStringLiteral("Cannot write %1").arg(options_.path));
    }
    return {};
}

RuntimeError VideoWriter::failure(const QString& doing) {
    QString reason;
    if (GstMessage* message = gst_bus_pop_filtered(bus_, GST_MESSAGE_ERROR)) {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        reason = QString::fromUtf8(error->message);
        g_clear_error(&error);
        gst_message_unref(message);
    }
    return RuntimeError(RuntimeError::DeviceIoError,
                        reason.isEmpty() ? doing : doing + QStringLiteral(": ") + reason);
}

Result<void> VideoWriter::abandon(const RuntimeError& error) {
    release();
    QFile::remove(part_);
    return error;
}

void VideoWriter::release() {
    if (!pipeline_)
        return;
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    gst_object_unref(video_);
    gst_object_unref(sound_);
    gst_object_unref(bus_);
    gst_object_unref(pipeline_);
    pipeline_ = nullptr;
}
