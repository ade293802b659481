#include "device/background_record.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

SampleRecord WithData(std::int32_t value) {
    SampleRecord r;
    r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 10;
    r.Min[kA1][0] = r.Max[kA1][0] = value;
    return r;
}

TEST(BackgroundRecord, SwapWithEmptyBackgroundKeepsTheLevels) {
    ScopeState s;
    s.Trigger.Lev_A1 = 150.5;
    s.Scope.A1_Zero = 120;
    SampleRecord main = WithData(42), bg;
    RecordFile mainFile{"a.qxd", true}, bgFile;
    RecordLevels bgLevels{1, 2, 3, 4};
    ASSERT_TRUE(SwapWithBackground(s, main, mainFile, bg, bgLevels, bgFile));
    EXPECT_FALSE(main.HasData());
    EXPECT_EQ(bg.Min[kA1][0], 42);
    EXPECT_DOUBLE_EQ(bgLevels.Lev_A1, 150.5);
    EXPECT_EQ(bgLevels.A1_Zero, 120);
    // The main side keeps the same levels and zeros.
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, 150.5);
    EXPECT_EQ(s.Scope.A1_Zero, 120);
    EXPECT_EQ(bgFile.name, "a.qxd");
    EXPECT_TRUE(bgFile.fromFile);
    EXPECT_EQ(mainFile.name, "a.qxd");
    EXPECT_FALSE(mainFile.fromFile);
}

TEST(BackgroundRecord, SwapExchangesEverything) {
    ScopeState s;
    s.Trigger.Lev_A2 = 70;
    s.Scope.A2_Zero = 60;
    SampleRecord main = WithData(1), bg = WithData(2);
    RecordFile mainFile{"m.qxd", false}, bgFile{"b.qxd", true};
    RecordLevels bgLevels{191, 30, 191, 20};
    ASSERT_TRUE(SwapWithBackground(s, main, mainFile, bg, bgLevels, bgFile));
    EXPECT_EQ(main.Min[kA1][0], 2);
    EXPECT_EQ(bg.Min[kA1][0], 1);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, 30);
    EXPECT_EQ(s.Scope.A2_Zero, 20);
    EXPECT_DOUBLE_EQ(bgLevels.Lev_A2, 70);
    EXPECT_EQ(bgLevels.A2_Zero, 60);
    EXPECT_EQ(mainFile.name, "b.qxd");
    EXPECT_TRUE(mainFile.fromFile);
}

TEST(BackgroundRecord, NothingToSwap) {
    ScopeState s;
    SampleRecord main, bg;
    RecordFile mf, bf;
    RecordLevels levels;
    EXPECT_FALSE(SwapWithBackground(s, main, mf, bg, levels, bf));
}

TEST(BackgroundRecord, ClearEmptiesIt) {
    SampleRecord bg = WithData(5);
    RecordFile f{"x.qxd", true};
    ClearBackground(bg, f);
    EXPECT_FALSE(bg.HasData());
    EXPECT_EQ(bg.Min[kA1][0], kEmptySample);
    EXPECT_FALSE(f.fromFile);
}

}  // namespace
}  // namespace qx40
