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
