#include "WindowDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDrag::WindowDrag(QWidget& window) : window_(window) {}

bool WindowDrag::press(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton)
        return false;
    QWindow* handle = window_.windowHandle();
    // Without a window manager (or offscreen) the system move is refused: drag by hand instead.
    manual_ = handle == nullptr || !handle->startSystemMove();
    grabOffset_ = event.globalPosition().toPoint() - window_.pos();
    return true;
}

bool WindowDrag::move(QMouseEvent& event) {
    if (!manual_ || !(event.buttons() & Qt::LeftButton))
        return false;
    window_.move(event.globalPosition().toPoint() - grabOffset_);
    return true;
}

bool WindowDrag::release(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || !manual_)
        return false;
    manual_ = false;
    return true;
}
