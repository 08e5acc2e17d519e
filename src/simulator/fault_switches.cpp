#include "fault_switches.h"

#include <charconv>

namespace {

// "name=N" with N a whole number of 0 or more.
bool SetCount(int& count, std::string_view word, std::string_view prefix) {
    const std::string_view digits = word.substr(prefix.size());
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || value < 0)
        return false;
    count = value;
    return true;
}

} // namespace

bool SetFaultSwitch(FaultSwitches& faults, std::string_view word) {
    const struct {
        std::string_view prefix;
        int FaultSwitches::*count;
    } counts[] = {{"reject-frames=", &FaultSwitches::rejectFrames},
                  {"silent-after-frames=", &FaultSwitches::silentAfterFrames}};
    for (const auto& c : counts)
        if (word.starts_with(c.prefix))
            return SetCount(faults.*c.count, word, c.prefix);
    const struct {
        std::string_view word;
        bool FaultSwitches::*flag;
    } flags[] = {{"silent", &FaultSwitches::silent},
                 {"short-replies", &FaultSwitches::shortReplies},
                 {"wrong-read-back", &FaultSwitches::wrongReadBack},
                 {"drop-stream-byte", &FaultSwitches::dropStreamByte},
                 {"stale-bytes", &FaultSwitches::staleBytes},
                 {"hang-up", &FaultSwitches::hangUp},
                 {"garbage-idle", &FaultSwitches::garbageIdle},
                 {"garbage-stream", &FaultSwitches::garbageStream},
                 {"hang-up-mid-write", &FaultSwitches::hangUpMidWrite}};
    for (const auto& f : flags)
        if (word == f.word) {
            faults.*f.flag = true;
            return true;
        }
    return false;
}
