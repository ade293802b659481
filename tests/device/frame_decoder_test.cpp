#include "device/frame_decoder.h"

#include <gtest/gtest.h>

#include <numeric>

#include "base/little_endian.h"

namespace qx40 {
namespace {

// The register echo of a frame, set field by field.
struct Echo {
    RegisterEcho r{};
    Echo& Channels(std::uint8_t mask) { return r[28] = mask, *this; }
    Echo& Counts(std::int32_t pre, std::int32_t post) {
        PutLE<2>(&r[8], static_cast<std::uint64_t>(pre));
        PutLE<2>(&r[10], static_cast<std::uint64_t>(post));
        return *this;
    }
    Echo& Positions(std::int32_t w, std::int32_t tp) {
        PutLE<2>(&r[40], static_cast<std::uint64_t>(w));
        PutLE<2>(&r[42], static_cast<std::uint64_t>(tp));
        return *this;
    }
    Echo& Set(std::size_t at, std::uint8_t v) { return r[at] = v, *this; }
    Echo& Or(std::size_t at, std::uint8_t v) { return r[at] |= v, *this; }
};

class FrameDecoderTest : public testing::Test {
protected:
    void Decode(const std::vector<std::uint8_t>& raw, const Echo& echo) {
        decoder.DecodeFrame(raw, echo.r, ctx, tdc, recorderActive, recorder, out);
    }
    std::int32_t W(std::size_t i) const { return out.Info[i]; }

    FrameDecoder decoder;
    DecodeContext ctx;
    TdcConstants tdc;
    bool recorderActive = false;
    RecorderQueue recorder;
    SampleRecord out;
};

TEST_F(FrameDecoderTest, TriggerSampleLandsAtPreTriggerWhateverTp) {
    ctx.SampleCount = 5000;
    for (const std::int32_t tp : {0, 1, 777, 4999}) {
        std::vector<std::uint8_t> raw(5000, 10);
        raw[static_cast<std::size_t>(tp)] = 200;  // the trigger sample
        Decode(raw, Echo().Channels(0x01).Counts(500, 4500).Positions(0, tp));
        EXPECT_EQ(out.Min[kA1][500], 200) << tp;
        EXPECT_EQ(out.Max[kA1][500], 200) << tp;
        EXPECT_EQ(W(fi::PreTrigger), 500);
        EXPECT_EQ(W(fi::RingLength), 5000);
        EXPECT_EQ(W(fi::ValidPoints), 5000);
        EXPECT_EQ(std::count(out.Min[kA1].begin(), out.Min[kA1].begin() + 5000, 200), 1);
        EXPECT_EQ(out.Min[kA1][5000], kEmptySample);
        EXPECT_EQ(out.Min[kA2][0], kEmptySample);  // not present
    }
}

TEST_F(FrameDecoderTest, PeakDetectPairsAndHalvedCounts) {
    ctx.SampleCount = 5000;
    ctx.SampleDivider = 400;
    std::vector<std::uint8_t> raw(5000);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i % 2 ? 150 : 50);
    raw[1000] = 20;  // minimum of point 500
    raw[1001] = 230;
    Decode(raw, Echo().Channels(0x01).Or(1, 0x01).Counts(1000, 4000).Positions(0, 0));
    EXPECT_EQ(W(fi::PeakDetect), 1);
    EXPECT_EQ(W(fi::RingLength), 2500);
    EXPECT_EQ(W(fi::PreTrigger), 500);
    EXPECT_EQ(W(fi::ValidPoints), 2500);
    EXPECT_EQ(out.Min[kA1][500 + 500], 20);  // point 500 placed 500 after the trigger slot (tp 0)
    EXPECT_EQ(out.Max[kA1][1000], 230);
    EXPECT_EQ(out.Min[kA1][1001], 50);
    EXPECT_EQ(out.Max[kA1][1001], 150);
    EXPECT_EQ(out.Min[kA1][2500], kEmptySample);
    EXPECT_EQ(W(fi::TrigFine), 0);  // peak detect: no half-sample offset
}

TEST_F(FrameDecoderTest, DigitalBitPacking) {
    ctx.SampleCount = 8;
    // D1 alone: four samples a byte, bits 3..0.
    Decode({0b1010, 0b0110}, Echo().Channels(0x04).Counts(0, 8));
    std::vector<std::int32_t> d1(out.Min[kD1].begin(), out.Min[kD1].begin() + 8);
    EXPECT_EQ(d1, (std::vector<std::int32_t>{1, 0, 1, 0, 0, 1, 1, 0}));
    EXPECT_EQ(W(fi::Channels), 4);

    // D1 and D2: bit 3 D1, bit 2 D2 of one sample, bits 1, 0 of the next.
    Decode({0b1001, 0b0110, 0b1111, 0b0000}, Echo().Channels(0x0C).Counts(0, 8));
    d1.assign(out.Min[kD1].begin(), out.Min[kD1].begin() + 8);
    std::vector<std::int32_t> d2(out.Min[kD2].begin(), out.Min[kD2].begin() + 8);
    EXPECT_EQ(d1, (std::vector<std::int32_t>{1, 0, 0, 1, 1, 1, 0, 0}));
    EXPECT_EQ(d2, (std::vector<std::int32_t>{0, 1, 1, 0, 1, 1, 0, 0}));
}

TEST_F(FrameDecoderTest, AnalogAndDigitalInterleave) {
    ctx.SampleCount = 4;
    // A1, A2 per sample; after the fourth sample's analog bytes one D1 byte.
    Decode({10, 20, 11, 21, 12, 22, 13, 23, 0b1100}, Echo().Channels(0x07).Counts(0, 4));
    EXPECT_EQ(out.Min[kA1][3], 13);
    EXPECT_EQ(out.Min[kA2][3], 23);
    EXPECT_EQ(out.Min[kD1][0], 1);
    EXPECT_EQ(out.Min[kD1][3], 0);
}

TEST_F(FrameDecoderTest, SingleChannelModePicksTheChannel) {
    ctx.SampleCount = 4;
    ctx.SingleChannelMode = true;
    Decode({1, 2, 3, 4, 0b1010}, Echo().Channels(0x0F).Set(2, 0x01 | 0x02 | 0x04).Counts(0, 4));
    EXPECT_EQ(W(fi::Channels), 2 | 8);
    EXPECT_EQ(out.Min[kA2][2], 3);
    EXPECT_EQ(out.Min[kA1][0], kEmptySample);
    EXPECT_EQ(out.Min[kD2][0], 1);
    EXPECT_EQ(out.Min[kD1][0], kEmptySample);
}

TEST_F(FrameDecoderTest, ShortFrameLeavesTheRestEmpty) {
    ctx.SampleCount = 100;
    Decode({5, 6, 7}, Echo().Channels(0x01).Counts(0, 100));
    EXPECT_EQ(out.Min[kA1][2], 7);
    EXPECT_EQ(out.Min[kA1][3], kEmptySample);
}

TEST_F(FrameDecoderTest, StatisticsAndClipping) {
    ctx.SampleCount = 4;
    Decode({10, 20, 30, 40}, Echo().Channels(0x01).Counts(0, 4));
    EXPECT_EQ(W(fi::SumA1), 100);  // (min + max) / 2 over the points
    EXPECT_EQ(W(fi::PeakToPeakA1), 30);
    EXPECT_EQ(W(fi::SumA2), 0);  // not present
    struct Case {
        std::vector<std::uint8_t> raw;
        std::int32_t p2p;
    };
    for (const Case& c : {Case{{1, 253, 100, 100}, 252}, Case{{0, 100, 100, 100}, -1}, Case{{10, 254, 100, 100}, -1}}) {
        Decode(c.raw, Echo().Channels(0x01).Counts(0, 4));
        EXPECT_EQ(W(fi::PeakToPeakA1), c.p2p);
        EXPECT_EQ(W(fi::PeakToPeakA2), -1);  // not present
    }
}

TEST_F(FrameDecoderTest, RollRecordFillingAndFull) {
    ctx.SampleCount = 10;
    std::vector<std::uint8_t> raw(10);
    std::iota(raw.begin(), raw.end(), 100);  // ring order: slot k holds 100 + k
    const std::uint8_t rollData = 0x01, full = 0x02;

    // Filling: only the points before W are valid.
    Decode(raw, Echo().Channels(0x01).Set(29, 1).Set(0, rollData).Counts(0, 10).Positions(4, 0));
    EXPECT_EQ(W(fi::RollFrame), 1);
    EXPECT_EQ(W(fi::ValidPoints), 4);
    EXPECT_EQ(W(fi::WritePos), 4);
    EXPECT_EQ(out.Min[kA1][3], 103);
    EXPECT_EQ(out.Min[kA1][4], kEmptySample);

    // Full, no scroll display: ring order, write position W.
    Decode(raw, Echo().Channels(0x01).Set(29, 1).Set(0, rollData | full).Counts(0, 10).Positions(4, 0));
    EXPECT_EQ(W(fi::ValidPoints), 10);
    EXPECT_EQ(W(fi::WritePos), 4);
    EXPECT_EQ(out.Min[kA1][4], 104);

    // Full with the scroll display: oldest first, the newest at the end.
    ctx.Lenta = true;
    Decode(raw, Echo().Channels(0x01).Set(29, 1).Set(0, rollData | full).Counts(0, 10).Positions(4, 0));
    EXPECT_EQ(W(fi::WritePos), 10);
    EXPECT_EQ(out.Min[kA1][0], 104);
    EXPECT_EQ(out.Min[kA1][9], 103);
}

TEST_F(FrameDecoderTest, RecorderTakesA1BytesUpToTheWritePosition) {
    ctx.SampleCount = 10;
    recorderActive = true;
    std::vector<std::uint8_t> raw(10);
    std::iota(raw.begin(), raw.end(), 0);
    const auto frame = [&](std::int32_t w) { Decode(raw, Echo().Channels(0x01).Set(29, 1).Set(0, 1).Counts(0, 10).Positions(w, 0)); };
    frame(3);  // the first frame only sets the position
    EXPECT_EQ(recorder.Count(), 0u);
    frame(8);
    frame(2);  // wraps at the ring end
    const std::vector<std::uint8_t> queued(recorder.Pending().begin(), recorder.Pending().end());
    EXPECT_EQ(queued, (std::vector<std::uint8_t>{3, 4, 5, 6, 7, 8, 9, 0, 1}));
    recorderActive = false;
    frame(5);
    EXPECT_EQ(recorder.Count(), 0u);
    EXPECT_EQ(recorder.Last, -1);
}

// With peak detect the instrument's write position counts raw entries, two
// per point; the recorder takes both entries of every point it passes.
TEST_F(FrameDecoderTest, RecorderTakesBothEntriesOfEachPointWithPeakDetect) {
    ctx.SampleCount = 10;
    recorderActive = true;
    std::vector<std::uint8_t> raw(10);
    std::iota(raw.begin(), raw.end(), 0);
    const auto frame = [&](std::int32_t rawW) {
        Decode(raw, Echo().Channels(0x01).Set(1, 0x01).Set(29, 1).Set(0, 1).Counts(0, 10).Positions(rawW, 0));
    };
    frame(4);
    EXPECT_EQ(W(fi::RingLength), 5) << "five min/max points";
    frame(8);
    frame(2);  // wraps at the raw ring's end
    const std::vector<std::uint8_t> queued(recorder.Pending().begin(), recorder.Pending().end());
    EXPECT_EQ(queued, (std::vector<std::uint8_t>{4, 5, 6, 7, 8, 9, 0, 1}));
}

TEST(RecorderQueue, NeverGrowsPastItsCapacityAndCountsWhatItDrops) {
    RecorderQueue q;
    for (std::size_t i = 0; i < RecorderQueue::kCapacity + 10; ++i) q.Append(static_cast<std::uint8_t>(i));
    EXPECT_EQ(q.Count(), RecorderQueue::kCapacity);
    EXPECT_EQ(q.Dropped(), 10u);
    q.Clear();
    EXPECT_EQ(q.Dropped(), 0u) << "counted from one drain to the next";
}

TEST_F(FrameDecoderTest, TriggerSourceAndLevel) {
    ctx.SampleCount = 4;
    ctx.TriggerCount = 1;
    ctx.Lev_A1 = 300.4;  // clamped
    ctx.Lev_A2 = 99.5;
    struct Case {
        std::uint8_t flags;  // echo register 1
        std::int32_t source, level;
    };
    for (const Case c : {Case{0x00, 1, 255}, Case{0x04, 2, 100}, Case{0x02, 3, 100}, Case{0x06, 4, 100}}) {
        Decode({1, 2, 3, 4}, Echo().Channels(0x01).Set(1, c.flags).Set(17, 77).Counts(0, 4));
        EXPECT_EQ(W(fi::TrigSource), c.source);
        EXPECT_EQ(W(fi::TrigLevel), c.level) << "digital sources keep the last analog level";
        EXPECT_EQ(W(fi::TrigEcho + 1), c.source <= 2 ? 77 : 255);
    }
    // Not triggered (auto): no source.
    Decode({1, 2, 3, 4}, Echo().Channels(0x01).Set(0, 0x04).Counts(0, 4));
    EXPECT_EQ(W(fi::TrigSource), 0);
    ctx.TriggerCount = 0;
    Decode({1, 2, 3, 4}, Echo().Channels(0x01).Counts(0, 4));
    EXPECT_EQ(W(fi::TrigSource), 0);
}

TEST_F(FrameDecoderTest, FinePositionFromTheCrossingCodes) {
    ctx.SampleCount = 4;
    ctx.SampleDivider = 4;
    ctx.TriggerCount = 1;
    ctx.LowA1 = 100;
    ctx.HighA1 = 120;
    Echo e = Echo().Channels(0x01).Counts(0, 4).Set(44, 90).Set(45, 130);
    PutLE<4>(&e.r[4], 2);  // P
    Decode({1, 2, 3, 4}, e);
    EXPECT_EQ(W(fi::TrigFine), 7);  // rising: f = (120 - 90) / 40, (2 + 0.75) x 10 / 4 = 6.875
    EXPECT_EQ(W(fi::TrigFine + 1), 7);
    EXPECT_EQ(W(fi::TrigFine + 2), 5);
    e.Or(1, 0x10);  // falling: f = (90 - 100) / 40, 1.75 x 2.5 = 4.375
    Decode({1, 2, 3, 4}, e);
    EXPECT_EQ(W(fi::TrigFine), 4);
    e.Set(44, 50).Set(45, 50);  // no difference: half a sample, 2.5 x 2.5 = 6.25
    Decode({1, 2, 3, 4}, e);
    EXPECT_EQ(W(fi::TrigFine), 6);
}

TEST_F(FrameDecoderTest, FinePositionInterpolatedAtFullRate) {
    ctx.SampleCount = 100;
    ctx.SampleDivider = 1;
    ctx.TriggerCount = 1;
    ctx.PreTrigCount = 50;
    ctx.HighA1 = 128;
    std::vector<std::uint8_t> raw(100);
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(std::clamp<int>(static_cast<int>(i) * 10 - 400, 0, 250));
    // Slot 50 holds 100, slot 51 holds 110 ... the ramp passes 128 between slots 52 and 53.
    ctx.PreTrigCount = 52;
    Decode(raw, Echo().Channels(0x01).Counts(50, 50).Positions(0, 50));
    EXPECT_EQ(out.Min[kA1][52], 120);
    EXPECT_EQ(W(fi::TrigFine), 9);  // 120 + 10 x 0.9 = 129 > 128
}

TEST_F(FrameDecoderTest, FinePositionOfDigitalSourceUsesTdc) {
    ctx.SampleCount = 4;
    ctx.SampleDivider = 1;
    ctx.TriggerCount = 1;
    tdc.RiseA1 = 16;
    Echo e = Echo().Channels(0x04).Set(1, 0x02).Counts(0, 4).Set(46, 0xE0 | 10);  // fine time 10
    Decode({0, 0, 0, 0}, e);
    EXPECT_EQ(out.TdcFine, 10) << "the count the TDC calibration reads, without the upper bits";
    EXPECT_EQ(W(fi::TrigFine), 4 + 5);  // (1 - 10/16) x 10 = 3.75
    EXPECT_EQ(W(fi::TrigFine + 1), 9);
    tdc.RiseA1 = 40;  // out of range: 20 is used
    Decode({0, 0, 0, 0}, e);
    EXPECT_EQ(W(fi::TrigFine), 5 + 5);
}

TEST_F(FrameDecoderTest, WildFineTimeSaturates) {
    ctx.SampleCount = 4;
    ctx.SampleDivider = 1;
    ctx.TriggerCount = 1;
    Echo e = Echo().Channels(0x04).Set(1, 0x02).Counts(0, 4);
    PutLE<4>(&e.r[4], 0x7FFFFFFF);  // P far beyond any sample interval
    Decode({0, 0, 0, 0}, e);
    EXPECT_EQ(W(fi::TrigFine), 2147483647);
    PutLE<4>(&e.r[4], 0x80000000);
    Decode({0, 0, 0, 0}, e);
    EXPECT_EQ(W(fi::TrigFine), -2147483647 - 1);
}

TEST_F(FrameDecoderTest, DescriptionWordsAndCounter) {
    ctx.SampleCount = 4;
    ctx.VoltsDivA1 = 500000;
    ctx.A1_Zero = 150;
    ctx.GenFreq = 12345;
    Echo e = Echo().Channels(0x01).Counts(0, 4);
    PutLE<2>(&e.r[66], 25);
    Decode({1, 2, 3, 4}, e);
    Decode({1, 2, 3, 4}, e);
    EXPECT_EQ(W(fi::DeviceTypeCode), 25);
    EXPECT_EQ(W(fi::VoltsDivA1), 500000);
    EXPECT_EQ(W(fi::ZeroA1), 150);
    EXPECT_EQ(W(fi::GenFreq), 12345);
    EXPECT_EQ(W(fi::FrameCounter), 2);
}

TEST_F(FrameDecoderTest, WildEchoValuesStayInsideTheBuffers) {
    ctx.SampleCount = 20000;
    std::vector<std::uint8_t> raw(20000, 7);
    for (const auto& [pre, post, w, tp] : {std::tuple{65535, 65535, 65535, 65535}, std::tuple{0, 0, 9, 9},
                                           std::tuple{30000, 30000, 40000, 12}}) {
        Decode(raw, Echo().Channels(0x01).Set(29, 1).Set(0, 0x03).Counts(pre, post).Positions(w, tp));
        EXPECT_LE(W(fi::RingLength), 40000);
        EXPECT_LE(W(fi::ValidPoints), W(fi::RingLength));
    }
    recorderActive = true;
    Decode(raw, Echo().Channels(0x01).Set(29, 1).Set(0, 0x01).Counts(10, 10).Positions(50000, 0));
    Decode(raw, Echo().Channels(0x01).Set(29, 1).Set(0, 0x01).Counts(10, 10).Positions(60000, 0));
    EXPECT_EQ(recorder.Count(), 0u);
}

}  // namespace
}  // namespace qx40
