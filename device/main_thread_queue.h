// The acquisition thread's blocking hand-over to the main thread: the
// worker queues a step and waits until the main thread has run it. The main
// thread runs queued steps when notified, and also while it waits for the
// worker to stop, so stopping never deadlocks on a pending hand-over.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace qx40 {

class MainThreadQueue {
public:
    // notify is called from the worker; it must make the main thread call
    // Drain soon (a queued event in the window, a loop in a command-line tool).
    explicit MainThreadQueue(std::function<void()> notify) : notify_(std::move(notify)) {}

    // Worker side: runs task on the main thread and returns when it has run
    // (or when the queue was closed).
    void RunBlocking(std::function<void()> task);

    // Main thread: runs every queued step.
    void Drain();

    // Main thread: runs what is queued, then refuses further steps and
    // releases any worker still waiting.
    void Close();

private:
    struct Item {
        std::function<void()> task;
        bool done = false;
    };
    std::mutex mutex_;
    std::condition_variable doneCv_;
    std::deque<Item*> pending_;
    bool closed_ = false;
    std::function<void()> notify_;
};

}  // namespace qx40
