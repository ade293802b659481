// The acquisition thread's writes to the instrument: the settings command
// and the FPGA load with its image upload.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>

#include "device/shared_link.h"
#include "device/usb/usb_link.h"

namespace qx40 {

using SleepFunction = std::function<void(std::chrono::milliseconds)>;

class CommandSender {
public:
    CommandSender(UsbLink& link, SharedLink& shared, std::span<const std::uint8_t> fpgaImage,
                  SleepFunction sleep);

    // Sends the image with a new CmdSeq (and the TDC calibration when it
    // was requested); the write status goes to LastUsbStatus.
    void SendSettings(UsbHandle h, const DeviceSettings& image);

    // Loads the FPGA, then reads once (readAndParse) and classifies the
    // answer: no status frame sets ErrNoStatus, a status without a configured
    // FPGA sets ErrFpgaConfig. A write that fails or stalls also sets
    // ErrFpgaConfig (and LastUsbStatus), so the supervision offers recovery.
    // stop is asked between chunks; when it says so the upload ends at once,
    // without a flag.
    void LoadFpga(UsbHandle h, const std::function<void()>& readAndParse, const std::function<bool()>& stop);

    // The sequence number of the last settings sent; frames must echo it.
    std::uint8_t CmdSeq() const { return cmdSeq_.load(); }

    static constexpr std::size_t kChunkBytes = 512;
    // A write that accepts nothing this many times in a row counts as failed.
    static constexpr int kMaxStalledWrites = 10;

private:
    // Writes all bytes, repeating the unwritten rest; the first error status
    // (or a stalled device) ends it.
    UsbStatus WriteAll(UsbHandle h, std::span<const std::uint8_t> bytes);

    UsbLink& link_;
    SharedLink& shared_;
    std::span<const std::uint8_t> fpgaImage_;
    SleepFunction sleep_;
    std::atomic<std::uint8_t> cmdSeq_{0};
};

}  // namespace qx40
