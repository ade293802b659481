// Recognises data and status frames in the instrument's byte stream. 0xFF
// only ever starts a frame, so the machine restarts at every 0xFF; its state
// survives between reads, so a frame split over several reads is joined.
// The loop allocates nothing: buffers are sized for the largest frame.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "device/status_record.h"
#include "device/usb_stats.h"

namespace qx40 {

using RegisterEcho = std::array<std::uint8_t, 128>;

class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void OnDataFrame(std::span<const std::uint8_t> samples, const RegisterEcho& echo) = 0;
    virtual void OnStatusFrame(const StatusRecord& status) = 0;
};

class FrameReceiver {
public:
    static constexpr std::size_t kMaxSampleBytes = 50000;  // 2 x 20000 + 2 x 5000
    static constexpr std::uint8_t kStart = 0xFF;
    static constexpr std::uint8_t kStatusHeader = 0x5A;

    explicit FrameReceiver(UsbStats& stats);

    // Sample count and single-channel mode of the last built settings; they
    // decide how many sample bytes a data header announces.
    void SetGeometry(std::int32_t sampleCount, bool singleChannelMode);
    static std::size_t SampleBytes(std::uint8_t header, std::int32_t sampleCount, bool singleChannelMode);

    // Returns the bytes taken: all of them, unless the sink called
    // PauseAfterFrame, which ends the call right after the frame it is
    // being given (the rest waits for the next call).
    std::size_t Feed(std::span<const std::uint8_t> bytes, FrameSink& sink);
    void PauseAfterFrame() { pause_ = true; }

private:
    enum class State { Waiting, Header, Samples, Echo, Status };
    void Finish(std::uint8_t checksum, FrameSink& sink);

    UsbStats& stats_;
    std::int32_t sampleCount_ = 0;
    bool singleChannel_ = false;
    State state_ = State::Waiting;
    bool pause_ = false;
    std::uint8_t check_ = 0;
    std::size_t expected_ = 0;
    std::size_t samples_ = 0;
    std::size_t echoBytes_ = 0;
    std::size_t statusBytes_ = 0;
    std::vector<std::uint8_t> raw_;
    std::array<std::uint8_t, 256> echo_{};
    std::array<std::uint8_t, 102> status_{};
};

// Nibble pairs, low nibble first, to bytes: out[i] = in[2i+1] << 4 | (in[2i] & 0x0F).
void NibbleDecode(std::span<const std::uint8_t> in, std::uint8_t* out);

}  // namespace qx40
