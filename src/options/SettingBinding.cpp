#include "SettingBinding.h"

#include "options/ColourButton.h"
#include "platform/RuntimeError.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <type_traits>

namespace {

template <typename Control, typename Value, typename Read, typename Write, typename Signal>
SettingBinding binding(Control& control, Value IniRecord::*field, Read read, Write write,
                       Signal changed) {
    SettingBinding made{
        [&control, field, write](const IniRecord& ini) { write(control, ini.*field); },
        [&control, field, read](IniRecord& ini) { ini.*field = read(control); },
        {}};
    // A control without a change signal has nothing to watch.
    if constexpr (!std::is_same_v<Signal, std::nullptr_t>)
        made.watch = [&control, changed](QObject& context, const std::function<void()>& call) {
            QObject::connect(&control, changed, &context, call);
        };
    return made;
}

} // namespace

SettingBinding bindSetting(QLineEdit& box, QString IniRecord::*field) {
    return binding(
        box, field, [](const QLineEdit& b) { return b.text(); },
        [](QLineEdit& b, const QString& text) { b.setText(text); }, &QLineEdit::textChanged);
}

SettingBinding bindSetting(QLabel& label, QString IniRecord::*field) {
    return binding(
        label, field, [](const QLabel& l) { return l.text(); },
        [](QLabel& l, const QString& text) { l.setText(text); }, nullptr);
}

SettingBinding bindSetting(QCheckBox& box, qint16 IniRecord::*field) {
    // Stored values 0, 1, 2 are off, on, greyed; Qt numbers on and greyed the other way round.
    static const Qt::CheckState states[3] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    return binding(
        box, field,
        [](const QCheckBox& b) {
            return qint16(std::find(std::begin(states), std::end(states), b.checkState()) -
                          std::begin(states));
        },
        [](QCheckBox& b, qint16 value) {
            if (value < 0 || value > 2)
                throw RuntimeError(RuntimeError::InvalidPropertyValue);
            b.setCheckState(states[value]);
        },
        &QCheckBox::stateChanged);
}

SettingBinding bindSetting(QRadioButton& button, qint16 IniRecord::*field) {
    return binding(
        button, field, [](const QRadioButton& b) { return qint16(b.isChecked() ? -1 : 0); },
        [](QRadioButton& b, qint16 value) {
            if (value != 0) {
                b.setChecked(true);
                return;
            }
            // Qt keeps one button of a group chosen; for a moment the group lets go.
            QButtonGroup* group = b.group();
            if (group != nullptr)
                group->setExclusive(false);
            b.setChecked(false);
            if (group != nullptr)
                group->setExclusive(true);
        },
        &QRadioButton::toggled);
}

SettingBinding bindSetting(QComboBox& list, qint16 IniRecord::*field) {
    return binding(
        list, field, [](const QComboBox& l) { return qint16(l.currentIndex()); },
        [](QComboBox& l, qint16 value) {
            if (value < -1 || value >= l.count())
                throw RuntimeError(RuntimeError::InvalidPropertyValue);
            l.setCurrentIndex(value);
        },
        &QComboBox::currentIndexChanged);
}

SettingBinding bindSetting(ColourButton& button, quint32 IniRecord::*field) {
    return binding(
        button, field, [](const ColourButton& b) { return b.BackColor(); },
        [](ColourButton& b, quint32 colour) { b.setBackColor(colour); },
        &ColourButton::backColorChanged);
}
