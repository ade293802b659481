#include "device/frame_receiver.h"

#include <bit>

namespace qx40 {

void NibbleDecode(std::span<const std::uint8_t> in, std::uint8_t* out) {
    for (std::size_t i = 0; i + 1 < in.size(); i += 2)
        *out++ = static_cast<std::uint8_t>(in[i + 1] << 4 | (in[i] & 0x0F));
}

FrameReceiver::FrameReceiver(UsbStats& stats) : stats_(stats), raw_(kMaxSampleBytes) {}

void FrameReceiver::SetGeometry(std::int32_t sampleCount, bool singleChannelMode) {
    sampleCount_ = sampleCount;
    singleChannel_ = singleChannelMode;
}

std::size_t FrameReceiver::SampleBytes(std::uint8_t header, std::int32_t sampleCount, bool singleChannelMode) {
    if (sampleCount <= 0) return 0;
    const auto count = static_cast<std::size_t>(sampleCount);
    const std::size_t analog = static_cast<std::size_t>(std::popcount(static_cast<unsigned>(header & 0x03)));
    const std::size_t digital = static_cast<std::size_t>(std::popcount(static_cast<unsigned>(header & 0x0C)));
    const std::size_t bytes = count * analog + count / 4 * digital;
    return singleChannelMode ? bytes / 2 : bytes;
}

std::size_t FrameReceiver::Feed(std::span<const std::uint8_t> bytes, FrameSink& sink) {
    std::int64_t lost = 0;
    std::size_t taken = 0;
    pause_ = false;
    for (; taken < bytes.size() && !pause_; ++taken) {
        const std::uint8_t b = bytes[taken];
        if (b == kStart) {
            if (state_ != State::Waiting)
                lost += 1 + static_cast<std::int64_t>(statusBytes_ + samples_ + echoBytes_);
            state_ = State::Header;
            samples_ = echoBytes_ = statusBytes_ = 0;
            check_ = 0;
            continue;
        }
        switch (state_) {
            case State::Waiting:
                ++lost;
                break;
            case State::Header:
                check_ = b;
                if (b & 0x80) {
                    expected_ = SampleBytes(b, sampleCount_, singleChannel_);
                    if (expected_ > raw_.size()) {
                        state_ = State::Waiting;  // settings the buffers are not sized for
                        break;
                    }
                    state_ = expected_ > 0 ? State::Samples : State::Echo;
                } else if (b == kStatusHeader) {
                    state_ = State::Status;
                } else {
                    state_ = State::Waiting;
                }
                break;
            case State::Samples:
                raw_[samples_++] = b;
                check_ ^= b;
                if (samples_ == expected_) state_ = State::Echo;
                break;
            case State::Echo:
                if (echoBytes_ < echo_.size()) {
                    echo_[echoBytes_++] = b;
                    check_ ^= b;
                } else {
                    Finish(b, sink);
                }
                break;
            case State::Status:
                if (statusBytes_ < status_.size()) {
                    status_[statusBytes_++] = b;
                    check_ ^= b;
                } else {
                    Finish(b, sink);
                }
                break;
        }
    }
    if (lost) stats_.LostBytes += lost;
    return taken;
}

void FrameReceiver::Finish(std::uint8_t checksum, FrameSink& sink) {
    const State finished = state_;
    state_ = State::Waiting;
    if (check_ == kStart) check_ = 0xFE;  // the instrument never sends 0xFF as a checksum
    if (checksum != check_) {
        ++stats_.ChecksumErrors;
        return;
    }
    if (finished == State::Echo) {
        RegisterEcho echo;
        NibbleDecode(echo_, echo.data());
        sink.OnDataFrame({raw_.data(), samples_}, echo);
    } else {
        StatusRecord status;
        NibbleDecode(status_, status.bytes.data());
        sink.OnStatusFrame(status);
    }
}

}  // namespace qx40
