#include "OnScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

namespace OnScreen {

QList<Screen> screens() {
    if (const ScreenHook* hook = ScopedHook<ScreenHook>::current())
        return hook->list();
    QList<Screen> attached;
    for (const QScreen* screen : QGuiApplication::screens())
        attached.append({screen->name(), screen->geometry(), screen->availableGeometry()});
    return attached;
}

QScreen* find(const QString& name) {
    if (ScopedHook<ScreenHook>::current() != nullptr)
        return nullptr;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

ScreenEvents& events() {
    static ScreenEvents* const events = [] {
        auto* made = new ScreenEvents;
        // Lives as long as the application: a screen can go at any time until then.
        made->setParent(QCoreApplication::instance());
        QObject::connect(qApp, &QGuiApplication::screenRemoved, made,
                         [made](QScreen* screen) { emit made->removed(screen->name()); });
        return made;
    }();
    return *events;
}

void ScreenHook::remove(const QString& name) {
    screens_.removeIf([&name](const Screen& screen) { return screen.name == name; });
    emit events().removed(name);
}

void keep(QWidget& window, ScreenFit::Fit fit) {
    QList<QRect> screens;
    for (const Screen& screen : OnScreen::screens())
        screens.append(screen.available);
    const QRect frame = window.frameGeometry();
    const QPoint at = ScreenFit::place(frame, screens, fit);
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
