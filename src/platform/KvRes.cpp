#include "KvRes.h"

#include "platform/DateChoiceDialog.h"
#include "platform/DigitSettingsDialog.h"
#include "platform/MsgBox.h"
#include "platform/OleColor.h"
#include "platform/ScopedHook.h"
#include "platform/ShiftJis.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QSysInfo>

namespace KvRes {

struct ChoiceHook::Pending {
    explicit Pending(ChoiceHook& owner) : hook(owner) {}

    ChoiceHook& hook;
    QList<QString> fileNames;
    QList<QString> folders;
    QList<std::pair<std::optional<quint32>, QMap<int, quint32>>> colours;
    QList<QDate> dates;
    QList<std::optional<DigitSettings>> digitSettings;
    std::optional<QString> osInfo;
    QList<Asked> asked;

    // The next answer of a kind, once what the dialog offers is noted.
    template <typename Answer> Answer take(QList<Answer>& answers, const Asked& offered = {}) {
        asked.append(offered);
        if (hook.whileShown)
            hook.whileShown();
        return answers.isEmpty() ? Answer() : answers.takeFirst();
    }
};

namespace {

ChoiceHook::Pending* pending = nullptr;

// Qt's own dialogs rather than the desktop's, so that they look alike everywhere.
QString chooseWithFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

std::optional<ChoiceHook::DigitSettings> chooseDigitSettings(QWidget* owner, int keta,
                                                             const ChoiceHook::DigitSettings& now) {
    if (pending != nullptr)
        return pending->take(pending->digitSettings);
    DigitSettingsDialog dialog(owner, keta, now.zeroMode, now.shift, now.fillZero);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ChoiceHook::DigitSettings{dialog.zeroMode(), dialog.shift(), dialog.fillZero()};
}

} // namespace

int Call_dlg100(QWidget* owner, int keta, int& zeroMode, int& shift, int& fillZero) {
    const std::optional<ChoiceHook::DigitSettings> chosen =
        chooseDigitSettings(owner, keta, {zeroMode, shift, fillZero});
    if (!chosen)
        return 0;
    zeroMode = chosen->zeroMode;
    shift = chosen->shift;
    fillZero = chosen->fillZero;
    return 1;
}

QString Kv3FileDlg(QWidget* owner, int, const QList<FileFilter>& filters, const QString&,
                   const QString& title) {
    if (pending != nullptr)
        return pending->take(pending->fileNames, {title, filters, 0});
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
    if (pending != nullptr)
        return pending->take(pending->folders, {prompt, {}, 0});
    QFileDialog dialog(owner, prompt);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return chooseWithFileDialog(dialog);
}

int Kv3ChooseColor(QWidget* owner, quint32& colour, std::array<quint32, 17>& customColours) {
    const int shown = qMin(QColorDialog::customCount(), int(customColours.size()));
    for (int i = 0; i < shown; ++i)
        QColorDialog::setCustomColor(i, OleColor::toQColor(customColours[std::size_t(i)]));
    std::optional<quint32> chosen;
    if (pending != nullptr) {
        const auto [answer, leftInTable] = pending->take(pending->colours, {{}, {}, colour});
        for (auto it = leftInTable.begin(); it != leftInTable.end(); ++it)
            QColorDialog::setCustomColor(it.key(), OleColor::toQColor(it.value()));
        chosen = answer;
    } else {
        QColorDialog dialog(OleColor::toQColor(colour), owner);
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        if (dialog.exec() == QDialog::Accepted)
            chosen = OleColor::fromQColor(dialog.selectedColor());
    }
    for (int i = 0; i < shown; ++i)
        customColours[std::size_t(i)] = OleColor::fromQColor(QColorDialog::customColor(i));
    if (!chosen)
        return 0;
    colour = *chosen;
    return 1;
}

int Call_dlg110(QWidget* owner, int, const QString& text) {
    return showMessageBox(owner, QMessageBox::Information, QStringLiteral("バージョン情報"), text,
                          QMessageBox::Ok, QStringLiteral("dlg110"));
}

namespace {

TicketPlugins* plugins() {
    return ScopedHook<TicketPlugins>::current();
}

} // namespace

int KV4_GetPlgInfo(const QString& plugin, PlgInfo& info) {
    return plugins() != nullptr ? plugins()->GetPlgInfo(plugin, info) : 0;
}

int KV4_SetPlgComment(const QString& plugin, QPlainTextEdit& box) {
    return plugins() != nullptr ? plugins()->SetPlgComment(plugin, box) : 0;
}

int KV4_SetCorpAddList(const QString& plugin, QComboBox& list) {
    return plugins() != nullptr ? plugins()->SetCorpAddList(plugin, list) : 0;
}

int KV4_DrawSeiriken(const QString& plugin, QImage& target, const QString& stopName,
                     const QString& dateText, const QString& timeText, qint32 routeNo,
                     qint16 seiriNum, qint16 row, qint16 companyIndex) {
    return plugins() != nullptr
               ? plugins()->DrawSeiriken(plugin, target, stopName, dateText, timeText, routeNo,
                                         seiriNum, row, companyIndex)
               : 0;
}

int Call_dlg111(QWidget* owner, DateRecord& date) {
    QDate chosen;
    if (pending != nullptr) {
        chosen = pending->take(pending->dates);
    } else {
        DateChoiceDialog dialog(owner);
        if (dialog.exec() == QDialog::Accepted)
            chosen = dialog.selectedDate();
    }
    if (!chosen.isValid())
        return 0;
    date.year = qint16(chosen.year());
    date.month = qint16(chosen.month());
    date.weekday = qint16(chosen.dayOfWeek() % 7);
    date.day = qint16(chosen.day());
    return 1;
}

ChoiceHook::ChoiceHook() : pending_(std::make_unique<Pending>(*this)) {
    if (pending != nullptr)
        qFatal("a choice hook is already installed");
    pending = pending_.get();
}

ChoiceHook::~ChoiceHook() {
    pending = nullptr;
}

void ChoiceHook::setNextFileName(const QString& path) {
    pending_->fileNames.append(path);
}

void ChoiceHook::setNextFolder(const QString& folder) {
    pending_->folders.append(folder);
}

void ChoiceHook::setNextColour(std::optional<quint32> colour,
                               const QMap<int, quint32>& customColours) {
    pending_->colours.append({colour, customColours});
}

void ChoiceHook::setNextDate(const QDate& date) {
    pending_->dates.append(date);
}

void ChoiceHook::setNextDigitSettings(std::optional<DigitSettings> settings) {
    pending_->digitSettings.append(settings);
}

void ChoiceHook::setOsInfo(const QString& name) {
    pending_->osInfo = name;
}

const QList<ChoiceHook::Asked>& ChoiceHook::asked() const {
    return pending_->asked;
}

QString GetOsInfo() {
    if (pending != nullptr && pending->osInfo)
        return *pending->osInfo;
    return QSysInfo::prettyProductName();
}

int LenB_ASCII(const QString& text) {
    return ShiftJis::lenB(text);
}

QString MidB_ASCII(const QString& text, int start, int count) {
    return ShiftJis::midB(text, start, count);
}

} // namespace KvRes
