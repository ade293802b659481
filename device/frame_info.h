// The description of one record: 41 signed 32-bit words. Live frames, the
// background record and data files share this layout word for word.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qx40 {

namespace fi {
inline constexpr std::size_t DeviceTypeCode = 0;
inline constexpr std::size_t Divider = 1;         // sample period in 10 ns ticks
inline constexpr std::size_t VoltsDivA1 = 2;      // microvolts per division, probe included
inline constexpr std::size_t ZeroA1 = 3;
inline constexpr std::size_t VoltsDivA2 = 4;
inline constexpr std::size_t ZeroA2 = 5;
inline constexpr std::size_t RingLength = 6;      // slots in the record; 0 = no data
inline constexpr std::size_t PreTrigger = 7;      // slot of the trigger point
inline constexpr std::size_t ValidPoints = 8;
inline constexpr std::size_t WritePos = 9;        // roll: the slot after the newest point
inline constexpr std::size_t RollFrame = 10;
inline constexpr std::size_t PeakDetect = 11;
inline constexpr std::size_t TrigLevel = 12;
inline constexpr std::size_t TrigSource = 13;     // 0 none, 1 A1, 2 A2, 3 D1, 4 D2
inline constexpr std::size_t TrigFine = 14;       // 14..17: A1, A2, D1, D2, tenths of a sample
inline constexpr std::size_t Channels = 18;       // bit0 A1, bit1 A2, bit2 D1, bit3 D2
inline constexpr std::size_t GenSpan = 19;
inline constexpr std::size_t GenFreq = 20;
inline constexpr std::size_t FmData = 21;         // 21..24: source, two counts, Time calibration
inline constexpr std::size_t SumA1 = 25;
inline constexpr std::size_t SumA2 = 26;
inline constexpr std::size_t PeakToPeakA1 = 27;
inline constexpr std::size_t PeakToPeakA2 = 28;
inline constexpr std::size_t TrigEcho = 29;       // 29..32
inline constexpr std::size_t Reserved = 33;       // 33..38, -1 in data files
inline constexpr std::size_t FrameCounter = 39;
inline constexpr std::size_t Checksum = 40;       // data files: sum of words 0..39
inline constexpr std::size_t Count = 41;
}  // namespace fi

struct FrameInfo {
    std::array<std::int32_t, fi::Count> word{};

    std::int32_t& operator[](std::size_t i) { return word[i]; }
    std::int32_t operator[](std::size_t i) const { return word[i]; }
    bool HasData() const { return word[fi::RingLength] != 0; }
    bool operator==(const FrameInfo&) const = default;
};

}  // namespace qx40
