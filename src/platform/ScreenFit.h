#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a window stands so that the user can reach it, given its frame and the screens' free
// rectangles: a stored position may lie on a monitor that is now smaller or gone.
namespace ScreenFit {

enum class Fit {
    // Left where it is while enough of its top strip (a title bar, or where the display panel
    // is dragged) shows on the screens; else whole on the nearest screen.
    Reachable,
    // Whole on the nearest screen: the operating panel widened by the ticket preview.
    Whole,
};

// How much of the top strip must show: this high, and this wide (or the whole of a narrower
// window).
constexpr int kStripHeight = 24;
constexpr int kStripWidth = 120;

// The top left the frame is given. With no screen at all it stays where it is. A window manager
// that put the frame away from where the program asked (placementOffset: where it is less where
// it was asked) is judged where it was asked, and keeps that offset: the part its decorations push
// off a screen's edge does not move it, and the position kept does not creep.
QPoint place(const QRect& frame, const QList<QRect>& screens, Fit fit, QPoint placementOffset = {});

} // namespace ScreenFit
