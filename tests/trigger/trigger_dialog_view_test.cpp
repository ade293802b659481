#include "trigger/trigger_dialog_view.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

TEST(TriggerDialogBoxes, ModesShowAsThreeStates) {
    const struct {
        std::int32_t mode;
        BoxState shown;
        std::int32_t stored;  // what a click on that state stores
    } cases[] = {{0, BoxState::Unchecked, 0},
                 {1, BoxState::Grayed, 1},
                 {2, BoxState::Checked, 2},
                 {3, BoxState::Checked, 2},
                 {-1, BoxState::Checked, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(ModeBoxState(c.mode), c.shown) << c.mode;
        EXPECT_EQ(ModeOfBox(ModeBoxState(c.mode)), c.stored) << c.mode;
    }
}

TEST(TriggerDialogBoxes, LevelBoxesShowMaskAndLevelOfTheirOwnBit) {
    TriggerSection t;
    t.Lev_Mask = 0b0110;
    t.Levels = 0b1100;  // D2's level bit without its mask bit: still "any"
    EXPECT_EQ(LevelBoxState(t, 0), BoxState::Unchecked);
    EXPECT_EQ(LevelBoxState(t, 1), BoxState::Grayed);
    EXPECT_EQ(LevelBoxState(t, 2), BoxState::Checked);
    EXPECT_EQ(LevelBoxState(t, 3), BoxState::Unchecked);
}

TEST(TriggerDialogBoxes, AClickOnALevelBoxSetsOnlyItsBits) {
    const struct {
        BoxState state;
        std::int32_t levels, mask;
    } cases[] = {{BoxState::Checked, 0b1011, 0b1011},
                 {BoxState::Grayed, 0b1001, 0b1011},
                 {BoxState::Unchecked, 0b1001, 0b1001}};
    for (const auto& c : cases) {
        TriggerSection t;
        t.Levels = 0b1001;
        t.Lev_Mask = 0b1001;
        SetLevelBox(t, 1, c.state);
        EXPECT_EQ(t.Levels, c.levels) << static_cast<int>(c.state);
        EXPECT_EQ(t.Lev_Mask, c.mask) << static_cast<int>(c.state);
    }
}

TEST(TriggerDialogPulseTime, TheOtherLimitGivesWay) {
    const struct {
        const char* name;
        bool minMoved;
        std::int32_t minPos, maxPos;
        PulseTimeLimits result;
    } cases[] = {
        {"min to 999 pushes max to 1000", true, 999, 500, {999, 1000}},
        {"min onto max", true, 500, 500, {500, 501}},
        {"min below max", true, 10, 500, {10, 500}},
        {"max to 1 pushes min to 0", false, 300, 1, {0, 1}},
        {"max onto min", false, 300, 300, {299, 300}},
        {"max above min", false, 300, 400, {300, 400}},
    };
    for (const auto& c : cases) {
        const PulseTimeLimits l = c.minMoved ? MovePulseTimeMin(c.minPos, c.maxPos)
                                             : MovePulseTimeMax(c.minPos, c.maxPos);
        EXPECT_EQ(l.min, c.result.min) << c.name;
        EXPECT_EQ(l.max, c.result.max) << c.name;
    }
}

TEST(TriggerDialogPulseTime, MultiplierButtons) {
    EXPECT_EQ(PulseTimeStepIndex(1), 0u);
    EXPECT_EQ(PulseTimeStepIndex(100), 2u);
    EXPECT_EQ(PulseTimeStepIndex(100000), 5u);
    EXPECT_FALSE(PulseTimeStepIndex(50).has_value());
    EXPECT_FALSE(PulseTimeStepIndex(0).has_value());
}

TEST(TriggerDialogView, ConditionCaptionsCarryTheLimitsAsTimes) {
    TriggerSection t;
    t.PTmin = 12, t.PTmax = 345, t.PTmult = 100;
    t.Slew = 255;
    t.N = 12;
    const struct {
        std::int32_t ptMode, slewMode;
        bool russian;
        char separator;
        const char *pulse, *slew, *trigN;
    } cases[] = {
        {1, 1, false, '.', "Duration inside   12.0 uS ... 345 uS", "Slew Time =< 2.55 uS",
         "Trigger N = 12"},
        {2, 2, false, '.', "Duration outside   12.0 uS ... 345 uS", "Slew Time > 2.55 uS",
         "Trigger N = 12"},
        {0, 0, false, '.', "Off", "Off", "Trigger N = 12"},
        {1, 1, true, ',', "В интервале   12,0 uS ... 345 uS", "Время фронта/среза =< 2,55 uS",
         "Номер фронта/среза = 12"},
        {2, 2, true, '.', "Вне интервала   12.0 uS ... 345 uS", "Время фронта/среза > 2.55 uS",
         "Номер фронта/среза = 12"},
        {0, 0, true, '.', "Выключена", "Выключена", "Номер фронта/среза = 12"},
    };
    for (const auto& c : cases) {
        t.PTMode = c.ptMode, t.Slew_Mode = c.slewMode;
        const TriggerDialogView v = ComputeTriggerDialogView(t, 31, c.russian, c.separator);
        EXPECT_EQ(v.PTMode, c.pulse);
        EXPECT_EQ(v.SlewMode, c.slew);
        EXPECT_EQ(v.TrigN, c.trigN);
        EXPECT_EQ(v.PulseTimeEnabled, c.ptMode != 0) << c.pulse;
        EXPECT_EQ(v.SlewEnabled, c.slewMode != 0) << c.slew;
    }
}

TEST(TriggerDialogView, TheLongestLimitsDoNotOverflow) {
    TriggerSection t;
    t.PTMode = 1, t.PTmin = 999, t.PTmax = 1000, t.PTmult = 100000;  // 1 s in 10 ns ticks
    EXPECT_EQ(ComputeTriggerDialogView(t, 31, false).PTMode, "Duration inside   999 mS ... 1.00 S");
}

TEST(TriggerDialogView, LevelBoxesByModel) {
    TriggerSection t;
    t.Lev_Mask = 0b0011;
    t.Levels = 0b0001;
    const struct {
        std::int32_t code;
        bool russian;
        std::array<const char*, 4> captions;
        std::array<bool, 4> visible;
    } cases[] = {
        {31, false, {"A1 = '1'", "A2 = '0'", "D1 = any", "D2 = any"}, {true, true, true, true}},
        {28, false, {"A = '1'", "A2 = '0'", "D = any", "D2 = any"}, {true, false, true, false}},
        {25, true, {"A1 = '1'", "A2 = '0'", "D = любой", "D2 = любой"}, {true, true, true, false}},
    };
    for (const auto& c : cases) {
        const TriggerDialogView v = ComputeTriggerDialogView(t, c.code, c.russian);
        for (std::size_t bit = 0; bit < 4; ++bit) {
            EXPECT_EQ(v.Level[bit], c.captions[bit]) << "model " << c.code << " bit " << bit;
            EXPECT_EQ(v.LevelVisible[bit], c.visible[bit]) << "model " << c.code << " bit " << bit;
        }
    }
    t.Lev_Mask = 0;
    EXPECT_EQ(ComputeTriggerDialogView(t, 28, false).Level[0], "A = any");
}

TEST(TriggerDialogView, TheSourceChannelTakesNoLevelConditionAndADigitalOneNoSlew) {
    const struct {
        TriggerSource source;
        std::array<bool, 4> levelEnabled;
        bool slewEnabled;
    } cases[] = {
        {TriggerSource::None, {true, true, true, true}, true},
        {TriggerSource::CH_A1, {false, true, true, true}, true},
        {TriggerSource::CH_A2, {true, false, true, true}, true},
        {TriggerSource::CH_D1, {true, true, false, true}, false},
        {TriggerSource::CH_D2, {true, true, true, false}, false},
    };
    for (const auto& c : cases) {
        TriggerSection t;
        t.Source = c.source;
        const TriggerDialogView v = ComputeTriggerDialogView(t, 31, false);
        EXPECT_EQ(v.LevelEnabled, c.levelEnabled) << static_cast<int>(c.source);
        EXPECT_EQ(v.SlewModeEnabled, c.slewEnabled) << static_cast<int>(c.source);
    }
}

}  // namespace
}  // namespace qx40
