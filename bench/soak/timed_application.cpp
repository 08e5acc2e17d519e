#include "timed_application.h"

#include <QEvent>

#include <algorithm>
#include <ctime>

std::chrono::nanoseconds TimedApplication::ThreadCpuTime() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

bool TimedApplication::notify(QObject* receiver, QEvent* event) {
    if (inside || event->type() != QEvent::Timer || !timed || receiver != timed.data())
        return QApplication::notify(receiver, event);
    inside = true;
    const Clock::time_point start = Clock::now();
    const std::chrono::nanoseconds cpuStart = ThreadCpuTime();
    const bool handled = QApplication::notify(receiver, event);
    ticks.push_back({start, Clock::now() - start, ThreadCpuTime() - cpuStart});
    inside = false;
    return handled;
}

TimedApplication::Worst TimedApplication::WorstSince(Clock::time_point since) const {
    Worst worst;
    for (const Tick& tick : ticks) {
        if (tick.start < since)
            continue;
        worst.wall = std::max(worst.wall, tick.wall);
        worst.cpu = std::max(worst.cpu, tick.cpu);
    }
    return worst;
}
