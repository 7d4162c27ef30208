#include "mdlM_Tape.h"

#include "platform/FileBytes.h"
#include "settings/SettingsSource.h"

#include <memory>

mdlM_Tape::mdlM_Tape(const SettingsSource& settings, mdlSndAPI::Sounds& sounds,
                     SpeechFactory makeSpeech, SystemName systemName)
    : settings_(settings), sounds_(sounds), makeSpeech_(std::move(makeSpeech)),
      systemName_(std::move(systemName)) {
    reader_.setMaxThreadCount(1);
}

mdlM_Tape::~mdlM_Tape() = default;

// The one system the announcements were never offered on.
bool mdlM_Tape::onVista() const {
    return systemName_ && systemName_() == QStringLiteral("Windows Vista");
}

// Nothing is shown before the group is known.
void mdlM_Tape::enableGroup(bool enabled) {
    if (showGroup_)
        showGroup_(groupTitle_, enabled);
}

void mdlM_Tape::InitSpeech(GroupView showGroup) {
    showGroup_ = std::move(showGroup);
    try {
        if (!onVista() && makeSpeech_)
            SpeechObj_ = makeSpeech_();
    } catch (const std::exception&) {
        SpeechObj_.reset();
    }
    SpeechEnabled_ = SpeechObj_ != nullptr;
    groupTitle_ = SpeechEnabled_ ? QStringLiteral("音合使用可") : QStringLiteral("音合使用不可");
    enableGroup(SpeechEnabled_);
}

void mdlM_Tape::ReleaseSpeech() {
    SpeechObj_.reset();
}

// What a read of the announcement file gives: every announcement, or those before the first
// that failed, with the failing one's number as the position.
struct mdlM_Tape::Loaded {
    bool readable = false;
    bool complete = false;
    std::vector<TapeData> list;
    qint32 index = 0;
};

mdlM_Tape::Loaded mdlM_Tape::parse(QByteArray bytes) {
    Loaded loaded;
    QStringList lines = TapeFile::lines(bytes);
    bytes = QByteArray();
    loaded.readable = true;
    loaded.list.assign(std::size_t(lines.size()), TapeData{});
    // Each announcement is stored as it is read, so a failure keeps those before it.
    for (TapeFile::Reader reader(std::move(lines)); !reader.atEnd();) {
        ++loaded.index;
        const Result<TapeData> next = reader.next();
        if (!next)
            return loaded;
        loaded.list[std::size_t(loaded.index - 1)] = next.value();
    }
    loaded.complete = true;
    loaded.index = 0;
    return loaded;
}

void mdlM_Tape::LoadTapeData(const QString& folder, const QString& routeNo) {
    if (onVista())
        return;
    const quint64 load = ++loads_;
    loading_ = 0;
    Result<QByteArray> bytes =
        FileBytes::read(TapeFile::path(folder, routeNo), TapeFile::kMaxFileBytes);
    if (!bytes || bytes.value().size() <= kBackgroundBytes) {
        install(bytes ? parse(std::move(bytes).value()) : Loaded{});
        return;
    }
    loading_ = load;
    enableGroup(false);
    // Freeing half a million announcements takes the window tens of milliseconds.
    reader_.start([old = std::move(TapeList_)] {});
    TapeList_.clear();
    TapeCount_ = 0;
    TapeIndex_ = 0;
    reader_.start([this, load, bytes = std::move(bytes).value()]() mutable {
        auto loaded = std::make_shared<Loaded>(parse(std::move(bytes)));
        QMetaObject::invokeMethod(
            &context_,
            [this, load, loaded] {
                if (load == loading_) {
                    loading_ = 0;
                    install(std::move(*loaded));
                }
            },
            Qt::QueuedConnection);
    });
}

void mdlM_Tape::install(Loaded loaded) {
    if (loaded.readable) {
        TapeCount_ = qint32(loaded.list.size());
        TapeList_ = std::move(loaded.list);
        TapeIndex_ = loaded.index;
    }
    if (!loaded.complete) {
        enableGroup(false);
        return;
    }
    if (SpeechEnabled_)
        enableGroup(true);
    if (SpeechObj_ != nullptr) {
        QStringList texts;
        for (const TapeData& announcement : TapeList_)
            texts.append(announcement.Text);
        SpeechObj_->RenderAhead(texts);
    }
}

void mdlM_Tape::TapeNext() {
    if (++TapeIndex_ > TapeCount_) {
        TapeIndex_ = TapeCount_;
        return;
    }
    const IniRecord s = settings_.currentSettings();
    playThenSpeak(mdlSndAPI::chosenSound(s.PreSoundAlways != 0, s.PreSoundFile,
                                         {s.PreSoundFile1, s.PreSoundFile2, s.PreSoundFile3},
                                         GetTapeSoundFlag(TapeIndex_)),
                  mdlSndAPI::Alias::S3);
}

void mdlM_Tape::TapeBack() {
    if (--TapeIndex_ < 1) {
        TapeIndex_ = 1;
        return;
    }
    const IniRecord s = settings_.currentSettings();
    playThenSpeak(mdlSndAPI::chosenSound(false, QString(),
                                         {s.PreSoundFile1, s.PreSoundFile2, s.PreSoundFile3},
                                         GetTapeSoundFlag(TapeIndex_)),
                  mdlSndAPI::Alias::S2);
}

void mdlM_Tape::playThenSpeak(const QString& sound, mdlSndAPI::Alias alias) {
    if (!sound.isEmpty())
        sounds_.PlaySoundFile(sound, alias, settings_.currentSettings().PreSoundSync != 0, 0);
    try {
        SpeakTape(TapeIndex_);
    } catch (const RuntimeError&) {
        // The position has moved; the step just ends.
    }
}

void mdlM_Tape::SpeakTape(qint32 index) {
    RuntimeError::checkSubscript(index, 1, TapeCount_);
    if (SpeechObj_ == nullptr)
        return;
    SpeechObj_->Stop();
    SpeechObj_->Speak(TapeList_[std::size_t(index - 1)].Text);
    if (SpeechObj_->Status() == -1)
        SpeechObj_->Stop();
}

void mdlM_Tape::TapeStop() {
    if (SpeechObj_ != nullptr)
        SpeechObj_->Stop();
}

void mdlM_Tape::TapeAdjust() {
    if (SpeechObj_ != nullptr)
        SpeechObj_->Adjust(QStringLiteral("音声の調節"));
}

const TapeData* mdlM_Tape::entry(qint32 index) const {
    return index < 1 || index > TapeCount_ ? nullptr : &TapeList_[std::size_t(index - 1)];
}

qint16 mdlM_Tape::GetTapeSoundFlag(qint32 index) const {
    const TapeData* announcement = entry(index);
    return announcement == nullptr ? 0 : announcement->SoundFlag;
}

qint16 mdlM_Tape::GetTapeLinkFlag(qint32 index) const {
    const TapeData* announcement = entry(index);
    return announcement == nullptr ? 0 : announcement->DataLink;
}
