#include "mdlIniIo.h"

#include "platform/ExecutableName.h"
#include "platform/MsgBox.h"
#include "platform/RuntimeError.h"
#include "settings/IniFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace {

QString& fileNameOverride() {
    static QString name;
    return name;
}

// The file's bytes, or nothing when there is no such file to read.
std::optional<QByteArray> readSettingsFile(const QString& name) {
    if (name.isEmpty() || !QFileInfo::exists(name))
        return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(RuntimeError::PathFileAccessError);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(RuntimeError::DeviceIoError);
    return bytes;
}

// The old file is only replaced once the new one is completely on disk.
void writeSettingsFile(const QString& name, const QByteArray& bytes) {
    const QFileInfo existing(name);
    // A file the user made read-only keeps what it holds.
    if (existing.exists() && !existing.isWritable())
        throw RuntimeError(RuntimeError::PermissionDenied);
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        throw RuntimeError(QFileInfo(existing.absolutePath()).isWritable()
                               ? RuntimeError::PathFileAccessError
                               : RuntimeError::PermissionDenied);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw RuntimeError(RuntimeError::DeviceIoError);
}

// The quit replaces a file that was refused with the settings in use; the user's copy survives
// beside it. A later refused file replaces an older copy. Where the copy cannot be written, the
// quit's save cannot replace the file either.
void keepAside(const QByteArray& bytes) {
    try {
        writeSettingsFile(mdlIniIo::IniFileName() + QStringLiteral(".bak"), bytes);
    } catch (const RuntimeError&) {
    }
}

QString failureText(const RuntimeError& error) {
    return QStringLiteral("エラー Code:%1\n内容:%2").arg(error.number()).arg(error.description());
}

} // namespace

namespace mdlIniIo {

QString IniFileName() {
    if (!fileNameOverride().isEmpty())
        return fileNameOverride();
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + executableName() + QStringLiteral(".in4");
}

void setIniFileName(const QString& name) {
    fileNameOverride() = name;
}

void LoadIni(IniRecord& ini, IniWindows& windows) {
    std::optional<QByteArray> bytes;
    try {
        bytes = readSettingsFile(IniFileName());
        if (!bytes)
            return;
        // Decoded whole before anything is applied: a short file changes nothing.
        ini = IniFile::decode(*bytes);
        windows.ApplyIni(ini);
    } catch (const RuntimeError& error) {
        if (bytes)
            keepAside(*bytes);
        MsgBox(windows.messageOwner(),
               failureText(error) + QStringLiteral("\nモジュール:mdlIniIo.LoadIni()"));
    }
}

void SaveIni(IniRecord& ini, const IniWindows& windows) {
    windows.GatherIni(ini);
    try {
        writeSettingsFile(IniFileName(), IniFile::encode(ini));
    } catch (const RuntimeError& error) {
        MsgBox(windows.messageOwner(), failureText(error));
    }
}

} // namespace mdlIniIo
