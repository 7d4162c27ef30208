#include "SpeechSettings.h"

#include "platform/FileBytes.h"
#include "platform/SafeSave.h"

#include <QDir>
#include <QFileInfo>
#include <QList>

namespace {

// A few short lines; anything near this size is not our settings file.
constexpr qint64 kMaxFileBytes = 64 * 1024;

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
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            return {};
        const QByteArray name = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        bool ok = true;
        if (name == "voice")
            settings.voice = QString::fromUtf8(value);
        else if (name == "speed")
            ok = readNumber(value, kMinSpeed, kMaxSpeed, settings.speed);
        else if (name == "pitch")
            ok = readNumber(value, kMinPitch, kMaxPitch, settings.pitch);
        else if (name == "volume")
            ok = readNumber(value, kMinVolume, kMaxVolume, settings.volume);
        else
            ok = false;
        if (!ok)
            return {};
    }
    return settings;
}

SpeechSettings SpeechSettings::read(const QString& path) {
    const Result<QByteArray> bytes = FileBytes::read(path, kMaxFileBytes);
    return bytes ? fromText(bytes.value()) : SpeechSettings();
}

Result<void> SpeechSettings::write(const QString& path) const {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SafeSave::write(path, toText());
}
