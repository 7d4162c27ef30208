#pragma once

#include "platform/ScreenFit.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

class QWidget;

namespace OnScreen {

// Moves a top-level window where ScreenFit places it among the screens attached now; one
// already there keeps its position to the pixel. The offset is the window manager's, as below.
void keep(QWidget& window, ScreenFit::Fit fit, QPoint placementOffset = {});

// Some window managers put a window a little away from where it was moved, by their title bar's
// height say, and report it there: a position read back and kept would creep on every run. This
// measures that offset once the window manager has placed the window, to be taken off the
// position kept. A window nothing moved, or one moved further (by the user), gives none.
class PlacementOffset : public QObject {
public:
    explicit PlacementOffset(QWidget& window);

    // The window has just been put where it is kept: the window manager places it meanwhile.
    void measureFromHere();
    QPoint offset() const { return offset_; }

    // How long a window manager is given to place a window.
    static constexpr int kSettleMs = 700;
    // The most a window manager's decorations move a window; a larger move was the user's.
    static constexpr int kMostOffset = 64;

private:
    QWidget& window_;
    QPoint asked_;
    QPoint offset_;
    QTimer settle_;
};

} // namespace OnScreen
