// libFuzzer harness: any byte stream through the receive state machine and
// the decoder, under settings taken from the first bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/frame_decoder.h"
#include "device/frame_receiver.h"

namespace {

class DecodingSink : public qx40::FrameSink {
public:
    explicit DecodingSink(const qx40::DecodeContext& ctx) : ctx_(ctx) {}
    void OnDataFrame(std::span<const std::uint8_t> samples, const qx40::RegisterEcho& echo) override {
        decoder_.DecodeFrame(samples, echo, ctx_, {}, true, recorder_, record_);
    }
    void OnStatusFrame(const qx40::StatusRecord& status) override { last_ = status.VccCentivolts(); }

private:
    const qx40::DecodeContext& ctx_;
    qx40::FrameDecoder decoder_;
    qx40::RecorderQueue recorder_;
    qx40::SampleRecord record_;
    std::int32_t last_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    static const std::int32_t kCounts[] = {2000, 5000, 10000, 20000, 8, 0};
    qx40::DecodeContext ctx;
    ctx.SampleCount = kCounts[data[0] % 6];
    ctx.SingleChannelMode = data[1] & 1;
    ctx.SampleDivider = data[1] >> 1;
    ctx.TriggerCount = data[2] & 1;
    ctx.Lenta = data[2] & 2;
    ctx.PreTrigCount = data[3] * 40;
    static qx40::UsbStats stats;
    static DecodingSink* sink = nullptr;
    static qx40::FrameReceiver* receiver = nullptr;
    static qx40::DecodeContext shared;
    if (!receiver) {
        receiver = new qx40::FrameReceiver(stats);  // kept across inputs, as across reads
        sink = new DecodingSink(shared);
    }
    shared = ctx;
    receiver->SetGeometry(ctx.SampleCount, ctx.SingleChannelMode);
    // Split the stream in two reads to exercise the state kept between them.
    const std::size_t half = (size - 4) / 2;
    receiver->Feed({data + 4, half}, *sink);
    receiver->Feed({data + 4 + half, size - 4 - half}, *sink);
    return 0;
}
