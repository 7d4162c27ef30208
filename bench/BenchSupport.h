#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

// A figure of /proc/self/status in MiB ("VmRSS": what the process holds now, "VmHWM": the
// most it has held); 0 where the system does not say.
inline double statusMegabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field) && line.at(qsizetype(qstrlen(field))) == ':')
            return line.mid(qsizetype(qstrlen(field)) + 1).trimmed().split(' ').first().toDouble() /
                   1024;
    }
    return 0;
}

inline double residentMegabytes() {
    return statusMegabytes("VmRSS");
}

// The longest time the event loop went without turning: how long the window was blocked.
class Heartbeat {
public:
    // A timer of 0 ms turns with every pass of the loop; one of 1 ms costs the thread less.
    explicit Heartbeat(int intervalMs = 0) {
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] { beat(); });
        clock_.start();
        timer_.start();
    }
    void beat() { longest_ = std::max(longest_, clock_.restart()); }
    // The longest block since the last call.
    qint64 takeLongest() {
        beat();
        return std::exchange(longest_, 0);
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

// Handles events for the time given, sleeping in between rather than spinning, so that the
// threads and programs being measured have the processors to themselves.
inline void runEventsFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The middle value.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
