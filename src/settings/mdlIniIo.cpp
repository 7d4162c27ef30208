#include "mdlIniIo.h"

#include "platform/ExecutableName.h"
#include "platform/FileBytes.h"
#include "platform/MsgBox.h"
#include "platform/RuntimeError.h"
#include "platform/SafeSave.h"
#include "settings/IniFile.h"

#include <QCoreApplication>
#include <optional>

namespace {

QString& fileNameOverride() {
    static QString name;
    return name;
}

// The file's bytes, or nothing when there is no such file to read: the first start has none.
std::optional<QByteArray> readSettingsFile(const QString& name) {
    Result<QByteArray> bytes = FileBytes::read(name);
    if (!bytes && bytes.error().number() == RuntimeError::FileNotFound)
        return std::nullopt;
    return std::move(bytes).valueOrThrow();
}

// The quit replaces a file that was refused with the settings in use; the user's copy survives
// beside it. A later refused file replaces an older copy. Nothing more can be done when the
// copy cannot be written: the message about the file itself is the one the user needs.
void keepAside(const QByteArray& bytes) {
    static_cast<void>(SafeSave::write(mdlIniIo::IniFileName() + QStringLiteral(".bak"), bytes));
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
        ini = IniFile::decode(*bytes).valueOrThrow();
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
        SafeSave::write(IniFileName(), IniFile::encode(ini).valueOrThrow()).valueOrThrow();
    } catch (const RuntimeError& error) {
        MsgBox(windows.messageOwner(), failureText(error));
    }
}

} // namespace mdlIniIo
