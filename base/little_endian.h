// Explicit little-endian stores and loads for register images and files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx40 {

template <std::size_t Bytes>
constexpr void PutLE(std::uint8_t* dst, std::uint64_t value) {
    for (std::size_t i = 0; i < Bytes; ++i) dst[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <std::size_t Bytes>
constexpr std::uint64_t GetLE(const std::uint8_t* src) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < Bytes; ++i) v |= static_cast<std::uint64_t>(src[i]) << (8 * i);
    return v;
}

}  // namespace qx40
