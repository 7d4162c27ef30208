#include "mdlIniIo.h"

#include "platform/ExecutableName.h"
#include "platform/FileBytes.h"
#include "platform/MsgBox.h"
#include "platform/RuntimeError.h"
#include "platform/SafeSave.h"
#include "settings/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace {

std::optional<SettingsLocation::Files>& filesOverride() {
    static std::optional<SettingsLocation::Files> files;
    return files;
}

// The file's bytes, or nothing when there is no such file to read: the first start has none.
std::optional<QByteArray> readSettingsFile(const QString& name) {
    Result<QByteArray> bytes = FileBytes::read(name, IniFile::maxBytes());
    if (!bytes && bytes.error().number() == RuntimeError::FileNotFound)
        return std::nullopt;
    return std::move(bytes).valueOrThrow();
}

// The quit replaces a file that was refused with the settings in use; the user's copy survives
// beside the file written. A later refused file replaces an older copy. Nothing more can be
// done when the copy cannot be written: the message about the file itself is the one the user
// needs.
QString keepAside(const QString& written, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(written).absolutePath());
    const QString copy = written + QStringLiteral(".bak");
    return SafeSave::write(copy, bytes) ? copy : QString();
}

QString failureText(const RuntimeError& error) {
    return QStringLiteral("エラー Code:%1\n内容:%2").arg(error.number()).arg(error.description());
}

QString absolute(const QString& name) {
    return QFileInfo(name).absoluteFilePath();
}

} // namespace

namespace mdlIniIo {

SettingsLocation::Files IniFiles() {
    if (filesOverride())
        return *filesOverride();
    const QString name = executableName() + QStringLiteral(".in4");
    return SettingsLocation::choose(SettingsLocation::programFolders(name), name);
}

void setIniFileName(const QString& name) {
    if (name.isEmpty())
        filesOverride().reset();
    else
        filesOverride() = SettingsLocation::Files{name, name};
}

void setIniFiles(const SettingsLocation::Files& files) {
    filesOverride() = files;
}

void LoadIni(IniRecord& ini, IniWindows& windows) {
    const SettingsLocation::Files files = IniFiles();
    std::optional<QByteArray> bytes;
    try {
        bytes = readSettingsFile(files.read);
        if (!bytes)
            return;
        // Decoded whole before anything is applied: a short file changes nothing.
        ini = IniFile::decode(*bytes).valueOrThrow();
        windows.ApplyIni(ini);
    } catch (const RuntimeError& error) {
        QString detail = QStringLiteral("設定ファイル：") + absolute(files.read);
        if (bytes) {
            const QString copy = keepAside(files.write, *bytes);
            if (!copy.isEmpty())
                detail += QStringLiteral("\nその内容の控え：") + absolute(copy);
        }
        MsgBox(windows.messageOwner(),
               failureText(error) + QStringLiteral("\nモジュール:mdlIniIo.LoadIni()"), detail);
    }
}

void SaveIni(IniRecord& ini, const IniWindows& windows) {
    windows.GatherIni(ini);
    const QString name = IniFiles().write;
    try {
        // The user's configuration folder may not be there yet.
        QDir().mkpath(QFileInfo(name).absolutePath());
        SafeSave::write(name, IniFile::encode(ini).valueOrThrow()).valueOrThrow();
    } catch (const RuntimeError& error) {
        MsgBox(windows.messageOwner(), failureText(error),
               QStringLiteral("設定ファイル：") + absolute(name));
    }
}

} // namespace mdlIniIo
