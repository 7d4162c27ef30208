#include "OnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace OnScreen {

void keep(QWidget& window, ScreenFit::Fit fit) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect frame = window.frameGeometry();
    const QPoint at = ScreenFit::place(frame, screens, fit);
    if (at != frame.topLeft())
        window.move(at);
}

} // namespace OnScreen
