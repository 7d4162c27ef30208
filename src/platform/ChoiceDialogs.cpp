#include "ChoiceDialogs.h"

#include "platform/DateChoiceDialog.h"
#include "platform/DigitSettingsDialog.h"
#include "platform/OleColor.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QSysInfo>

namespace {

// Qt's own dialogs rather than the desktop's, so that they look alike everywhere.
QString chooseWithFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

std::optional<ChoiceDialogs::DigitSettings> ChoiceDialogs::digitSettings(QWidget* owner, int keta,
                                                                         const DigitSettings& now) {
    DigitSettingsDialog dialog(owner, keta, now.zeroMode, now.shift, now.fillZero);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return DigitSettings{dialog.zeroMode(), dialog.shift(), dialog.fillZero()};
}

QString ChoiceDialogs::existingFile(QWidget* owner, const QList<KvRes::FileFilter>& filters,
                                    const QString& title) {
    QFileDialog dialog(owner, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // The descriptions already name their patterns; Qt need not repeat them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    QStringList nameFilters;
    for (const KvRes::FileFilter& filter : filters)
        nameFilters << QStringLiteral("%1 (%2)").arg(filter.description, filter.pattern);
    dialog.setNameFilters(nameFilters);
    return chooseWithFileDialog(dialog);
}

QString ChoiceDialogs::folder(QWidget* owner, const QString& prompt) {
    QFileDialog dialog(owner, prompt);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chooseWithFileDialog(dialog);
}

std::optional<quint32> ChoiceDialogs::colour(QWidget* owner, quint32 start) {
    QColorDialog dialog(OleColor::toQColor(start), owner);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return OleColor::fromQColor(dialog.selectedColor());
}

QDate ChoiceDialogs::date(QWidget* owner) {
    DateChoiceDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedDate();
}

QString ChoiceDialogs::osInfo() {
    return QSysInfo::prettyProductName();
}
