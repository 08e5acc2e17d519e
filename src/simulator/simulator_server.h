#pragma once
// Serves a ConverterModel on a pseudo-terminal from a thread of its own. What the device sends leaves
// through its UART one byte at a time at the line's pace (about 1.04 ms a byte), so a reader sees
// what a real serial port delivers: single bytes, never whole packets at once.

#include "converter_model.h"
#include "pseudo_terminal.h"
#include "uart_transmitter.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

class SimulatorServer {
public:
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
    // Everything the device has sent so far is in the PC's input queue: nothing waits in the model or
    // on the line.
    bool AllDelivered();

private:
    void Serve();

    PseudoTerminal terminal;
    std::mutex modelMutex;
    ConverterModel model;
    UartTransmitter uart; // under modelMutex, with the model
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> hungUp{false};
    std::thread thread; // last: starts once everything it uses exists
};
