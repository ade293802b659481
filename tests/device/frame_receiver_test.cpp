#include "device/frame_receiver.h"

#include <gtest/gtest.h>

#include "frame_bytes.h"

namespace qx40 {
namespace {

using testing_support::DataFrameBytes;
using testing_support::StatusFrameBytes;

class Collect : public FrameSink {
public:
    void OnDataFrame(std::span<const std::uint8_t> samples, const RegisterEcho& echo) override {
        frames.emplace_back(samples.begin(), samples.end());
        echoes.push_back(echo);
    }
    void OnStatusFrame(const StatusRecord& status) override { statuses.push_back(status); }

    std::vector<std::vector<std::uint8_t>> frames;
    std::vector<RegisterEcho> echoes;
    std::vector<StatusRecord> statuses;
};

struct SampleBytesCase {
    std::uint8_t header;
    std::int32_t sampleCount;
    bool single;
    std::size_t bytes;
};

TEST(FrameReceiver, SampleBytesPerHeader) {
    const SampleBytesCase cases[] = {
        {0x81, 5000, false, 5000},    // A1
        {0x8F, 10000, false, 25000},  // A1, A2, D1, D2
        {0x83, 20000, true, 20000},   // single channel: one of the two analog bits
        {0x84, 2000, false, 500},     // D1: four samples a byte
        {0x8C, 2000, false, 1000},
        {0x80, 5000, false, 0},       // no channel: straight to the echo
        {0x8F, 20000, true, 25000},
    };
    for (const SampleBytesCase& c : cases)
        EXPECT_EQ(FrameReceiver::SampleBytes(c.header, c.sampleCount, c.single), c.bytes)
            << std::hex << int(c.header) << std::dec << " " << c.sampleCount;
}

class FrameReceiverTest : public testing::Test {
protected:
    FrameReceiverTest() { receiver.SetGeometry(8, false); }
    RegisterEcho Echo() {
        RegisterEcho e{};
        for (std::size_t i = 0; i < e.size(); ++i) e[i] = static_cast<std::uint8_t>(i * 3);
        return e;
    }
    UsbStats stats;
    FrameReceiver receiver{stats};
    Collect sink;
};

TEST_F(FrameReceiverTest, FrameSplitAcrossReadsIsDecodedOnce) {
    const std::vector<std::uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8};
    const auto bytes = DataFrameBytes(0x81, samples, Echo());
    for (std::size_t cut : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{100}, bytes.size() - 1}) {
        sink.frames.clear();
        receiver.Feed({bytes.data(), cut}, sink);
        EXPECT_TRUE(sink.frames.empty());
        receiver.Feed({bytes.data() + cut, bytes.size() - cut}, sink);
        ASSERT_EQ(sink.frames.size(), 1u) << cut;
        EXPECT_EQ(sink.frames[0], samples);
        EXPECT_EQ(sink.echoes[0], Echo());
    }
    EXPECT_EQ(stats.LostBytes, 0);
    EXPECT_EQ(stats.ChecksumErrors, 0);
}

TEST_F(FrameReceiverTest, StartByteInsideSamplesRestarts) {
    const std::vector<std::uint8_t> samples = {1, 2, 3, 4, 5, 6, 7, 8};
    auto broken = DataFrameBytes(0x81, samples, Echo());
    broken.resize(2 + 5);  // start, header and five samples, then a new frame begins
    const auto good = DataFrameBytes(0x81, samples, Echo());
    broken.insert(broken.end(), good.begin(), good.end());
    receiver.Feed(broken, sink);
    ASSERT_EQ(sink.frames.size(), 1u);
    EXPECT_EQ(stats.LostBytes, 1 + 5);
}

TEST_F(FrameReceiverTest, ChecksumMismatchIsCountedAndDropped) {
    auto bytes = DataFrameBytes(0x81, {1, 2, 3, 4, 5, 6, 7, 8}, Echo());
    bytes[4] ^= 0x01;
    receiver.Feed(bytes, sink);
    EXPECT_TRUE(sink.frames.empty());
    EXPECT_EQ(stats.ChecksumErrors, 1);
}

TEST_F(FrameReceiverTest, ChecksumOfFFIsSentAsFE) {
    // Find samples whose XOR with the header and echo is 0xFF.
    RegisterEcho echo{};
    std::vector<std::uint8_t> samples(8, 0);
    samples[0] = 0xFF ^ 0x81;
    const auto bytes = DataFrameBytes(0x81, samples, echo);
    ASSERT_EQ(bytes.back(), 0xFE);
    receiver.Feed(bytes, sink);
    EXPECT_EQ(sink.frames.size(), 1u);
}

TEST_F(FrameReceiverTest, StatusFrameAndBytesOutsideFrames) {
    const StatusRecord status = testing_support::ConfiguredStatus(28);
    std::vector<std::uint8_t> bytes = {0x01, 0x02, 0x03};  // noise before the first start byte
    const auto frame = StatusFrameBytes(status);
    bytes.insert(bytes.end(), frame.begin(), frame.end());
    receiver.Feed(bytes, sink);
    ASSERT_EQ(sink.statuses.size(), 1u);
    EXPECT_EQ(sink.statuses[0].DeviceType(), 28);
    EXPECT_TRUE(sink.statuses[0].FpgaConfigured());
    EXPECT_EQ(sink.statuses[0].VccCentivolts(), 330);
    EXPECT_EQ(stats.LostBytes, 3);
}

TEST_F(FrameReceiverTest, UnknownHeaderLosesTheFrame) {
    std::vector<std::uint8_t> bytes = {0xFF, 0x33, 1, 2, 3};
    receiver.Feed(bytes, sink);
    EXPECT_EQ(stats.LostBytes, 3);
    receiver.Feed(StatusFrameBytes(StatusRecord{}), sink);
    EXPECT_EQ(sink.statuses.size(), 1u);  // the next frame is found
}

TEST_F(FrameReceiverTest, HeaderAnnouncingMoreThanTheBufferIsRefused) {
    receiver.SetGeometry(100000, false);  // settings no instrument can have
    std::vector<std::uint8_t> bytes(3000, 0x01);
    bytes[0] = 0xFF;
    bytes[1] = 0x8F;
    receiver.Feed(bytes, sink);
    EXPECT_TRUE(sink.frames.empty());
    EXPECT_EQ(stats.LostBytes, 2998);
}

TEST_F(FrameReceiverTest, ArbitraryBytesNeverCrash) {
    std::uint32_t x = 12345;
    std::vector<std::uint8_t> bytes(200000);
    for (auto& b : bytes) {
        x = x * 1103515245 + 12345;
        b = static_cast<std::uint8_t>(x >> 24);
    }
    receiver.SetGeometry(20000, false);
    receiver.Feed(bytes, sink);
    EXPECT_GT(stats.LostBytes + stats.ChecksumErrors, 0);
}

}  // namespace
}  // namespace qx40
