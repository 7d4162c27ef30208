#include "SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace SettingsLocation {

QString userFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

Folders programFolders(const QString& fileName) {
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(), userFolder(),
            QDir::cleanPath(program.filePath(QStringLiteral("../share/q57/")) + QLatin1Char('/') +
                            fileName)};
}

bool canCreateFiles(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".write-test-XXXXXX")));
    return probe.open();
}

Files choose(const Folders& folders, const QString& fileName) {
    const QString beside = QDir(folders.program).filePath(fileName);
    const QString own = QDir(folders.user).filePath(fileName);
    // An installed program (its first-start file is there) keeps the settings in the user's
    // folder even where it could write beside itself, as root or in a prefix of the user's own;
    // a file already beside it still wins, so a portable copy keeps working.
    const bool installed = QFileInfo::exists(folders.firstStartFile);
    const QString write =
        canCreateFiles(folders.program) && (QFileInfo::exists(beside) || !installed) ? beside : own;
    for (const QString& candidate : {write, beside, own, folders.firstStartFile})
        if (QFileInfo::exists(candidate))
            return {candidate, write};
    return {write, write};
}

} // namespace SettingsLocation
