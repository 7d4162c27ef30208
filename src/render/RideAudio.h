#pragma once

#include "announce/mdlSndAPI.h"
#include "render/RideClock.h"

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// The sound track of a rendered ride: each sound is placed on the ride's clock where the
// program's sound devices would play it, under the same rules (four aliases; a new sound on an
// alias cuts the one before; an empty or missing file plays nothing and leaves the alias's sound
// playing; with wait the ride goes on only once the sound and the pause are over), and a fifth
// channel holds the speech. The files are decoded as the players decode them and kept per file.
class RideAudio : public mdlSndAPI::Sounds {
public:
    // The track: interleaved signed 16-bit stereo samples at 48 kHz.
    static constexpr int kRate = 48000;
    static constexpr int kChannels = 2;

    explicit RideAudio(RideClock& clock);

    void PlaySoundFile(const QString& file, mdlSndAPI::Alias alias, bool wait,
                       qint16 pauseMs) override;
    // Cuts the four aliases' sounds at now().
    void CloseSoundAliases() override;

    // Starts the WAV on the speech channel at now(), cutting the speech before: its end in ms,
    // or -1 (with a warning) when it does not decode.
    qint64 speak(const QString& file);
    // Cuts the speech at now().
    void cutSpeech();

    // The ms at which the last sound or speech placed so far ends.
    qint64 soundEnd() const;
    // What could not be played, one line each, a file once.
    QString warnings() const;
    void warn(const QString& line);

    // The mixed samples from..to (sample frames at kRate), clipped where the sum is too loud.
    // What lies before now() is final: sounds start and are cut only at now().
    QByteArray mix(qint64 from, qint64 to) const;

private:
    struct Placed {
        QByteArray pcm;
        qint64 start; // sample frames
        qint64 end;
    };
    static constexpr std::size_t kSpeech = mdlSndAPI::kAliases.size();

    // The file's samples, decoded once; null (with a warning) when it does not decode.
    QByteArray decoded(const QString& file);
    qint64 place(std::size_t channel, const QByteArray& pcm);
    void cut(std::size_t channel);
    qint64 nowSample() const;

    RideClock& clock_;
    std::array<std::vector<Placed>, kSpeech + 1> channels_;
    QHash<QString, QByteArray> cache_; // by path, size and time stamp
    QStringList warnings_;
    QSet<QString> warned_;
};
