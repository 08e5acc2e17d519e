#pragma once
// The simulated converter: fed with the bytes the PC sends and a clock, it answers what the real
// device answers. It knows nothing of terminals or threads, so tests run it in simulated time.

#include "engine_model.h"
#include "fault_switches.h"

#include <array>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

class ConverterModel {
public:
    static constexpr int kImageSize = 512;
    using Image = std::array<std::uint8_t, kImageSize>;
    using Bytes = std::vector<std::uint8_t>;

    static constexpr std::uint8_t kVersion = 36; // firmware 3.6
    static constexpr std::int64_t kPacketIntervalMs = 10;
    // 512 EEPROM cells at about 3.4 ms each.
    static constexpr std::int64_t kEepromWriteMs = 1741;
    // A command or frame left incomplete this long is dropped, so one lost byte does not wedge the
    // device.
    static constexpr std::int64_t kByteGapMs = 500;
    static constexpr std::uint8_t kFrameAccepted = 0x11;
    static constexpr std::uint8_t kFrameRejected = 0x00;
    static constexpr std::uint8_t kStaleByte = 0x00;
    static constexpr int kStaleBytesPerReply = 4;
    static constexpr int kShortReplySize = 300;
    static constexpr int kFaultyCell = 100;
    static constexpr int kDroppedBytePacket = 3; // counting the sign-of-life block as 0
    static constexpr int kHangUpAfterPackets = 20;
    static constexpr std::size_t kHangUpAfterFrames = 1;
    // The noise of the garbage faults: a burst whose length is no multiple of a packet's, so in the
    // stream it shifts every later packet.
    static constexpr int kNoiseBurstSize = 37;
    // Quiet this long (no byte received, nothing streamed, no write under way) before garbage-idle's
    // burst: longer than the longest reply takes on the line (512 bytes, 533 ms), so the burst never
    // falls into one.
    static constexpr std::int64_t kNoiseQuietMs = 1000;
    static constexpr int kNoisePacket = 5; // garbage-stream's burst follows it (the sign of life is 0)

    explicit ConverterModel(FaultSwitches faults = {});

    void SetFaults(const FaultSwitches& switches) { faults = switches; }
    // The kind of O2 sensor wired to the converter (the configurator's sensor type numbers).
    void SetO2SensorType(int type) { engine.SetO2SensorType(type); }
    // A stock meter whose signal falls as the air flow rises (EngineModel::SetFallingMeter).
    void SetFallingMeter(bool on) { engine.SetFallingMeter(on); }
    const EngineModel& Engine() const { return engine; }
    // The firmware-update jumper: while set, every byte belongs to a firmware frame. With a frame
    // count the device leaves update mode once it has taken that many frames (a whole image), and
    // serves commands again; 0 keeps it in update mode.
    void SetUpdateMode(bool on, int framesInImage = 0);
    bool UpdateMode() const { return updateMode; }

    // The PC's bytes, arrived at nowMs. Times never go backwards.
    void Feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    // What the device has handed to its UART up to nowMs; the line itself is UartTransmitter's.
    Bytes Poll(std::int64_t nowMs);
    // Handed over after Poll's bytes, to reach the PC together (the stale-bytes fault).
    Bytes PollOneChunk() { return std::exchange(chunkOutbox, {}); }
    // The hang-up fault has struck: whoever serves the model should drop the line.
    bool HangUpDue() const { return hangUpDue; }

    // A converter that holds these tables already, stored and working.
    void LoadImage(const Image& image) { stored = working = image; }
    const Image& WorkingImage() const { return working; }
    const Image& StoredImage() const { return stored; }
    bool Streaming() const { return streaming; }
    int Correction() const { return correction; }
    int WindowLow() const { return windowLow; }
    int WindowHigh() const { return windowHigh; }
    const std::vector<Bytes>& AcceptedFrames() const { return acceptedFrames; }
    // Every frame that arrived whole, the rejected and the unanswered ones included.
    int FramesReceived() const { return framesReceived; }
    // Keeps every stream packet from now on as it was sent, the sign of life included (and
    // garbage-stream's burst as an entry of its own), so a test can hold what the PC stored against it. Off
    // by default: a long run would grow it without end.
    void KeepSentPackets(bool on) { keepSentPackets = on; }
    const std::vector<Bytes>& SentPackets() const { return sentPackets; }

    // Bursts of noise sent so far (the garbage faults).
    int NoiseBursts() const { return noiseBursts; }
    // Something is handed over and not yet polled.
    bool Sending() const { return !outbox.empty() || !chunkOutbox.empty(); }

    // What a new converter holds: 1:1 tables and the default parameters.
    static Image DefaultImage();
    // The bytes of one burst of noise.
    static Bytes NoiseBurst();
    // The output the converter sends for these inputs with its working table and live correction.
    int Output(int maf, int throttle) const;

private:
    enum class Expect { Command, SecondLetter, Data, FrameLength, FramePayload };

    void Advance(std::int64_t nowMs);
    void TakeByte(std::uint8_t byte, std::int64_t nowMs);
    void TakeCommand(std::uint8_t byte);
    void TakeSecondLetter(std::uint8_t byte, std::int64_t nowMs);
    void TakeData(std::uint8_t byte, std::int64_t nowMs);
    void TakeFrameByte(std::uint8_t byte);
    void ReplyToFrame(std::uint8_t reply);
    bool FallenSilent() const;
    void ExpectData(std::uint8_t command, std::size_t count);
    void ResetParser();
    void SendPacket();
    // Something happened on the line: garbage-idle's quiet starts again.
    void Stir(std::int64_t nowMs);
    void SendNoise();

    FaultSwitches faults;
    bool updateMode = false;
    int framesUntilImageDone = 0;
    EngineModel engine;
    Image stored = DefaultImage();
    Image working = DefaultImage();
    int correction = 0;
    int windowLow = 0;
    int windowHigh = 255;

    Expect expect = Expect::Command;
    std::uint8_t dataCommand = 0;
    std::size_t dataNeeded = 0;
    Bytes data;
    std::int64_t lastByteMs = 0;

    bool writingEeprom = false;
    std::int64_t eepromDoneMs = 0;
    Image eepromPending{};

    bool streaming = false;
    std::int64_t nextPacketMs = 0;
    int packetsSent = 0;
    bool hangUpDue = false;
    std::int64_t quietSinceMs = 0;
    bool quietSpellNoised = false;
    int noiseBursts = 0;

    int rejectionsInRow = 0;
    int framesReceived = 0;
    std::vector<Bytes> acceptedFrames;
    bool keepSentPackets = false;
    std::vector<Bytes> sentPackets;

    Bytes outbox;
    Bytes chunkOutbox;
};
