#include "SpeechSettings.h"

#include "settings/ConfigText.h"

namespace {

bool readNumber(const QByteArray& value, double low, double high, double& target) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || number < low || number > high)
        return false;
    target = number;
    return true;
}

} // namespace

QByteArray SpeechSettings::toText() const {
    return "voice=" + voice.toUtf8() + "\nspeed=" + QByteArray::number(speed) +
           "\npitch=" + QByteArray::number(pitch) + "\nvolume=" + QByteArray::number(volume) + "\n";
}

SpeechSettings SpeechSettings::fromText(const QByteArray& text) {
    SpeechSettings settings;
    const bool read = ConfigText::forEachValue(
        text, [&settings](const QByteArray& name, const QByteArray& value) {
            if (name == "voice") {
                settings.voice = QString::fromUtf8(value);
                return true;
            }
            if (name == "speed")
                return readNumber(value, kMinSpeed, kMaxSpeed, settings.speed);
            if (name == "pitch")
                return readNumber(value, kMinPitch, kMaxPitch, settings.pitch);
            if (name == "volume")
                return readNumber(value, kMinVolume, kMaxVolume, settings.volume);
            return false;
        });
    return read ? settings : SpeechSettings();
}

SpeechSettings SpeechSettings::read(const QString& path) {
    const Result<QByteArray> bytes = ConfigText::read(path);
    return bytes ? fromText(bytes.value()) : SpeechSettings();
}

Result<void> SpeechSettings::write(const QString& path) const {
    return ConfigText::write(path, toText());
}
