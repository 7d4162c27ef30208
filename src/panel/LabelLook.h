#pragma once

#include <QFont>
#include <QPalette>

class QLabel;

// How a ticket-number label looks: its face and its text colour.
namespace LabelLook {

// The labels' face ("ＭＳ Ｐゴシック", bold), sized in pixels to match the pixel-sized panel.
QFont font(double pointSize);

// A ticket-number label's palette on the given one: its text colour (0x00BBGGRR) set.
QPalette coloured(QPalette palette, quint32 colour);

// Text colour of a ticket-number label (0x00BBGGRR).
void setColour(QLabel& label, quint32 colour);

} // namespace LabelLook
