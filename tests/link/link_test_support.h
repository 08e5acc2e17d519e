#pragma once
// Helpers for the threaded link tests: every wait is bounded, so a fault fails a test instead of
// hanging the run.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

using SteadyClock = std::chrono::steady_clock;

inline long long MillisecondsSince(SteadyClock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - start).count();
}

// Aborts the test program when a test outlives its limit: a hung thread cannot be failed any other way.
class Watchdog {
public:
    explicit Watchdog(std::chrono::milliseconds limit)
        : thread([this, limit] {
              std::unique_lock lock(mutex);
              if (!done.wait_for(lock, limit, [this] { return finished; })) {
                  std::fprintf(stderr, "Watchdog: test still running after %lld ms, aborting\n",
                               static_cast<long long>(limit.count()));
                  std::abort();
              }
          }) {}

    ~Watchdog() {
        {
            std::lock_guard lock(mutex);
            finished = true;
        }
        done.notify_all();
        thread.join();
    }

    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::thread thread; // last: starts once the members it waits on exist
};
