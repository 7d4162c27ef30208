#pragma once

#include <QFont>

class Form1;
class M_Degit;
class QLabel;
struct IniRecord;

// What is particular to the Q57 model: its fare positions and ticket-number labels, and the
// defaults the panel starts with.
namespace mdlQ57_000 {

// Backlight colours of the ticket numbers for OFF, ON1 and ON2 (0x00BBGGRR).
constexpr unsigned kLabelColours[3] = {0xFFFFFF, 0xC0FFC0, 0x80C0FF};

// The labels' face ("ＭＳ Ｐゴシック", bold), sized in pixels to match the pixel-sized panel.
QFont labelFont(double pointSize);

// Text colour of a ticket-number label (0x00BBGGRR).
void setLabelColour(QLabel& label, unsigned colour);

// The digit background, unlit and lit segment colours of the settings.
void paintDegit(M_Degit& digit, const IniRecord& settings);

void InitFareDegits(Form1& form);
void SetModelDefaults(Form1& form);

// Writes the captions of labels 1..61 for the numbering style; a failure is reported in a box.
void SeirikenNumSet(Form1& form, int style, int zeroPad);

} // namespace mdlQ57_000
