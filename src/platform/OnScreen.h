#pragma once

#include "platform/ScopedHook.h"
#include "platform/ScreenFit.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>

class QScreen;
class QWidget;

namespace OnScreen {

// A screen attached now: its name as the window system gives it ("HDMI-1"), the whole of it and
// the part windows may take (without the desktop's panels).
struct Screen {
    QString name;
    QRect geometry;
    QRect available;
};

// Every screen attached now, the primary first.
QList<Screen> screens();
// The window system's screen of that name; nullptr for none, and for every screen a test made.
QScreen* find(const QString& name);
// The name screens() gives the window system's screen.
QString nameOf(const QScreen* screen);

// Tells when a screen goes away; the screens left are in screens() by then.
class ScreenEvents : public QObject {
    Q_OBJECT
signals:
    void removed();
};
ScreenEvents& events();

// For tests: while one lives, its screens are the ones attached (the offscreen platform has a
// single one), and removing one tells as unplugging would.
class ScreenHook {
public:
    static constexpr const char* kHookName = "screen list";
    explicit ScreenHook(QList<Screen> screens) : screens_(std::move(screens)) {}
    const QList<Screen>& list() const { return screens_; }
    void remove(const QString& name);

private:
    QList<Screen> screens_;
    ScopedHook<ScreenHook> installed_{*this};
};

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
