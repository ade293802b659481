// One running instrument as a front end holds it: the scope state, the
// register image, the main and background records, the flags and statistics
// shared with the acquisition thread, the device handle and session, the
// hand-over queue and the thread itself, with start, stop and the apply
// operations. The window and every qx40cli command hold one; tests build
// their own.
//
// The main thread is whichever thread serves the session. It owns the run
// state: the acquisition thread only signals (a finished single shot, a
// failure) and the session acts on it there. Nothing modal runs inside the
// blocking hand-over: what the display step wants to ask is deferred until
// the hand-over has ended.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "base/user_dialogs.h"
#include "calibration/calibration_port.h"
#include "device/acquisition_thread.h"
#include "device/background_record.h"
#include "device/device_session.h"
#include "device/main_thread_queue.h"
#include "device/shared_link.h"
#include "device/usb_stats.h"
#include "scope/record_levels.h"
#include "scope/scope_model.h"

namespace qx40 {

// What a front end does for its session. Wake may come from any thread;
// everything else comes on the main thread.
class SessionFrontEnd {
public:
    virtual ~SessionFrontEnd() = default;
    // Call ScopeSession::Serve on the main thread soon.
    virtual void Wake() = 0;
    // Call fn on the main thread once delay has passed, without blocking it.
    virtual void RunLater(std::chrono::milliseconds delay, std::function<void()> fn) = 0;
    // The display step, inside the hand-over: show the main record.
    virtual void RefreshScreen() {}
    // A status frame arrived: the activity indicator only.
    virtual void DrawIndicator() {}
    // The session changed the state (an apply, a button it released): the
    // controls follow.
    virtual void StateApplied() {}
    // RUN or SINGLE was pressed with a working link: the next frame of another
    // model may be asked about.
    virtual void ArmModelQuestion() {}
};

struct ScopeSessionConfig {
    std::string programName = "qx40";  // caption of the diagnostic boxes
    std::span<const std::uint8_t> fpgaImage;
    bool placeholderImage = false;  // the built-in stand-in, which real hardware must not get
    SleepFunction threadSleep;      // the acquisition thread's waits; empty for the real clock
};

// A new frame of the instrument, inside the hand-over.
using FrameObserver = std::function<void(const SampleRecord&)>;

class ScopeSession : public CalibrationPort {
public:
    ScopeSession(UsbLink& link, UserDialogs& dialogs, SessionFrontEnd& frontEnd, ScopeSessionConfig config);
    ~ScopeSession() override;
    ScopeSession(const ScopeSession&) = delete;
    ScopeSession& operator=(const ScopeSession&) = delete;

    // Builds the register image and starts the acquisition thread; the device
    // stays closed.
    void Start();
    // Stops the thread (serving its last hand-over), closes the device and
    // ends a listing under way. No USB call follows; Serve does nothing after.
    void Stop();
    bool Stopped() const { return stopped_; }

    // Main thread, when woken: runs the hand-overs the thread waits for, then
    // what they deferred and what a listing sent back. Never re-entered.
    void Serve();
    // Runs fn on the main thread once the current hand-over has ended (at the
    // next Serve when called outside one).
    void Defer(std::function<void()> fn);
    // Inside the hand-over or what it deferred: the display step is running.
    bool InDisplayStep() const { return inHandOver_ || runningDeferred_; }
    bool InHandOver() const { return inHandOver_; }

    // The two apply operations: ApplyAndRestart when the instrument must see
    // the change, ApplySettings when only the view does.
    void ApplySettings();
    void ApplyAndRestart() override;
    // Runs the instrument with the register image as it stands, not rebuilt
    // from the state: a calibration programs the acquisition itself.
    void SendRegisters() override;
    // The next settings sent carry these TDC constants (rise D1, fall D1,
    // rise D2, fall D2) into the instrument's calibration memory.
    void RequestTdcWrite(const TdcBytes& tdc);

    // Called inside the hand-over with the main record, once for each new
    // frame of the instrument taken with the settings last sent (a frame that
    // arrives while newer settings wait to go out is not passed on). It must
    // not open anything modal; it may replace or clear itself. Empty: none.
    void SetFrameObserver(FrameObserver observer) { frameObserver_ = std::move(observer); }

    // The device. Opening lists the devices away from the main thread.
    void OpenOnFirstPaint(std::function<void(UsbStatus)> done = {});
    // RUN or SINGLE clicked: toggles it (the other one goes up) and opens the
    // device again when it was lost.
    void PressRun(RunButton button);
    void PressGeneratorOn();
    // Once a second: statistics, link supervision, recovery questions.
    void Timer1Timer() { device_->Timer1Timer(); }

    // The recorder's bytes: write runs inside the display hand-over with the
    // A1 bytes the acquisition thread queued from roll frames since the last
    // one, and the count it had to drop. Set and cleared on the main thread;
    // clearing also ends the queueing (RecorderActive), so no byte is queued
    // that nobody writes.
    using RecorderWrite = std::function<void(std::span<const std::uint8_t> bytes, std::uint64_t lost)>;
    void SetRecorderSink(RecorderWrite write);

    // The records.
    void ClearMainRecord();
    void ClearBackgroundRecord();
    // Main and background exchange records, levels and names; false when
    // neither holds data.
    bool SwapWithBackground();
    // The main record now shows the data file of that name (without folder):
    // it was loaded from it or saved to it.
    void ShowFile(std::string name);
    const RecordFile& MainFile() const { return mainFile_; }
    const RecordFile& BackgroundFile() const { return backgroundFile_; }
    // Frames the main record took from the instrument since the start.
    std::int32_t FramesShown() const { return framesShown_; }

    // Held while a handler works or a message box is open: a second copy of
    // the program then hands nothing over.
    bool Busy() const { return busy_ > 0 || InDisplayStep(); }
    void SetBusy(bool on) { busy_ += on ? 1 : -1; }
    class BusyHold {
    public:
        explicit BusyHold(ScopeSession& s) : s_(s) { s_.SetBusy(true); }
        ~BusyHold() { s_.SetBusy(false); }
        BusyHold(const BusyHold&) = delete;
        BusyHold& operator=(const BusyHold&) = delete;

    private:
        ScopeSession& s_;
    };

    ScopeModel& Model() override { return model_; }
    // What the instrument reported about itself (0 until it has).
    std::int32_t ReportedModelCode() const override { return shared_.facts.Get().DeviceTypeReported; }
    ScopeState& State() { return model_.state; }
    const ScopeState& State() const { return model_.state; }
    SampleRecord& MainRecord() { return main_; }
    SampleRecord& BackgroundRecord() { return background_; }
    RecordLevels& BackgroundLevels() { return backgroundLevels_; }
    SharedLink& Shared() { return shared_; }
    UsbStats& Stats() { return stats_; }
    UsbLink& Link() { return link_; }
    DeviceHandle& Handle() { return handle_; }
    DeviceSession& Device() { return *device_; }
    AcquisitionThread& Thread() { return *thread_; }
    UserDialogs& Dialogs() { return dialogs_; }

private:
    void Post(std::function<void()> fn);  // any thread
    void Offload(std::function<DeviceListing()> list, std::function<void(DeviceListing)> done);
    void HandOverRefresh();
    void SingleShotDone();
    void ReleaseButton(DeviceButton b);

    UsbLink& link_;
    UserDialogs& dialogs_;
    SessionFrontEnd& frontEnd_;
    ScopeSessionConfig config_;

    ScopeModel model_;
    RecordLevels backgroundLevels_;
    SampleRecord main_;
    SampleRecord background_;
    RecordFile mainFile_;  // fromFile mirrors ShowingFile
    RecordFile backgroundFile_;
    SharedLink shared_;
    UsbStats stats_;
    DeviceHandle handle_;
    MainThreadQueue queue_;
    std::unique_ptr<DeviceSession> device_;
    std::unique_ptr<AcquisitionThread> thread_;
    RecorderWrite recorderWrite_;

    std::mutex postMutex_;
    std::deque<std::function<void()>> posted_;    // from a listing thread
    std::deque<std::function<void()>> deferred_;  // until the hand-over has ended
    std::thread lister_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // false once stopped
    bool inHandOver_ = false;
    bool runningDeferred_ = false;
    bool stopped_ = false;
    int busy_ = 0;
    std::int32_t framesShown_ = 0;
    std::int32_t lastFrameCounter_ = 0;
    FrameObserver frameObserver_;
};

}  // namespace qx40
