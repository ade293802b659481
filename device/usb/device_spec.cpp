#include "device/usb/device_spec.h"

#include <algorithm>
#include <array>

#include "base/parse_number.h"
#include "scope/value_tables.h"

namespace qx40 {
namespace {

// The models that exist; the simulated instrument plays one of them.
constexpr std::array<std::int32_t, 3> kModelCodes{28, 25, 31};

std::string ModelChoices() {
    std::string text;
    for (std::size_t i = 0; i < kModelCodes.size(); ++i) {
        if (i > 0) text += i + 1 == kModelCodes.size() ? " or " : ", ";
        text += std::to_string(kModelCodes[i]) + " (" + ModelName(kModelCodes[i]) + ")";
    }
    return text;
}

// Decimal, or hexadecimal after "0x".
std::optional<std::int64_t> ParseModelCode(std::string_view code) {
    if (code.starts_with("0x") || code.starts_with("0X"))
        return ParseInteger(code.substr(2), 0, 0xFFFF, 16);
    return ParseInteger(code, 0, 0xFFFF);
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
            const auto code = ParseModelCode(text.substr(4));
            if (!code ||
                std::find(kModelCodes.begin(), kModelCodes.end(), *code) == kModelCodes.end()) {
                error = "sim:CODE needs the code of a model: " + ModelChoices();
                return std::nullopt;
            }
            choice.simModel = static_cast<std::int32_t>(*code);
        }
        return choice;
    }
    if (text.starts_with("tcp:")) {
        const std::string_view rest = text.substr(4);
        const auto colon = rest.rfind(':');
        const auto port = colon == std::string_view::npos
                              ? std::nullopt
                              : ParseInteger(rest.substr(colon + 1), 1, 65535);
        if (!port || colon == 0) {
            error = "tcp:HOST:PORT needs a host and a port from 1 to 65535";
            return std::nullopt;
        }
        choice.kind = DeviceSpec::Kind::Tcp;
        choice.host = std::string(rest.substr(0, colon));
        if (choice.host.size() > 2 && choice.host.front() == '[' && choice.host.back() == ']')
            choice.host = choice.host.substr(1, choice.host.size() - 2);  // [::1]:5000
        choice.port = static_cast<std::uint16_t>(*port);
        return choice;
    }
    error = "unknown device \"" + std::string(text) + "\": use auto, usb, sim, sim:CODE or tcp:HOST:PORT";
    return std::nullopt;
}

}  // namespace qx40
