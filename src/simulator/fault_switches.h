#pragma once
// Faults the simulated converter can be told to show, by tests or on converter-sim's command line.

#include <string_view>

struct FaultSwitches {
    bool silent = false;         // "silent": answers nothing, streams nothing
    bool shortReplies = false;   // "short-replies": "sv" unanswered, "sr" sends only 300 bytes
    bool wrongReadBack = false;  // "wrong-read-back": one EEPROM cell keeps a flipped bit after "sw"
    bool dropStreamByte = false; // "drop-stream-byte": one byte of each stream is lost on the line
    int rejectFrames = 0;        // "reject-frames=N": refuses N transmissions in a row of each frame
    int silentAfterFrames = 0;   // "silent-after-frames=N": answers N frames, then nothing (0: off)
    bool staleBytes = false;     // "stale-bytes": four 0x00 follow each frame's reply, and the PC gets
                                 // them with it in one piece, before it sends the next frame
    bool hangUp = false;         // "hang-up": the line goes dead a moment into a live run, or in update
                                 // mode once the first frame has been acknowledged
    bool garbageIdle = false;    // "garbage-idle": a burst of noise once the line has been quiet a while
    bool garbageStream = false;  // "garbage-stream": a burst of noise between two packets of each stream
    bool hangUpMidWrite = false; // "hang-up-mid-write": the line goes dead once half the image of a
                                 // table write ("sw") has arrived
};

// Turns on the switch a command-line word names; false if no switch has that name.
bool SetFaultSwitch(FaultSwitches& faults, std::string_view word);

// The switch words, for usage texts.
inline constexpr std::string_view kFaultSwitchWords =
    "silent, short-replies, wrong-read-back, drop-stream-byte, reject-frames=N, silent-after-frames=N, "
    "stale-bytes, hang-up, garbage-idle, garbage-stream, hang-up-mid-write";
