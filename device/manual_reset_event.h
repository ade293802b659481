// An event that stays signalled until it is reset, like the platform's
// manual-reset events. Set notifies while holding the mutex, so a waiter
// between its check and its wait cannot miss the wake-up.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qx40 {

class ManualResetEvent {
public:
    explicit ManualResetEvent(bool initiallySet = false) : set_(initiallySet) {}

    void Set() {
        std::lock_guard lock(mutex_);
        set_ = true;
        cv_.notify_all();
    }
    void Reset() {
        std::lock_guard lock(mutex_);
        set_ = false;
    }
    bool IsSet() const {
        std::lock_guard lock(mutex_);
        return set_;
    }
    // True when the event was signalled within the timeout.
    bool Wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, timeout, [this] { return set_; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool set_;
};

}  // namespace qx40
