#pragma once
// What the live reader needs from the side that owns the main thread, the bus and the windows.

#include <functional>
#include <string>

class LiveReaderHost {
public:
    virtual ~LiveReaderHost() = default;

    // Any thread: queues task to run on the main thread, in order, and returns at once.
    virtual void PostToMainThread(std::function<void()> task) = 0;
    // Main thread: shows the failure's text in a modal message box; returns once it is closed.
    virtual void ShowReadFailure(const std::string& text) = 0;
    // Main thread: broadcasts MSG_LOG_STOP.
    virtual void StopLiveRun() = 0;
};
