// Hands the register image from the main thread to the sender as a whole:
// a send never mixes the fields of two applies.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "device/device_settings.h"

namespace qx40 {

// TDC calibration bytes in the order rise A1, fall A1, rise A2, fall A2.
using TdcBytes = std::array<std::uint8_t, 4>;

class SettingsMailbox {
public:
    void Publish(const DeviceSettings& image) {
        std::lock_guard lock(mutex_);
        image_ = image;
    }
    DeviceSettings Take() const {
        std::lock_guard lock(mutex_);
        return image_;
    }
    // A finished single shot stops the instrument with the next send.
    void ClearRunBit() {
        std::lock_guard lock(mutex_);
        image_.reg[reg::kChanEnable] &= static_cast<std::uint8_t>(~kEnableRun);
    }
    void PublishTdc(const TdcBytes& tdc) {
        std::lock_guard lock(mutex_);
        tdc_ = tdc;
    }
    TdcBytes TakeTdc() const {
        std::lock_guard lock(mutex_);
        return tdc_;
    }

private:
    mutable std::mutex mutex_;
    DeviceSettings image_;
    TdcBytes tdc_{};
};

}  // namespace qx40
