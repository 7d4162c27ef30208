#include "ChimeiScroll.h"

#include <algorithm>

void ChimeiScroll::start(qint64 now, int viewportHeight, int startWait) {
    running_ = true;
    passBegun_ = false;
    position_ = viewportHeight;
    pauseEnd_ = now + startWait;
    lastTurn_ = pauseEnd_;
}

void ChimeiScroll::advanceTo(qint64 now, int& speed, int startWait, int canvasHeight,
                             int viewportHeight) {
    if (!running_ || now < pauseEnd_)
        return;
    if (!passBegun_) {
        passBegun_ = true;
        if (speed == 0)
            speed = 1;
        position_ = viewportHeight;
    }
    while (lastTurn_ < now) {
        ++lastTurn_;
        position_ -= speed / 200.0;
        if (top() + canvasHeight <= -viewportHeight) {
            position_ = viewportHeight;
            pauseEnd_ = lastTurn_ + startWait;
            lastTurn_ = pauseEnd_;
        }
    }
}

int ChimeiScroll::top() const {
    return qRound(position_);
}

qint64 ChimeiScroll::pauseLeft(qint64 now) const {
    return std::max<qint64>(0, pauseEnd_ - now);
}

qint64 ChimeiScroll::nextMoveIn(qint64 now, int speed, int startWait, int canvasHeight,
                                int viewportHeight) const {
    // Running the turns ahead on a copy finds the very turn the real scroll moves on, rounding
    // included; a pixel is at most a few hundred turns away.
    constexpr int kMostTurns = 1000;
    ChimeiScroll ahead = *this;
    const qint64 first = std::max(now + 1, pauseEnd_);
    for (qint64 at = first; at < first + kMostTurns; ++at) {
        ahead.advanceTo(at, speed, startWait, canvasHeight, viewportHeight);
        if (ahead.top() != top())
            return at - now;
    }
    return first + kMostTurns - now;
}
