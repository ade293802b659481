// Which instrument to talk to: --device auto|usb|sim[:CODE]|tcp:HOST:PORT
// (or the QX40_DEVICE environment variable).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qx40 {

struct DeviceSpec {
    enum class Kind { Auto, Usb, Sim, Tcp };
    Kind kind = Kind::Auto;
    std::int32_t simModel = 31;  // model code of the simulated instrument: 28, 25 or 31
    std::string host;
    std::uint16_t port = 0;
};

// Nothing, with the reason in error, for text that names no device.
std::optional<DeviceSpec> ParseDeviceSpec(std::string_view text, std::string& error);

}  // namespace qx40
