#pragma once

#include <QString>
#include <array>

// Sound playback through the four device aliases S1 (route setting), S2 (steps), S3
// (announcements) and S4: a new sound on an alias cuts off the one before, sounds on different
// aliases play together. Nothing here reports a failure to the user: a sound that cannot be
// played is not played.
namespace mdlSndAPI {

// The device aliases; a device's name is the program's name followed by the alias (Q57S2).
enum class Alias { S1, S2, S3, S4 };
constexpr std::array<Alias, 4> kAliases = {Alias::S1, Alias::S2, Alias::S3, Alias::S4};

QString deviceName(Alias alias);

// The kind of device a file plays on, by the last three characters of its path, upper-cased
// and trimmed: "WAV", "MP3" or "MID". Any other ending is not played.
enum class DeviceType { None, WaveAudio, MpegVideo, Sequencer };
DeviceType deviceType(const QString& path);

// The sound of an event that plays either one file always, or one of three files by a value
// 1 to 3 (a fare column, an announcement's flag); any other value plays none (empty).
QString chosenSound(bool always, const QString& alwaysFile, const std::array<QString, 3>& byValue,
                    int value);

// The four devices, as the parts that make sounds see them.
class Sounds {
public:
    // Plays the file on the alias. With wait, returns when it has played to its end and then
    // pauseMs more; the windows keep drawing meanwhile, but take no input. An empty or missing
    // file plays nothing and leaves the alias's sound playing.
    virtual void PlaySoundFile(const QString& file, Alias alias, bool wait, qint16 pauseMs) = 0;
    // Gets a file that the alias will likely play ready, so that playing it then starts at once;
    // plays nothing. Where nothing is gained it does nothing.
    virtual void PrepareSoundFile(const QString& /*file*/, Alias /*alias*/) {}
    // Closes the four aliases at shut-down.
    virtual void CloseSoundAliases() = 0;

protected:
    ~Sounds() = default;
};

} // namespace mdlSndAPI
