#pragma once

// Holds the program for a while the way a blocking sleep would, except that windows keep
// repainting: paint and timer events run, the mouse, the keyboard and window closing are
// swallowed until the time is up.
namespace BlockingWait {

void wait(int milliseconds);

} // namespace BlockingWait
