// Flags shared by the main thread and the acquisition thread, each an atomic
// read without a lock. Most are written by one side only. The few that both
// write are safe for the reason given beside them: a request that either side
// may raise and only its consumer clears, or a failure the thread raises and
// the main thread clears once it has asked the user.
#pragma once

#include <atomic>
#include <cstdint>

namespace qx40 {

struct LinkFlags {
    // Requests, raised by either side, cleared only by their consumer.
    std::atomic<bool> RedrawRequest{false};    // run the display step (cleared by the hand-over)
    std::atomic<bool> SettingsChanged{false};  // settings changed since the last display (cleared by it)
    std::atomic<bool> NewFrameData{false};     // the spectrum has new data (cleared by the display step)

    // Written by the main thread, read by the thread.
    std::atomic<bool> SettingsDirty{false};    // the register image must be sent (the thread takes it)
    std::atomic<bool> FpgaLoadRequest{false};  // the FPGA must be loaded (the thread takes it)
    std::atomic<bool> TdcWriteRequest{false};  // send the TDC calibration with the next settings (taken likewise)
    std::atomic<bool> RunFlag{false};          // RUN or SINGLE in force
    std::atomic<bool> SingleFlag{false};       // SINGLE in force
    std::atomic<bool> RecorderActive{false};

    // Written by the thread, read (and the indicators cleared) by the main thread.
    std::atomic<bool> StatusRequest{false};  // run the activity indicator step
    std::atomic<bool> NewFrame{false};
    std::atomic<bool> IndicatorFrame{false};
    std::atomic<bool> CalFrameReady{false};
    std::atomic<bool> IndicatorStatus{false};
    std::atomic<bool> StatusValid{false};
    std::atomic<bool> DeviceInfoValid{false};
    std::atomic<bool> TdcValid{false};

    // The thread sets these from status frames and clears them when a load
    // starts; the main thread clears them when it drops or reopens the
    // device, before it asks for the next load, so a late set cannot outlive
    // the load that follows.
    std::atomic<bool> DeviceReady{false};  // FPGA configured; frames may be read
    std::atomic<bool> StatusSeen{false};   // a status frame arrived since the load

    // Only touched on the main thread (the hand-over clears it when it shows
    // a live frame); atomic for the readers outside the window.
    std::atomic<bool> ShowingFile{false};  // the main record came from a data file

    // Failures for the link supervision, with their message codes: raised by
    // the thread (and ErrUsbLost by the timer), cleared by the main thread
    // once the user has answered.
    std::atomic<bool> ErrUsbLost{false};     // 1
    std::atomic<bool> ErrFpgaConfig{false};  // 2
    std::atomic<bool> ErrPower{false};       // 3
    std::atomic<bool> ErrFpgaLost{false};    // 4
    std::atomic<bool> ErrNoStatus{false};    // 6

    // The last status of an open, a queue check or a write, from either side;
    // only shown, never decided on.
    std::atomic<std::int32_t> LastUsbStatus{0};
};

}  // namespace qx40
