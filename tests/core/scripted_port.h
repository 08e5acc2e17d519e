#pragma once
// An in-memory port for the reader tests: each Read takes the next step of a script. Past the end of
// the script every read comes back empty after a short wait, as from a converter that fell silent.

#include "byte_port.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ScriptedPort : public BytePort {
public:
    using Bytes = std::vector<std::uint8_t>;
    // Fills the buffer and returns the count, or throws.
    using Step = std::function<int(std::uint8_t* buffer, int count)>;

    explicit ScriptedPort(const std::atomic<bool>& portFree) : portFree(portFree) {}

    static Step Reply(Bytes bytes) {
        return [bytes](std::uint8_t* buffer, int count) {
            const int n = std::min(count, static_cast<int>(bytes.size()));
            std::copy_n(bytes.begin(), n, buffer);
            return n;
        };
    }
    static Step Failure(int systemError) {
        return [systemError](std::uint8_t*, int) -> int { throw ESerialError(kReadFailedText, systemError); };
    }

    void Add(Step step) {
        std::lock_guard lock(mutex);
        script.push_back(std::move(step));
    }
    // Each later read waits until Release, then returns nothing.
    void HoldReads() {
        std::lock_guard lock(mutex);
        held = true;
    }
    void Release() {
        {
            std::lock_guard lock(mutex);
            held = false;
        }
        changed.notify_all();
    }
    // Waits until a read is waiting on the hold.
    bool WaitUntilReadHeld(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [this] { return readsHeld > 0; });
    }

    int Read(std::uint8_t* buffer, int count) override {
        if (portFree)
            portFreeDuringRead = true;
        Step step;
        {
            std::unique_lock lock(mutex);
            ++reads;
            if (script.empty()) {
                ++readsHeld;
                changed.notify_all();
                changed.wait_for(lock, std::chrono::milliseconds(held ? 10000 : 20),
                                 [this] { return !held; });
                --readsHeld;
                return 0;
            }
            step = std::move(script.front());
            script.pop_front();
        }
        return step(buffer, count);
    }
    int Write(const std::uint8_t*, int count) override { return count; }
    void ClearInput() override {}
    void ClearOutput() override {}

    int Reads() const {
        std::lock_guard lock(mutex);
        return reads;
    }
    // Set when a read began with PortFree still true.
    std::atomic<bool> portFreeDuringRead{false};

private:
    const std::atomic<bool>& portFree;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Step> script;
    bool held = false;
    int readsHeld = 0;
    int reads = 0;
};
