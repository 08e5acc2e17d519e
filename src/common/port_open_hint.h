#pragma once
// What a user can do when a port does not open: the causes a connection meets most, told apart by the
// system's error number.

#include <string>

enum class PortOpenProblem {
    Other,
    NoPermission,  // Linux: the user is not in the dialout group yet
    HeldByAnother, // another program (a terminal, ModemManager, a second copy of ours) has it
    NotPresent,    // no such device: the adapter was unplugged, or the name is wrong
};

PortOpenProblem ClassifyPortOpenFailure(int systemError);

struct PortOpenHint {
    std::string english;
    std::string russian;
};

// For PortOpenProblem::Other a general word on what to check, to follow the system's own text.
PortOpenHint HintFor(PortOpenProblem problem);
