#include "app/cli/headless_scope.h"

#include <fstream>
#include <thread>

#include "app/cli/console_dialogs.h"
#include "device/apply_operations.h"
#include "scope/model_features.h"
#include "files/settings_file.h"

namespace qx40 {

namespace {
void Sleep(std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); }
}  // namespace

HeadlessScope::HeadlessScope(UsbLink& link, std::span<const std::uint8_t> fpgaImage, bool placeholderImage,
                             UserDialogs& dialogs)
    : link_(link), queue_([this] {
          std::lock_guard lock(wakeMutex_);
          pending_ = true;
          wake_.notify_all();
      }) {
    // The calibration a missing program settings file gives.
    ReadSettings("", SettingsKind::Program, model_.state);
    model_.state.Common.Russian = false;
    SessionHooks hooks;
    hooks.applyAndRestart = [this] { ApplyAndRestart(model_, background_, shared_); };
    hooks.applySettings = [this] { ApplySettings(model_, background_, shared_); };
    hooks.releaseButton = [this](DeviceButton b) {
        if (b != DeviceButton::GenOn) model_.state.View.Run = RunButton::None;
    };
    session_ = std::make_unique<DeviceSession>(link, handle_, shared_, stats_, dialogs, model_.state, "qx40cli",
                                               placeholderImage, hooks, Sleep);
    MainThreadSteps steps;
    steps.refreshScreen = [this] {
        if (main_.HasData() && main_.Info[fi::FrameCounter] != lastFrame_) {
            lastFrame_ = main_.Info[fi::FrameCounter];
            ++framesShown_;
        }
    };
    steps.singleShotDone = [this] { model_.state.View.Run = RunButton::None; };
    thread_ = std::make_unique<AcquisitionThread>(link, handle_, shared_, stats_, main_, queue_, steps, fpgaImage,
                                                  Sleep);
    ApplySettings(model_, background_, shared_);
    thread_->Start();
}

HeadlessScope::~HeadlessScope() { Stop(); }

void HeadlessScope::Stop() {
    if (thread_) thread_->Stop();
    queue_.Close();
    if (session_) session_->CloseDevice();
}

bool HeadlessScope::LoadSettings(const std::string& path, std::string& error) {
    if (!std::ifstream(path)) {
        error = path + ": file not found";
        return false;
    }
    const SettingsRefusal refusal = ReadSettings(path, SettingsKind::User, model_.state);
    if (refusal != SettingsRefusal::None) {
        error = ConsoleDialogs::OneLine(SettingsRefusalMessage(refusal, path, false).text);
        return false;
    }
    ApplyModelFeatures(model_.state);
    ApplyAndRestart(model_, background_, shared_);
    return true;
}

bool HeadlessScope::Open(std::string& error) {
    // As the window's first paint does; the placeholder image is refused
    // for real hardware by closing the device again.
    const UsbStatus status = session_->OpenOnFirstPaint();
    if (status != kUsbOk) {
        error = status == kUsbDeviceNotFound ? "device not found" : "cannot open the device (status " + std::to_string(status) + ")";
        return false;
    }
    if (handle_.Get() == kNoHandle) {
        error = "refused to send the built-in placeholder FPGA image to a real instrument; "
                "put the maker's image in qx40_fpga.bin or pass --fpga-image";
        return false;
    }
    return true;
}

void HeadlessScope::Press(RunButton button) {
    model_.state.View.Run = button;
    ApplyAndRestart(model_, background_, shared_);
}

std::string HeadlessScope::LinkFailure() {
    const LinkFlags& f = shared_.flags;
    if (f.ErrUsbLost) return "USB connection lost (error code 1)";
    if (f.ErrNoStatus) return "no answer from the instrument's microcontroller (error code 6)";
    if (f.ErrFpgaConfig) return "FPGA configuration failed (error code 2)";
    if (f.ErrPower) return "instrument power failure (error code 3)";
    if (f.ErrFpgaLost) return "FPGA configuration lost (error code 4)";
    const UsbStatus status = handle_.Use([&](UsbHandle h) {
        std::uint32_t rx = 0;
        return link_.GetQueueStatus(h, rx);
    });
    if (status != kUsbOk) return "USB connection lost (status " + std::to_string(status) + ")";
    return {};
}

bool HeadlessScope::WaitFor(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline,
                            std::string& error) {
    auto nextCheck = std::chrono::steady_clock::now();
    for (;;) {
        queue_.Drain();
        if (done()) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            // A failed link explains the missing frames better than the time.
            error = LinkFailure();
            if (error.empty()) error = "timeout";
            return false;
        }
        if (now >= nextCheck) {
            nextCheck = now + std::chrono::seconds(1);
            if (error = LinkFailure(); !error.empty()) return false;
        }
        std::unique_lock lock(wakeMutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return pending_; });
        pending_ = false;
    }
}

}  // namespace qx40
