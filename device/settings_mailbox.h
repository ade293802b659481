// Hands the register image and its decode context from the main thread to
// the acquisition thread as a whole: a send never mixes two applies.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

#include "device/decode_context.h"
#include "device/device_settings.h"

namespace qx40 {

// TDC calibration bytes in the order rise A1, fall A1, rise A2, fall A2.
using TdcBytes = std::array<std::uint8_t, 4>;

struct AcquisitionSettings {
    DeviceSettings registers;
    DecodeContext decode;
};

class SettingsMailbox {
public:
    void Publish(const DeviceSettings& image, const DecodeContext& decode) {
        std::lock_guard lock(mutex_);
        settings_ = {image, decode};
    }
    AcquisitionSettings Take() const {
        std::lock_guard lock(mutex_);
        return settings_;
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
    AcquisitionSettings settings_;
    TdcBytes tdc_{};
};

}  // namespace qx40
