#include "SoundPlayer.h"

#include "SoundDecoder.h"
#include "platform/FileBytes.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>
#include <gst/base/gsttypefindhelper.h>
#include <gst/gst.h>
#include <utility>

namespace {

// GST_PLAY_FLAG_AUDIO alone: a file that also holds pictures must not open a video window.
constexpr guint playAudioOnly = 0x2;
// Longer sounds stream from their files: a decoded copy of each would hold megabytes.
constexpr qint64 kLongestInMemory = 10;
// What each player keeps decoded, at most, the sounds used longest ago giving way.
constexpr qsizetype kDecodedBytes = 8 * 1024 * 1024;

using Kind = SoundPlayer::Kind;

} // namespace

struct SoundPlayer::Decoded {
    QString identity;
    QString path;
    GstBuffer* samples = nullptr;
    GstCaps* caps = nullptr;
    bool done = false; // false while the worker decodes it
    Decoded() = default;
    Decoded(const Decoded&) = delete;
    Decoded& operator=(const Decoded&) = delete;
    ~Decoded() {
        if (samples)
            gst_buffer_unref(samples);
        if (caps)
            gst_caps_unref(caps);
    }
    qsizetype bytes() const { return samples ? qsizetype(gst_buffer_get_size(samples)) : 0; }
};

// Cheap enough for the calling thread, unlike a preroll.
Kind SoundPlayer::kindOf(const QString& path) {
    // Never a FIFO or a device: GStreamer would wait on it, or read it, for good.
    const Result<QByteArray> read = FileBytes::head(path, 16 * 1024);
    if (!read || read.value().isEmpty())
        return Kind::None;
    const QByteArray& head = read.value();
    const QByteArray extension = QFileInfo(path).suffix().toUtf8();
    GstCaps* caps = gst_type_find_helper_for_data_with_extension(
        nullptr, reinterpret_cast<const guint8*>(head.constData()), gsize(head.size()),
        extension.isEmpty() ? nullptr : extension.constData(), nullptr);
    if (!caps)
        return Kind::None;
    // Listed once: walking the whole registry costs the calling thread half a millisecond.
    static GList* const decodable = gst_element_factory_list_get_elements(
        GST_ELEMENT_FACTORY_TYPE_DECODABLE, GST_RANK_MARGINAL);
    GList* fitting = gst_element_factory_list_filter(decodable, caps, GST_PAD_SINK, FALSE);
    Kind kind = Kind::None;
    if (fitting) {
        const GstStructure* type = gst_caps_get_structure(caps, 0);
        kind = gst_structure_has_name(type, "audio/midi") ||
                       gst_structure_has_name(type, "audio/riff-midi")
                   ? Kind::Midi
                   : Kind::Sampled;
    }
    gst_plugin_feature_list_free(fitting);
    gst_caps_unref(caps);
    return kind;
}

namespace {

// The system's audio output, as autoaudiosink finds it: its search opens every kind of output in
// turn, which would cost each fresh pipeline milliseconds, so it is made once and its choice
// kept. Without a sound card the choice is a fake sink that keeps real time.
GstElement* systemOutput() {
    static GstElementFactory* const chosen = [] {
        GstElementFactory* factory = nullptr;
        GstElement* search = gst_element_factory_make("autoaudiosink", nullptr);
        if (!search)
            return factory;
        gst_object_ref_sink(search);
        if (gst_element_set_state(search, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE) {
            GstIterator* children = gst_bin_iterate_elements(GST_BIN(search));
            GValue child = G_VALUE_INIT;
            if (gst_iterator_next(children, &child) == GST_ITERATOR_OK) {
                factory = gst_element_get_factory(GST_ELEMENT(g_value_get_object(&child)));
                if (factory)
                    gst_object_ref(factory);
                g_value_unset(&child);
            }
            gst_iterator_free(children);
        }
        gst_element_set_state(search, GST_STATE_NULL);
        gst_object_unref(search);
        return factory;
    }();
    if (!chosen)
        return gst_element_factory_make("autoaudiosink", nullptr);
    GstElement* sink = gst_element_factory_create(chosen, nullptr);
    if (sink && g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "sync"))
        g_object_set(sink, "sync", TRUE, nullptr);
    return sink;
}

gboolean acceptSeek(GstElement*, guint64, gpointer) {
    return TRUE;
}

// In the worker, before a route's first file: the output at the end of its pipeline. MIDI goes
// through a pipeline of our own rather than playbin: playbin sets its audio sink to NULL for
// every new file, which would unload the soundfont each time; this one only goes back to READY
// between files, where the synthesiser keeps it. Decoded sounds need no parser or queue, only
// conversion to what the output takes. Without a sink playbin takes the system's output, and
// the other pipelines stay empty and fail.
void equip(GstElement* pipeline, const QByteArray& chain, GstElement* sink) {
    if (!sink)
        return;
    if (chain.isEmpty()) {
        g_object_set(pipeline, "audio-sink", sink, nullptr);
        return;
    }
    GstElement* front = gst_parse_bin_from_description_full(chain.constData(), TRUE, nullptr,
                                                            GST_PARSE_FLAG_FATAL_ERRORS, nullptr);
    if (!front) {
        gst_object_unref(gst_object_ref_sink(sink));
        return;
    }
    gst_bin_add_many(GST_BIN(pipeline), front, sink, nullptr);
    gst_element_link(front, sink);
    // Rewinding is a flushing seek, which the source takes as it holds no stream of its own.
    if (GstElement* source = gst_bin_get_by_name(GST_BIN(front), "memory")) {
        g_signal_connect(source, "seek-data", G_CALLBACK(&acceptSeek), nullptr);
        gst_object_unref(source);
    }
}

// Brings into memory what the calling thread needs for a player's first file, GStreamer itself,
// its type finders and playbin, with the libraries behind them: loading them costs milliseconds
// that the program's start should not wait for.
void preload() {
    gst_init(nullptr, nullptr);
    const guint8 silence[64] = {};
    if (GstCaps* caps = gst_type_find_helper_for_data(nullptr, silence, sizeof silence, nullptr))
        gst_caps_unref(caps);
    if (GstPluginFeature* playbin = gst_registry_lookup_feature(gst_registry_get(), "playbin")) {
        if (GstPluginFeature* loaded = gst_plugin_feature_load(playbin))
            gst_object_unref(loaded);
        gst_object_unref(playbin);
    }
}

// Application messages that the worker posts on a pipeline's bus: the mark before everything
// that concerns a new sound, and a failure that no element reported.
constexpr char startMark[] = "q57-sound-start";
constexpr char failureMark[] = "q57-sound-failed";

void mark(GstElement* pipeline, const char* name, quint64 sound) {
    GstStructure* structure =
        gst_structure_new(name, "sound", G_TYPE_UINT64, guint64(sound), nullptr);
    gst_element_post_message(pipeline,
                             gst_message_new_application(GST_OBJECT(pipeline), structure));
}

// In the worker: the pipeline paused at the start of its file. Rewinding is enough when it
// already holds the file; otherwise it drops its decoding chain and loads the file afresh.
void load(GstElement* pipeline, bool midi, const QString& path, bool rewind, quint64 sound) {
    if (rewind) {
        gst_element_set_state(pipeline, GST_STATE_PAUSED);
        mark(pipeline, startMark, sound);
        if (gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                    GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0))
            return;
    }
    bool ready = gst_element_set_state(pipeline, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    mark(pipeline, startMark, sound);
    if (!midi) {
        g_object_set(pipeline, "uri", QUrl::fromLocalFile(path).toEncoded().constData(), nullptr);
    } else if (GstElement* file = gst_bin_get_by_name(GST_BIN(pipeline), "file")) {
        g_object_set(file, "location", QFile::encodeName(path).constData(), nullptr);
        gst_object_unref(file);
    } else {
        ready = false; // the synthesiser could not be set up
    }
    if (!ready || gst_element_set_state(pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
        mark(pipeline, failureMark, sound);
}

// In the worker: the memory pipeline cut off and emptied, ready for the next sound.
void flush(GstElement* pipeline) {
    gst_element_set_state(pipeline, GST_STATE_PAUSED);
    gst_element_seek_simple(pipeline, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0);
}

// Only what onBusMessage acts on reaches the calling thread: every element's state change would
// wake it a dozen times a sound.
GstBusSyncReply passHeard(GstBus*, GstMessage* message, gpointer) {
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ERROR:
    case GST_MESSAGE_APPLICATION:
        return GST_BUS_PASS;
    default:
        return GST_BUS_DROP;
    }
}

} // namespace

SoundPlayer::SoundPlayer(AudioSinkFactory makeSink, QObject* parent)
    : QObject(parent), makeSink_(std::move(makeSink)), alive_(std::make_shared<Alive>()) {
    alive_->player = this;
    worker_.setMaxThreadCount(1);
    worker_.setExpiryTimeout(-1);
}

void SoundPlayer::warmUp() {
    worker_.start(&preload);
}

SoundPlayer::~SoundPlayer() {
    ++sound_;
    {
        QMutexLocker lock(&alive_->lock);
        alive_->player = nullptr;
    }
    worker_.waitForDone();
    dropStreamEnd();
    for (Route* route : routes()) {
        if (!route->pipeline)
            continue;
        gst_bus_remove_watch(route->bus);
        gst_element_set_state(route->pipeline, GST_STATE_NULL);
        gst_object_unref(route->bus);
        gst_object_unref(route->pipeline);
    }
}

QString SoundPlayer::identify(const QString& path) {
    // Returns at once unless the worker is still starting GStreamer, which the callers need.
    gst_init(nullptr, nullptr);
    return SoundDecoder::identity(path);
}

SoundPlayer::Route* SoundPlayer::keptRoute(const QString& identity) {
    for (Route& route : kept_)
        if (route.pipeline && route.loaded == identity)
            return &route;
    return nullptr;
}

bool SoundPlayer::open(const QString& path) {
    cutOff();
    const QString identity = identify(path);
    // A file the current route holds, or one kept ready, unchanged since: its kind is known, and
    // type finding would cost the calling thread more than the rest of the sound's start.
    std::shared_ptr<const Decoded> decoded;
    Route* next = copyOf(identity, &decoded) == Copy::InMemory ? &memory_
                  : current_ && current_->loaded == identity   ? current_
                                                               : nullptr;
    if (next == &memory_)
        inMemory_ = decoded;
    if (Route* kept = next ? nullptr : keptRoute(identity)) {
        // The sampled route's file is kept in its place, cut off, for its own next time.
        std::swap(*kept, sampled_);
        next = &sampled_;
    }
    if (!next) {
        const Kind kind = kindOf(path);
        next = kind == Kind::None ? nullptr : kind == Kind::Midi ? &midi_ : &sampled_;
        if (kind == Kind::Sampled && copyOf(identity) == Copy::Unknown)
            decodeAside(identity, path);
    }
    if (current_ && current_ != next)
        park(*current_);
    current_ = nullptr;
    started_ = false;
    if (!next || !create(*next))
        return false;
    path_ = QFileInfo(path).absoluteFilePath();
    identity_ = identity;
    current_ = next;
    toStart();
    return true;
}

void SoundPlayer::play() {
    if (!current_)
        return;
    if (started_) {
        cutOff();
        toStart();
    }
    started_ = true;
    playing_ = true;
    worker_.start([this, pipeline = current_->pipeline, sound = quint64(sound_),
                   decoded = current_ == &memory_ ? inMemory_ : nullptr] {
        // An open, play, stop or close since has overtaken this sound.
        if (sound != sound_)
            return;
        if (decoded) {
            startStream(pipeline, *decoded, sound);
            return;
        }
        if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
            mark(pipeline, failureMark, sound);
    });
}

void SoundPlayer::stop() {
    cutOff();
}

void SoundPlayer::prepare(const QString& path) {
    const QString identity = identify(path);
    if (sampled_.loaded == identity || keptRoute(identity))
        return;
    const Copy copy = copyOf(identity);
    if (copy == Copy::Pending || copy == Copy::InMemory || kindOf(path) != Kind::Sampled)
        return;
    if (copy == Copy::Unknown) {
        decodeAside(identity, path);
        return;
    }
    // In turn, so that the file kept longest gives way.
    Route& route = kept_[nextKept_++ % kept_.size()];
    if (route.pipeline && !renew(route))
        return;
    if (!route.pipeline && !create(route))
        return;
    route.loaded = identity;
    worker_.start([pipeline = route.pipeline, file = QFileInfo(path).absoluteFilePath()] {
        load(pipeline, false, file, false, 0);
    });
}

void SoundPlayer::close() {
    cutOff();
    for (Route* route : routes()) {
        if (!route->pipeline)
            continue;
        route->loaded.clear();
        worker_.start(
            [pipeline = route->pipeline] { gst_element_set_state(pipeline, GST_STATE_NULL); });
    }
    worker_.waitForDone();
    for (Route* route : routes()) {
        if (!route->bus)
            continue;
        gst_bus_set_flushing(route->bus, TRUE);
        gst_bus_set_flushing(route->bus, FALSE);
    }
    current_ = nullptr;
    started_ = false;
}

SoundPlayer::Copy SoundPlayer::copyOf(const QString& identity,
                                      std::shared_ptr<const Decoded>* sound) {
    QMutexLocker lock(&decodedLock_);
    for (const auto& decoded : decoded_) {
        if (!decoded || decoded->identity != identity)
            continue;
        if (sound)
            *sound = decoded;
        return !decoded->done ? Copy::Pending : decoded->samples ? Copy::InMemory : Copy::Streamed;
    }
    return Copy::Unknown;
}

void SoundPlayer::decodeAside(const QString& identity, const QString& path) {
    auto pending = std::make_shared<Decoded>();
    pending->identity = identity;
    pending->path = QFileInfo(path).absoluteFilePath();
    keep(pending);
    // After whatever is asked of the worker meanwhile: a sound waiting for the decoding would
    // start late.
    worker_.start(
        [this, pending] {
            auto decoded = std::make_shared<Decoded>();
            decoded->identity = pending->identity;
            decoded->path = pending->path;
            QString reason;
            const SoundDecoder::Sound sound =
                SoundDecoder::decode(decoded->path, false, 0, 0, kLongestInMemory, reason);
            decoded->done = true;
            if (sound.whole && !sound.pcm.isNull()) {
                decoded->caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE",
                                                    "layout", G_TYPE_STRING, "interleaved", "rate",
                                                    G_TYPE_INT, sound.rate, "channels", G_TYPE_INT,
                                                    sound.channels, nullptr);
                auto* bytes = new QByteArray(sound.pcm);
                decoded->samples = gst_buffer_new_wrapped_full(
                    GST_MEMORY_FLAG_READONLY, bytes->data(), gsize(bytes->size()), 0,
                    gsize(bytes->size()), bytes,
                    [](gpointer data) { delete static_cast<QByteArray*>(data); });
                GST_BUFFER_PTS(decoded->samples) = 0;
                GST_BUFFER_DURATION(decoded->samples) =
                    gst_util_uint64_scale(guint64(sound.pcm.size() / (2 * sound.channels)),
                                          GST_SECOND, guint64(sound.rate));
            }
            keep(decoded);
        },
        -1);
}

// The newest copy of a file replaces its pending or older ones.
void SoundPlayer::keep(const std::shared_ptr<const Decoded>& sound) {
    QMutexLocker lock(&decodedLock_);
    std::erase_if(decoded_, [&](const auto& kept) { return kept->path == sound->path; });
    decoded_.push_back(sound);
    qsizetype bytes = 0;
    for (const auto& kept : decoded_)
        bytes += kept->bytes();
    while (bytes > kDecodedBytes && decoded_.size() > 1) {
        bytes -= decoded_.front()->bytes();
        decoded_.erase(decoded_.begin());
    }
}

bool SoundPlayer::create(Route& route) {
    if (route.pipeline)
        return true;
    const bool playbin = route.way == Way::Playbin;
    GstElement* pipeline =
        playbin ? gst_element_factory_make("playbin", nullptr) : gst_pipeline_new(nullptr);
    if (!pipeline)
        return false;
    if (playbin)
        g_object_set(pipeline, "flags", playAudioOnly, nullptr);
    route.pipeline = GST_ELEMENT(gst_object_ref_sink(pipeline));
    route.bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(route.bus, &passHeard, nullptr, nullptr);
    gst_bus_add_watch(route.bus, &SoundPlayer::onBusMessage, this);
    const QByteArray chain =
        route.way == Way::Midi
            ? QByteArrayLiteral("filesrc name=file ! ") + SoundDecoder::midiSynthesis()
        : route.way == Way::Memory
            ? QByteArrayLiteral("appsrc name=memory format=time stream-type=seekable max-bytes=0 "
                                "! audioconvert ! audioresample")
            : QByteArray();
    worker_.start([pipeline, chain, makeSink = makeSink_] {
        equip(pipeline, chain, makeSink ? makeSink() : systemOutput());
    });
    return true;
}

void SoundPlayer::toStart() {
    Route& route = *current_;
    // Decoded sounds are fed when played, in one go with the start.
    if (route.way == Way::Memory) {
        route.loaded = identity_;
        return;
    }
    const bool rewind = route.loaded == identity_;
    // playbin reports a damaged file's failure from threads of its own, which may come after the
    // next file's start mark and even break that file's loading: each new sampled file gets a
    // fresh playbin, and what the last one still says is never heard. MIDI keeps its pipeline,
    // for the soundfont.
    if (!rewind && route.way == Way::Playbin && !renew(route)) {
        current_ = nullptr;
        return;
    }
    route.loaded = identity_;
    worker_.start([pipeline = route.pipeline, midi = route.way == Way::Midi, path = path_, rewind,
                   sound = quint64(sound_)] { load(pipeline, midi, path, rewind, sound); });
}

bool SoundPlayer::renew(Route& route) {
    gst_bus_remove_watch(route.bus);
    worker_.start([pipeline = route.pipeline, bus = route.bus] {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(bus);
        gst_object_unref(pipeline);
    });
    route = Route{};
    return create(route);
}

void SoundPlayer::park(Route& route) {
    route.loaded.clear();
    worker_.start(
        [pipeline = route.pipeline] { gst_element_set_state(pipeline, GST_STATE_READY); });
}

void SoundPlayer::cutOff() {
    ++sound_;
    // A sound that has ended was paused at its end.
    if (current_ && playing_ && current_->way == Way::Memory)
        worker_.start([this, pipeline = current_->pipeline] { cutStream(pipeline); });
    else if (current_ && playing_)
        worker_.start(
            [pipeline = current_->pipeline] { gst_element_set_state(pipeline, GST_STATE_PAUSED); });
    endSound();
}

// In the worker: the decoded sound pushed as one buffer where the stream stands, the pipeline
// started once it has it, and its end awaited on the clock. Nothing is flushed and the stream
// does not end, which would take a flush to start it again: both cost more than the sound.
void SoundPlayer::startStream(GstElement* pipeline, const Decoded& sound, quint64 number) {
    GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "memory");
    bool fed =
        source && gst_element_set_state(pipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    GstFlowReturn flow = GST_FLOW_OK;
    // Paused, the pipeline's running time stands where it stopped; a cut or a new file began
    // a fresh stream at 0.
    const GstClockTime at = gst_element_get_start_time(pipeline);
    if (fed) {
        GstCaps* before = nullptr;
        g_object_get(source, "caps", &before, nullptr);
        if (!before || !gst_caps_is_equal(before, sound.caps))
            g_object_set(source, "caps", sound.caps, nullptr);
        if (before)
            gst_caps_unref(before);
        // The samples are shared, only the times are the buffer's own.
        GstBuffer* buffer = gst_buffer_copy(sound.samples);
        GST_BUFFER_PTS(buffer) = at;
        GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
        g_signal_emit_by_name(source, "push-buffer", buffer, &flow);
        gst_buffer_unref(buffer);
    }
    if (source)
        gst_object_unref(source);
    // Started once prerolled, the pipeline reaches PLAYING in this thread rather than in one
    // that GStreamer wakes for the rest of the change. The end is timed from the start, which
    // a busy machine may delay past the wait for the preroll.
    if (fed && flow == GST_FLOW_OK)
        gst_element_get_state(pipeline, nullptr, nullptr, GST_SECOND);
    fed = fed && flow == GST_FLOW_OK &&
          gst_element_set_state(pipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE &&
          gst_element_get_state(pipeline, nullptr, nullptr, 5 * GST_SECOND) ==
              GST_STATE_CHANGE_SUCCESS;
    GstClock* clock = fed ? gst_element_get_clock(pipeline) : nullptr;
    if (!clock) {
        mark(pipeline, failureMark, number);
        return;
    }
    dropStreamEnd();
    streamEnd_ = gst_clock_new_single_shot_id(clock, gst_element_get_base_time(pipeline) + at +
                                                         GST_BUFFER_DURATION(sound.samples));
    gst_object_unref(clock);
    struct Waiting {
        std::shared_ptr<Alive> alive;
        GstElement* pipeline;
        quint64 sound;
    };
    const auto ended = [](GstClock*, GstClockTime, GstClockID id, gpointer data) -> gboolean {
        const auto* waiting = static_cast<const Waiting*>(data);
        QMutexLocker lock(&waiting->alive->lock);
        SoundPlayer* player = waiting->alive->player;
        if (!player)
            return TRUE;
        // A playing output goes on waking its threads though it has nothing left to play.
        player->worker_.start([player, id, pipeline = waiting->pipeline, sound = waiting->sound] {
            if (sound != player->sound_ || id != player->streamEnd_)
                return;
            player->dropStreamEnd();
            gst_element_set_state(pipeline, GST_STATE_PAUSED);
            QMetaObject::invokeMethod(
                player,
                [player, sound] {
                    if (sound == player->sound_)
                        player->endSound();
                },
                Qt::QueuedConnection);
        });
        return TRUE;
    };
    gst_clock_id_wait_async(streamEnd_, ended, new Waiting{alive_, pipeline, number},
                            [](gpointer data) { delete static_cast<Waiting*>(data); });
}

// In the worker: the sound cut off where it stands and what the output still holds of it
// dropped.
void SoundPlayer::cutStream(GstElement* pipeline) {
    dropStreamEnd();
    flush(pipeline);
}

void SoundPlayer::dropStreamEnd() {
    if (!streamEnd_)
        return;
    gst_clock_id_unschedule(streamEnd_);
    gst_clock_id_unref(streamEnd_);
    streamEnd_ = nullptr;
}

void SoundPlayer::endSound() {
    if (!playing_)
        return;
    playing_ = false;
    emit finished();
}

int SoundPlayer::onBusMessage(GstBus* bus, GstMessage* message, void* data) {
    auto* player = static_cast<SoundPlayer*>(data);
    Route* found = nullptr;
    for (Route* route : player->routes())
        if (route->bus == bus)
            found = route;
    if (!found)
        return G_SOURCE_CONTINUE;
    Route& route = *found;
    const GstStructure* structure = gst_message_get_structure(message);
    const bool application = GST_MESSAGE_TYPE(message) == GST_MESSAGE_APPLICATION;
    if (application && gst_structure_has_name(structure, startMark)) {
        guint64 sound = 0;
        gst_structure_get_uint64(structure, "sound", &sound);
        route.heard = sound;
        return G_SOURCE_CONTINUE;
    }
    const bool failed = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR ||
                        (application && gst_structure_has_name(structure, failureMark));
    // The memory route marks no start: what its output says concerns the sound it plays, and a
    // failure the worker marked names its sound.
    guint64 about = route.way == Way::Memory ? guint64(player->sound_) : route.heard;
    if (application)
        gst_structure_get_uint64(structure, "sound", &about);
    // What a parked or kept route says, or what came before the current sound's start mark, is
    // stale; but a pipeline that failed is never rewound: its file is loaded afresh next time.
    if (&route != player->current_ || about != player->sound_) {
        if (failed)
            route.loaded.clear();
        return G_SOURCE_CONTINUE;
    }
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
        // A playing output goes on waking its threads though it has nothing left to play.
        player->worker_.start(
            [pipeline = route.pipeline] { gst_element_set_state(pipeline, GST_STATE_PAUSED); });
        player->endSound();
    } else if (failed) {
        GError* error = nullptr;
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
            gst_message_parse_error(message, &error, nullptr);
        qWarning("Sound %s does not play: %s", qPrintable(player->path_),
                 error ? error->message : "its pipeline does not start");
        if (error)
            g_error_free(error);
        player->park(route);
        player->current_ = nullptr;
        player->endSound();
    }
    return G_SOURCE_CONTINUE;
}
