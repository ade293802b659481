// What the instrument reported about itself in its status frames.
#pragma once

#include <cstdint>

namespace qx40 {

struct DeviceFacts {
    std::int32_t FirmwareVersion = -1;  // -1 until known
    std::int32_t FpgaVersion = -1;
    std::int32_t DeviceTypeReported = 0;
    bool SerialKnown = false;
    std::uint32_t SerialNumber = 0;    // 32-bit part
    std::uint16_t SerialNumberHi = 0;  // 16-bit part
    bool TdcKnown = false;
    std::uint8_t TDC_Rise_A1 = 0;
    std::uint8_t TDC_Fall_A1 = 0;
    std::uint8_t TDC_Rise_A2 = 0;
    std::uint8_t TDC_Fall_A2 = 0;
    std::int32_t VccCentivolts = -1;  // -1 until known
};

}  // namespace qx40
