#include "DefaultSettings.h"

#include <QDate>

namespace DefaultSettings {

IniRecord record() {
    IniRecord ini;
    // Ticket numbers shown, white when the backlight is off.
    ini.UseSeiriNum = 1;
    ini.SeiriNumColorOff = 0xFFFFFF;
    ini.SeiriNumColorOn1 = 0xC0FFC0;
    ini.SeiriNumColorOn2 = 0x80C0FF;
    // The built-in pictures, chosen by the backlight.
    ini.PanelAuto = -1;
    ini.PanelOffBuiltIn = -1;
    ini.PanelOn1BuiltIn = -1;
    ini.PanelOn2BuiltIn = -1;
    // Amber segments on grey.
    ini.DegitBackColor = 0x808080;
    ini.DegitBaseForeColor = 0x969696;
    ini.DegitForeColor = 0x72D2F8;
    // Yellow dots on grey; no face chosen until the user picks one.
    ini.ChimeiBackColor = 0x808080;
    ini.ChimeiForeColor = 0x00FFFF;
    ini.ChimeiFontMode = -1;
    // The step sound always, the fares changing while it plays; the pre-announcement sound
    // always, the announcement waiting for it.
    ini.StepSoundAlways = -1;
    ini.StepSoundAsync = -1;
    ini.PreSoundAlways = -1;
    ini.PreSoundSync = -1;
    ini.DateUpdateOnPrint = -1;
    ini.FixedDate = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
    // The slowest scroll; the bar starts at 1.
    ini.ScrollSpeed = 1;
    return ini;
}

} // namespace DefaultSettings
