// The FTDI bridge begins every USB packet it sends to the host with two
// modem and line status bytes; only what follows is received data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qx40 {

// Copies the data of the packets in `transfer` (packets of `packetSize`
// bytes, the last one possibly shorter) to `out`, which must hold
// transfer.size() bytes; returns the data bytes copied.
std::size_t StripFtdiStatusBytes(std::span<const std::uint8_t> transfer, std::size_t packetSize,
                                 std::uint8_t* out);

}  // namespace qx40
