#pragma once

#include "platform/Result.h"

#include <QByteArray>
#include <QString>

// How the speech engine's voice sounds, as the adjustment dialog sets it. The program's settings
// file has no room for these, so they are kept in a small text file of their own:
//     voice=/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice
//     speed=1
//     pitch=0
//     volume=0
struct SpeechSettings {
    static constexpr double kMinSpeed = 0.5, kMaxSpeed = 2.0;  // times the voice's own pace
    static constexpr double kMinPitch = -12, kMaxPitch = 12;   // half-tones up or down
    static constexpr double kMinVolume = -20, kMaxVolume = 10; // dB

    QString voice; // the .htsvoice file; empty: the engine's first voice
    double speed = 1.0;
    double pitch = 0;
    double volume = 0;

    bool operator==(const SpeechSettings&) const = default;

    // The file's text for these settings.
    QByteArray toText() const;
    // The settings a file's text holds; the defaults when the text is damaged anywhere (a line
    // that is not "name=value", an unknown name, a number that is not one or out of its range),
    // so that a half-understood file never gives a half-chosen voice.
    static SpeechSettings fromText(const QByteArray& text);

    // The settings kept in the file; the defaults, silently, when it is missing or damaged.
    static SpeechSettings read(const QString& path);
    // Writes them through the program's safe save, making the folder when there is none yet.
    Result<void> write(const QString& path) const;
};
