#pragma once
// Plays the WAV cues of a live run. A cue never interrupts a sound that is still playing (it is
// dropped); an interrupting sound restarts playback. A missing file plays the system's default beep
// in its place, which holds back cues as a playing sound does, for kBeepLength; without an audio
// device nothing plays. Nothing is ever reported.

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

// Where the sound goes; replaceable so tests can see what would be heard.
class TSoundOutput {
public:
    virtual ~TSoundOutput() = default;
    virtual bool DeviceAvailable() const = 0;
    virtual bool IsPlaying() const = 0;
    virtual void PlayFile(const QString& path) = 0;
    virtual void Beep() = 0;
};

class TSoundPlayer {
public:
    using Clock = std::chrono::steady_clock;
    // The beep's own end cannot be seen, so it counts as playing as long as a typical state cue does
    // (the five shipped play 0.06 to 0.44 s, the middle one 0.28 s). Otherwise a state's cue, asked
    // for every 100 ms, would beep on every tick.
    static constexpr std::chrono::milliseconds kBeepLength{300};

    TSoundPlayer(); // plays through the system's default audio device
    explicit TSoundPlayer(std::unique_ptr<TSoundOutput> output,
                          std::function<Clock::time_point()> now = Clock::now);
    ~TSoundPlayer();

    void Play(const QString& path, bool interrupt);

private:
    std::unique_ptr<TSoundOutput> output;
    std::function<Clock::time_point()> now;
    Clock::time_point beepEnds{};
};
