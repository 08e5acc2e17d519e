#include "log_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <span>
#include <thread>
#include <vector>

namespace {

LogSample numbered(int n) {
    LogSample sample;
    for (int s = 0; s < kLogSeriesCount; ++s)
        sample.values[static_cast<std::size_t>(s)] = n * 100 + s;
    return sample;
}

void fill(LogStore& store, int count) {
    for (int n = 0; n < count; ++n)
        store.Append(numbered(n));
}

} // namespace

TEST(LogStore, StartsEmpty) {
    LogStore store;
    EXPECT_EQ(store.Size(), 0u);
    EXPECT_TRUE(store.Newest(21).empty());
}

// Sizes around the chunk borders, where a wrong index would show.
class LogStoreSizes : public ::testing::TestWithParam<int> {};

TEST_P(LogStoreSizes, KeepsEverySampleInOrder) {
    const int count = GetParam();
    LogStore store;
    fill(store, count);
    ASSERT_EQ(store.Size(), static_cast<std::size_t>(count));
    auto view = store.Lock();
    for (int n = 0; n < count; ++n)
        ASSERT_EQ(view[static_cast<std::size_t>(n)], numbered(n)) << n;
}

TEST_P(LogStoreSizes, NewestAreTheLastOnesOldestFirst) {
    const int count = GetParam();
    LogStore store;
    fill(store, count);
    for (const std::size_t asked :
         {std::size_t{1}, std::size_t{21}, std::size_t{4097}, std::size_t{100000}}) {
        const auto newest = store.Newest(asked);
        const std::size_t expected = std::min(asked, static_cast<std::size_t>(count));
        ASSERT_EQ(newest.size(), expected);
        for (std::size_t i = 0; i < expected; ++i)
            ASSERT_EQ(newest[i], numbered(count - static_cast<int>(expected) + static_cast<int>(i)));
    }
}

constexpr int kChunk = static_cast<int>(LogStore::kChunkSamples);
INSTANTIATE_TEST_SUITE_P(AroundChunks, LogStoreSizes,
                         ::testing::Values(1, 21, kChunk - 1, kChunk, kChunk + 1, 2 * kChunk + 20));

TEST(LogStore, GrowingNeverMovesStoredSamples) {
    LogStore store;
    fill(store, 10);
    const LogSample* first = nullptr;
    {
        auto view = store.Lock();
        first = &view[0];
    }
    fill(store, 3 * kChunk);
    auto view = store.Lock();
    EXPECT_EQ(&view[0], first);
    EXPECT_EQ(view[0], numbered(0));
}

TEST(LogStore, ClearEmptiesAndTheStoreGrowsAgain) {
    LogStore store;
    fill(store, kChunk + 5);
    store.Clear();
    EXPECT_EQ(store.Size(), 0u);
    EXPECT_TRUE(store.Newest(5).empty());
    fill(store, 3);
    EXPECT_EQ(store.Newest(5), (std::vector<LogSample>{numbered(0), numbered(1), numbered(2)}));
}

TEST(LogStore, ClearKeepsTheChunksItEmptiesForTheNextFill) {
    LogStore store;
    fill(store, 2 * kChunk + 1);
    const LogSample* first = nullptr;
    {
        auto view = store.Lock();
        first = &view[0];
    }
    store.Clear();
    EXPECT_EQ(store.Capacity(), 3 * LogStore::kChunkSamples);
    fill(store, 1);
    auto view = store.Lock();
    EXPECT_EQ(&view[0], first);
    EXPECT_EQ(view[0], numbered(0));
}

TEST(LogStore, ClearFreesTheChunksTheFillSinceTheLastClearLeftUnused) {
    LogStore store;
    fill(store, 3 * kChunk);
    store.Clear();
    fill(store, kChunk + 1);
    EXPECT_EQ(store.Capacity(), 3 * LogStore::kChunkSamples) << "the spare chunks wait for the next fill";
    store.Clear();
    EXPECT_EQ(store.Capacity(), 2 * LogStore::kChunkSamples);
    {
        auto view = store.Lock();
        view.Clear();
    }
    EXPECT_EQ(store.Capacity(), 0u) << "nothing was stored since the last clear";
}

TEST(LogStore, GrowGivesPiecesUpToEachChunksEndAndKeepsTheirOrder) {
    LogStore store;
    fill(store, kChunk - 2);
    {
        auto view = store.Lock();
        EXPECT_TRUE(view.Grow(0).empty());
        std::vector<std::size_t> pieces;
        for (std::size_t left = 5; left > 0;) {
            const std::span<LogSample> piece = view.Grow(left);
            const std::size_t at = view.Size() - piece.size();
            for (std::size_t i = 0; i < piece.size(); ++i)
                piece[i] = numbered(static_cast<int>(at + i));
            pieces.push_back(piece.size());
            left -= piece.size();
        }
        EXPECT_EQ(pieces, (std::vector<std::size_t>{2, 3}));
        EXPECT_EQ(view.Size(), static_cast<std::size_t>(kChunk + 3));
    }
    auto view = store.Lock();
    for (int n = 0; n < kChunk + 3; ++n)
        ASSERT_EQ(view[static_cast<std::size_t>(n)], numbered(n)) << n;
}

TEST(LogStore, PieceFromEndsAtItsChunkOrAtTheLastSample) {
    LogStore store;
    fill(store, kChunk + 10);
    auto view = store.Lock();
    EXPECT_EQ(view.PieceFrom(0).size(), LogStore::kChunkSamples);
    EXPECT_EQ(view.PieceFrom(kChunk - 1).size(), 1u);
    EXPECT_EQ(view.PieceFrom(kChunk - 1)[0], numbered(kChunk - 1));
    EXPECT_EQ(view.PieceFrom(kChunk).size(), 10u);
    EXPECT_EQ(view.PieceFrom(kChunk + 9)[0], numbered(kChunk + 9));
    EXPECT_TRUE(view.PieceFrom(kChunk + 10).empty());
}

TEST(LogStore, ViewRewritesAppendsAndClearsUnderOneLock) {
    LogStore store;
    fill(store, 3);
    {
        auto view = store.Lock();
        view[1][LogSeries::O2SM] = 77;
        view.Clear();
        view.Append(numbered(5));
        view.Append(numbered(6));
        view[1][LogSeries::LogCorr] = -4;
    }
    LogSample changed = numbered(6);
    changed[LogSeries::LogCorr] = -4;
    EXPECT_EQ(store.Newest(3), (std::vector<LogSample>{numbered(5), changed}));
}

// Under ThreadSanitizer this also shows that appends and copies share nothing unguarded.
TEST(LogStore, CopiesWhileAnotherThreadAppendsSeeWholeSamples) {
    LogStore store;
    constexpr int kAppends = 3 * kChunk;
    std::atomic<bool> done{false};
    std::thread appender([&] {
        fill(store, kAppends);
        done = true;
    });
    std::size_t lastSize = 0;
    while (!done) {
        const auto newest = store.Newest(21);
        ASSERT_GE(store.Size(), lastSize);
        lastSize = newest.size();
        for (std::size_t i = 1; i < newest.size(); ++i)
            ASSERT_EQ(newest[i][LogSeries::Converter], newest[i - 1][LogSeries::Converter] + 100);
        for (const LogSample& sample : newest)
            ASSERT_EQ(sample[LogSeries::LogCorr], sample[LogSeries::Converter] + 11);
    }
    appender.join();
    EXPECT_EQ(store.Size(), static_cast<std::size_t>(kAppends));
}
