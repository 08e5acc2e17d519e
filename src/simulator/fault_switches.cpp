#include "fault_switches.h"

#include <charconv>

bool SetFaultSwitch(FaultSwitches& faults, std::string_view word) {
    constexpr std::string_view rejectPrefix = "reject-frames=";
    if (word.starts_with(rejectPrefix)) {
        const std::string_view digits = word.substr(rejectPrefix.size());
        int count = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
        if (error != std::errc() || end != digits.data() + digits.size() || count < 0)
            return false;
        faults.rejectFrames = count;
        return true;
    }
    bool FaultSwitches::*const flag = word == "silent"             ? &FaultSwitches::silent
                                      : word == "short-replies"    ? &FaultSwitches::shortReplies
                                      : word == "wrong-read-back"  ? &FaultSwitches::wrongReadBack
                                      : word == "drop-stream-byte" ? &FaultSwitches::dropStreamByte
                                      : word == "hang-up"          ? &FaultSwitches::hangUp
                                                                   : nullptr;
    if (flag == nullptr)
        return false;
    faults.*flag = true;
    return true;
}
