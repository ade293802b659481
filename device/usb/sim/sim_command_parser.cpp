#include "device/usb/sim/sim_command_parser.h"

#include <algorithm>

namespace qx40 {
namespace {

constexpr std::size_t kMemoryBytes = 128;  // register file and calibration memory
constexpr std::uint8_t kLoaderAddress = 0xAA;
constexpr std::uint8_t kLoaderData = 0x55;

}  // namespace

void SimCommandParser::Reset() {
    state_ = State::Idle;
    haveLow_ = false;
}

void SimCommandParser::Begin() {
    state_ = State::Body;
    bodyBytes_ = 0;
    haveLow_ = false;
}

void SimCommandParser::ExpectImage(std::size_t byteCount) {
    if (byteCount == 0) return;
    state_ = State::Image;
    imageBytes_ = byteCount;
    imageReceived_ = 0;
    haveLow_ = false;
    imageHead_.fill(0);
}

void SimCommandParser::Feed(std::span<const std::uint8_t> bytes, SimCommandSink& sink) {
    for (const std::uint8_t b : bytes) {
        if (state_ == State::Idle) {
            if (b == kStart) Begin();
            continue;  // anything between commands is ignored
        }
        if (b > 0x0F) {
            // Not a nibble: the command or image in progress is broken off;
            // a start byte begins the next command.
            if (state_ == State::Body)
                sink.OnRejected();
            else
                sink.OnImage(false,
                             {imageHead_.data(), std::min(imageReceived_, imageHead_.size())});
            state_ = State::Idle;
            if (b == kStart) Begin();
            continue;
        }
        if (!haveLow_) {
            low_ = b;
            haveLow_ = true;
            continue;
        }
        haveLow_ = false;
        const auto value = static_cast<std::uint8_t>(b << 4 | low_);
        if (state_ == State::Body)
            BodyByte(value, sink);
        else
            ImageByte(value, sink);
    }
}

void SimCommandParser::BodyByte(std::uint8_t byte, SimCommandSink& sink) {
    body_[bodyBytes_++] = byte;
    if (bodyBytes_ < std::size_t{body_[0]} + 1) return;  // B[0] = L; L + 1 bytes with the checksum
    state_ = State::Idle;  // before the sink runs: it may ask for an image
    SimCommand command;
    if (Parse({body_.data(), bodyBytes_}, command))
        sink.OnCommand(command);
    else
        sink.OnRejected();
}

void SimCommandParser::ImageByte(std::uint8_t byte, SimCommandSink& sink) {
    if (imageReceived_ < imageHead_.size()) imageHead_[imageReceived_] = byte;
    if (++imageReceived_ < imageBytes_) return;
    state_ = State::Idle;
    sink.OnImage(true, {imageHead_.data(), std::min(imageReceived_, imageHead_.size())});
}

bool SimCommandParser::Parse(std::span<const std::uint8_t> body, SimCommand& out) {
    if (body.size() < 3) return false;
    const std::size_t length = body[0];
    if (length < 2 || body.size() != length + 1) return false;
    std::uint8_t check = 0;
    for (std::size_t i = 0; i < length; ++i) check ^= body[i];
    if (check != body[length]) return false;

    out = SimCommand{};
    std::size_t at = 2;
    for (std::size_t s = 0; s < body[1]; ++s) {
        if (at + 3 > length) return false;
        const std::size_t count = body[at];
        const std::uint8_t space = body[at + 1];
        const std::uint8_t start = body[at + 2];
        at += 3;
        if (count == 0 || at + count > length) return false;
        if (space == kSimSpaceRegisters || space == kSimSpaceCalibration) {
            if (start + count > kMemoryBytes) return false;
        } else if (space == kSimSpaceLoader) {
            if (count != 1 || start != kLoaderAddress || body[at] != kLoaderData) return false;
            out.loadFpga = true;
        } else {
            return false;
        }
        out.segments.push_back({space,
                                start,
                                {body.begin() + static_cast<std::ptrdiff_t>(at),
                                 body.begin() + static_cast<std::ptrdiff_t>(at + count)}});
        at += count;
    }
    return at == length;
}

}  // namespace qx40
