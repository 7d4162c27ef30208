#pragma once

#include <QtGlobal>

// The scroll of a long stop name as a function of time. It stands for a loop that turns once
// per millisecond and moves the canvas up Speed / 200 pixels per turn: the canvas enters at
// the bottom edge of the viewport, rises until it and a further viewport height have passed
// the top, and comes back to the bottom edge. A pause of ScrollStartWait milliseconds comes
// before the first pass and after every wrap.
class ChimeiScroll {
public:
    // The canvas is put just below the viewport and the first pause begins.
    void start(qint64 now, int viewportHeight, int startWait);
    void stop() { running_ = false; }
    bool running() const { return running_; }

    // Runs every turn that is due by now. A speed of 0 becomes 1 when the first pass begins.
    void advanceTo(qint64 now, int& speed, int startWait, int canvasHeight, int viewportHeight);

    // Canvas top in whole pixels.
    int top() const;
    // Milliseconds until the canvas moves again; 0 while it is moving.
    qint64 pauseLeft(qint64 now) const;
    // Milliseconds until the canvas top next changes by a whole pixel (or wraps), as advanceTo
    // would run the turns; a pause counts in full, and a still scroll gives up after a second.
    qint64 nextMoveIn(qint64 now, int speed, int startWait, int canvasHeight,
                      int viewportHeight) const;

private:
    bool running_ = false;
    bool passBegun_ = false;
    double position_ = 0;
    qint64 pauseEnd_ = 0;
    qint64 lastTurn_ = 0;
};
