// The instrument's register file as the program writes it: 128 byte-wide
// registers of which 0..29, 48, 69..76 and 96..119 are sent.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/little_endian.h"

namespace qx40 {

namespace reg {
inline constexpr std::size_t kTrigFlags = 1;
inline constexpr std::size_t kChanMode = 2;
inline constexpr std::size_t kFixed3 = 3;  // always 4
inline constexpr std::size_t kSampleDivider = 4;  // 4 bytes
inline constexpr std::size_t kPreTrigCount = 8;   // 2 bytes
inline constexpr std::size_t kPostTrigCount = 10; // 2 bytes
inline constexpr std::size_t kA1Low = 12;
inline constexpr std::size_t kA1High = 13;
inline constexpr std::size_t kA2Low = 14;
inline constexpr std::size_t kA2High = 15;
inline constexpr std::size_t kTriggerCount = 16;
inline constexpr std::size_t kSlew = 17;
inline constexpr std::size_t kLevelMask = 18;
inline constexpr std::size_t kPulseMin = 20;  // 4 bytes
inline constexpr std::size_t kPulseMax = 24;  // 4 bytes
inline constexpr std::size_t kChanEnable = 28;
inline constexpr std::size_t kRollFlags = 29;
inline constexpr std::size_t kFreqMeterSource = 48;
inline constexpr std::size_t kCmdSeq = 69;
inline constexpr std::size_t kGainCodeA1 = 70;
inline constexpr std::size_t kGainCodeA2 = 71;
inline constexpr std::size_t kOffsetA1 = 72;  // 2 bytes
inline constexpr std::size_t kOffsetA2 = 74;  // 2 bytes
inline constexpr std::size_t kFrameInterval = 76;
inline constexpr std::size_t kGenMode = 96;
inline constexpr std::size_t kGenShape = 97;
inline constexpr std::size_t kGenFrequency = 98;   // 6 bytes
inline constexpr std::size_t kGenSecond = 104;     // 6 bytes
inline constexpr std::size_t kGenAmplitude = 110;  // 2 bytes
inline constexpr std::size_t kGenModulation = 112; // 6 bytes
inline constexpr std::size_t kZeroA1 = 118;
inline constexpr std::size_t kZeroA2 = 119;
}  // namespace reg

// TrigFlags bits
inline constexpr std::uint8_t kTrigPeakDetect = 0x01;
inline constexpr std::uint8_t kTrigDigitalSource = 0x02;
inline constexpr std::uint8_t kTrigSecondChannel = 0x04;
inline constexpr std::uint8_t kTrigRoll = 0x08;
inline constexpr std::uint8_t kTrigFalling = 0x10;
inline constexpr std::uint8_t kTrigAuto = 0x20;
// ChanMode bits
inline constexpr std::uint8_t kModeSingleChannel = 0x01;
inline constexpr std::uint8_t kModeA2 = 0x02;
inline constexpr std::uint8_t kModeD2 = 0x04;
// ChanEnable bits
inline constexpr std::uint8_t kEnableRun = 0x80;

struct DeviceSettings {
    std::array<std::uint8_t, 128> reg{};

    template <std::size_t Bytes>
    void Put(std::size_t at, std::uint64_t value) {
        PutLE<Bytes>(&reg[at], value);
    }
    template <std::size_t Bytes>
    std::uint64_t Get(std::size_t at) const {
        return GetLE<Bytes>(&reg[at]);
    }
    bool operator==(const DeviceSettings&) const = default;
};

}  // namespace qx40
