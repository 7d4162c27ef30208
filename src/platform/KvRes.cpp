#include "KvRes.h"

#include "platform/MsgBox.h"
#include "platform/OleColor.h"
#include "platform/ScopedHook.h"
#include "platform/ShiftJis.h"

#include <QColorDialog>
#include <QSysInfo>

namespace KvRes {

namespace {

Choices* choices() {
    return ScopedHook<Choices>::current();
}

} // namespace

int Call_dlg100(QWidget* owner, int keta, int& zeroMode, int& shift, int& fillZero) {
    if (choices() == nullptr)
        return 0;
    const std::optional<Choices::DigitSettings> chosen =
        choices()->digitSettings(owner, keta, {zeroMode, shift, fillZero});
    if (!chosen)
        return 0;
    zeroMode = chosen->zeroMode;
    shift = chosen->shift;
    fillZero = chosen->fillZero;
    return 1;
}

QString Kv3FileDlg(QWidget* owner, int, const QList<FileFilter>& filters, const QString&,
                   const QString& title) {
    return choices() != nullptr ? choices()->existingFile(owner, filters, title) : QString();
}

QString Kv3FolderDlg(QWidget* owner, const QString& prompt) {
    return choices() != nullptr ? choices()->folder(owner, prompt) : QString();
}

int Kv3ChooseColor(QWidget* owner, quint32& colour, std::array<quint32, 17>& customColours) {
    const int shown = qMin(QColorDialog::customCount(), int(customColours.size()));
    for (int i = 0; i < shown; ++i)
        QColorDialog::setCustomColor(i, OleColor::toQColor(customColours[std::size_t(i)]));
    const std::optional<quint32> chosen =
        choices() != nullptr ? choices()->colour(owner, colour) : std::nullopt;
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
    const QDate chosen = choices() != nullptr ? choices()->date(owner) : QDate();
    if (!chosen.isValid())
        return 0;
    date.year = qint16(chosen.year());
    date.month = qint16(chosen.month());
    date.weekday = qint16(chosen.dayOfWeek() % 7);
    date.day = qint16(chosen.day());
    return 1;
}

QString GetOsInfo() {
    return choices() != nullptr ? choices()->osInfo() : QString();
}

struct ChoiceHook::Pending : Choices {
    explicit Pending(ChoiceHook& owner) : hook(owner) {}

    std::optional<DigitSettings> digitSettings(QWidget*, int, const DigitSettings&) override {
        return take(digitSettingsAnswers);
    }
    QString existingFile(QWidget*, const QList<FileFilter>& filters,
                         const QString& title) override {
        return take(fileNames, {title, filters, 0});
    }
    QString folder(QWidget*, const QString& prompt) override {
        return take(folders, {prompt, {}, 0});
    }
    std::optional<quint32> colour(QWidget*, quint32 start) override {
        const auto [answer, leftInTable] = take(colours, {{}, {}, start});
        for (auto it = leftInTable.begin(); it != leftInTable.end(); ++it)
            QColorDialog::setCustomColor(it.key(), OleColor::toQColor(it.value()));
        return answer;
    }
    QDate date(QWidget*) override { return take(dates); }
    QString osInfo() override { return osName ? *osName : QSysInfo::prettyProductName(); }

    // The next answer of a kind, once what the dialog offers is noted.
    template <typename Answer> Answer take(QList<Answer>& answers, const Asked& offered = {}) {
        asked.append(offered);
        if (hook.whileShown)
            hook.whileShown();
        return answers.isEmpty() ? Answer() : answers.takeFirst();
    }

    ChoiceHook& hook;
    QList<QString> fileNames;
    QList<QString> folders;
    QList<std::pair<std::optional<quint32>, QMap<int, quint32>>> colours;
    QList<QDate> dates;
    QList<std::optional<DigitSettings>> digitSettingsAnswers;
    std::optional<QString> osName;
    QList<Asked> asked;
};

ChoiceHook::ChoiceHook() : pending_(std::make_unique<Pending>(*this)), installed_(*pending_) {}

ChoiceHook::~ChoiceHook() = default;

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
    pending_->digitSettingsAnswers.append(settings);
}

void ChoiceHook::setOsInfo(const QString& name) {
    pending_->osName = name;
}

const QList<ChoiceHook::Asked>& ChoiceHook::asked() const {
    return pending_->asked;
}

int LenB_ASCII(const QString& text) {
    return ShiftJis::lenB(text);
}

QString MidB_ASCII(const QString& text, int start, int count) {
    return ShiftJis::midB(text, start, count);
}

} // namespace KvRes
