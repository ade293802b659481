// Receiving and decoding the largest frame the instrument sends: A1, A2,
// D1 and D2 at 10000 points (25000 sample bytes). The baseline copies the
// same bytes once, in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "device/frame_decoder.h"
#include "device/frame_receiver.h"
#include "base/little_endian.h"

namespace {

constexpr std::int32_t kPoints = 10000;

std::vector<std::uint8_t> LargestFrame() {
    qx40::RegisterEcho echo{};
    echo[28] = 0x8F;
    qx40::PutLE<2>(&echo[8], 1000);
    qx40::PutLE<2>(&echo[10], kPoints - 1000);
    qx40::PutLE<2>(&echo[42], 4321);
    std::vector<std::uint8_t> frame = {0xFF, 0x8F};
    std::uint8_t check = 0x8F;
    const auto put = [&](std::uint8_t b) {
        frame.push_back(b);
        check ^= b;
    };
    for (std::int32_t i = 0; i < kPoints; ++i) {
        put(static_cast<std::uint8_t>(128 + (i % 100) - 50));
        put(static_cast<std::uint8_t>(60 + (i % 37)));
        if (i % 2 == 1) put(static_cast<std::uint8_t>(i & 0x0F));
    }
    for (std::uint8_t r : echo) {
        put(r & 0x0F);
        put(r >> 4);
    }
    frame.push_back(check == 0xFF ? 0xFE : check);
    return frame;
}

class DecodeSink : public qx40::FrameSink {
public:
    void OnDataFrame(std::span<const std::uint8_t> samples, const qx40::RegisterEcho& echo) override {
        decoder.DecodeFrame(samples, echo, ctx, {}, false, recorder, record);
        ++frames;
    }
    void OnStatusFrame(const qx40::StatusRecord&) override {}

    qx40::DecodeContext ctx;
    qx40::FrameDecoder decoder;
    qx40::RecorderQueue recorder;
    qx40::SampleRecord record;
    long frames = 0;
};

void BM_CopyFrameBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> frame = LargestFrame();
    std::vector<std::uint8_t> copy(frame.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), frame.data(), frame.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CopyFrameBytes);

void BM_ReceiveAndDecodeLargestFrame(benchmark::State& state) {
    const std::vector<std::uint8_t> frame = LargestFrame();
    qx40::UsbStats stats;
    qx40::FrameReceiver receiver(stats);
    receiver.SetGeometry(kPoints, false);
    DecodeSink sink;
    sink.ctx.SampleCount = kPoints;
    sink.ctx.SampleDivider = 10;
    for (auto _ : state) receiver.Feed(frame, sink);
    if (sink.frames != state.iterations()) state.SkipWithError("frames were not decoded");
    state.SetItemsProcessed(state.iterations());  // items/s = frames per second
}
BENCHMARK(BM_ReceiveAndDecodeLargestFrame);

}  // namespace
