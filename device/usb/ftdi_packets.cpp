#include "device/usb/ftdi_packets.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace qx40 {

namespace {
constexpr std::size_t kStatusBytes = 2;
}  // namespace

std::size_t StripFtdiStatusBytes(std::span<const std::uint8_t> transfer, std::size_t packetSize,
                                 std::uint8_t* out) {
    assert(packetSize > kStatusBytes);
    std::size_t copied = 0;
    for (std::size_t at = 0; at < transfer.size(); at += packetSize) {
        const std::size_t end = std::min(at + packetSize, transfer.size());
        if (end - at <= kStatusBytes) continue;  // status only: nothing arrived
        const std::size_t data = end - at - kStatusBytes;
        std::memcpy(out + copied, transfer.data() + at + kStatusBytes, data);
        copied += data;
    }
    return copied;
}

}  // namespace qx40
