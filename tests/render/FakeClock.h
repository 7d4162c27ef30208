#pragma once

#include "render/RideClock.h"

// A ride clock that only moves when told to.
struct FakeClock : RideClock {
    qint64 t = 0;
    qint64 now() const override { return t; }
    void advance(qint64 milliseconds) override { t += milliseconds; }
};
