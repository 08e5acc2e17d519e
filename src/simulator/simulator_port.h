#pragma once
// The "Simulator" entry of a program's port list: the simulated converter, started on its first
// choice and served on a pseudo-terminal that the program's own port code then opens like any port.

#include "simulator_server.h"

#include <functional>
#include <memory>
#include <string>

class SimulatorPort {
public:
    static constexpr const char* kName = "Simulator";

    // makeModel gives the converter the simulator starts with.
    explicit SimulatorPort(std::function<ConverterModel()> makeModel = [] { return ConverterModel(); });

    // The device to open for a chosen port name: the name itself, or for kName the simulator's
    // terminal (started now if need be). Throws ESerialError (kOpenFailedText) when no
    // pseudo-terminal can be had: to the user that port cannot be opened.
    std::string DeviceFor(const std::string& name);
    // The running simulator, or null before its first choice.
    SimulatorServer* Server() const { return server.get(); }
    // Joins the serving thread; the next choice starts a new simulator.
    void Stop() { server.reset(); }

private:
    std::function<ConverterModel()> makeModel;
    std::unique_ptr<SimulatorServer> server;
};
