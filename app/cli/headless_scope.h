// The instrument without a window: a ScopeSession whose main thread is the
// calling thread, which serves it while it waits. Used by qx40cli.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/user_dialogs.h"
#include "device/scope_session.h"

namespace qx40 {

class HeadlessScope : public SessionFrontEnd {
public:
    // programSettings: the program settings file the window keeps (its
    // calibration sets the offset codes); empty or missing reads as defaults.
    HeadlessScope(UsbLink& link, std::span<const std::uint8_t> fpgaImage, bool placeholderImage,
                  UserDialogs& dialogs, const std::string& programSettings = "");
    ~HeadlessScope() override;

    ScopeSession& Session() { return session_; }
    ScopeModel& Model() { return session_.Model(); }
    SampleRecord& MainRecord() { return session_.MainRecord(); }
    SharedLink& Shared() { return session_.Shared(); }

    // A user settings file applied as opening it in the window would:
    // kExitOk, or with the reason in error kExitFile for a file that cannot
    // be read and kExitUsage for one that is refused.
    int LoadSettings(const std::string& path, std::string& error);
    // Switches the generator output on, as its ON button does; false with the
    // reason when the model has no generator.
    bool GeneratorOn(std::string& error);
    // Opens the instrument and starts the FPGA load; false with the reason.
    bool Open(std::string& error);
    // Presses RUN or SINGLE as the window's buttons do (None releases both).
    void Press(RunButton button);
    // Serves the session until done() is true, the deadline passes (false,
    // "timeout") or the link fails (false, the reason).
    bool WaitFor(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline,
                 std::string& error);
    // Waits until the settings last applied have gone out to the instrument.
    bool WaitSent(std::chrono::steady_clock::time_point deadline, std::string& error);
    int FramesShown() const { return session_.FramesShown(); }
    void Stop() { session_.Stop(); }

    void Wake() override;
    void RunLater(std::chrono::milliseconds delay, std::function<void()> fn) override;

private:
    std::string LinkFailure();
    void RunDueTimers();

    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool pending_ = false;
    std::vector<std::pair<std::chrono::steady_clock::time_point, std::function<void()>>> timers_;
    ScopeSession session_;  // last: its thread stops before the members above go
};

}  // namespace qx40
