#include "screen/key_commands.h"

#include <gtest/gtest.h>

namespace qx40 {
namespace {

constexpr SpectrumItemsEnabled kBothEnabled{true, true};

TEST(KeyCommands, ArrowsStepTheTimeBaseAndStopAtTheEnds) {
    using enum TimebaseIndex;
    struct Case {
        TimebaseIndex from;
        Key key;
        TimebaseIndex to;
    } const cases[] = {
        {T1mS, Key::Left, T2mS},   {T1mS, Key::Right, T05mS}, {T10S, Key::Left, T20S},
        {T01uS, Key::Right, T50nS}, {T20S, Key::Left, T20S},   {T50nS, Key::Right, T50nS},
        {T20S, Key::Right, T10S},  {T50nS, Key::Left, T01uS},
    };
    for (const Case& c : cases) {
        ScopeState s;
        s.Scope.TimebaseIndex = c.from;
        ScopeState expected = s;
        expected.Scope.TimebaseIndex = c.to;
        // Also at the ends, where nothing changes, acquisition restarts.
        EXPECT_EQ(KeyDown(s, c.key, false, kBothEnabled), KeyAction::ApplyAndRestart);
        EXPECT_EQ(s, expected) << kTimebaseKeys[IndexOf(c.from)];
    }
}

TEST(KeyCommands, UpAndDownStepVoltsPerDivisionOfA1OrWithShiftA2) {
    using enum VoltsDiv;
    struct Case {
        VoltsDiv from;
        Key key;
        VoltsDiv to;
    } const cases[] = {
        {V1, Key::Up, V2},     {V1, Key::Down, V05},   {mV100, Key::Up, V02}, {V02, Key::Down, mV100},
        {V2, Key::Up, V2},     {mV50, Key::Down, mV50}, {mV50, Key::Up, mV100},
    };
    for (const bool shift : {false, true}) {
        for (const Case& c : cases) {
            ScopeState s;
            (shift ? s.Scope.A2 : s.Scope.A1) = c.from;
            ScopeState expected = s;
            (shift ? expected.Scope.A2 : expected.Scope.A1) = c.to;
            // A new range is marked as the range buttons mark it, so that the
            // apply keeps the trigger level's voltage; at the ends nothing is.
            (shift ? expected.VoltsDivChangedA2 : expected.VoltsDivChangedA1) = c.from != c.to;
            EXPECT_EQ(KeyDown(s, c.key, shift, kBothEnabled), KeyAction::ApplyAndRestart);
            EXPECT_EQ(s, expected) << shift << " " << kVoltsDivKeySuffixes[IndexOf(c.from)];
        }
    }
}

TEST(KeyCommands, SpaceEnterAndOtherKeysLeaveTheStateToTheHandlers) {
    struct Case {
        Key key;
        KeyAction action;
    } const cases[] = {
        {Key::Space, KeyAction::ClickSpeedButton_Run},
        {Key::Enter, KeyAction::ClickSpeedButton_Sngl},
        {Key::Other, KeyAction::None},
    };
    for (const Case& c : cases) {
        ScopeState s;
        s.View.Run = RunButton::Run;
        const ScopeState before = s;
        EXPECT_EQ(KeyDown(s, c.key, false, kBothEnabled), c.action);
        EXPECT_EQ(s, before);
    }
}

TEST(KeyCommands, FPicksTheSpectrumItemToClick) {
    struct Case {
        bool viewA1;
        bool viewA2;
        bool enabledA1;
        bool enabledA2;
        KeyAction action;
    } const cases[] = {
        {true, false, true, true, KeyAction::ClickMenu_FFT_A2},    // A1 -> A2
        {true, false, true, false, KeyAction::ClickMenu_FFT_A1},   // A1 -> off, A2 not available
        {false, true, true, true, KeyAction::ClickMenu_FFT_A2},    // A2 -> off
        {false, true, false, false, KeyAction::ClickMenu_FFT_A2},  // off even when disabled
        {false, false, true, true, KeyAction::ClickMenu_FFT_A1},   // off -> A1
        {false, false, false, true, KeyAction::ClickMenu_FFT_A2},  // off -> A2 without A1
        {false, false, false, false, KeyAction::None},
    };
    for (const Case& c : cases) {
        ScopeState s;
        s.FFT.View_A1 = c.viewA1;
        s.FFT.View_A2 = c.viewA2;
        const ScopeState before = s;
        EXPECT_EQ(KeyDown(s, Key::F, false, {c.enabledA1, c.enabledA2}), c.action)
            << c.viewA1 << c.viewA2 << c.enabledA1 << c.enabledA2;
        EXPECT_EQ(s, before);  // the item's handler does the switching
    }
}

// The spectrum items' handler: a toggle that turns the other item off.
void ClickSpectrumItem(FftSection& f, KeyAction click) {
    bool& mine = click == KeyAction::ClickMenu_FFT_A1 ? f.View_A1 : f.View_A2;
    bool& other = click == KeyAction::ClickMenu_FFT_A1 ? f.View_A2 : f.View_A1;
    mine = !mine;
    if (mine) other = false;
}

TEST(KeyCommands, RepeatedFCyclesOffA1A2Off) {
    ScopeState s;
    const auto press = [&s] {
        const KeyAction click = KeyDown(s, Key::F, false, kBothEnabled);
        ASSERT_NE(click, KeyAction::None);
        ClickSpectrumItem(s.FFT, click);
    };
    press();
    EXPECT_TRUE(s.FFT.View_A1 && !s.FFT.View_A2);
    press();
    EXPECT_TRUE(!s.FFT.View_A1 && s.FFT.View_A2);
    press();
    EXPECT_TRUE(!s.FFT.View_A1 && !s.FFT.View_A2);
}

}  // namespace
}  // namespace qx40
