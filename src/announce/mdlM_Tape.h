#pragma once

#include <QString>

class QGroupBox;

// The route's announcements and the speech that reads them. Speech and the announcement list
// join the program later; until then speech counts as unusable and a route brings
// no announcements.
namespace mdlM_Tape {

// Whether the file exists; an empty path or a folder is not a file.
bool FileExists(const QString& path);

// Decides whether speech is usable and shows it on the announcement group.
void InitSpeech(QGroupBox& grpM_Tape);
bool SpeechEnabled();
void ReleaseSpeech();

// Reads the announcements of the route ("12" reads 12tp.csv) from the folder.
void LoadTapeData(const QString& folder, const QString& routeText);

} // namespace mdlM_Tape
