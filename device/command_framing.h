// Framing of PC-to-instrument commands: start byte 0xFA written alone, then
// the body B (length, segment list, XOR checksum), each byte sent as two
// bytes, low nibble first. Encoded bytes never exceed 0x0F, so 0xFA always
// marks a start.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/device_settings.h"
#include "device/settings_mailbox.h"

namespace qx40 {

inline constexpr std::uint8_t kCommandStart = 0xFA;
inline constexpr std::uint8_t kSpaceRegisters = 0x7F;
inline constexpr std::uint8_t kSpaceCalibration = 0x80;
inline constexpr std::uint8_t kSpaceLoader = 0x81;

// Largest body: the settings command with the TDC segment, L = 84.
inline constexpr std::size_t kMaxBodyLength = 85;  // L + checksum

struct EncodedCommand {
    std::array<std::uint8_t, 2 * kMaxBodyLength> bytes{};
    std::size_t size = 0;
    std::span<const std::uint8_t> view() const { return {bytes.data(), size}; }
};

// out must hold 2 * in.size() bytes.
void NibbleEncode(std::span<const std::uint8_t> in, std::uint8_t* out);
std::uint8_t XorChecksum(std::span<const std::uint8_t> bytes);

// Increments cmdSeq (mod 256) and sends its new value in register 69 of the
// image; the TDC segment is added when tdc is given.
EncodedCommand SettingsCommand(const DeviceSettings& image, std::uint8_t& cmdSeq, const TdcBytes* tdc);

// The command that makes the loader accept an FPGA image.
EncodedCommand FpgaLoadCommand();

}  // namespace qx40
