// Builds instrument-to-PC frames byte by byte, as the instrument sends them,
// for feeding the receiver and the acquisition thread in tests.
#pragma once

#include <cstdint>
#include <vector>

#include "device/frame_receiver.h"
#include "device/status_record.h"

namespace qx40::testing_support {

inline void AppendNibbles(std::vector<std::uint8_t>& out, std::uint8_t b, std::uint8_t& check) {
    const std::uint8_t lo = b & 0x0F, hi = b >> 4;
    out.push_back(lo);
    out.push_back(hi);
    check ^= lo;
    check ^= hi;
}

inline std::uint8_t FinalChecksum(std::uint8_t c) { return c == 0xFF ? 0xFE : c; }

inline std::vector<std::uint8_t> DataFrameBytes(std::uint8_t header, const std::vector<std::uint8_t>& samples,
                                                const RegisterEcho& echo) {
    std::vector<std::uint8_t> out{0xFF, header};
    std::uint8_t check = header;
    for (std::uint8_t s : samples) {
        out.push_back(s);
        check ^= s;
    }
    for (std::uint8_t r : echo) AppendNibbles(out, r, check);
    out.push_back(FinalChecksum(check));
    return out;
}

inline std::vector<std::uint8_t> StatusFrameBytes(const StatusRecord& status) {
    std::vector<std::uint8_t> out{0xFF, 0x5A};
    std::uint8_t check = 0x5A;
    for (std::uint8_t b : status.bytes) AppendNibbles(out, b, check);
    out.push_back(FinalChecksum(check));
    return out;
}

inline StatusRecord ConfiguredStatus(std::int32_t model = 31) {
    StatusRecord s;
    s.bytes[0] = 7;     // firmware
    s.bytes[2] = 0xA5;  // FPGA configured
    s.bytes[3] = 12;    // FPGA version
    s.bytes[4] = static_cast<std::uint8_t>(model);
    s.bytes[5] = static_cast<std::uint8_t>(model >> 8);
    for (std::size_t i = 25; i < 29; ++i) s.bytes[i] = 20;
    s.bytes[49] = 0x00;
    s.bytes[50] = 0x02;  // 512 raw = 330 cV
    return s;
}

}  // namespace qx40::testing_support
