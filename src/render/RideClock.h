#pragma once

#include <QtGlobal>

// The clock a rendered ride runs on: it moves only when the renderer moves it, so the ride is
// drawn and heard as the program would run it, as fast as the machine can draw it.
class RideClock {
public:
    // Milliseconds since the ride began.
    virtual qint64 now() const = 0;
    // Lets the ride run on for that long: whatever falls due meanwhile (frames, a scrolling
    // name) happens before it returns.
    virtual void advance(qint64 milliseconds) = 0;

protected:
    ~RideClock() = default;
};
