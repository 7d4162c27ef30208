#pragma once

#include "announce/SoundDevices.h"
#include "announce/SoundPlayer.h"

#include <QMap>
#include <QMutex>
#include <QString>

// Stands in for the audio output: every player given its sinks plays into an appsink that keeps
// real time like a sound card and counts, for each device, what reaches it (16-bit mono).
class SoundCapture {
public:
    static constexpr int kRate = 44100;

    // One of our sample sounds in data/sounds.
    static QString sample(const char* name);

    // Sinks for the program's devices, each counted under its own name.
    SoundDevices::SinkFactory sinks();
    // Sinks for one player, counted under the name given.
    SoundPlayer::AudioSinkFactory sinks(const QString& device);

    // Seconds of sound that reached the device so far.
    double seconds(const QString& device) const;
    // The loudest sample the device played, 0 to 32767.
    int peak(const QString& device) const;

private:
    struct Device {
        qint64 frames = 0;
        int peak = 0;
    };
    struct Sink {
        SoundCapture* capture;
        QString device;
    };
    static int take(void* sink, void* target);

    mutable QMutex mutex_;
    QMap<QString, Device> devices_;
};
