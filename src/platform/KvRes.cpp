#include "KvRes.h"

#include "platform/DateChoiceDialog.h"
#include "platform/DigitSettingsDialog.h"
#include "platform/OleColor.h"
#include "platform/ShiftJis.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QSysInfo>

namespace KvRes {

namespace {

// Qt's own dialogs rather than the desktop's, so that they look alike everywhere and tests can
// answer them like any other window.
QString chooseWithFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

int Call_dlg100(QWidget* owner, int keta, int& zeroMode, int& shift, int& fillZero) {
    DigitSettingsDialog dialog(owner, keta, zeroMode, shift, fillZero);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    zeroMode = dialog.zeroMode();
    shift = dialog.shift();
    fillZero = dialog.fillZero();
    return 1;
}

QString Kv3FileDlg(QWidget* owner, int, const QList<FileFilter>& filters, const QString&,
                   const QString& title) {
    QFileDialog dialog(owner, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The descriptions already name their patterns; Qt need not repeat them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList nameFilters;
    for (const FileFilter& filter : filters)
        nameFilters << QStringLiteral("%1 (%2)").arg(filter.description, filter.pattern);
    dialog.setNameFilters(nameFilters);
    return chooseWithFileDialog(dialog);
}

QString Kv3FolderDlg(QWidget* owner, const QString& prompt) {
    QFileDialog dialog(owner, prompt);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chooseWithFileDialog(dialog);
}

int Kv3ChooseColor(QWidget* owner, quint32& colour, std::array<quint32, 17>& customColours) {
    const int shown = qMin(QColorDialog::customCount(), int(customColours.size()));
    for (int i = 0; i < shown; ++i)
        QColorDialog::setCustomColor(i, OleColor::toQColor(customColours[std::size_t(i)]));
    QColorDialog dialog(OleColor::toQColor(colour), owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    for (int i = 0; i < shown; ++i)
        customColours[std::size_t(i)] = OleColor::fromQColor(QColorDialog::customColor(i));
    if (!chosen)
        return 0;
    colour = OleColor::fromQColor(dialog.selectedColor());
    return 1;
}

int Call_dlg110(QWidget* owner, int, const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("バージョン情報"), text,
                    QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("dlg110"));
    return box.exec();
}

int KV4_DrawSeiriken(const QString&, QImage&, const QString&, const QString&, const QString&,
                     qint32, qint16, qint16, qint16) {
    return 0;
}

int Call_dlg111(QWidget* owner, DateRecord& date) {
    DateChoiceDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    const QDate chosen = dialog.selectedDate();
    date.year = qint16(chosen.year());
    date.month = qint16(chosen.month());
    date.weekday = qint16(chosen.dayOfWeek() % 7);
    date.day = qint16(chosen.day());
    return 1;
}

QString GetOsInfo() {
    return QSysInfo::prettyProductName();
}

int LenB_ASCII(const QString& text) {
    return ShiftJis::lenB(text);
}

QString MidB_ASCII(const QString& text, int start, int count) {
    return ShiftJis::midB(text, start, count);
}

} // namespace KvRes
