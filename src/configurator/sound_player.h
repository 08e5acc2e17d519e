#pragma once
// Plays the WAV cues of a live run. A cue never interrupts a sound that is still playing (it is
// dropped); an interrupting sound restarts playback. A missing file plays the system's default beep
// in its place; without an audio device nothing plays. Nothing is ever reported.

#include <QString>

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
    TSoundPlayer(); // plays through the system's default audio device
    explicit TSoundPlayer(std::unique_ptr<TSoundOutput> output);
    ~TSoundPlayer();

    void Play(const QString& path, bool interrupt);

private:
    std::unique_ptr<TSoundOutput> output;
};
