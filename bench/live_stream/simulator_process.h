#pragma once
// The simulated converter as a process of its own (converter-sim), so that what it spends is not
// counted in our CPU time.

#include <string>
#include <sys/types.h>

class SimulatorProcess {
public:
    // Starts the program and waits (at most a few seconds) for the pseudo-terminal path it prints.
    // Throws std::runtime_error when it cannot be started or prints no path.
    explicit SimulatorProcess(const std::string& program);
    // Asks the simulator to end (SIGTERM) and waits for it.
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // The port to open.
    const std::string& SlavePath() const { return slavePath; }

private:
    void terminate();

    pid_t pid = -1;
    std::string slavePath;
};
