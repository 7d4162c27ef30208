#pragma once

#include "announce/SoundPlayer.h"
#include "announce/mdlSndAPI.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>

// The four sound devices of the program, one player for each alias.
class SoundDevices : public mdlSndAPI::Sounds {
public:
    // Makes the element a device's sound ends in, given the device's name (Q57S1 ...).
    using SinkFactory = std::function<GstElement*(const QString& device)>;

    // Without a sink factory the players sound on the system's audio output; tests pass one
    // that records what each device plays.
    explicit SoundDevices(const SinkFactory& makeSink = {});
    ~SoundDevices();

    void PlaySoundFile(const QString& file, mdlSndAPI::Alias alias, bool wait,
                       qint16 pauseMs) override;
    void PrepareSoundFile(const QString& file, mdlSndAPI::Alias alias) override;
    void CloseSoundAliases() override;
    // GStreamer loaded ahead of the first sound, in a player's own thread: it is shared by all.
    void warmUp();

private:
    std::array<std::unique_ptr<SoundPlayer>, 4> players_;
};
