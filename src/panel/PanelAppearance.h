#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

class Form1;
class M_Degit;
struct IniRecord;

// How the settings look on the display panel. The options dialog's SetProp, the settings file
// and the backlight buttons all go through here, so the panel shows a setting one way only.
namespace PanelAppearance {

// The digit background, unlit and lit segment colours of the settings.
void paintDegit(M_Degit& digit, const IniRecord& settings);

// The ticket-number colour for backlight 0 (OFF), 1 (ON1) or 2 (ON2).
quint32 labelColour(const IniRecord& settings, int backlight);

// The colours the settings file brings: fare and clock digits, the strip's background and dots.
void applyColours(Form1& form, const IniRecord& settings);

// Every display choice but the backlight: label visibility and numbering, the digits' colours,
// the strip's colours and font.
void applyDisplayChoices(Form1& form, const IniRecord& settings);

// The user's picture file chosen for backlight 0, 1 or 2 (maybe empty), or nothing when the
// built-in picture is used.
std::optional<QString> userPicture(const IniRecord& settings, int backlight);

// The backlight: the labels take its colour, then the panel its picture. A user picture that
// cannot be shown is thrown as a RuntimeError and leaves the picture as it was.
void applyBacklight(Form1& form, const IniRecord& settings, int backlight);

} // namespace PanelAppearance
