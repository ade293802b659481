// The receive queue between a link's reader thread and the callers of Read:
// a fixed ring of bytes that never overwrites. When it is full the reader
// waits for room instead of dropping bytes, so a TCP peer is held back by
// flow control and nothing is lost without a trace. A purge (Clear) also
// voids the batch the reader was fetching when it came, through the epoch
// the reader took with its room: bytes received before a purge never
// appear after it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace qx40 {

class ByteRing {
public:
    struct Room {
        std::size_t bytes = 0;    // free bytes
        std::uint64_t epoch = 0;  // changes with every Clear
    };

    explicit ByteRing(std::size_t capacity);
    ByteRing(const ByteRing&) = delete;
    ByteRing& operator=(const ByteRing&) = delete;

    // Waits until at least `atLeast` bytes are free (at most the capacity).
    Room WaitForRoom(std::size_t atLeast = 1);
    Room FreeRoom() const;
    // Stores what fits of `data`, nothing when the ring was cleared since
    // `epoch` was taken; returns the bytes stored.
    std::size_t Append(const std::uint8_t* data, std::size_t length, std::uint64_t epoch);
    // Moves up to `length` of the oldest bytes to `out`; returns how many.
    std::size_t Take(std::uint8_t* out, std::size_t length);
    void Clear();
    std::size_t Size() const;
    std::size_t Capacity() const { return storage_.size(); }

private:
    mutable std::mutex mutex_;
    std::condition_variable room_;
    std::vector<std::uint8_t> storage_;
    std::size_t head_ = 0;  // oldest byte
    std::size_t size_ = 0;
    std::uint64_t epoch_ = 0;
};

}  // namespace qx40
