#pragma once

#include <QPoint>

class QMouseEvent;
class QWidget;

// Moves a top-level window while its face is dragged with the left button, as a title bar
// would. The window system does it where it can; otherwise the window follows the mouse.
class WindowDrag {
public:
    explicit WindowDrag(QWidget& window);

    // Return true when the event was used for dragging.
    bool press(QMouseEvent& event);
    bool move(QMouseEvent& event);
    bool release(QMouseEvent& event);

private:
    QWidget& window_;
    bool manual_ = false;
    QPoint grabOffset_;
};
