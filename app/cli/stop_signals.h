// SIGINT and SIGTERM as a request to stop, for a command that runs until it
// is told to. The signals are blocked and read from a signalfd where the
// command waits, so no handler and no global is involved.
#pragma once

namespace qx40 {

class StopSignals {
public:
    // Blocks both signals in the calling thread. Construct it before any
    // other thread starts: threads inherit the mask, and a thread that left
    // them unblocked would take them and end the program at once.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // True once either signal has arrived. The first one taken unblocks
    // them in this thread again, so a second one ends the program as usual.
    bool Requested();

private:
    int fd_ = -1;
    bool requested_ = false;
};

}  // namespace qx40
