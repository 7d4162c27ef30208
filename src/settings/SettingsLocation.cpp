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
    if (canCreateFiles(folders.program))
        return {QFileInfo::exists(beside) || !QFileInfo::exists(folders.firstStartFile)
                    ? beside
                    : folders.firstStartFile,
                beside};
    const QString own = QDir(folders.user).filePath(fileName);
    for (const QString& candidate : {own, beside, folders.firstStartFile})
        if (QFileInfo::exists(candidate))
            return {candidate, own};
    return {own, own};
}

} // namespace SettingsLocation
