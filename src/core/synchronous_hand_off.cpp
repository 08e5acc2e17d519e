#include "synchronous_hand_off.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <vector>

struct SynchronousHandOff::Ticket {
    enum class State { Pending, Running, Done, Dropped };
    State state = State::Pending;
};

struct SynchronousHandOff::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool abandoned = false;
    std::vector<std::shared_ptr<Ticket>> pending;

    // Under the mutex.
    void dropPending() {
        for (const auto& ticket : pending)
            ticket->state = Ticket::State::Dropped;
        pending.clear();
    }
};

SynchronousHandOff::SynchronousHandOff(Post post)
    : post(std::move(post)), shared(std::make_shared<Shared>()) {}

SynchronousHandOff::~SynchronousHandOff() {
    CancelAll();
}

bool SynchronousHandOff::Run(std::function<void()> action) {
    auto ticket = std::make_shared<Ticket>();
    {
        std::lock_guard lock(shared->mutex);
        shared->pending.push_back(ticket);
    }
    // The task keeps the shared state alive: it may run after this object is gone, and then finds its
    // ticket dropped.
    post([shared = shared, ticket, action = std::move(action)] {
        {
            std::lock_guard lock(shared->mutex);
            if (ticket->state != Ticket::State::Pending)
                return;
            ticket->state = Ticket::State::Running;
            std::erase(shared->pending, ticket);
        }
        action();
        {
            std::lock_guard lock(shared->mutex);
            ticket->state = Ticket::State::Done;
        }
        shared->changed.notify_all();
    });
    std::unique_lock lock(shared->mutex);
    shared->changed.wait(lock, [&] { return shared->abandoned || ticket->state == Ticket::State::Done; });
    return ticket->state == Ticket::State::Done;
}

void SynchronousHandOff::Abandon() {
    {
        std::lock_guard lock(shared->mutex);
        if (shared->abandoned)
            return;
        shared->abandoned = true;
        shared->dropPending();
    }
    shared->changed.notify_all();
}

void SynchronousHandOff::CancelAll() {
    std::lock_guard lock(shared->mutex);
    shared->dropPending();
}
