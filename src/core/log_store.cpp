#include "log_store.h"

#include <algorithm>

void LogStore::Append(const LogSample& sample) {
    std::unique_lock lock(mutex);
    if (fullLocked()) {
        // The allocation is the only slow part of an append: keep it away from readers of the store.
        lock.unlock();
        auto chunk = std::make_unique_for_overwrite<Chunk>();
        lock.lock();
        if (fullLocked())
            chunks.push_back(std::move(chunk));
    }
    appendLocked(sample);
}

void LogStore::Clear() {
    std::vector<std::unique_ptr<Chunk>> released;
    {
        std::lock_guard lock(mutex);
        released.swap(chunks);
        size = 0;
    }
}

std::size_t LogStore::Size() const {
    std::lock_guard lock(mutex);
    return size;
}

std::vector<LogSample> LogStore::Newest(std::size_t count) const {
    std::vector<LogSample> newest;
    std::lock_guard lock(mutex);
    newest.reserve(std::min(count, size));
    std::size_t index = size - std::min(count, size);
    while (index < size) {
        const Chunk& chunk = *chunks[index / kChunkSamples];
        const std::size_t offset = index % kChunkSamples;
        const std::size_t take = std::min(kChunkSamples - offset, size - index);
        newest.insert(newest.end(), chunk.begin() + static_cast<std::ptrdiff_t>(offset),
                      chunk.begin() + static_cast<std::ptrdiff_t>(offset + take));
        index += take;
    }
    return newest;
}

LogStore::View LogStore::Lock() {
    return View(*this);
}

void LogStore::appendLocked(const LogSample& sample) {
    if (fullLocked())
        chunks.push_back(std::make_unique_for_overwrite<Chunk>());
    atLocked(size) = sample;
    ++size;
}

void LogStore::View::Append(const LogSample& sample) {
    store->appendLocked(sample);
}

void LogStore::View::Clear() {
    store->chunks.clear();
    store->size = 0;
}
