#pragma once

#include <QPoint>
#include <QRect>

// Where the elements of the Q57 panel sit, in pixels of the panel's client area. The settings
// file keeps window positions in twips; 15 twips make a pixel.
namespace Q57Layout {

constexpr int kPositionCount = 61;
constexpr int kTwipsPerPixel = 15;
constexpr QSize kPanelSize{755, 307};

// Fare digit and ticket-number label of position n (1..61).
QPoint fareTopLeft(int n);
QRect labelRect(int n);

constexpr QPoint kSpareDegitTopLeft{140, 2};
constexpr QRect kSpareLabelRect{79, 3, 52, 16};
constexpr QPoint kClockTopLeft[2] = {{363, 2}, {390, 2}};
constexpr QRect kChimeiRect{60, 59, 35, 192};

} // namespace Q57Layout
