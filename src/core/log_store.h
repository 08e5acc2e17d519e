#pragma once
// The live log: twelve series of int of equal length, one sample per live packet, behind one lock.
// The reader thread appends while the main thread ticks, draws, saves and loads. Samples live in
// fixed-size chunks, so growing never moves or copies what is stored and an append holds the lock
// only for the copy of one sample. An emptied store keeps the chunks it held for the next fill (a log
// loaded again, a new run) and frees those the fill since the previous emptying left unused, so it
// never holds more than its content or the content it had before it was last emptied, whichever is
// larger.

#include "log_sample.h"

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <span>
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
    // Empties every series, keeping chunks for the next fill as above; those it frees are freed
    // outside the lock.
    void Clear();
    std::size_t Size() const;
    // The samples the store can hold without allocating.
    std::size_t Capacity() const;
    // A copy of the newest min(count, Size()) samples, oldest first, taken under the lock.
    std::vector<LogSample> Newest(std::size_t count) const;
    // Holds the lock for a whole pass over the store (chart fill, save, load, smoothing). Appends of
    // the reader wait meanwhile, so keep it short; never call the store's own methods while holding it.
    View Lock();

private:
    using Chunk = std::array<LogSample, kChunkSamples>;
    using Chunks = std::vector<std::unique_ptr<Chunk>>;

    bool fullLocked() const { return size == chunks.size() * kChunkSamples; }
    void appendLocked(const LogSample& sample);
    std::span<LogSample> growLocked(std::size_t count);
    // Empties the store and keeps the chunks its samples used; gives back the others (no sample has
    // used them since the last emptying) for the caller to free.
    Chunks emptyLocked();
    std::span<LogSample> pieceLocked(std::size_t first) const;
    LogSample& atLocked(std::size_t index) const {
        return (*chunks[index / kChunkSamples])[index % kChunkSamples];
    }

    mutable std::mutex mutex;
    Chunks chunks; // those past the last sample are kept for reuse
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
    // Appends up to count samples that lie together in memory (up to the end of the chunk the next
    // sample goes in) and gives them to the caller, who must write every one: they hold no set values
    // yet. At least one when count > 0. Loads fill the store this way, a chunk at a time.
    std::span<LogSample> Grow(std::size_t count) { return store->growLocked(count); }
    // The samples from first on that lie together in memory: up to the end of first's chunk or of the
    // store. Empty when first >= Size().
    std::span<const LogSample> PieceFrom(std::size_t first) const { return store->pieceLocked(first); }
    void Clear();

private:
    LogStore* store;
    std::unique_lock<std::mutex> lock;
};
