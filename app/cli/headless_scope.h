// The instrument without a window: the scope state, the link, the
// acquisition thread and the device session, with the calling thread as
// the main thread. Used by the command-line tool.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>

#include "device/acquisition_thread.h"
#include "device/device_session.h"
#include "scope/record_levels.h"
#include "scope/scope_model.h"
#include "base/user_dialogs.h"

namespace qx40 {

class HeadlessScope {
public:
    HeadlessScope(UsbLink& link, std::span<const std::uint8_t> fpgaImage, bool placeholderImage,
                  UserDialogs& dialogs);
    ~HeadlessScope();

    ScopeModel& Model() { return model_; }
    SampleRecord& MainRecord() { return main_; }
    SharedLink& Shared() { return shared_; }

    // A user settings file applied as opening it in the window would.
    bool LoadSettings(const std::string& path, std::string& error);
    // Opens the instrument and starts the FPGA load; false with the reason.
    bool Open(std::string& error);
    // Presses RUN or SINGLE (None releases both) and applies.
    void Press(RunButton button);
    // Serves the acquisition thread's hand-overs until done() is true, the
    // deadline passes (false, "timeout") or the link fails (false, reason).
    bool WaitFor(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline,
                 std::string& error);
    // Frames the main record received since the start.
    int FramesShown() const { return framesShown_; }
    void Stop();

private:
    std::string LinkFailure();

    UsbLink& link_;
    ScopeModel model_;
    RecordLevels background_;
    SharedLink shared_;
    UsbStats stats_;
    DeviceHandle handle_;
    SampleRecord main_;
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool pending_ = false;
    MainThreadQueue queue_;
    std::unique_ptr<DeviceSession> session_;
    std::unique_ptr<AcquisitionThread> thread_;
    std::int32_t lastFrame_ = 0;
    int framesShown_ = 0;
};

}  // namespace qx40
