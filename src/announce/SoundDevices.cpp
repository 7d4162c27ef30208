#include "SoundDevices.h"

#include "platform/BlockingWait.h"
#include "platform/FileExists.h"

using mdlSndAPI::Alias;

SoundDevices::SoundDevices(const SinkFactory& makeSink) {
    for (const Alias alias : mdlSndAPI::kAliases) {
        const QString name = mdlSndAPI::deviceName(alias);
        SoundPlayer::AudioSinkFactory sinks;
        if (makeSink)
            sinks = [makeSink, name] { return makeSink(name); };
        auto& player = players_[std::size_t(alias)];
        player = std::make_unique<SoundPlayer>(sinks);
        player->setObjectName(name);
    }
}

SoundDevices::~SoundDevices() = default;

void SoundDevices::PlaySoundFile(const QString& file, Alias alias, bool wait, qint16 pauseMs) {
    if (!fileExists(file))
        return;
    SoundPlayer& player = *players_[std::size_t(alias)];
    player.stop();
    if (mdlSndAPI::deviceType(file) == mdlSndAPI::DeviceType::None)
        return;
    if (!player.open(file))
        return;
    player.play();
    if (!wait)
        return;
    if (player.isPlaying())
        BlockingWait::waitFor(&player, &SoundPlayer::finished);
    BlockingWait::wait(pauseMs);
}

void SoundDevices::PrepareSoundFile(const QString& file, Alias alias) {
    if (fileExists(file) && mdlSndAPI::deviceType(file) != mdlSndAPI::DeviceType::None)
        players_[std::size_t(alias)]->prepare(file);
}

void SoundDevices::warmUp() {
    players_.front()->warmUp();
}

void SoundDevices::CloseSoundAliases() {
    for (const Alias alias : mdlSndAPI::kAliases)
        players_[std::size_t(alias)]->close();
}
