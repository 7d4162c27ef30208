#include "OnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

namespace OnScreen {

void keep(QWidget& window, ScreenFit::Fit fit, QPoint placementOffset) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect frame = window.frameGeometry();
    const QPoint at = ScreenFit::place(frame, screens, fit, placementOffset);
    if (at != frame.topLeft())
        window.move(at);
}

PlacementOffset::PlacementOffset(QWidget& window) : window_(window) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        const QPoint moved = window_.pos() - asked_;
        if (std::abs(moved.x()) <= kMostOffset && std::abs(moved.y()) <= kMostOffset)
            offset_ = moved;
    });
}

void PlacementOffset::measureFromHere() {
    asked_ = window_.pos();
    offset_ = {};
    settle_.start();
}

} // namespace OnScreen
