#pragma once

#include <QMutex>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

typedef struct _GstBus GstBus;
typedef struct _GstElement GstElement;
typedef struct _GstMessage GstMessage;

// Plays one sound file at a time (WAV, MP3, MIDI, whatever GStreamer decodes): one player per
// sound device alias. A new sound on a player cuts off the one before; separate players sound
// together. Everything is called on one thread, whose Qt event loop also delivers the end of a
// sound (GStreamer's bus watch runs in it: Qt's event dispatcher on Linux is GLib's). The
// pipelines are started, stopped and loaded in the player's own thread, so the calls return at
// once. Make the players at start-up: the first one brings GStreamer's plugins into memory, which
// takes some 50 ms in its thread and would otherwise delay the first sound.
//
// A short sampled sound is decoded once, in the player's thread, when it is first prepared or
// played, and from then on plays from memory, which costs a fraction of streaming it again:
// playbin plays it the first time, and plays what is long, changed on disk or does not decode
// whole. MIDI is synthesised by FluidSynth with the small General
// MIDI soundfont, in a pipeline that keeps its synthesiser: the soundfont is loaded when the
// player opens its first MIDI file and kept until close(), not loaded again for every sound.
//
// To wait for a sound on the UI thread:
//     player.play();
//     if (player.isPlaying()) {
//         QEventLoop loop;
//         QObject::connect(&player, &SoundPlayer::finished, &loop, &QEventLoop::quit);
//         loop.exec();
//     }
// finished() cannot slip in between the check and exec(): it is only emitted from that thread.
class SoundPlayer : public QObject {
    Q_OBJECT
public:
    // Makes the element that a player's sound ends in, a new one for each kind of file, called
    // in the player's own thread. Without one a player uses the system's audio output, or a
    // sink that keeps real time when there is none. Tests pass a sink that records what it is
    // given.
    using AudioSinkFactory = std::function<GstElement*()>;

    // How a file sounds, by its first bytes as GStreamer's type finding sees them: not at all
    // (unreadable, or nothing installed decodes it), sampled, or synthesised from MIDI.
    enum class Kind { None, Sampled, Midi };
    static Kind kindOf(const QString& path);

    explicit SoundPlayer(AudioSinkFactory makeSink = {}, QObject* parent = nullptr);
    ~SoundPlayer() override;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // Loads GStreamer and what a first sound needs in the player's own thread, so that the first
    // open() does not wait for it. Without it the first open() loads them itself.
    void warmUp();
    // Cuts off the sound that is playing and makes the file ready to play from its start.
    // Returns false, and plays nothing until the next successful open, when the file cannot be
    // read or holds nothing GStreamer can decode. Returns quickly: the file's first bytes are
    // looked at here, the loading happens in the player's own thread. A file that turns out to
    // be damaged past its first bytes ends at once when played, with finished().
    bool open(const QString& path);
    // Plays the opened file from its start, cutting off the same file if it is playing, and
    // returns at once. Does nothing when no file is open.
    void play();
    // Cuts off the sound; the file stays open and play() starts it again from the start.
    void stop();
    // Loads a sampled file aside, in the player's own thread, leaving the sound that plays alone,
    // so that opening and playing it later, unchanged, starts it at once. The player keeps the
    // last few files it prepared or played this way, and the short ones decoded.
    void prepare(const QString& path);
    // Cuts off the sound and gives back the audio output and the soundfont.
    void close();
    // From play() until the sound has finished.
    bool isPlaying() const { return playing_; }

signals:
    // The sound that play() started is over: played to its end, failed, or cut off by open(),
    // play(), stop() or close(). Emitted once for each play().
    void finished();

private:
    // playbin; our own pipeline for MIDI; an app source fed with decoded samples.
    enum class Way { Playbin, Midi, Memory };
    // A pipeline for each kind of file, kept from the first file of its kind to close().
    struct Route {
        explicit Route(Way how = Way::Playbin) : way(how) {}
        Way way;
        GstElement* pipeline = nullptr;
        GstBus* bus = nullptr;
        // The file the pipeline holds ready or playing, with its size and time stamp; empty
        // when the next sound has to be loaded afresh.
        QString loaded;
        quint64 heard = 0; // the last sound whose start mark came through the bus
    };

    // A sampled file's samples, or (null samples) the verdict that it plays through playbin.
    struct Decoded;
    // What the player knows of a file's decoded copy.
    enum class Copy { Unknown, Pending, InMemory, Streamed };

    static QString identify(const QString& path);
    Route* keptRoute(const QString& identity);
    std::array<Route*, 6> routes() {
        return {&sampled_, &midi_, &memory_, &kept_[0], &kept_[1], &kept_[2]};
    }
    Copy copyOf(const QString& identity, std::shared_ptr<const Decoded>* sound = nullptr);
    void decodeAside(const QString& identity, const QString& path);
    void keep(const std::shared_ptr<const Decoded>& sound);
    bool create(Route& route);
    void toStart();
    bool renew(Route& route);
    void park(Route& route);
    void cutOff();
    void endSound();
    void startStream(GstElement* pipeline, const Decoded& sound, quint64 number);
    void cutStream(GstElement* pipeline);
    void dropStreamEnd();
    static int onBusMessage(GstBus* bus, GstMessage* message, void* player);

    AudioSinkFactory makeSink_;
    Route sampled_;
    Route midi_{Way::Midi};
    Route memory_{Way::Memory};
    std::shared_ptr<const Decoded> inMemory_;             // the sound memory_ holds
    QMutex decodedLock_;                                  // the worker adds what it decoded
    std::vector<std::shared_ptr<const Decoded>> decoded_; // oldest first
    std::array<Route, 3> kept_; // sampled files ready aside, each paused at its start
    std::size_t nextKept_ = 0;
    Route* current_ = nullptr; // the route holding the opened file
    QString path_;             // the opened file
    QString identity_;         // its path, size and time stamp
    bool started_ = false;     // play() has run since the file was opened
    bool playing_ = false;
    // Numbers the sounds, so that the worker skips a play that a later call has overtaken and
    // the bus watch tells the current sound's messages from those of the one before.
    std::atomic<quint64> sound_{0};
    // Changes the pipelines' states, one after the other in the order asked: loading a file and
    // the soundfont takes milliseconds that the calling thread should not wait for.
    QThreadPool worker_;
    // The memory route's sounds follow one another in one stream, each starting where the one
    // before left it; its end is a wait on the pipeline's clock, which the worker alone touches.
    void* streamEnd_ = nullptr;
    // Reached from the clock's thread, which may be finishing a wait as the player goes.
    struct Alive {
        QMutex lock;
        SoundPlayer* player = nullptr;
    };
    std::shared_ptr<Alive> alive_;
};
