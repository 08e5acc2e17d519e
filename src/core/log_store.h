#pragma once
// The live log: twelve series of int of equal length, one sample per live packet, behind one lock.
// The reader thread appends while the main thread ticks, draws, saves and loads. Samples live in
// fixed-size chunks, so growing never moves or copies what is stored and an append holds the lock
// only for the copy of one sample.

#include "log_sample.h"

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

class LogStore {
public:
    // 4096 samples (about 41 s of live data, 192 KiB) per chunk.
    static constexpr std::size_t kChunkSamples = 4096;

    class View;

    LogStore() = default;
    LogStore(const LogStore&) = delete;
    LogStore& operator=(const LogStore&) = delete;

    // Appends one sample of every series as one step. A new chunk is allocated outside the lock.
    void Append(const LogSample& sample);
    // Empties every series; the chunks are freed outside the lock.
    void Clear();
    std::size_t Size() const;
    // A copy of the newest min(count, Size()) samples, oldest first, taken under the lock.
    std::vector<LogSample> Newest(std::size_t count) const;
    // Holds the lock for a whole pass over the store (chart fill, save, load, smoothing). Appends of
    // the reader wait meanwhile, so keep it short; never call the store's own methods while holding it.
    View Lock();

private:
    using Chunk = std::array<LogSample, kChunkSamples>;

    bool fullLocked() const { return size == chunks.size() * kChunkSamples; }
    void appendLocked(const LogSample& sample);
    LogSample& atLocked(std::size_t index) const {
        return (*chunks[index / kChunkSamples])[index % kChunkSamples];
    }

    mutable std::mutex mutex;
    std::vector<std::unique_ptr<Chunk>> chunks;
    std::size_t size = 0;
};

// The store under its lock, for as long as the view lives.
class LogStore::View {
public:
    explicit View(LogStore& store) : store(&store), lock(store.mutex) {}

    std::size_t Size() const { return store->size; }
    // index < Size().
    const LogSample& operator[](std::size_t index) const { return store->atLocked(index); }
    LogSample& operator[](std::size_t index) { return store->atLocked(index); }
    void Append(const LogSample& sample);
    void Clear();

private:
    LogStore* store;
    std::unique_lock<std::mutex> lock;
};
