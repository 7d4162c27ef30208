#pragma once

#include <QByteArray>
#include <QString>

// A whole sound file decoded to interleaved signed 16-bit samples, through the chain a player
// would use: what the ride renderer mixes, and what a player keeps of its short sounds.
namespace SoundDecoder {

struct Sound {
    QByteArray pcm; // null when the file does not decode
    int rate = 0;
    int channels = 0;
    bool whole = false; // false when it was cut at the longest length asked for
};

// The file's absolute path, size and time stamp: a decoded copy stands for this version only.
QString identity(const QString& path);

// The elements that follow a MIDI file's source and synthesise its sound.
const char* midiSynthesis();

// A rate or channel count of 0 keeps the file's own. Decoding stops after longestSeconds.
// Why a file gave nothing goes to reason.
Sound decode(const QString& path, bool midi, int rate, int channels, qint64 longestSeconds,
             QString& reason);

} // namespace SoundDecoder
