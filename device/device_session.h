// The instrument as a USB device: finding and opening it, reopening it when
// RUN, SINGLE or the generator ON button finds it lost, supervising the link
// once a second and offering recovery after the failures the acquisition
// thread reports.
#pragma once

#include <functional>
#include <string>

#include "device/command_sender.h"
#include "device/device_handle.h"
#include "scope/scope_state.h"
#include "device/shared_link.h"
#include "device/usb/usb_link.h"
#include "device/usb_stats.h"
#include "base/user_dialogs.h"

namespace qx40 {

inline constexpr const char* kInstrumentDescription = "Digital Oscilloscope QX40";
inline constexpr const char* kOlderModelDescription = "Digital Oscilloscope";

enum class DeviceButton { Run, Single, GenOn };

// What the session asks of the window; every hook runs on the main thread.
struct SessionHooks {
    std::function<void(bool)> setBusy;                // the single-instance busy flag
    std::function<void()> applyAndRestart;
    std::function<void()> applySettings;
    std::function<void(DeviceButton)> releaseButton;  // spring the button back up
    std::function<void()> armModelQuestion;           // a frame of another model may be asked about
};

class DeviceSession {
public:
    // state is read for Debug_qx and the language at the moment a message is
    // shown; placeholderImage: the FPGA image to send is the built-in stand-in,
    // which a real instrument must not get.
    DeviceSession(UsbLink& link, DeviceHandle& handle, SharedLink& shared, UsbStats& stats, UserDialogs& dialogs,
                  const ScopeState& state, std::string programName, bool placeholderImage, SessionHooks hooks,
                  SleepFunction sleep);

    // Enumerates, chooses, opens and configures; returns a D2XX status.
    UsbStatus OpenDevice();
    void ShowUsbError(UsbStatus status);

    // First paint of the window: open silently and start the FPGA load.
    // Returns the open's status.
    UsbStatus OpenOnFirstPaint();
    // RUN, SINGLE or generator ON was clicked; down is its new state. Checks
    // the link and reopens it when lost; on failure the button is released.
    void ButtonClicked(DeviceButton button, bool down);
    // Once a second: statistics, link check, warnings and recovery questions.
    void Timer1Timer();
    void ReconnectDevice();
    void CloseDevice();

    std::string PlaceholderMessage() const;

private:
    UsbStatus QueueStatus();
    // After a successful open: refuse the placeholder image for real hardware,
    // else request the FPGA load.
    bool StartFpgaLoad();
    void ClearFailures();
    MessageAnswer Ask(const std::string& caption, const std::string& text, MessageIcon icon,
                      MessageButtons buttons);
    bool Russian() const { return state_.Common.Russian; }
    void Busy(bool on) {
        if (hooks_.setBusy) hooks_.setBusy(on);
    }

    UsbLink& link_;
    DeviceHandle& handle_;
    SharedLink& shared_;
    UsbStats& stats_;
    UserDialogs& dialogs_;
    const ScopeState& state_;
    std::string programName_;
    bool placeholderImage_;
    SessionHooks hooks_;
    SleepFunction sleep_;
    bool tickRunning_ = false;
};

}  // namespace qx40
