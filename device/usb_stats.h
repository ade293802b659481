// Link statistics: running counters written by the acquisition thread and
// the per-second copies that the timer takes and the display shows.
#pragma once

#include <atomic>
#include <cstdint>

namespace qx40 {

struct LinkCounters {
    std::int64_t FramesShown = 0;
    std::int64_t FramesAccepted = 0;
    std::int64_t StatusFrames = 0;
    std::int64_t ChecksumErrors = 0;
    std::int64_t LostBytes = 0;
    std::int64_t BytesReceived = 0;
    std::int64_t LargestQueue = 0;
};

class UsbStats {
public:
    std::atomic<std::int64_t> FramesShown{0};
    std::atomic<std::int64_t> FramesAccepted{0};
    std::atomic<std::int64_t> StatusFrames{0};
    std::atomic<std::int64_t> ChecksumErrors{0};
    std::atomic<std::int64_t> LostBytes{0};
    std::atomic<std::int64_t> BytesReceived{0};
    std::atomic<std::int64_t> LargestQueue{0};

    void RaiseLargestQueue(std::int64_t n) {
        std::int64_t seen = LargestQueue.load();
        while (n > seen && !LargestQueue.compare_exchange_weak(seen, n)) {
        }
    }
    // Once a second: the counters become the per-second copies and restart.
    void Tick() {
        perSecond_ = {FramesShown.exchange(0),    FramesAccepted.exchange(0), StatusFrames.exchange(0),
                      ChecksumErrors.exchange(0), LostBytes.exchange(0),      BytesReceived.exchange(0),
                      LargestQueue.exchange(0)};
    }
    // Main thread only.
    const LinkCounters& PerSecond() const { return perSecond_; }

private:
    LinkCounters perSecond_;
};

}  // namespace qx40
