// A1 bytes of roll frames waiting for the recorder file. The acquisition
// thread fills it while decoding; the main thread drains it inside the
// display hand-over, while the thread waits, so the two never overlap.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace qx40 {

class RecorderQueue {
public:
    static constexpr std::size_t kCapacity = 65536;

    RecorderQueue() { bytes_.reserve(kCapacity); }

    // A byte that does not fit is dropped and counted; the queue never grows.
    void Append(std::uint8_t b) {
        if (bytes_.size() < kCapacity)
            bytes_.push_back(b);
        else
            ++dropped_;
    }
    std::span<const std::uint8_t> Pending() const { return bytes_; }
    std::size_t Count() const { return bytes_.size(); }
    // The drain: the pending bytes and the count of those dropped go together.
    void Clear() {
        bytes_.clear();
        dropped_ = 0;
    }
    // Bytes dropped since the last Clear; the recording then has a gap.
    std::uint64_t Dropped() const { return dropped_; }

    std::int32_t Last = -1;  // ring position up to which bytes were queued; -1: none yet

private:
    std::vector<std::uint8_t> bytes_;
    std::uint64_t dropped_ = 0;
};

}  // namespace qx40
