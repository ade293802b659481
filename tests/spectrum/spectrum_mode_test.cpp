#include "spectrum/spectrum_mode.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

FrameInfo Frame(std::int32_t valid, std::int32_t channels, std::int32_t peakDetect = 0) {
    FrameInfo f;
    f[fi::RingLength] = f[fi::ValidPoints] = valid;
    f[fi::Channels] = channels;
    f[fi::PeakDetect] = peakDetect;
    return f;
}

TEST(SpectrumMode, ByMenuSamplesChannelAndPeakDetect) {
    const SpectrumMenus a1{true, true, true, false}, a2{true, true, false, true}, none{true, true, false, false};
    struct Case {
        SpectrumMenus menus;
        FrameInfo frame;
        std::int32_t mode;
    };
    const Case cases[] = {
        {none, Frame(5000, 3), kSpectrumOff},
        {a1, Frame(127, 3), kSpectrumTooFewA1},
        {a1, Frame(128, 3), kSpectrumA1},
        {a1, Frame(5000, 2), kSpectrumTooFewA1},  // A1 not in the frame
        {a1, Frame(5000, 3, 1), kSpectrumPeakDetect},
        {a2, Frame(5000, 3), kSpectrumA2},
        {a2, Frame(5000, 1), kSpectrumTooFewA2},
        {a2, Frame(0, 0), kSpectrumTooFewA2},
    };
    for (const Case& c : cases) EXPECT_EQ(ComputeSpectrumMode(c.menus, c.frame), c.mode);
}

TEST(SpectrumMode, HiddenChannelTurnsItsEntryOff) {
    ScopeState s;
    s.FFT.View_A2 = true;
    s.Common.CH_A2 = false;
    const SpectrumMenus m = ResolveSpectrumMenus(s);
    EXPECT_TRUE(m.EnabledA1);
    EXPECT_FALSE(m.EnabledA2);
    EXPECT_FALSE(m.ViewA2);
}

TEST(SpectrumMode, SizeIndexFollowsValidSamplesWhenAutomatic) {
    EXPECT_EQ(SpectrumSizeIndexFor(6, 1024), 0);
    EXPECT_EQ(SpectrumSizeIndexFor(6, 1025), 1);
    EXPECT_EQ(SpectrumSizeIndexFor(6, 5000), 3);  // 8192 points
    EXPECT_EQ(SpectrumSizeIndexFor(6, 16384), 4);
    EXPECT_EQ(SpectrumSizeIndexFor(6, 40000), 5);
    EXPECT_EQ(SpectrumSizeIndexFor(2, 100), 2);  // a fixed size stays
}

TEST(SpectrumMode, MessagesInBothLanguages) {
    EXPECT_EQ(SpectrumMessageText(kSpectrumTooFewA1, true, false), "Unsufficient  A1 samples for FFT.");
    EXPECT_EQ(SpectrumMessageText(kSpectrumTooFewA1, false, false), "Unsufficient samples for FFT.");
    EXPECT_EQ(SpectrumMessageText(kSpectrumTooFewA1, false, true), "Недостаточно отсчетов для БПФ.");
    EXPECT_EQ(SpectrumMessageText(kSpectrumTooFewA2, true, true), "Недостаточно отсчетов канала A2 для БПФ.");
    EXPECT_EQ(SpectrumMessageText(kSpectrumPeakDetect, true, false), "Sampling must be Normal for FFT.");
    EXPECT_EQ(SpectrumMessageText(kSpectrumPeakDetect, true, true), "Выключите пиковый детектор.");
    EXPECT_EQ(SpectrumMessageText(kSpectrumA1, true, false), "");
}

}  // namespace
}  // namespace qx40
