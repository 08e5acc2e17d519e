#include "bench_reader_host.h"

#include <utility>

void BenchReaderHost::PostToMainThread(std::function<void()> task) {
    {
        std::lock_guard lock(mutex);
        tasks.push_back(std::move(task));
    }
    posted.notify_one();
}

void BenchReaderHost::ShowReadFailure(const std::string& text) {
    failures.push_back(text);
}

void BenchReaderHost::StopLiveRun() {
    stopped = true;
}

bool BenchReaderHost::RunUntil(Clock::time_point deadline) {
    std::unique_lock lock(mutex);
    while (!stopped) {
        if (!posted.wait_until(lock, deadline, [this] { return !tasks.empty(); }))
            break;
        std::function<void()> task = std::move(tasks.front());
        tasks.pop_front();
        // The task may wait for the reader, which may be posting meanwhile.
        lock.unlock();
        task();
        lock.lock();
    }
    return stopped;
}
