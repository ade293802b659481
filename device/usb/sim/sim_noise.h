// Deterministic noise for the simulated instrument. A noise value is a hash
// of the seed, a stream number and the 10 ns tick, not the next draw of a
// generator: the trigger search and the record see the same value at the
// same tick, and a run repeats exactly for the same seed.
#pragma once

#include <cstdint>

namespace qx40 {

// The finaliser of SplitMix64: every input bit moves every output bit.
constexpr std::uint64_t SimMix64(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Uniform in [-1, 1).
constexpr double SimNoise(std::uint64_t seed, std::uint64_t stream, std::int64_t tick) {
    const std::uint64_t h = SimMix64(SimMix64(seed ^ (stream * 0xD6E8FEB86659FD93ull)) ^
                                     static_cast<std::uint64_t>(tick));
    return static_cast<double>(h >> 11) * (2.0 / 9007199254740992.0) - 1.0;  // 53 bits
}

// Floor division, for ticks before time zero.
constexpr std::int64_t SimFloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

}  // namespace qx40
