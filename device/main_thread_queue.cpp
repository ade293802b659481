#include "device/main_thread_queue.h"

namespace qx40 {

void MainThreadQueue::RunBlocking(std::function<void()> task) {
    Item item{std::move(task)};
    {
        std::lock_guard lock(mutex_);
        if (closed_) return;
        pending_.push_back(&item);
    }
    if (notify_) notify_();
    std::unique_lock lock(mutex_);
    doneCv_.wait(lock, [&] { return item.done || closed_; });
    // Closed while queued: take it back out before it goes out of scope.
    std::erase(pending_, &item);
}

void MainThreadQueue::Drain() {
    for (;;) {
        Item* item;
        {
            std::lock_guard lock(mutex_);
            if (pending_.empty()) return;
            item = pending_.front();
            pending_.pop_front();
        }
        item->task();
        std::lock_guard lock(mutex_);
        item->done = true;
        doneCv_.notify_all();
    }
}

void MainThreadQueue::Close() {
    Drain();
    std::lock_guard lock(mutex_);
    closed_ = true;
    doneCv_.notify_all();
}

}  // namespace qx40
