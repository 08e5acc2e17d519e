// The frame exchange against a converter played by the test: what it is sent, frame by frame, and how
// it answers.

#include "firmware_exchange.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// Replies come from a script, one per frame written; bytes "already waiting" model stale input.
class FrameConverter : public BytePort {
public:
    std::deque<std::optional<std::uint8_t>> replies; // nullopt: no answer to that frame
    Bytes staleBeforeFrame;                          // waiting when each frame is about to go
    std::vector<Bytes> framesWritten;
    int clears = 0;
    std::vector<std::chrono::milliseconds> timeoutsSet;

    int Write(const std::uint8_t* data, int count) override {
        framesWritten.emplace_back(data, data + count);
        const std::optional<std::uint8_t> reply = replies.empty() ? std::nullopt : replies.front();
        if (!replies.empty())
            replies.pop_front();
        waiting.clear();
        if (reply)
            waiting.push_back(*reply);
        pendingStale = staleBeforeFrame;
        return count;
    }
    int Read(std::uint8_t* buffer, int count) override {
        int n = 0;
        while (n < count && !waiting.empty()) {
            buffer[n++] = waiting.front();
            waiting.pop_front();
        }
        // What comes after the reply waits for the next read, as stale bytes do.
        if (waiting.empty() && !pendingStale.empty()) {
            waiting.assign(pendingStale.begin(), pendingStale.end());
            pendingStale.clear();
        }
        return n;
    }
    void ClearInput() override {
        ++clears;
        waiting.clear();
    }
    void ClearOutput() override {}

private:
    std::deque<std::uint8_t> waiting;
    Bytes pendingStale;
};

const Bytes kImage = {0x00, 0x03, 0xAA, 0xBB, 0xCC, 0x00, 0x01, 0xDD};
const Bytes kFirst = {0x00, 0x03, 0xAA, 0xBB, 0xCC};
const Bytes kSecond = {0x00, 0x01, 0xDD};

} // namespace

TEST(FirmwareExchange, RejectionsResendTheFrameUntilTheFourthEndsTheUpload) {
    struct Case {
        const char* name;
        std::deque<std::optional<std::uint8_t>> replies;
        UploadResult result;
        std::vector<Bytes> frames;
        std::vector<int> progress;
    };
    const Case cases[] = {
        {"every frame acknowledged", {0x11, 0x11}, UploadResult::Uploaded, {kFirst, kSecond}, {0, 62, 100}},
        {"three rejections, then an acknowledgement",
         {0x00, 0x00, 0x00, 0x11, 0x11},
         UploadResult::Uploaded,
         {kFirst, kFirst, kFirst, kFirst, kSecond},
         {0, 0, 0, 0, 62, 100}},
        {"an acknowledgement resets the count",
         {0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0x00, 0x11},
         UploadResult::Uploaded,
         {kFirst, kFirst, kFirst, kFirst, kSecond, kSecond, kSecond, kSecond},
         {0, 0, 0, 0, 62, 62, 62, 62, 100}},
        {"four rejections",
         {0x00, 0x42, 0x00, 0xFF},
         UploadResult::Rejected,
         {kFirst, kFirst, kFirst, kFirst},
         {0, 0, 0, 0}},
        {"no answer", {std::nullopt}, UploadResult::NoReply, {kFirst}, {0}},
        {"no answer to the second frame",
         {0x11, std::nullopt},
         UploadResult::NoReply,
         {kFirst, kSecond},
         {0, 62}},
    };
    for (const Case& c : cases) {
        FrameConverter converter;
        converter.replies = c.replies;
        std::vector<int> progress;
        int failures = 0;
        FrameExchange how;
        how.progress = [&](int percent) { progress.push_back(percent); };
        how.afterFailure = [&] { ++failures; };
        EXPECT_EQ(ExchangeFrames(converter, kImage, how), c.result) << c.name;
        EXPECT_EQ(converter.framesWritten, c.frames) << c.name;
        EXPECT_EQ(progress, c.progress) << c.name;
        EXPECT_EQ(failures, c.result == UploadResult::Uploaded ? 0 : 1) << c.name;
        EXPECT_EQ(converter.clears, static_cast<int>(c.frames.size())) << c.name;
    }
}

TEST(FirmwareExchange, TheDrainReadsStaleBytesAwayWithItsOwnTimeoutAndWaitsTheReplyTimeout) {
    FrameConverter converter;
    converter.replies = {0x11, 0x11};
    converter.staleBeforeFrame = {0x00, 0x00, 0x00, 0x00}; // would be four rejections if read as replies
    FrameExchange how;
    how.beforeFrame = FrameExchange::BeforeFrame::Drain;
    how.replyTimeout = 4000ms;
    how.setReadTimeout = [&](std::chrono::milliseconds timeout) { converter.timeoutsSet.push_back(timeout); };
    EXPECT_EQ(ExchangeFrames(converter, kImage, how), UploadResult::Uploaded);
    EXPECT_EQ(converter.framesWritten, (std::vector<Bytes>{kFirst, kSecond}));
    EXPECT_EQ(converter.clears, 0);
    EXPECT_EQ(converter.timeoutsSet, (std::vector<std::chrono::milliseconds>{1ms, 4000ms, 1ms, 4000ms}));
}

TEST(FirmwareExchange, APortFailureRunsAfterFailureAndPropagates) {
    struct FailingPort : FrameConverter {
        int Write(const std::uint8_t*, int) override { throw ESerialError(kWriteFailedText, 5); }
    } port;
    int failures = 0;
    FrameExchange how;
    how.afterFailure = [&] { ++failures; };
    EXPECT_THROW(ExchangeFrames(port, kImage, how), ESerialError);
    EXPECT_EQ(failures, 1);
}

TEST(FirmwareExchange, AnEmptyImageSendsNothingAndEndsAtTheMaximum) {
    FrameConverter converter;
    std::vector<int> progress;
    FrameExchange how;
    how.progress = [&](int percent) { progress.push_back(percent); };
    EXPECT_EQ(ExchangeFrames(converter, {}, how), UploadResult::Uploaded);
    EXPECT_TRUE(converter.framesWritten.empty());
    EXPECT_EQ(progress, std::vector<int>{100});
}

TEST(FirmwareExchange, PercentRoundsHalvesToEven) {
    const struct {
        std::size_t acknowledged, total;
        int percent;
    } cases[] = {{0, 8, 0},   {5, 8, 62},  {1, 200, 0}, {3, 200, 2},
                 {5, 200, 2}, {7, 200, 4}, {2, 3, 67},  {8, 8, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(UploadPercent(c.acknowledged, c.total), c.percent) << c.acknowledged << "/" << c.total;
}
