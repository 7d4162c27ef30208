#pragma once

#include <QString>

// Sound playback through the four device aliases S1 (route setting), S2 (steps), S3
// (announcements) and S4. Playback joins the program later; until then every
// call plays nothing, as for an empty or missing file.
namespace mdlSndAPI {

// The device aliases; the device's name is the program's name followed by the alias (Q57S2).
enum class Alias { S1, S2, S3, S4 };

// Plays the file on the alias; with wait, returns when it has played to its end.
void PlaySoundFile(const QString& file, Alias alias, bool wait, qint16 pauseMs);

// Closes the four aliases at shut-down.
void CloseSoundAliases();

} // namespace mdlSndAPI
