#include "simulator_server.h"

#include <algorithm>
#include <chrono>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Falling further behind than this (a stalled machine) restarts the pacing instead of bursting.
constexpr auto kMaxLag = std::chrono::milliseconds(100);

} // namespace

SimulatorServer::SimulatorServer(ConverterModel model)
    : model(std::move(model)), thread([this] { Serve(); }) {}

SimulatorServer::~SimulatorServer() {
    stopRequested = true;
    thread.join();
}

void SimulatorServer::Serve() {
    const auto start = Clock::now();
    const auto millisecondsNow = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    };
    const int fd = terminal.MasterFd();
    auto nextTick = start;
    ConverterModel::Bytes line; // sent by the device, not yet on the wire
    std::uint8_t incoming[256];
    while (!stopRequested) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextTick - Clock::now());
        pollfd master{fd, POLLIN, 0};
        const int ready = ::poll(&master, 1, static_cast<int>(std::max<long long>(0, wait.count())));
        if (ready > 0 && (master.revents & POLLIN)) {
            ssize_t n = 0;
            while ((n = ::read(fd, incoming, sizeof incoming)) > 0) {
                std::lock_guard lock(modelMutex);
                model.Feed({incoming, static_cast<std::size_t>(n)}, millisecondsNow());
            }
        } else if (ready > 0) {
            // Nothing to read but an error state: do not spin on it.
            std::this_thread::sleep_until(nextTick);
        }
        if (Clock::now() < nextTick)
            continue;

        bool hangUp = false;
        {
            std::lock_guard lock(modelMutex);
            const ConverterModel::Bytes sent = model.Poll(millisecondsNow());
            line.insert(line.end(), sent.begin(), sent.end());
            hangUp = model.HangUpDue();
        }
        const auto count = std::min<std::size_t>(line.size(), kBytesPerTick);
        // Bytes the client's queue cannot take are lost, as on a real line nobody listens to.
        if (count > 0) {
            [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), count);
        }
        line.erase(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(count));
        if (hangUp) {
            // Told before the line drops, so whoever sees the drop also sees the flag.
            hungUp = true;
            terminal.HangUp();
            return;
        }
        nextTick += std::chrono::milliseconds(kTickMs);
        if (Clock::now() - nextTick > kMaxLag)
            nextTick = Clock::now();
    }
}
