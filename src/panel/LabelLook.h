#pragma once

#include <QFont>
#include <array>

class QLabel;

// How a ticket-number label looks: its face and its text colour.
namespace LabelLook {

// Backlight colours of the ticket numbers for OFF, ON1 and ON2 (0x00BBGGRR).
constexpr std::array<quint32, 3> kColours = {0xFFFFFF, 0xC0FFC0, 0x80C0FF};

// The labels' face ("ＭＳ Ｐゴシック", bold), sized in pixels to match the pixel-sized panel.
QFont font(double pointSize);

// Text colour of a ticket-number label (0x00BBGGRR).
void setColour(QLabel& label, quint32 colour);

} // namespace LabelLook
