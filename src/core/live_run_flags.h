#pragma once
// The values of a live run that the reader thread and the main thread both touch.

#include <atomic>

struct LiveRunFlags {
    // Written by the main thread (space bar), read by the reader for each packet.
    std::atomic<bool> MarkerHeld{false};
    // Written by the main thread (the pending correction), read by the reader for each packet.
    std::atomic<int> CurrentCorrection{0};
    // Set by the reader once the converter has answered the start command.
    std::atomic<bool> DataReceived{false};
};
