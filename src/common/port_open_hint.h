#pragma once
// What a user can do when a port does not open: the two causes a first connection meets most, told
// apart by the system's error number.

#include <string>

enum class PortOpenProblem {
    Other,
    NoPermission,  // Linux: the user is not in the dialout group yet
    HeldByAnother, // another program (a terminal, ModemManager, a second copy of ours) has it
};

PortOpenProblem ClassifyPortOpenFailure(int systemError);

struct PortOpenHint {
    std::string english;
    std::string russian;
};

// Empty texts for PortOpenProblem::Other.
PortOpenHint HintFor(PortOpenProblem problem);
