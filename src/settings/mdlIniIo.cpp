#include "mdlIniIo.h"

#include "app/frmCtl.h"
#include "controls/ChimeiCtl_B.h"
#include "controls/M_Degit.h"
#include "options/frmOption.h"
#include "panel/Form1.h"
#include "panel/Q57Layout.h"
#include "panel/mdlQ57_000.h"
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

QString failureText(const RuntimeError& error) {
    return QStringLiteral("エラー Code:%1\n内容:%2").arg(error.number()).arg(error.description());
}

void applyToWindows(Form1& form) {
    const IniRecord& ini = form.IniData();
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        M_Degit& digit = form.Degit(n);
        const DegitFormatEntry& format = ini.DegitFormat[std::size_t(n - 1)];
        digit.setZeroMode(format.ZeroMode);
        digit.setShift(format.Shift);
        digit.setFillZero(format.FillZero);
        mdlQ57_000::paintDegit(digit, ini);
        // Nothing shows until the display is next updated.
        digit.setValue(QStringLiteral(" "));
    }
    mdlQ57_000::paintDegit(form.TimeDegit(0), ini);
    mdlQ57_000::paintDegit(form.TimeDegit(1), ini);
    form.ChimeiCtl().setBackColor(ini.ChimeiBackColor);
    form.ChimeiCtl().setForeColor(ini.ChimeiForeColor);
    form.optionDialog().SetOptionInfo(ini);
    form.operatingPanel().SetCtrlDataInfo(ini);
    form.SetFormInfo(ini);
    form.optionDialog().SetProp();
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

void LoadIni(Form1& form) {
    try {
        const std::optional<QByteArray> bytes = readSettingsFile(IniFileName());
        if (!bytes)
            return;
        // Decoded whole before anything is applied: a short file changes nothing.
        form.IniData() = IniFile::decode(*bytes).valueOrThrow();
        applyToWindows(form);
    } catch (const RuntimeError& error) {
        MsgBox(&form, failureText(error) + QStringLiteral("\nモジュール:mdlIniIo.LoadIni()"));
    }
}

void SaveIni(Form1& form) {
    IniRecord& ini = form.IniData();
    for (int n = 1; n <= Q57Layout::kPositionCount; ++n) {
        const M_Degit& digit = form.Degit(n);
        ini.DegitFormat[std::size_t(n - 1)] = {qint16(digit.Shift()), qint16(digit.ZeroMode()),
                                               qint16(digit.FillZero())};
    }
    form.optionDialog().GetOptionInfo(ini);
    form.operatingPanel().GetCtrlDataInfo(ini);
    form.GetFormInfo(ini);
    try {
        SafeSave::write(IniFileName(), IniFile::encode(ini).valueOrThrow()).valueOrThrow();
    } catch (const RuntimeError& error) {
        MsgBox(&form, failureText(error));
    }
}

} // namespace mdlIniIo
