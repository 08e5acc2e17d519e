#pragma once
// The application, timing how long the main thread takes over each timer event of one timer: the
// whole of what its timeout runs, as the event loop sees it (wall time, which includes waits for the
// serial line and for a core), and the processor time the main thread used meanwhile (its own work).
// Nested deliveries (a timer event inside a message box the handler opened) count as part of the
// outer one.

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <vector>

class TimedApplication : public QApplication {
public:
    using Clock = std::chrono::steady_clock;

    struct Tick {
        Clock::time_point start;
        Clock::duration wall;
        std::chrono::nanoseconds cpu;
    };
    // The longest of each, of the ticks considered.
    struct Worst {
        Clock::duration wall{};
        std::chrono::nanoseconds cpu{};
    };

    TimedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    // Main thread; from now on the timer's events are timed.
    void TimeEventsOf(QTimer* timer) { timed = timer; }
    // Main thread: room for this many ticks, so that the record of them does not grow the resident
    // memory the benchmark measures.
    void ReserveTicks(std::size_t count) { ticks.reserve(count); }

    bool notify(QObject* receiver, QEvent* event) override;

    // Main thread.
    const std::vector<Tick>& Ticks() const { return ticks; }
    // Of the ticks that started at or after the given time; zero when there is none.
    Worst WorstSince(Clock::time_point since) const;

    // The processor time the calling thread has used so far.
    static std::chrono::nanoseconds ThreadCpuTime();

private:
    QPointer<QTimer> timed;
    bool inside = false;
    std::vector<Tick> ticks;
};
