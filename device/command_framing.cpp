#include "device/command_framing.h"

#include <cassert>

namespace qx40 {
namespace {

struct Segment {
    std::uint8_t count;
    std::uint8_t space;
    std::uint8_t start;
};

// The register ranges the settings command writes.
constexpr std::array<Segment, 4> kSettingsSegments = {{
    {30, kSpaceRegisters, 0},
    {1, kSpaceRegisters, 48},
    {8, kSpaceRegisters, 69},
    {24, kSpaceRegisters, 96},
}};
constexpr std::uint8_t kTdcAddress = 8;

class BodyBuilder {
public:
    BodyBuilder() { size_ = 2; }  // length and segment count come last
    void Add(const Segment& s, const std::uint8_t* data) {
        Put(s.count);
        Put(s.space);
        Put(s.start);
        for (std::uint8_t i = 0; i < s.count; ++i) Put(data[i]);
        ++segments_;
    }
    EncodedCommand Finish() {
        body_[0] = static_cast<std::uint8_t>(size_);
        body_[1] = segments_;
        body_[size_] = XorChecksum({body_.data(), size_});
        EncodedCommand out;
        out.size = 2 * (size_ + 1);
        NibbleEncode({body_.data(), size_ + 1}, out.bytes.data());
        return out;
    }

private:
    void Put(std::uint8_t b) {
        assert(size_ < kMaxBodyLength - 1);
        body_[size_++] = b;
    }
    std::array<std::uint8_t, kMaxBodyLength> body_{};
    std::size_t size_;
    std::uint8_t segments_ = 0;
};

}  // namespace

void NibbleEncode(std::span<const std::uint8_t> in, std::uint8_t* out) {
    for (std::uint8_t b : in) {
        *out++ = b & 0x0F;
        *out++ = static_cast<std::uint8_t>(b >> 4);
    }
}

std::uint8_t XorChecksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t c = 0;
    for (std::uint8_t b : bytes) c ^= b;
    return c;
}

EncodedCommand SettingsCommand(const DeviceSettings& image, std::uint8_t& cmdSeq, const TdcBytes* tdc) {
    DeviceSettings sent = image;
    sent.reg[reg::kCmdSeq] = ++cmdSeq;
    BodyBuilder body;
    for (const Segment& s : kSettingsSegments) body.Add(s, &sent.reg[s.start]);
    if (tdc) body.Add({4, kSpaceCalibration, kTdcAddress}, tdc->data());
    return body.Finish();
}

EncodedCommand FpgaLoadCommand() {
    const std::uint8_t key = 0x55;
    BodyBuilder body;
    body.Add({1, kSpaceLoader, 0xAA}, &key);
    return body.Finish();
}

}  // namespace qx40
