#include "JTalkSpeech.h"

#include "platform/FileBytes.h"
#include "settings/SettingsLocation.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <sys/resource.h>

namespace {

const QString kSample = QStringLiteral("次は、市役所前です。おおりのかたは、お知らせください。");

// open_jtalk speaks only the first line of its input: the lines go on one, and a text that is
// blank throughout has nothing to speak.
QString speakable(const QString& text) {
    return text.simplified();
}

quint32 le32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Whether the file is a whole WAV with sound in it: the renderer exits 0 also when the disk
// filled up under it, leaving a header that claims more than was written. The RIFF size must
// match the file's length and the data chunk must end where the file does.
bool wholeWav(const QString& file) {
    const Result<QByteArray> read = FileBytes::head(file, 4096);
    const qint64 length = QFileInfo(file).size();
    if (!read)
        return false;
    const QByteArray& head = read.value();
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE" ||
        le32(head, 4) != quint64(length) - 8)
        return false;
    for (qsizetype at = 12; at + 8 <= head.size();) {
        const quint32 size = le32(head, at + 4);
        if (head.mid(at, 4) == "data")
            return size > 0 && at + 8 + qint64(size) == length;
        at += 8 + qsizetype(size) + (size & 1);
    }
    return false;
}

// The most texts of the list looked up in the cache in one go: a list of half a million would
// keep the window waiting for seconds.
constexpr int kLookupsAtOnce = 500;

// The process a half-written file was named after (see render()), or 0.
qint64 writerOf(const QString& part) {
    const QStringList fields = QFileInfo(part).completeBaseName().split(u'-');
    return fields.size() == 3 ? fields[1].toLongLong() : 0;
}

// A half-written file left by a run that was killed with its program: none of its writers is
// still alive. One of another copy of the program still running is kept, unless it is older than
// any render takes.
bool abandoned(const QFileInfo& part) {
    const qint64 writer = writerOf(part.filePath());
    const bool alive = writer > 0 && (::kill(pid_t(writer), 0) == 0 || errno == EPERM);
    return !alive || part.lastModified() < QDateTime::currentDateTimeUtc().addSecs(-3600);
}

// The cache keeps what was used last; using a file counts as making it anew.
void markUsed(const QString& file) {
    QFile used(file);
    if (used.open(QIODevice::ReadOnly))
        used.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
}

} // namespace

// One run of open_jtalk, rendering a text into a half-written file that becomes the cache file
// when the run succeeds.
struct JTalkSpeech::Render {
    QString file;
    QString part;
    std::atomic<bool> cancelled{false};
    // The run's process while its thread waits for it. A cut-off run is killed in that thread at
    // once, rather than the thread waking every few milliseconds to look: a long list rendered
    // ahead would otherwise cost the program's CPU all the while.
    std::mutex mutex;
    QProcess* process = nullptr;

    void cancel() {
        const std::lock_guard<std::mutex> lock(mutex);
        cancelled = true;
        if (process)
            QMetaObject::invokeMethod(
                process, [run = process] { run->kill(); }, Qt::QueuedConnection);
    }
};

// In a render thread: runs the program and puts its file in the cache; false when the run was
// cut off, failed or left no sound.
bool JTalkSpeech::runRenderer(Render& job, const QString& program, const QStringList& arguments,
                              const QByteArray& text, bool lowered) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        return false;
    // Rendering ahead gives way to everything else: the windows, the sound, and the text the
    // user is waiting for.
    if (lowered)
        setpriority(PRIO_PROCESS, id_t(process.processId()), 10);
    process.write(text);
    process.closeWriteChannel();
    {
        const std::lock_guard<std::mutex> lock(job.mutex);
        if (!job.cancelled)
            job.process = &process;
    }
    if (job.process) {
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const std::lock_guard<std::mutex> lock(job.mutex);
        job.process = nullptr;
    }
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    bool ok = !job.cancelled && process.exitStatus() == QProcess::NormalExit &&
              process.exitCode() == 0 && wholeWav(job.part);
    // The other run of the same text may have put the file in place already, and it may be
    // opening for playing right now: rename(2) replaces it in one step, so it is never missing.
    if (ok)
        ok = std::rename(QFile::encodeName(job.part).constData(),
                         QFile::encodeName(job.file).constData()) == 0;
    QFile::remove(job.part);
    return ok;
}

JTalkSpeech::Config::Config()
    : program(QStandardPaths::findExecutable(QStringLiteral("open_jtalk"))),
      dictionaryFolders{QStringLiteral("/var/lib/mecab/dic/open-jtalk/naist-jdic")},
      voiceFolders{QStringLiteral("/usr/share/hts-voice"),
                   QStringLiteral("/usr/local/share/hts-voice")},
      settingsFile(SettingsLocation::userFolder() + QStringLiteral("/speech.ini")),
      cacheFolder(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
                  QStringLiteral("/speech")) {}

std::unique_ptr<JTalkSpeech> JTalkSpeech::create(const Config& config,
                                                 SoundPlayer::AudioSinkFactory makeSink) {
    const QFileInfo program(config.program);
    if (config.program.isEmpty() || !program.isFile() || !program.isExecutable())
        return nullptr;
    QString dictionary;
    for (const QString& folder : config.dictionaryFolders) {
        if (QFileInfo(folder + QStringLiteral("/sys.dic")).isFile()) {
            dictionary = folder;
            break;
        }
    }
    QStringList voices;
    for (const QString& folder : config.voiceFolders) {
        QDirIterator found(folder, {QStringLiteral("*.htsvoice")}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (found.hasNext())
            voices << found.next();
    }
    voices.sort();
    voices.removeDuplicates();
    if (dictionary.isEmpty() || voices.isEmpty())
        return nullptr;
    return std::unique_ptr<JTalkSpeech>(
        new JTalkSpeech(config, dictionary, voices, std::move(makeSink)));
}

JTalkSpeech::JTalkSpeech(const Config& config, QString dictionary, QStringList voices,
                         SoundPlayer::AudioSinkFactory makeSink)
    : config_(config), dictionary_(std::move(dictionary)), voices_(std::move(voices)),
      settings_(SpeechSettings::read(config.settingsFile)), cacheFolder_(config.cacheFolder),
      player_(std::move(makeSink)) {
    if (!voices_.contains(settings_.voice))
        settings_.voice = voices_.first();
    if (!QDir().mkpath(cacheFolder_)) {
        temporaryCache_ = std::make_unique<QTemporaryDir>();
        cacheFolder_ = temporaryCache_->path();
    }
    // What a run that ended without its engine's clearing up left half-written.
    for (const QFileInfo& part : QDir(cacheFolder_).entryInfoList({QStringLiteral("*.part")})) {
        if (abandoned(part))
            QFile::remove(part.filePath());
    }
    renderers_.setMaxThreadCount(3);
    connect(&player_, &SoundPlayer::finished, this, [this] {
        if (state_ == State::Playing)
            state_ = State::Idle;
    });
}

JTalkSpeech::~JTalkSpeech() {
    // The runs still going end with the engine.
    for (const std::shared_ptr<Render>& job : {demand_, ahead_}) {
        if (job)
            job->cancel();
    }
    renderers_.waitForDone();
}

void JTalkSpeech::Speak(const QString& text) {
    speakWith(text, settings_);
}

void JTalkSpeech::Stop() {
    cutOff();
    emit stopped();
}

qint32 JTalkSpeech::Status() const {
    switch (state_) {
    case State::Idle:
        return 0;
    case State::Failed:
        return -1;
    default:
        return 1;
    }
}

void JTalkSpeech::Adjust(const QString& title) {
    if (!config_.adjustDialog)
        return;
    bool heard = false;
    const std::optional<SpeechSettings> chosen = config_.adjustDialog(
        title, settings_, voices_, [this, &heard](const SpeechSettings& shown) {
            heard = true;
            speakWith(kSample, shown);
        });
    if (heard)
        cutOff();
    if (!chosen || *chosen == settings_)
        return;
    settings_ = *chosen;
    // Not kept past this run when the file cannot be written; nothing else is lost by that.
    (void)settings_.write(config_.settingsFile);
    RenderAhead(aheadTexts_);
}

void JTalkSpeech::RenderAhead(const QStringList& texts) {
    aheadTexts_ = texts;
    // Blank ones are skipped as they come.
    queue_ = texts;
    aheadDone_ = false;
    renderNextAhead();
}

QString JTalkSpeech::cacheFile(const QString& text) const {
    return cacheFile(text, settings_);
}

QString JTalkSpeech::cacheFile(const QString& text, const SpeechSettings& settings) const {
    const QByteArray key = speakable(text).toUtf8() + '\n' + settings.toText();
    return cacheFolder_ + QLatin1Char('/') +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".wav");
}

void JTalkSpeech::speakWith(const QString& text, const SpeechSettings& settings) {
    cutOff();
    const QString spoken = speakable(text);
    if (spoken.isEmpty()) {
        state_ = State::Failed;
        return;
    }
    const QString file = cacheFile(spoken, settings);
    if (cached(file)) {
        play(file);
        return;
    }
    state_ = State::Rendering;
    wanted_ = file;
    // Even when the list's rendering has it under way, at its lowered priority, which a busy
    // machine may starve for seconds: the two race, and the first to finish is played.
    demand_ = render(spoken, settings, file, true);
}

QString JTalkSpeech::renderNow(const QString& text) {
    const QString spoken = speakable(text);
    if (spoken.isEmpty())
        return {};
    const QString file = cacheFile(spoken, settings_);
    if (!cached(file)) {
        const std::shared_ptr<Render> job = newRender(file);
        if (!runRenderer(*job, config_.program, rendererArguments(settings_, job->part),
                         spoken.toUtf8(), false))
            return {};
        trimCache(file);
    }
    markUsed(file);
    return file;
}

std::shared_ptr<JTalkSpeech::Render> JTalkSpeech::newRender(const QString& file) {
    auto job = std::make_shared<Render>();
    job->file = file;
    // Another copy of the program may render the same text into the same folder.
    job->part =
        file.chopped(4) +
        QStringLiteral("-%1-%2.part").arg(QCoreApplication::applicationPid()).arg(++renders_);
    return job;
}

QStringList JTalkSpeech::rendererArguments(const SpeechSettings& settings,
                                           const QString& output) const {
    return {QStringLiteral("-x"),  dictionary_,
            QStringLiteral("-m"),  settings.voice,
            QStringLiteral("-r"),  QString::number(settings.speed),
            QStringLiteral("-fm"), QString::number(settings.pitch),
            QStringLiteral("-g"),  QString::number(settings.volume),
            QStringLiteral("-ow"), output};
}

std::shared_ptr<JTalkSpeech::Render> JTalkSpeech::render(const QString& text,
                                                         const SpeechSettings& settings,
                                                         const QString& file, bool demanded) {
    const std::shared_ptr<Render> job = newRender(file);
    renderers_.start([this, job, program = config_.program,
                      arguments = rendererArguments(settings, job->part), text = text.toUtf8(),
                      lowered = !demanded] {
        const bool ok = runRenderer(*job, program, arguments, text, lowered);
        QMetaObject::invokeMethod(
            this, [this, job, ok] { rendered(job, ok); }, Qt::QueuedConnection);
    });
    return job;
}

void JTalkSpeech::rendered(const std::shared_ptr<Render>& job, bool ok) {
    const bool wasAhead = job == ahead_;
    if (job == demand_)
        demand_.reset();
    if (wasAhead)
        ahead_.reset();
    if (!job->cancelled && state_ == State::Rendering && job->file == wanted_) {
        // The other run of the same text, if one is still going.
        const bool twin =
            (demand_ && demand_->file == job->file) || (ahead_ && ahead_->file == job->file);
        if (ok) {
            wanted_.clear();
            if (twin)
                cancelRunsOf(job->file);
            play(job->file);
        } else if (!twin) {
            wanted_.clear();
            state_ = State::Failed;
        }
    }
    if (ok)
        trimCache(job->file);
    if (wasAhead)
        renderNextAhead();
}

void JTalkSpeech::play(const QString& file) {
    markUsed(file);
    playing_ = file;
    if (!player_.open(file)) {
        state_ = State::Failed;
        return;
    }
    state_ = State::Playing;
    player_.play();
}

void JTalkSpeech::cutOff() {
    if (demand_) {
        demand_->cancel();
        demand_.reset();
    }
    wanted_.clear();
    player_.stop();
    state_ = State::Idle;
}

void JTalkSpeech::cancelRunsOf(const QString& file) {
    if (demand_ && demand_->file == file) {
        demand_->cancel();
        demand_.reset();
    }
    // Its end goes on with the list.
    if (ahead_ && ahead_->file == file)
        ahead_->cancel();
}

bool JTalkSpeech::cached(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists()) {
        knownWhole_.remove(file);
        return false;
    }
    // The same size and time as when it was last found whole: it still is.
    const QString identity =
        QStringLiteral("%1 %2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
    if (knownWhole_.value(file) == identity || wholeWav(file)) {
        knownWhole_.insert(file, identity);
        return true;
    }
    // Damaged on disk (a disk that filled up before we checked renderings): rendered again.
    QFile::remove(file);
    return false;
}

void JTalkSpeech::renderNextAhead() {
    for (int looked = 0; !ahead_ && !queue_.isEmpty(); ++looked) {
        if (looked == kLookupsAtOnce) {
            QMetaObject::invokeMethod(this, &JTalkSpeech::renderNextAhead, Qt::QueuedConnection);
            return;
        }
        const QString text = queue_.takeFirst();
        if (speakable(text).isEmpty())
            continue;
        const QString file = cacheFile(text);
        if (!cached(file) && !(demand_ && demand_->file == file))
            ahead_ = render(speakable(text), settings_, file, false);
    }
    if (!ahead_ && !aheadDone_) {
        aheadDone_ = true;
        emit renderedAhead();
    }
}

void JTalkSpeech::trimCache(const QString& added) {
    // Listing the folder costs the window thread more than a step of the ride: it is listed
    // again only once what was rendered since may have taken it over the limit.
    if (cacheBytes_ >= 0) {
        cacheBytes_ += QFileInfo(added).size();
        if (cacheBytes_ <= config_.cacheLimit)
            return;
    }
    const QFileInfoList files =
        QDir(cacheFolder_).entryInfoList({QStringLiteral("*.wav")}, QDir::Files, QDir::Time);
    qint64 kept = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        // The newest file stays even when it alone is over the limit.
        if (i > 0 && kept + files[i].size() > config_.cacheLimit &&
            files[i].filePath() != playing_ && QFile::remove(files[i].filePath()))
            continue;
        kept += files[i].size();
    }
    cacheBytes_ = kept;
}
