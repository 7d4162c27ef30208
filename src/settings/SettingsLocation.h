#pragma once

#include <QString>

// Where the settings file is read and written. Beside the program when its folder can be
// written and it is not installed (a portable copy, the build folder), or when a file is already
// there; otherwise in the user's configuration folder, falling back for reading on a file beside
// the program (an administrator's defaults) and on the installed first-start file, which is
// never written.
namespace SettingsLocation {

struct Folders {
    QString program;
    QString user;
    // A file, not a folder: the settings an installed program starts with.
    QString firstStartFile;
};

struct Files {
    // May not exist: a first start reads nothing.
    QString read;
    QString write;
};

// The user's own configuration folder (~/.config/Q57), home of every setting the program
// keeps there.
QString userFolder();

// The running program's folders: its own, the user's, and ../share/q57 beside its own.
Folders programFolders(const QString& fileName);

// Whether a file can really be made in the folder: permission bits do not tell for root, a
// read-only mount or a folder that has gone. Leaves nothing behind.
bool canCreateFiles(const QString& folder);

Files choose(const Folders& folders, const QString& fileName);

} // namespace SettingsLocation
