#pragma once

#include "settings/IniData.h"

#include <functional>

class ColourButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QRadioButton;

// How one setting travels between its control in the options dialog and its field in the
// settings record. Loading sets the control as the user would, so its handlers run; a value
// the control cannot take (a list position outside the list, a check state other than 0-2)
// throws RuntimeError 380 and leaves the control as it was.
struct SettingBinding {
    std::function<void(const IniRecord&)> load;
    std::function<void(IniRecord&)> save;
    // Runs the call whenever the control's value changes, by the user or by code; a label
    // has no such signal, so whoever changes its text says so.
    std::function<void(QObject& context, const std::function<void()>& changed)> watch;
};

SettingBinding bindSetting(QLineEdit& box, QString IniRecord::*field);
SettingBinding bindSetting(QLabel& label, QString IniRecord::*field);
// 0 off, 1 on, 2 greyed.
SettingBinding bindSetting(QCheckBox& box, qint16 IniRecord::*field);
// Any value but 0 chooses the button and clears the others of its group; 0 clears only this
// button, so a group can end up with none chosen.
SettingBinding bindSetting(QRadioButton& button, qint16 IniRecord::*field);
// -1 is no choice.
SettingBinding bindSetting(QComboBox& list, qint16 IniRecord::*field);
SettingBinding bindSetting(ColourButton& button, quint32 IniRecord::*field);
