#include "app/cli/headless_scope.h"

#include <fstream>

#include "app/cli/cli_exit.h"
#include "app/cli/console_dialogs.h"
#include "files/settings_file.h"
#include "scope/model_features.h"
#include "scope/value_tables.h"

namespace qx40 {

namespace {
ScopeSessionConfig Config(std::span<const std::uint8_t> fpgaImage, bool placeholderImage) {
    ScopeSessionConfig c;
    c.programName = "qx40cli";
    c.fpgaImage = fpgaImage;
    c.placeholderImage = placeholderImage;
    return c;
}
}  // namespace

HeadlessScope::HeadlessScope(UsbLink& link, std::span<const std::uint8_t> fpgaImage, bool placeholderImage,
                             UserDialogs& dialogs, const std::string& programSettings)
    : session_(link, dialogs, *this, Config(fpgaImage, placeholderImage)) {
    // The window's calibration, so both programs put the zero lines alike;
    // the messages of a script stay English.
    ReadSettings(programSettings, SettingsKind::Program, session_.State());
    session_.State().Common.Russian = false;
    session_.Start();
}

HeadlessScope::~HeadlessScope() { session_.Stop(); }

void HeadlessScope::Wake() {
    std::lock_guard lock(wakeMutex_);
    pending_ = true;
    wake_.notify_all();
}

void HeadlessScope::RunLater(std::chrono::milliseconds delay, std::function<void()> fn) {
    timers_.emplace_back(std::chrono::steady_clock::now() + delay, std::move(fn));
}

void HeadlessScope::RunDueTimers() {
    const auto now = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < timers_.size();) {
        if (timers_[i].first > now) {
            ++i;
            continue;
        }
        std::function<void()> fn = std::move(timers_[i].second);
        timers_.erase(timers_.begin() + static_cast<std::ptrdiff_t>(i));
        fn();
    }
}

int HeadlessScope::LoadSettings(const std::string& path, std::string& error) {
    if (!std::ifstream(path)) {
        error = path + ": file not found";
        return kExitFile;
    }
    const SettingsRefusal refusal = ReadSettings(path, SettingsKind::User, session_.State());
    if (refusal != SettingsRefusal::None) {
        error = ConsoleDialogs::OneLine(SettingsRefusalMessage(refusal, path, false).text);
        return kExitUsage;
    }
    ApplyModelFeatures(session_.State());
    session_.ApplyAndRestart();
    return kExitOk;
}

bool HeadlessScope::GeneratorOn(std::string& error) {
    ScopeState& s = session_.State();
    if (!HasFeature(s.System.Device_Type_Code, feature::kGenerator)) {
        error = "the " + ModelName(s.System.Device_Type_Code) + " has no generator";
        return false;
    }
    s.Generator.GenOn = true;
    session_.ApplyAndRestart();
    return true;
}

bool HeadlessScope::Open(std::string& error) {
    // As the window's first paint does; the placeholder image is refused
    // for real hardware by closing the device again.
    bool opened = false;
    UsbStatus status = kUsbOk;
    session_.OpenOnFirstPaint([&](UsbStatus s) {
        status = s;
        opened = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!opened && std::chrono::steady_clock::now() < deadline) {
        session_.Serve();
        RunDueTimers();
        std::unique_lock lock(wakeMutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(20), [this] { return pending_; });
        pending_ = false;
    }
    if (!opened || status != kUsbOk) {
        error = status == kUsbDeviceNotFound || !opened
                    ? "device not found"
                    : "cannot open the device (status " + std::to_string(status) + ")";
        return false;
    }
    if (session_.Handle().Get() == kNoHandle) {
        error = "refused to send the built-in placeholder FPGA image to a real instrument; "
                "put the maker's image in qx40_fpga.bin or pass --fpga-image";
        return false;
    }
    return true;
}

void HeadlessScope::Press(RunButton button) {
    if (session_.State().View.Run == button) return;
    if (button == RunButton::None)
        session_.PressRun(session_.State().View.Run);  // releases the one down
    else
        session_.PressRun(button);
}

std::string HeadlessScope::LinkFailure() {
    const LinkFlags& f = session_.Shared().flags;
    if (f.ErrUsbLost) return "USB connection lost (error code 1)";
    if (f.ErrNoStatus) return "no answer from the instrument's microcontroller (error code 6)";
    if (f.ErrFpgaConfig) return "FPGA configuration failed (error code 2)";
    if (f.ErrPower) return "instrument power failure (error code 3)";
    if (f.ErrFpgaLost) return "FPGA configuration lost (error code 4)";
    const UsbStatus status = session_.Handle().Use([&](UsbHandle h) {
        std::uint32_t rx = 0;
        return session_.Link().GetQueueStatus(h, rx);
    });
    if (status != kUsbOk) return "USB connection lost (status " + std::to_string(status) + ")";
    return {};
}

bool HeadlessScope::WaitFor(const std::function<bool()>& done, std::chrono::steady_clock::time_point deadline,
                            std::string& error) {
    auto nextCheck = std::chrono::steady_clock::now();
    for (;;) {
        session_.Serve();
        RunDueTimers();
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

bool HeadlessScope::WaitSent(std::chrono::steady_clock::time_point deadline, std::string& error) {
    return WaitFor([this] { return !session_.Shared().flags.SettingsDirty; }, deadline, error);
}

}  // namespace qx40
