#pragma once
// A pseudo-terminal whose slave side stands in for a serial port. The master side is ours; the slave
// is kept open too, so the master never sees a hang-up while no client has the port open.

#include <string>

class PseudoTerminal {
public:
    // Throws std::system_error when the system has no pseudo-terminal to give.
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Non-blocking; -1 after HangUp.
    int MasterFd() const { return master; }
    // The path a client opens, e.g. /dev/pts/3.
    const std::string& SlavePath() const { return slavePath; }
    // Closes our side: whoever holds the slave sees the line hang up.
    void HangUp();

private:
    int master = -1;
    int slaveKeeper = -1;
    std::string slavePath;
};
