#pragma once
// Runs actions of a worker thread on the main thread and lets the worker wait for them, without ever
// deadlocking against a main thread that is about to join the worker.
//
// Rules:
// - Run posts the action and waits until the main thread has run it.
// - Abandon (the worker's termination was requested) wakes a waiting Run; every action not yet
//   started on the main thread is dropped and never runs. An action already running finishes there,
//   the worker no longer waits for it.
// - After Abandon, Run posts without waiting: such a late action (the stop after the last, short read)
//   still runs on the main thread unless CancelAll comes first.
// - CancelAll (the worker has been joined: a new run or the owner's end follows) drops every action
//   not yet started, so nothing of a finished worker reaches what comes next.

#include <functional>
#include <memory>

class SynchronousHandOff {
public:
    // Queues a task to run on the main thread, in order, and returns at once.
    using Post = std::function<void(std::function<void()> task)>;

    explicit SynchronousHandOff(Post post);
    // Drops whatever has not started, so a posted task never outlives what its action refers to.
    ~SynchronousHandOff();
    SynchronousHandOff(const SynchronousHandOff&) = delete;
    SynchronousHandOff& operator=(const SynchronousHandOff&) = delete;

    // Worker thread. True when the action has run to its end before Run returns.
    bool Run(std::function<void()> action);
    // Any thread.
    void Abandon();
    // Any thread.
    void CancelAll();

private:
    struct Shared;
    struct Ticket;

    Post post;
    std::shared_ptr<Shared> shared;
};
