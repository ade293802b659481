#include "device/usb/device_spec.h"

#include <charconv>

namespace qx40 {
namespace {

template <typename T>
bool ParseNumber(std::string_view text, T& value, int base = 10) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<DeviceSpec> ParseDeviceSpec(std::string_view text, std::string& error) {
    DeviceSpec choice;
    if (text.empty() || text == "auto") return choice;
    if (text == "usb") {
        choice.kind = DeviceSpec::Kind::Usb;
        return choice;
    }
    if (text == "sim" || text.starts_with("sim:")) {
        choice.kind = DeviceSpec::Kind::Sim;
        if (text != "sim") {
            std::string_view code = text.substr(4);
            const bool hex = code.starts_with("0x") || code.starts_with("0X");
            if (hex) code.remove_prefix(2);
            if (!ParseNumber(code, choice.simModel, hex ? 16 : 10) || choice.simModel < 0 || choice.simModel > 0xFFFF) {
                error = "sim:CODE needs a model code from 0 to 65535 (28, 25 or 31 for the known models)";
                return std::nullopt;
            }
        }
        return choice;
    }
    if (text.starts_with("tcp:")) {
        const std::string_view rest = text.substr(4);
        const auto colon = rest.rfind(':');
        unsigned port = 0;
        if (colon == std::string_view::npos || colon == 0 || !ParseNumber(rest.substr(colon + 1), port) ||
            port == 0 || port > 65535) {
            error = "tcp:HOST:PORT needs a host and a port from 1 to 65535";
            return std::nullopt;
        }
        choice.kind = DeviceSpec::Kind::Tcp;
        choice.host = std::string(rest.substr(0, colon));
        if (choice.host.size() > 2 && choice.host.front() == '[' && choice.host.back() == ']')
            choice.host = choice.host.substr(1, choice.host.size() - 2);  // [::1]:5000
        choice.port = static_cast<std::uint16_t>(port);
        return choice;
    }
    error = "unknown device \"" + std::string(text) + "\": use auto, usb, sim, sim:CODE or tcp:HOST:PORT";
    return std::nullopt;
}

}  // namespace qx40
