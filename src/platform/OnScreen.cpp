#include "OnScreen.h"

#include <QGuiApplication>
#include <QMap>
#include <QScreen>
#include <QWidget>
#include <cstdlib>

namespace OnScreen {

namespace {

// Screens of separate X displays may share a name ("screen"): the second of a name is told
// apart as "screen 2", and so on, in the window system's order.
QList<QPair<QString, QScreen*>> namedScreens() {
    QList<QPair<QString, QScreen*>> named;
    QMap<QString, int> seen;
    for (QScreen* screen : QGuiApplication::screens()) {
        const int count = ++seen[screen->name()];
        named.append(
            {count == 1 ? screen->name() : QStringLiteral("%1 %2").arg(screen->name()).arg(count),
             screen});
    }
    return named;
}

} // namespace

QList<Screen> screens() {
    if (const ScreenHook* hook = ScopedHook<ScreenHook>::current())
        return hook->list();
    QList<Screen> attached;
    for (const auto& [name, screen] : namedScreens())
        attached.append({name, screen->geometry(), screen->availableGeometry()});
    return attached;
}

QScreen* find(const QString& name) {
    if (ScopedHook<ScreenHook>::current() != nullptr)
        return nullptr;
    for (const auto& [shown, screen] : namedScreens())
        if (shown == name)
            return screen;
    return nullptr;
}

QString nameOf(const QScreen* screen) {
    for (const auto& [shown, candidate] : namedScreens())
        if (candidate == screen)
            return shown;
    return {};
}

ScreenEvents& events() {
    static ScreenEvents* const events = [] {
        auto* made = new ScreenEvents;
        // Lives as long as the application: a screen can go at any time until then.
        made->setParent(QCoreApplication::instance());
        QObject::connect(qApp, &QGuiApplication::screenRemoved, made,
                         [made] { emit made->removed(); });
        return made;
    }();
    return *events;
}

void ScreenHook::remove(const QString& name) {
    screens_.removeIf([&name](const Screen& screen) { return screen.name == name; });
    emit events().removed();
}

void keep(QWidget& window, ScreenFit::Fit fit, QPoint placementOffset) {
    QList<QRect> screens;
    for (const Screen& screen : OnScreen::screens())
        screens.append(screen.available);
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
