#include "ScreenFit.h"

#include <algorithm>

namespace {

qint64 area(const QRect& rect) {
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

qint64 squaredDistance(const QRect& a, const QRect& b) {
    const qint64 dx = std::max({0, b.left() - a.right(), a.left() - b.right()});
    const qint64 dy = std::max({0, b.top() - a.bottom(), a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// The screen the frame covers most, else the one closest to it.
QRect nearestScreen(const QRect& frame, const QList<QRect>& screens) {
    return *std::min_element(screens.begin(), screens.end(),
                             [&frame](const QRect& a, const QRect& b) {
                                 const qint64 coverA = area(frame & a), coverB = area(frame & b);
                                 if (coverA != coverB)
                                     return coverA > coverB;
                                 return squaredDistance(frame, a) < squaredDistance(frame, b);
                             });
}

// Along one axis: inside the screen, or at its start when the window is the longer.
int clampedStart(int start, int length, int screenStart, int screenLength) {
    return std::max(screenStart, std::min(start, screenStart + screenLength - length));
}

bool reachable(const QRect& frame, const QList<QRect>& screens) {
    const QRect strip(frame.topLeft(),
                      QSize(frame.width(), std::min(ScreenFit::kStripHeight, frame.height())));
    int shown = 0;
    for (const QRect& screen : screens) {
        const QRect part = strip & screen;
        if (part.height() == strip.height())
            shown += part.width();
    }
    return shown >= std::min(ScreenFit::kStripWidth, strip.width());
}

} // namespace

namespace ScreenFit {

QPoint place(const QRect& frame, const QList<QRect>& screens, Fit fit, QPoint placementOffset) {
    const QRect asked = frame.translated(-placementOffset);
    if (screens.isEmpty() || (fit == Fit::Reachable && reachable(asked, screens)))
        return frame.topLeft();
    const QRect screen = nearestScreen(asked, screens);
    return QPoint(clampedStart(asked.x(), asked.width(), screen.x(), screen.width()),
                  clampedStart(asked.y(), asked.height(), screen.y(), screen.height())) +
           placementOffset;
}

} // namespace ScreenFit
