// The instrument as a USB device: finding and opening it, reopening it when
// RUN, SINGLE or the generator ON button finds it lost, supervising the link
// once a second and offering recovery after the failures the acquisition
// thread reports.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

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

// What enumeration found: one entry per listed device whose location and
// description could be read.
struct ListedDevice {
    std::uint32_t index = 0;
    std::uint32_t location = 0;
    std::string description;
};
struct DeviceListing {
    UsbStatus status = kUsbOk;  // of the count; anything else ends the open
    std::uint32_t count = 0;
    std::vector<ListedDevice> devices;
};

// Lists the devices of a link. May block (a TCP link connects), so the
// session runs it away from the main thread.
DeviceListing ListDevices(UsbLink& link);

// Runs list away from the main thread, then done with its result on the main
// thread.
using ListingOffload =
    std::function<void(std::function<DeviceListing()> list, std::function<void(DeviceListing)> done)>;

// What the session asks of its owner; every hook runs on the main thread.
struct SessionHooks {
    std::function<void(bool)> setBusy;                // the single-instance busy flag
    std::function<void()> applyAndRestart;
    std::function<void()> applySettings;
    std::function<void(DeviceButton)> releaseButton;  // spring the button back up
    std::function<void()> armModelQuestion;           // a frame of another model may be asked about
    // Runs fn on the main thread once delay has passed, without blocking it.
    std::function<void(std::chrono::milliseconds, std::function<void()>)> runLater;
    ListingOffload offload;
};

class DeviceSession {
public:
    // state is read for Debug_qx and the language at the moment a message is
    // shown; placeholderImage: the FPGA image to send is the built-in stand-in,
    // which a real instrument must not get.
    DeviceSession(UsbLink& link, DeviceHandle& handle, SharedLink& shared, UsbStats& stats, UserDialogs& dialogs,
                  const ScopeState& state, std::string programName, bool placeholderImage, SessionHooks hooks);

    // Enumerates, chooses, opens and configures; returns a D2XX status.
    // Blocks while the link lists its devices.
    UsbStatus OpenDevice();
    // The same from a listing made beforehand: the questions, the open and
    // the line settings, on the main thread. A line setting the bridge
    // refuses closes the device again and is returned.
    UsbStatus OpenListed(const DeviceListing& listing);
    // Lists through the offload hook, then opens on the main thread and
    // calls done with the status. Busy meanwhile.
    void OpenDeviceThen(std::function<void(UsbStatus)> done);
    bool Opening() const { return opening_; }
    void ShowUsbError(UsbStatus status);

    // First paint of the window: open silently and start the FPGA load;
    // done gets the open's status.
    void OpenOnFirstPaint(std::function<void(UsbStatus)> done = {});
    // RUN, SINGLE or generator ON was clicked; down is its new state. Checks
    // the link and reopens it when lost; on failure the button is released.
    void ButtonClicked(DeviceButton button, bool down);
    // Once a second: statistics, link check, warnings and recovery questions.
    void Timer1Timer();
    // Resets and closes the port, waits 1.5 s (without blocking) and opens
    // again.
    void ReconnectDevice();
    void CloseDevice();

    std::string PlaceholderMessage() const;

private:
    UsbStatus QueueStatus();
    // After a successful open: refuse the placeholder image for real hardware,
    // else request the FPGA load.
    bool StartFpgaLoad();
    void ClearFailures();
    void ReleaseAll();
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
    bool tickRunning_ = false;
    bool opening_ = false;
};

}  // namespace qx40
