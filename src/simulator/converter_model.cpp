#include "converter_model.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kParameterOffset = 256;
constexpr int kMafSmoothingOffset = 260;
constexpr int kTpsThresholdOffset = 263;
constexpr int kFirstTable2Maf = 8;
constexpr std::uint8_t kNoEnrichment = 128;

} // namespace

ConverterModel::ConverterModel(FaultSwitches faults) : faults(faults) {}

ConverterModel::Image ConverterModel::DefaultImage() {
    Image image{};
    for (int maf = 0; maf < 256; ++maf)
        image[maf] = static_cast<std::uint8_t>(maf);
    const std::uint8_t parameters[] = {4, 5, 128, 64, 128, 128, 128, 255};
    std::copy(std::begin(parameters), std::end(parameters), image.begin() + kParameterOffset);
    for (int maf = kFirstTable2Maf; maf < 256; ++maf)
        image[kParameterOffset + maf] = static_cast<std::uint8_t>(maf);
    return image;
}

ConverterModel::Bytes ConverterModel::NoiseBurst() {
    Bytes noise(kNoiseBurstSize);
    for (int i = 0; i < kNoiseBurstSize; ++i)
        noise[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 97 + 13);
    return noise;
}

int ConverterModel::Output(int maf, int throttle) const {
    // Table 2 has no entries below MAF 8; table 1 stands in there.
    const bool table2 = throttle > working[kTpsThresholdOffset] && maf >= kFirstTable2Maf;
    int output = table2 ? working[kParameterOffset + maf] : working[maf];
    // The pending correction shifts the output live inside the correction window only.
    if (maf >= windowLow && maf <= windowHigh)
        output += correction;
    return std::clamp(output, 0, 255);
}

void ConverterModel::SetUpdateMode(bool on, int framesInImage) {
    updateMode = on;
    framesUntilImageDone = on ? framesInImage : 0;
    streaming = false;
    ResetParser();
}

void ConverterModel::Feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
    Advance(nowMs);
    for (const std::uint8_t byte : bytes) {
        // A line that has hung up carries nothing more.
        if (faults.silent || hangUpDue)
            return;
        TakeByte(byte, nowMs);
    }
}

ConverterModel::Bytes ConverterModel::Poll(std::int64_t nowMs) {
    Advance(nowMs);
    if (faults.silent)
        outbox.clear();
    return std::exchange(outbox, {});
}

void ConverterModel::Advance(std::int64_t nowMs) {
    if (writingEeprom && nowMs >= eepromDoneMs) {
        writingEeprom = false;
        stored = eepromPending;
        if (faults.wrongReadBack)
            stored[kFaultyCell] ^= 0x01;
        // The device runs from what it has stored.
        working = stored;
        Stir(eepromDoneMs);
    }
    const bool partial = expect == Expect::SecondLetter || expect == Expect::Data ||
                         expect == Expect::FramePayload || (expect == Expect::FrameLength && !data.empty());
    if (partial && nowMs - lastByteMs >= kByteGapMs) {
        // A frame cut short counts as a damaged frame, so the PC sends it again.
        if (updateMode)
            ReplyToFrame(kFrameRejected);
        ResetParser();
    }
    while (streaming && !hangUpDue && nextPacketMs <= nowMs) {
        SendPacket();
        Stir(nextPacketMs);
        nextPacketMs += kPacketIntervalMs;
    }
    const bool idle = !updateMode && !streaming && !writingEeprom && expect == Expect::Command;
    if (faults.garbageIdle && idle && !hangUpDue && !quietSpellNoised &&
        nowMs - quietSinceMs >= kNoiseQuietMs) {
        quietSpellNoised = true;
        SendNoise();
    }
}

void ConverterModel::Stir(std::int64_t nowMs) {
    quietSinceMs = nowMs;
    quietSpellNoised = false;
}

void ConverterModel::SendNoise() {
    const Bytes noise = NoiseBurst();
    outbox.insert(outbox.end(), noise.begin(), noise.end());
    if (keepSentPackets && streaming)
        sentPackets.push_back(noise);
    ++noiseBursts;
}

void ConverterModel::TakeByte(std::uint8_t byte, std::int64_t nowMs) {
    // While the EEPROM is written the firmware serves no UART: what arrives meanwhile is lost.
    if (writingEeprom)
        return;
    lastByteMs = nowMs;
    Stir(nowMs);
    if (updateMode) {
        TakeFrameByte(byte);
        return;
    }
    switch (expect) {
    case Expect::Command:
        TakeCommand(byte);
        break;
    case Expect::SecondLetter:
        TakeSecondLetter(byte, nowMs);
        break;
    case Expect::Data:
        TakeData(byte, nowMs);
        break;
    case Expect::FrameLength:
    case Expect::FramePayload:
        break;
    }
}

void ConverterModel::TakeCommand(std::uint8_t byte) {
    switch (byte) {
    case 's':
        // While streaming "s" stops at once: no two-letter command is taken then.
        if (streaming)
            streaming = false;
        else
            expect = Expect::SecondLetter;
        break;
    case 't':
        ExpectData(byte, kImageSize);
        break;
    case 'c':
    case 'g':
        ExpectData(byte, 2);
        break;
    default:
        break; // not a command: ignored
    }
}

void ConverterModel::TakeSecondLetter(std::uint8_t byte, std::int64_t nowMs) {
    expect = Expect::Command;
    switch (byte) {
    case 'v':
        if (!faults.shortReplies)
            outbox.push_back(kVersion);
        break;
    case 'r':
        outbox.insert(outbox.end(), working.begin(),
                      working.begin() + (faults.shortReplies ? kShortReplySize : kImageSize));
        break;
    case 'w':
        ExpectData(byte, kImageSize);
        break;
    case 'l':
        streaming = true;
        nextPacketMs = nowMs;
        packetsSent = 0;
        break;
    default:
        // The "s" before was a stop with nothing to stop; this byte starts the next command.
        TakeCommand(byte);
        break;
    }
}

void ConverterModel::ExpectData(std::uint8_t command, std::size_t count) {
    expect = Expect::Data;
    dataCommand = command;
    dataNeeded = count;
    data.clear();
}

void ConverterModel::TakeData(std::uint8_t byte, std::int64_t nowMs) {
    data.push_back(byte);
    if (faults.hangUpMidWrite && dataCommand == 'w' && data.size() == kImageSize / 2) {
        // Nothing of the half-received image is stored.
        hangUpDue = true;
        ResetParser();
        return;
    }
    if (data.size() < dataNeeded)
        return;
    switch (dataCommand) {
    case 'w':
        std::copy(data.begin(), data.end(), eepromPending.begin());
        writingEeprom = true;
        eepromDoneMs = nowMs + kEepromWriteMs;
        break;
    case 't':
        // The live table replaces the working one at once and is not stored.
        std::copy(data.begin(), data.end(), working.begin());
        break;
    case 'c':
        correction = data[1] != 0 ? -data[0] : data[0];
        break;
    case 'g':
        // The PC always sends the whole range; the bytes are read as the window's bounds.
        windowLow = std::min(data[0], data[1]);
        windowHigh = std::max(data[0], data[1]);
        break;
    default:
        break;
    }
    ResetParser();
}

void ConverterModel::TakeFrameByte(std::uint8_t byte) {
    data.push_back(byte);
    if (expect == Expect::FrameLength) {
        if (data.size() < 2)
            return;
        dataNeeded = 2 + static_cast<std::size_t>(data[0] * 256 + data[1]);
        expect = Expect::FramePayload;
    }
    if (data.size() < dataNeeded)
        return;
    ++framesReceived;
    if (FallenSilent()) {
        ResetParser();
        return;
    }
    // The payload is the vendor's own; a frame counts as intact when it arrived whole and in time.
    if (rejectionsInRow < faults.rejectFrames) {
        ++rejectionsInRow;
        ReplyToFrame(kFrameRejected);
    } else {
        rejectionsInRow = 0;
        ReplyToFrame(kFrameAccepted);
        acceptedFrames.push_back(data);
        if (framesUntilImageDone > 0 && --framesUntilImageDone == 0)
            updateMode = false; // the new firmware starts
        if (faults.hangUp && acceptedFrames.size() >= kHangUpAfterFrames)
            hangUpDue = true; // once the acknowledgement has gone out
    }
    ResetParser();
}

bool ConverterModel::FallenSilent() const {
    return faults.silentAfterFrames > 0 &&
           static_cast<int>(acceptedFrames.size()) >= faults.silentAfterFrames;
}

void ConverterModel::ReplyToFrame(std::uint8_t reply) {
    if (FallenSilent())
        return;
    if (!faults.staleBytes) {
        outbox.push_back(reply);
        return;
    }
    chunkOutbox.push_back(reply);
    chunkOutbox.insert(chunkOutbox.end(), kStaleBytesPerReply, kStaleByte);
}

void ConverterModel::ResetParser() {
    expect = updateMode ? Expect::FrameLength : Expect::Command;
    data.clear();
    dataNeeded = 0;
}

void ConverterModel::SendPacket() {
    engine.SetMafSmoothing(working[kMafSmoothingOffset]);
    engine.Step();
    const std::uint8_t maf = engine.Maf();
    const std::uint8_t throttle = engine.Throttle();
    const std::uint16_t period = engine.Period();
    const int output = Output(maf, throttle);
    const std::uint8_t o2 = engine.Burn(output);
    const std::uint8_t packet[8] = {static_cast<std::uint8_t>(output),
                                    0,
                                    kNoEnrichment,
                                    maf,
                                    throttle,
                                    static_cast<std::uint8_t>(period >> 8),
                                    static_cast<std::uint8_t>(period & 0xFF),
                                    o2};
    const bool dropFirst = faults.dropStreamByte && packetsSent == kDroppedBytePacket;
    outbox.insert(outbox.end(), std::begin(packet) + (dropFirst ? 1 : 0), std::end(packet));
    if (keepSentPackets)
        sentPackets.emplace_back(std::begin(packet) + (dropFirst ? 1 : 0), std::end(packet));
    ++packetsSent;
    if (faults.garbageStream && packetsSent == kNoisePacket + 1)
        SendNoise();
    if (faults.hangUp && packetsSent >= kHangUpAfterPackets)
        hangUpDue = true;
}
