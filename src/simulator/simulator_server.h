#pragma once
// Serves a ConverterModel on a pseudo-terminal from a thread of its own, pacing what the device sends
// as the serial line would: 8 bytes per 10 ms.

#include "converter_model.h"
#include "pseudo_terminal.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

class SimulatorServer {
public:
    static constexpr int kBytesPerTick = 8;
    static constexpr int kTickMs = 10;

    // Starts serving at once. Throws std::system_error when no pseudo-terminal can be had.
    explicit SimulatorServer(ConverterModel model = ConverterModel());
    // Stops and joins the serving thread.
    ~SimulatorServer();
    SimulatorServer(const SimulatorServer&) = delete;
    SimulatorServer& operator=(const SimulatorServer&) = delete;

    // The port to open.
    const std::string& SlavePath() const { return terminal.SlavePath(); }

    // Runs f on the model while the server does not touch it (to switch faults or look at state).
    template <class F> decltype(auto) WithModel(F&& f) {
        std::lock_guard lock(modelMutex);
        return f(model);
    }

    // The hang-up fault has dropped the line; the server serves no more.
    bool HungUp() const { return hungUp.load(); }

private:
    void Serve();

    PseudoTerminal terminal;
    std::mutex modelMutex;
    ConverterModel model;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> hungUp{false};
    std::thread thread; // last: starts once everything it uses exists
};
