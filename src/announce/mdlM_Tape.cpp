#include "mdlM_Tape.h"

#include "platform/FileBytes.h"
#include "settings/SettingsSource.h"

mdlM_Tape::mdlM_Tape(const SettingsSource& settings, mdlSndAPI::Sounds& sounds,
                     SpeechFactory makeSpeech, SystemName systemName)
    : settings_(settings), sounds_(sounds), makeSpeech_(std::move(makeSpeech)),
      systemName_(std::move(systemName)) {}

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

void mdlM_Tape::LoadTapeData(const QString& folder, const QString& routeNo) {
    if (onVista())
        return;
    try {
        const QStringList lines =
            TapeFile::lines(FileBytes::read(TapeFile::path(folder, routeNo)).valueOrThrow());
        TapeCount_ = qint32(lines.size());
        TapeList_.assign(std::size_t(TapeCount_), TapeData{});
        TapeIndex_ = 0;
        // Each announcement is stored as it is read, so a failure keeps those before it.
        for (TapeFile::Reader reader(lines); !reader.atEnd();) {
            ++TapeIndex_;
            TapeList_[std::size_t(TapeIndex_ - 1)] = reader.next().valueOrThrow();
        }
        if (SpeechEnabled_)
            enableGroup(true);
        TapeIndex_ = 0;
    } catch (const RuntimeError&) {
        enableGroup(false);
        return;
    }
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
