#include "base/interpolation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "device/sample_record.h"

namespace qx40 {
namespace {

TEST(SincTable, SymmetricWithZeroEnds) {
    EXPECT_EQ(SincTable[90], 6554);
    EXPECT_EQ(SincTable[0], 0);
    EXPECT_EQ(SincTable[91], 6442);
    EXPECT_EQ(SincTable[179], 0);
    for (int d = 1; d < 90; ++d) EXPECT_EQ(SincTable[static_cast<std::size_t>(90 - d)], SincTable[static_cast<std::size_t>(90 + d)]);
}

// Down to 17 slots the 18 taps reach a real sample on one side before they
// must be extrapolated on the other; records are never that short.
TEST(InterpolateSample, ConstantRecordStaysConstantEverywhere) {
    for (const std::int32_t value : {0, 1, 128, 254}) {
        for (const std::int32_t count : {17, 18, 40, 1000}) {
            const std::vector<std::int32_t> buf(static_cast<std::size_t>(count), value);
            for (std::int32_t i = 0; i < count - 1; ++i)
                for (std::int32_t phase = 0; phase < 10; ++phase)
                    ASSERT_EQ(InterpolateSample(buf.data(), i, phase, count), value)
                        << "value " << value << " count " << count << " slot " << i << " phase " << phase;
        }
    }
}

TEST(InterpolateSample, EdgesOfTheRecord) {
    const std::vector<std::int32_t> buf = {10, 20, 30, 40};
    EXPECT_EQ(InterpolateSample(buf.data(), -1, 0, 4), kEmptySample);
    EXPECT_EQ(InterpolateSample(buf.data(), 4, 0, 4), kEmptySample);
    EXPECT_EQ(InterpolateSample(buf.data(), 3, 0, 4), 40);  // the last slot itself
    EXPECT_EQ(InterpolateSample(buf.data(), 3, 5, 4), kEmptySample);  // nothing past it
    EXPECT_EQ(InterpolateSample(buf.data(), 2, 0, 4), 30);
}

TEST(InterpolateSample, LinearRampIsFollowed) {
    std::vector<std::int32_t> buf(64);
    for (std::size_t i = 0; i < buf.size(); ++i) buf[i] = static_cast<std::int32_t>(2 * i);
    for (std::int32_t phase = 1; phase < 10; ++phase) {
        const std::int32_t v = InterpolateSample(buf.data(), 30, phase, 64);
        EXPECT_NEAR(v, 60 + phase / 5.0, 1.0) << phase;
    }
}

TEST(InterpolateSample, SineBetweenSamples) {
    // 10 samples per period: the kernel must recover the sine between them.
    std::vector<std::int32_t> buf(100);
    for (std::size_t i = 0; i < buf.size(); ++i)
        buf[i] = static_cast<std::int32_t>(std::lround(127 + 100 * std::sin(2 * M_PI * static_cast<double>(i) / 10)));
    for (std::int32_t phase = 1; phase < 10; ++phase) {
        const double t = 50 + phase / 10.0;
        EXPECT_NEAR(InterpolateSample(buf.data(), 50, phase, 100), 127 + 100 * std::sin(2 * M_PI * t / 10), 3.0);
    }
}

TEST(InterpolateSample, EmptySlotsAreNotTreatedAsData) {
    std::vector<std::int32_t> buf(40, 100);
    for (std::size_t i = 20; i < 40; ++i) buf[i] = kEmptySample;  // a roll record still filling
    for (std::int32_t phase = 1; phase < 10; ++phase) EXPECT_EQ(InterpolateSample(buf.data(), 18, phase, 40), 100);
}

}  // namespace
}  // namespace qx40
