#include "mdlSndAPI.h"

#include "platform/ExecutableName.h"

namespace mdlSndAPI {

QString deviceName(Alias alias) {
    static const char* const suffixes[4] = {"S1", "S2", "S3", "S4"};
    return executableName() + QLatin1String(suffixes[int(alias)]);
}

DeviceType deviceType(const QString& path) {
    const QString ending = path.right(3).toUpper().trimmed();
    if (ending == QLatin1String("WAV"))
        return DeviceType::WaveAudio;
    if (ending == QLatin1String("MP3"))
        return DeviceType::MpegVideo;
    if (ending == QLatin1String("MID"))
        return DeviceType::Sequencer;
    return DeviceType::None;
}

QString chosenSound(bool always, const QString& alwaysFile, const std::array<QString, 3>& byValue,
                    int value) {
    if (always)
        return alwaysFile;
    return value >= 1 && value <= 3 ? byValue[std::size_t(value - 1)] : QString();
}

} // namespace mdlSndAPI
