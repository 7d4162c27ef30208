#pragma once

#include <QEventLoop>
#include <QObject>

// Holds the program the way a blocking call would, except that windows keep repainting and
// timers keep running (the stop-name strip goes on scrolling): the mouse, the keyboard and
// window closing are swallowed until the wait is over.
namespace BlockingWait {

// Waits for the time to pass.
void wait(int milliseconds);

// Runs the loop until something quits it.
void run(QEventLoop& loop);

// Waits until the sender emits the signal.
template <typename Sender, typename Signal> void waitFor(const Sender* sender, Signal signal) {
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    run(loop);
}

} // namespace BlockingWait
