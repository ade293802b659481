// The instrument's status record (51 bytes, sent in every status frame).
#pragma once

#include <array>
#include <cstdint>

#include "base/little_endian.h"

namespace qx40 {

struct StatusRecord {
    std::array<std::uint8_t, 51> bytes{};

    std::int32_t FirmwareVersion() const { return bytes[0]; }
    bool PowerFailure() const { return bytes[1] == 2; }
    bool FpgaConfigured() const { return bytes[2] == 0xA5; }
    std::int32_t FpgaVersion() const { return bytes[3]; }
    std::int32_t DeviceType() const { return static_cast<std::int32_t>(GetLE<2>(&bytes[4])); }
    std::int32_t FmSource() const { return bytes[7]; }
    std::int32_t FmCount() const { return static_cast<std::int32_t>(GetLE<4>(&bytes[8])); }
    std::int32_t FmGate() const { return static_cast<std::int32_t>(GetLE<4>(&bytes[12])); }
    std::uint32_t SerialNumber() const { return static_cast<std::uint32_t>(GetLE<4>(&bytes[17])); }
    std::uint16_t SerialNumberHi() const { return static_cast<std::uint16_t>(GetLE<2>(&bytes[21])); }
    std::uint8_t Tdc(std::size_t i) const { return bytes[25 + i]; }  // rise A1, fall A1, rise A2, fall A2
    std::int32_t VccCentivolts() const {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE<2>(&bytes[49])) * 660u / 1023u);
    }
};

}  // namespace qx40
