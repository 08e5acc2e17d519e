#pragma once
// A stand-in for the program's main thread in the reader tests: tasks posted by the reader run on the
// test's own thread, only when the test lets them, and what they did is recorded.

#include "live_reader_host.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class FakeMainThread : public LiveReaderHost {
public:
    void PostToMainThread(std::function<void()> task) override {
        {
            std::lock_guard lock(mutex);
            tasks.push_back(std::move(task));
        }
        posted.notify_all();
    }
    void ShowReadFailure(const std::string& text) override {
        events.push_back("failure: " + text);
        if (onFailure)
            onFailure();
    }
    void StopLiveRun() override {
        events.push_back("stop");
        if (onStop)
            onStop();
    }

    // Runs posted tasks as they come until done() holds or the limit has passed. False on the limit.
    // done() is looked at every few milliseconds too, for conditions no task brings about.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            std::function<void()> task;
            {
                std::unique_lock lock(mutex);
                if (!posted.wait_for(lock, std::chrono::milliseconds(2), [this] { return !tasks.empty(); }))
                    continue;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
        return true;
    }
    // Runs what is queued now (and what those tasks post).
    void RunPending() {
        while (true) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex);
                if (tasks.empty())
                    return;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            task();
        }
    }
    std::size_t Queued() const {
        std::lock_guard lock(mutex);
        return tasks.size();
    }

    // Main thread only.
    std::vector<std::string> events;
    std::function<void()> onFailure;
    std::function<void()> onStop;

private:
    mutable std::mutex mutex;
    std::condition_variable posted;
    std::deque<std::function<void()>> tasks;
};
