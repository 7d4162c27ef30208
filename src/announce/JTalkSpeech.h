#pragma once

#include "announce/SoundPlayer.h"
#include "announce/SpeechObject.h"
#include "announce/SpeechSettings.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>

class QTemporaryDir;

// The speech object on Open JTalk: the program open_jtalk renders a text into a WAV file in the
// background, and the engine plays it on a sound player of its own (none of the four device
// aliases). Every call returns at once: the program runs from threads of the engine's own, and
// the UI thread only starts and stops sounds.
//
//     std::unique_ptr<JTalkSpeech> speech = JTalkSpeech::create(JTalkSpeech::Config());
//     if (!speech) ... // unusable: no program, dictionary or voice
//     speech->RenderAhead(texts);   // after an announcement list loads
//     speech->Stop();
//     speech->Speak(text);
//     if (speech->Status() == -1) speech->Stop();
//
// Status():
//   1  from a Speak that starts until its text has played to the end: while it is rendered
//      (on demand, or by the background rendering that already had it) and while it plays.
//   0  idle: nothing spoken yet, played to the end, or cut off by Stop.
//  -1  the last Speak could not start: at once when its text holds nothing but blanks and line
//      ends; later, once known, when open_jtalk cannot be run, fails (a text with nothing it can
//      pronounce, such as punctuation alone), or leaves no whole sound (a full disk). It stays -1
//      until the next Speak that starts, or Stop, which clears it.
// Stop, and a Speak, cut off at once both a text being rendered (its run is killed, nothing is
// left half-written) and a text playing. Lines of a text are joined with a blank, since
// open_jtalk speaks only its input's first line.
//
// The rendered files are kept in a cache folder, named by the text and the voice settings;
// only a whole WAV is kept, and Speak of a text found there whole plays at once (a damaged one is
// removed and rendered again). Half-written files of runs killed with their program are removed
// at the next start. RenderAhead renders a list into it one text at a
// time, at a lowered priority; a Speak of a text not yet there renders it at once at the normal
// priority beside the list's rendering, even when that has the same text under way. The folder is
// kept under a size limit by removing the files used least recently.
class JTalkSpeech : public QObject, public SpeechObject {
    Q_OBJECT
public:
    // Where the engine finds what it needs. A default Config holds the system's places: the
    // program on the PATH, Debian's dictionary and voice folders, speech.ini in the user's
    // configuration folder and a "speech" folder in the user's cache folder.
    struct Config {
        // Shows the settings now in use and the voices under the title, calls hearSample with
        // what it shows each time the sample is asked for, and gives the settings chosen, or
        // nothing when cancelled.
        using AdjustDialog = std::function<std::optional<SpeechSettings>(
            const QString& title, const SpeechSettings& now, const QStringList& voices,
            const std::function<void(const SpeechSettings&)>& hearSample)>;

        Config();

        QString program;               // open_jtalk
        QStringList dictionaryFolders; // the first one holding sys.dic is used
        QStringList voiceFolders;      // .htsvoice files in these and their subfolders
        QString settingsFile;          // the adjustment dialog's settings (SpeechSettings)
        QString cacheFolder;           // the rendered files; a temporary one if it cannot be made
        qint64 cacheLimit = 64 * 1024 * 1024; // bytes
        AdjustDialog adjustDialog;            // without one, Adjust changes nothing
    };

    // The engine, or nullptr when the program, a dictionary or a voice is not found. Without a
    // sink factory it sounds on the system's audio output (see SoundPlayer).
    static std::unique_ptr<JTalkSpeech> create(const Config& config,
                                               SoundPlayer::AudioSinkFactory makeSink = {});
    ~JTalkSpeech() override;

    void Speak(const QString& text) override;
    void Stop() override;
    qint32 Status() const override;
    // Opens the adjustment dialog; the settings chosen are saved and used from then on, and the
    // texts last given to RenderAhead are rendered again in the new voice.
    void Adjust(const QString& title) override;
    void RenderAhead(const QStringList& texts) override;

    // The voice files found, the first being the default voice.
    const QStringList& voices() const { return voices_; }
    const SpeechSettings& settings() const { return settings_; }
    // The file that holds, or will hold, the text rendered with the settings in use.
    QString cacheFile(const QString& text) const;
    // Renders the text with the settings in use and waits for it, through the same cache: the
    // file that holds it whole, or nothing when the text is blank or cannot be rendered. What
    // the engine is speaking goes on.
    QString renderNow(const QString& text);

signals:
    // Emitted by every Stop(); a Speak cutting off the text before does not count.
    void stopped();
    // The texts given to RenderAhead are all in the cache, or could not be rendered.
    void renderedAhead();

private:
    enum class State { Idle, Rendering, Playing, Failed };
    struct Render;

    JTalkSpeech(const Config& config, QString dictionary, QStringList voices,
                SoundPlayer::AudioSinkFactory makeSink);
    void speakWith(const QString& text, const SpeechSettings& settings);
    QString cacheFile(const QString& text, const SpeechSettings& settings) const;
    std::shared_ptr<Render> newRender(const QString& file);
    QStringList rendererArguments(const SpeechSettings& settings, const QString& output) const;
    std::shared_ptr<Render> render(const QString& text, const SpeechSettings& settings,
                                   const QString& file, bool demanded);
    static bool runRenderer(Render& job, const QString& program, const QStringList& arguments,
                            const QByteArray& text, bool lowered);
    void rendered(const std::shared_ptr<Render>& job, bool ok);
    void play(const QString& file);
    void cutOff();
    // Cuts off the runs rendering this file.
    void cancelRunsOf(const QString& file);
    void renderNextAhead();
    // Whether the cache holds the file whole; a damaged one is removed.
    bool cached(const QString& file);
    void trimCache(const QString& added);

    Config config_;
    QString dictionary_;
    QStringList voices_;
    SpeechSettings settings_;
    std::unique_ptr<QTemporaryDir> temporaryCache_;
    QString cacheFolder_;
    SoundPlayer player_;
    State state_ = State::Idle;
    QString wanted_;                     // the file the spoken text waits for while it renders
    std::shared_ptr<Render> demand_;     // rendering the spoken text
    std::shared_ptr<Render> ahead_;      // rendering a text of the list
    QStringList queue_;                  // the list's texts still to render
    QHash<QString, QString> knownWhole_; // cache files found whole: their size and time then
    QStringList aheadTexts_;             // the list last given, rendered again after an adjustment
    bool aheadDone_ = true;              // renderedAhead() was emitted for the list last given
    QString playing_;                    // the file the player has, kept from the cache's trimming
    qint64 cacheBytes_ = -1;             // the cache's size as last listed and added to since
    quint64 renders_ = 0;                // names the half-written files apart
    // Runs open_jtalk: a text asked for, the list's next text, and ones being cut off.
    QThreadPool renderers_;
};
