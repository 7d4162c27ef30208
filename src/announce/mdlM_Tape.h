#pragma once

#include "announce/SpeechObject.h"
#include "announce/TapeFile.h"
#include "announce/mdlSndAPI.h"
#include "platform/FileExists.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class SettingsSource;

// The announcements of the route that is set, the position in them, and the speech that reads
// them. The operating panel steps through them with the buttons of its announcement group; each
// step may play a sound first and then speaks the announcement. One lives for the whole program.
// Nothing here tells the user of a failure: a list that cannot be read leaves the group disabled,
// a step that fails ends where it stands.
class mdlM_Tape {
public:
    // Makes the speech object, or gives none when speech is not usable on this machine.
    using SpeechFactory = std::function<std::unique_ptr<SpeechObject>()>;
    // The running system's name; announcements are never offered on "Windows Vista".
    using SystemName = std::function<QString()>;
    // Shows the announcement group: its title, and whether its buttons work.
    using GroupView = std::function<void(const QString& title, bool enabled)>;

    // The pre-announcement sounds are read from the settings at the moment of each step. Without
    // a system name the system is taken for one the announcements are offered on.
    mdlM_Tape(const SettingsSource& settings, mdlSndAPI::Sounds& sounds, SpeechFactory makeSpeech,
              SystemName systemName = {});
    ~mdlM_Tape();
    mdlM_Tape(const mdlM_Tape&) = delete;
    mdlM_Tape& operator=(const mdlM_Tape&) = delete;

    // Whether the file exists; an empty path or a folder is not a file.
    static bool FileExists(const QString& path) { return fileExists(path); }

    // Makes the speech object and shows on the operating panel's announcement group whether
    // speech is usable ("音合使用可", enabled) or not ("音合使用不可", disabled). The group is
    // shown through the view from here on, whenever the announcements enable or disable it.
    void InitSpeech(GroupView showGroup);
    bool SpeechEnabled() const { return SpeechEnabled_; }
    // At shut-down: ends any speaking.
    void ReleaseSpeech();

    // Reads the route's announcements (route "12" reads 12tp.csv in the folder, which ends in a
    // separator or is empty) and goes back before the first. Enables the group when speech is
    // usable; a file that cannot be read disables it and keeps what was read until then.
    void LoadTapeData(const QString& folder, const QString& routeNo);
    // One announcement on, or back: its sound, then its text. Neither moves past the ends.
    void TapeNext();
    void TapeBack();
    // Speaks announcement index (1 to TapeCount), cutting off the one still speaking.
    void SpeakTape(qint32 index);
    void TapeStop();
    // The speech engine's adjustment dialog.
    void TapeAdjust();

    qint32 GetTapeCount() const { return TapeCount_; }
    // 0 right after a load, else 1 to TapeCount.
    qint32 GetTapeIndex() const { return TapeIndex_; }
    // The flags of announcement index; 0 outside 1 to TapeCount.
    qint16 GetTapeSoundFlag(qint32 index) const;
    qint16 GetTapeLinkFlag(qint32 index) const;

private:
    void playThenSpeak(const QString& sound, mdlSndAPI::Alias alias);
    const TapeData* entry(qint32 index) const;
    bool onVista() const;
    void enableGroup(bool enabled);

    const SettingsSource& settings_;
    mdlSndAPI::Sounds& sounds_;
    SpeechFactory makeSpeech_;
    SystemName systemName_;
    GroupView showGroup_;
    QString groupTitle_;

    bool SpeechEnabled_ = false;
    std::unique_ptr<SpeechObject> SpeechObj_;
    // Announcement N is TapeList_[N - 1].
    std::vector<TapeData> TapeList_;
    qint32 TapeCount_ = 0;
    qint32 TapeIndex_ = 0;
};
