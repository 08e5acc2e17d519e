#pragma once
// The main thread of the benchmark as the live reader sees it: tasks the reader hands off wait in a
// queue until the main thread runs them between its ticks.

#include "live_reader_host.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class BenchReaderHost : public LiveReaderHost {
public:
    using Clock = std::chrono::steady_clock;

    void PostToMainThread(std::function<void()> task) override;
    // Main thread: a failure is recorded, there is no one to show it to.
    void ShowReadFailure(const std::string& text) override;
    // Main thread: the reader has ended the run.
    void StopLiveRun() override;

    // Main thread: runs the posted tasks as they come until the deadline, or until the run has been
    // stopped. True once it has been stopped.
    bool RunUntil(Clock::time_point deadline);

    // Main thread.
    const std::vector<std::string>& Failures() const { return failures; }

private:
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<std::function<void()>> tasks; // guarded by mutex
    std::vector<std::string> failures;       // main thread only
    bool stopped = false;                    // main thread only
};
