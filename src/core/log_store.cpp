#include "log_store.h"

#include <algorithm>
#include <iterator>

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
    Chunks released;
    {
        std::lock_guard lock(mutex);
        released = emptyLocked();
    }
}

std::size_t LogStore::Size() const {
    std::lock_guard lock(mutex);
    return size;
}

std::size_t LogStore::Capacity() const {
    std::lock_guard lock(mutex);
    return chunks.size() * kChunkSamples;
}

std::vector<LogSample> LogStore::Newest(std::size_t count) const {
    std::vector<LogSample> newest;
    std::lock_guard lock(mutex);
    newest.reserve(std::min(count, size));
    for (std::size_t index = size - std::min(count, size); index < size;) {
        const std::span<const LogSample> piece = pieceLocked(index);
        newest.insert(newest.end(), piece.begin(), piece.end());
        index += piece.size();
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

std::span<LogSample> LogStore::growLocked(std::size_t count) {
    if (count == 0)
        return {};
    if (fullLocked())
        chunks.push_back(std::make_unique_for_overwrite<Chunk>());
    const std::size_t offset = size % kChunkSamples;
    const std::size_t taken = std::min(count, kChunkSamples - offset);
    const std::span<LogSample> piece(chunks[size / kChunkSamples]->data() + offset, taken);
    size += taken;
    return piece;
}

LogStore::Chunks LogStore::emptyLocked() {
    const auto used = static_cast<std::ptrdiff_t>((size + kChunkSamples - 1) / kChunkSamples);
    Chunks unused(std::make_move_iterator(chunks.begin() + used), std::make_move_iterator(chunks.end()));
    chunks.erase(chunks.begin() + used, chunks.end());
    size = 0;
    return unused;
}

std::span<LogSample> LogStore::pieceLocked(std::size_t first) const {
    if (first >= size)
        return {};
    const std::size_t offset = first % kChunkSamples;
    return {chunks[first / kChunkSamples]->data() + offset, std::min(kChunkSamples - offset, size - first)};
}

void LogStore::View::Append(const LogSample& sample) {
    store->appendLocked(sample);
}

void LogStore::View::Clear() {
    // Under the lock the view holds: the unused chunks are freed here.
    store->emptyLocked();
}
