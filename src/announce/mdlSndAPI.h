#pragma once

#include <QString>

// Sound playback through the four device aliases S1 (route setting), S2 (steps), S3
// (announcements) and S4. Playback joins the program later; until then every
// call plays nothing, as for an empty or missing file.
namespace mdlSndAPI {

// Plays the file on the alias; with wait, returns when it has played to its end.
void PlaySoundFile(const QString& file, const QString& alias, bool wait, qint16 pauseMs);

// Closes the four aliases at shut-down.
void CloseSoundAliases();

} // namespace mdlSndAPI
