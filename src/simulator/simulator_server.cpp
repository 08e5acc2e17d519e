#include "simulator_server.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <poll.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// The model keeps time in milliseconds: it is looked at once a millisecond at least, so its packets
// and time-outs are due no later than that.
constexpr std::int64_t kModelStepUs = 1000;

} // namespace

SimulatorServer::SimulatorServer(ConverterModel model)
    : model(std::move(model)), thread([this] { Serve(); }) {}

SimulatorServer::~SimulatorServer() {
    stopRequested = true;
    thread.join();
}

bool SimulatorServer::AllDelivered() {
    std::lock_guard lock(modelMutex);
    return !model.Sending() && uart.Idle();
}

void SimulatorServer::Serve() {
    const auto start = Clock::now();
    const auto microsecondsNow = [&] {
        return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
    };
    const int fd = terminal.MasterFd();
    std::uint8_t incoming[256];
    while (!stopRequested) {
        std::int64_t nowUs = microsecondsNow();
        std::int64_t wakeUs = (nowUs / kModelStepUs + 1) * kModelStepUs;
        {
            std::lock_guard lock(modelMutex);
            if (const auto due = uart.NextByteDueUs())
                wakeUs = std::min(wakeUs, *due);
        }
        const std::int64_t waitUs = std::max<std::int64_t>(0, wakeUs - nowUs);
        const timespec wait{static_cast<time_t>(waitUs / 1'000'000),
                            static_cast<long>(waitUs % 1'000'000) * 1000};
        pollfd master{fd, POLLIN, 0};
        const int ready = ::ppoll(&master, 1, &wait, nullptr);
        if (ready > 0 && (master.revents & POLLIN)) {
            ssize_t n = 0;
            while ((n = ::read(fd, incoming, sizeof incoming)) > 0) {
                std::lock_guard lock(modelMutex);
                model.Feed({incoming, static_cast<std::size_t>(n)}, microsecondsNow() / kModelStepUs);
            }
        } else if (ready > 0) {
            // Nothing to read but an error state: do not spin on it.
            std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
        }

        bool hangUp = false;
        nowUs = microsecondsNow();
        {
            // Taken and written under the lock, so AllDelivered never sees bytes between the two.
            std::lock_guard lock(modelMutex);
            uart.Send(model.Poll(nowUs / kModelStepUs), nowUs);
            uart.Send(model.PollOneChunk(), nowUs, UartTransmitter::Delivery::OneChunk);
            const UartTransmitter::Bytes out = uart.Take(nowUs);
            // Bytes the client's queue cannot take are lost, as on a real line nobody listens to.
            if (!out.empty()) {
                [[maybe_unused]] const ssize_t written = ::write(fd, out.data(), out.size());
            }
            hangUp = model.HangUpDue() && uart.Idle();
        }
        if (hangUp) {
            // Told before the line drops, so whoever sees the drop also sees the flag.
            hungUp = true;
            terminal.HangUp();
            return;
        }
    }
}
