#pragma once

#include "announce/mdlSndAPI.h"
#include "platform/SoundPlayer.h"

#include <array>
#include <memory>

// The four sound devices of the program, one player for each alias.
class SoundDevices : public mdlSndAPI::Sounds {
public:
    // Without a sink factory the players sound on the system's audio output; tests pass one
    // that records what is played.
    explicit SoundDevices(const SoundPlayer::AudioSinkFactory& makeSink = {});
    ~SoundDevices();

    void PlaySoundFile(const QString& file, mdlSndAPI::Alias alias, bool wait,
                       qint16 pauseMs) override;
    void CloseSoundAliases() override;

private:
    std::array<std::unique_ptr<SoundPlayer>, 4> players_;
};
