// Turns an accepted data frame (raw samples and register echo) into a
// record: unpacking, placement in the ring, statistics, trigger position.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "device/decode_context.h"
#include "device/frame_receiver.h"
#include "device/sample_record.h"
#include "recorder/recorder_queue.h"

namespace qx40 {

struct TdcConstants {
    std::uint8_t RiseA1 = 20, FallA1 = 20, RiseA2 = 20, FallA2 = 20;
};

class FrameDecoder {
public:
    FrameDecoder();

    // Fills every buffer and the FrameInfo of out. recorder receives the A1
    // bytes of roll frames while recorderActive.
    void DecodeFrame(std::span<const std::uint8_t> raw, const RegisterEcho& echo, const DecodeContext& ctx,
                     const TdcConstants& tdc, bool recorderActive, RecorderQueue& recorder, SampleRecord& out);

    std::int32_t FrameCounter() const { return frameCounter_; }

private:
    void Unpack(std::span<const std::uint8_t> raw, std::int32_t sampleCount, const std::array<bool, 4>& present);
    void FeedRecorder(const RegisterEcho& echo, std::int32_t sampleCount, std::int32_t w, bool recorderActive,
                      RecorderQueue& recorder) const;

    std::array<std::vector<std::int32_t>, kChannelCount> temp_;
    std::int32_t frameCounter_ = 0;
    std::int32_t trigLevel_ = 0;  // kept for digital sources, which have no level
};

}  // namespace qx40
