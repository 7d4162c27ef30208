#pragma once

#include <QFont>
#include <array>

class QLabel;

// The face and colours of the ticket-number labels over the fare positions.
namespace SeiriNumLabel {

// The numbers' colours under backlight OFF, ON1 and ON2 (0x00BBGGRR) before any setting.
constexpr std::array<quint32, 3> kBacklightColours = {0xFFFFFF, 0xC0FFC0, 0x80C0FF};

// "ＭＳ Ｐゴシック", bold, sized in pixels to match the pixel-sized panel.
QFont font(double pointSize);

// The text colour (0x00BBGGRR).
void setColour(QLabel& label, quint32 colour);

} // namespace SeiriNumLabel
