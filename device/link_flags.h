// Flags shared by the main thread and the acquisition thread. Each is
// written by one side and read by the other without a lock.
#pragma once

#include <atomic>
#include <cstdint>

namespace qx40 {

struct LinkFlags {
    std::atomic<bool> RedrawRequest{false};    // run the display step
    std::atomic<bool> StatusRequest{false};    // run the activity indicator step
    std::atomic<bool> SettingsDirty{false};    // the register image must be sent
    std::atomic<bool> FpgaLoadRequest{false};  // the FPGA must be loaded
    std::atomic<bool> DeviceReady{false};      // FPGA configured; frames may be read
    std::atomic<bool> StatusSeen{false};       // a status frame arrived since the open
    std::atomic<bool> SettingsChanged{false};  // settings changed since the last display
    std::atomic<bool> NewFrame{false};
    std::atomic<bool> NewFrameData{false};
    std::atomic<bool> IndicatorFrame{false};
    std::atomic<bool> CalFrameReady{false};
    std::atomic<bool> IndicatorStatus{false};
    std::atomic<bool> StatusValid{false};
    std::atomic<bool> DeviceInfoValid{false};
    std::atomic<bool> TdcValid{false};
    std::atomic<bool> TdcWriteRequest{false};  // send the TDC calibration with the next settings
    std::atomic<bool> RunFlag{false};          // RUN or SINGLE in force
    std::atomic<bool> SingleFlag{false};       // SINGLE in force
    std::atomic<bool> ShowingFile{false};      // the main record came from a data file
    std::atomic<bool> RecorderActive{false};

    // Failures for the link supervision, with their message codes.
    std::atomic<bool> ErrUsbLost{false};     // 1
    std::atomic<bool> ErrFpgaConfig{false};  // 2
    std::atomic<bool> ErrPower{false};       // 3
    std::atomic<bool> ErrFpgaLost{false};    // 4
    std::atomic<bool> ErrNoStatus{false};    // 6

    std::atomic<std::int32_t> LastUsbStatus{0};
};

}  // namespace qx40
