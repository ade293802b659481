// The bytes of the simulated instrument's frames: a data frame (start
// 0xFF, header, raw samples, the register echo nibble-encoded, checksum) and
// a status frame (0xFF, 0x5A, the status record nibble-encoded, checksum).
// 0xFF only ever starts a frame: samples stay within 0x00..0xFE and a
// checksum of 0xFF is sent as 0xFE.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qx40 {

inline constexpr std::size_t kSimStatusBytes = 51;
inline constexpr std::uint8_t kSimFrameStart = 0xFF;
inline constexpr std::uint8_t kSimStatusHeader = 0x5A;

// Which channels a data frame carries and how many sample bytes follow its
// header, from the channel enable and mode registers.
struct SimFrameLayout {
    std::uint8_t header = 0x80;
    std::array<bool, 4> present{};  // A1, A2, D1, D2
    std::size_t sampleBytes = 0;
};
SimFrameLayout SimLayoutOf(const std::array<std::uint8_t, 128>& regs, std::int32_t sampleCount);

// samples[c] holds sampleCount raw samples of channel c in ring order
// (analog codes, logic 0/1); channels the layout does not carry are not read.
void AppendSimDataFrame(std::vector<std::uint8_t>& out, const SimFrameLayout& layout,
                        const std::array<std::vector<std::uint8_t>, 4>& samples,
                        std::int32_t sampleCount, const std::array<std::uint8_t, 128>& echo);
void AppendSimStatusFrame(std::vector<std::uint8_t>& out,
                          const std::array<std::uint8_t, kSimStatusBytes>& status);

}  // namespace qx40
