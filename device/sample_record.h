// One record of samples: a minimum and a maximum buffer per channel (equal
// without peak detect), 40000 slots each, plus its FrameInfo. Analog slots
// hold ADC codes 0..254, digital slots 0 or 1; EmptySample marks a slot
// without data. The buffers are allocated once and never resized.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/empty_sample.h"
#include "device/frame_info.h"

namespace qx40 {

inline constexpr std::size_t kRecordSlots = 40000;

enum Channel : std::size_t { kA1 = 0, kA2 = 1, kD1 = 2, kD2 = 3 };
inline constexpr std::size_t kChannelCount = 4;

struct SampleRecord {
    SampleRecord() {
        for (auto* buffers : {&Min, &Max})
            for (auto& b : *buffers) b.assign(kRecordSlots, kEmptySample);
    }

    std::array<std::vector<std::int32_t>, kChannelCount> Min;
    std::array<std::vector<std::int32_t>, kChannelCount> Max;
    FrameInfo Info;
    // The TDC count of the frame (the low five bits of echo byte 46): where
    // a digital trigger edge fell inside the clock period, in interpolator
    // steps. Live frames only; data files do not keep it.
    std::int32_t TdcFine = 0;

    // Every slot empty, FrameInfo zero.
    void Clear() {
        for (auto* buffers : {&Min, &Max})
            for (auto& b : *buffers) std::fill(b.begin(), b.end(), kEmptySample);
        Info = FrameInfo{};
        TdcFine = 0;
    }
    bool HasData() const { return Info.HasData(); }
    // Exchanges contents without copying the buffers.
    void Swap(SampleRecord& other) {
        Min.swap(other.Min);
        Max.swap(other.Max);
        std::swap(Info, other.Info);
        std::swap(TdcFine, other.TdcFine);
    }
};

}  // namespace qx40
