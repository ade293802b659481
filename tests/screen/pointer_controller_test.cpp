#include "screen/pointer_controller.h"

#include <gtest/gtest.h>

#include "base/round_nearest.h"

namespace qx40 {
namespace {

constexpr PointerButtons kLeft{true, false};
constexpr PointerButtons kRight{false, true};
constexpr PointerButtons kNoButton{};

// A 731 x 422 paint area: X0 36, Y0 25, W 660, H 320, Px 66, Py 40, Hs 1.32
// and Vs 1.25, so that every scale takes part in the arithmetic. Expected
// values below follow level(yr) = round((H - yr) / Vs) - 1 and the marker
// positions round(xr / Hs), round(yr / Vs).
class PointerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(g.X0, 36);
        ASSERT_EQ(g.Y0, 25);
        ASSERT_EQ(g.W, 660);
        ASSERT_EQ(g.H, 320);
        ASSERT_EQ(g.Px, 66);
        ASSERT_EQ(g.Py, 40);
        ASSERT_DOUBLE_EQ(g.Hs, 1.32);
        ASSERT_DOUBLE_EQ(g.Vs, 1.25);
    }

    PointerScene Scene() { return {s, bg, g, bgHasData}; }
    PointerAction Press(int x, int y, PointerButtons b = kLeft) { return pointer.Press(Scene(), x, y, b); }
    PointerAction Move(int x, int y, PointerButtons b = kLeft) { return pointer.Move(Scene(), x, y, b); }
    void Reset() {
        s = ScopeState{};
        bg = kBackground;
        bgHasData = false;
        pointer = PointerController{};
    }

    // The row of a level's handle: Y0 + H - 1 - round(level x Vs).
    int HandleRow(double level) const { return g.Y0 + g.H - 1 - RoundNearest(level * g.Vs); }
    int LeftStrip() const { return g.X0 - 10; }
    int RightStrip() const { return g.X0 + g.W + 10; }

    static constexpr RecordLevels kBackground{100.0, 40.0, 120, 30};
    ScreenGeometry g = ComputeScreenGeometry(731, 422);
    ScopeState s;
    RecordLevels bg = kBackground;
    bool bgHasData = false;
    PointerController pointer;
};

TEST_F(PointerTest, HandleRowsOfTheDefaults) {
    EXPECT_EQ(HandleRow(191), 105);  // A1 zero and level
    EXPECT_EQ(HandleRow(63), 265);   // A2 zero and level
    EXPECT_EQ(HandleRow(120), 194);  // background A1 zero
    EXPECT_EQ(HandleRow(30), 306);   // background A2 zero
}

TEST_F(PointerTest, OnlyTheLeftAndRightButtonsAct) {
    const ScopeState before = s;
    EXPECT_EQ(Press(LeftStrip(), 100, kNoButton), PointerAction::None);
    EXPECT_EQ(pointer.DragMode(), DragTarget::None);
    EXPECT_EQ(s, before);

    ASSERT_EQ(Press(LeftStrip(), 105), PointerAction::ApplyAndRestart);
    ASSERT_EQ(pointer.DragMode(), DragTarget::A1_Zero);
    const ScopeState grabbed = s;
    EXPECT_EQ(Move(LeftStrip(), 35, kNoButton), PointerAction::None);
    EXPECT_EQ(s, grabbed);
    EXPECT_EQ(pointer.Release(kNoButton), PointerAction::None);
    EXPECT_EQ(pointer.DragMode(), DragTarget::A1_Zero);  // another button going up ends nothing

    EXPECT_EQ(pointer.Release(kLeft), PointerAction::ApplySettings);
    EXPECT_EQ(pointer.DragMode(), DragTarget::None);
    EXPECT_EQ(Move(LeftStrip(), 35), PointerAction::None);  // nothing grabbed any more
    EXPECT_EQ(s, grabbed);
}

TEST_F(PointerTest, LeftStripGrabsTheNearestZeroHalfWayGoesToA1) {
    struct Case {
        int y;
        DragTarget target;
        std::int32_t zero;
    } const cases[] = {
        {185, DragTarget::A1_Zero, 127},  // 80 rows from both handles; yr 160: round(128) - 1
        {186, DragTarget::A2_Zero, 126},  // 81 and 79 rows; yr 161: round(127.2) - 1
        {100, DragTarget::A1_Zero, 195},  // yr 75: round(196) - 1
        {300, DragTarget::A2_Zero, 35},   // yr 275: round(36) - 1
    };
    for (const Case& c : cases) {
        Reset();
        EXPECT_EQ(Press(LeftStrip(), c.y), PointerAction::ApplyAndRestart) << c.y;
        EXPECT_EQ(pointer.DragMode(), c.target) << c.y;
        if (c.target == DragTarget::A1_Zero) {
            EXPECT_EQ(s.Scope.A1_Zero, c.zero) << c.y;
            EXPECT_EQ(s.Scope.A2_Zero, 63) << c.y;
        } else {
            EXPECT_EQ(s.Scope.A2_Zero, c.zero) << c.y;
            EXPECT_EQ(s.Scope.A1_Zero, 191) << c.y;
        }
    }
}

TEST_F(PointerTest, OnlyTheShownChannelsZeroIsGrabbedHoweverFar) {
    s.Common.CH_A1 = false;
    EXPECT_EQ(Press(LeftStrip(), HandleRow(191)), PointerAction::ApplyAndRestart);  // right on the hidden A1 handle
    EXPECT_EQ(pointer.DragMode(), DragTarget::A2_Zero);
    EXPECT_EQ(s.Scope.A2_Zero, 191);  // yr 80: round(192) - 1
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, 63.0 + 128);
    EXPECT_EQ(s.Scope.A1_Zero, 191);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, 191.0);

    // A zero far off the screen (from a settings file) is still the one taken.
    Reset();
    s.Common.CH_A1 = false;
    s.Scope.A2_Zero = 20000;
    Press(LeftStrip(), HandleRow(191));
    EXPECT_EQ(pointer.DragMode(), DragTarget::A2_Zero);
    EXPECT_EQ(s.Scope.A2_Zero, 191);
    EXPECT_EQ(s.Scope.A1_Zero, 191);

    Reset();
    s.Common.CH_A2 = false;
    Press(LeftStrip(), HandleRow(63));
    EXPECT_EQ(pointer.DragMode(), DragTarget::A1_Zero);
    EXPECT_EQ(s.Scope.A1_Zero, 63);  // yr 240: round(64) - 1
}

TEST_F(PointerTest, NoAnalogChannelShownNoHandleIsGrabbed) {
    s.Common.CH_A1 = s.Common.CH_A2 = false;
    s.View.BG_View = bgHasData = true;
    const ScopeState before = s;
    for (const int x : {LeftStrip(), RightStrip()}) {
        EXPECT_EQ(Press(x, 105), PointerAction::None) << x;
        EXPECT_EQ(pointer.DragMode(), DragTarget::None) << x;
    }
    EXPECT_EQ(s, before);
    EXPECT_EQ(bg.A1_Zero, kBackground.A1_Zero);
}

TEST_F(PointerTest, ZeroAboveTheGridIs255AndBelowItIs0) {
    s.Trigger.Lev_A1 = 200.5;
    EXPECT_EQ(Press(LeftStrip(), g.Y0 - 5), PointerAction::ApplyAndRestart);
    ASSERT_EQ(pointer.DragMode(), DragTarget::A1_Zero);
    EXPECT_EQ(s.Scope.A1_Zero, 255);
    struct Step {
        int y;
        std::int32_t zero;
    } const steps[] = {
        {g.Y0 - 50, 255},      // held at the top line
        {g.Y0 + 2, 253},       // round(254.4) - 1
        {g.Y0, 255},           // round(256) - 1
        {g.Y0 + g.H - 1, 0},   // round(0.8) - 1
        {g.Y0 + g.H + 40, 0},  // held at the bottom line
    };
    for (const Step& step : steps) {
        EXPECT_EQ(Move(LeftStrip(), step.y), PointerAction::ApplyAndRestart) << step.y;
        EXPECT_EQ(s.Scope.A1_Zero, step.zero) << step.y;
        EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, step.zero + 9.5) << step.y;  // the level keeps its offset
    }

    Reset();
    Press(LeftStrip(), g.Y0 + g.H + 5);  // nearer the A2 handle
    EXPECT_EQ(pointer.DragMode(), DragTarget::A2_Zero);
    EXPECT_EQ(s.Scope.A2_Zero, 0);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, 0.0);
}

TEST_F(PointerTest, MovingAZeroBy10MovesItsTriggerLevelBy10) {
    s.Trigger.Lev_A1 = 200.5;
    s.Trigger.Lev_A2 = 70.25;
    Press(LeftStrip(), g.Y0 + 80);  // yr 80 gives 191: the zero stays
    EXPECT_EQ(s.Scope.A1_Zero, 191);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, 200.5);
    EXPECT_EQ(Move(LeftStrip(), g.Y0 + 68), PointerAction::ApplyAndRestart);  // round(201.6) - 1
    EXPECT_EQ(s.Scope.A1_Zero, 201);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, 210.5);
    pointer.Release(kLeft);

    Press(LeftStrip(), g.Y0 + 240);  // 63 again
    ASSERT_EQ(pointer.DragMode(), DragTarget::A2_Zero);
    Move(LeftStrip(), g.Y0 + 252);  // round(54.4) - 1
    EXPECT_EQ(s.Scope.A2_Zero, 53);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, 60.25);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, 210.5);
}

TEST_F(PointerTest, BackgroundZerosOnlyWhileTheBackgroundIsShownAndHoldsData) {
    struct Case {
        bool hasData;
        bool shown;
        DragTarget target;
    } const cases[] = {
        {true, true, DragTarget::BackgroundA1Zero},
        {true, false, DragTarget::A2_Zero},
        {false, true, DragTarget::A2_Zero},
        {false, false, DragTarget::A2_Zero},
    };
    for (const Case& c : cases) {
        Reset();
        bgHasData = c.hasData;
        s.View.BG_View = c.shown;
        // Rows from y = 190: A1 85, A2 75, background A1 4, background A2 116.
        const PointerAction action = Press(LeftStrip(), 190);
        EXPECT_EQ(pointer.DragMode(), c.target) << c.hasData << c.shown;
        if (c.target == DragTarget::BackgroundA1Zero) {
            EXPECT_EQ(action, PointerAction::ApplySettings);  // nothing for the instrument
            EXPECT_EQ(bg.A1_Zero, 123);                      // yr 165: round(124) - 1
            EXPECT_DOUBLE_EQ(bg.Lev_A1, 103.0);
            ScopeState untouched;
            untouched.View.BG_View = true;
            EXPECT_EQ(s, untouched);
        } else {
            EXPECT_EQ(action, PointerAction::ApplyAndRestart);
            EXPECT_EQ(s.Scope.A2_Zero, 123);
            EXPECT_EQ(bg.A1_Zero, kBackground.A1_Zero);
        }
    }
}

TEST_F(PointerTest, BackgroundZeroDragsMoveTheBackgroundLevels) {
    bgHasData = s.View.BG_View = true;
    const ScopeState before = s;
    EXPECT_EQ(Press(LeftStrip(), 194), PointerAction::ApplySettings);
    ASSERT_EQ(pointer.DragMode(), DragTarget::BackgroundA1Zero);
    EXPECT_EQ(Move(LeftStrip(), 300), PointerAction::ApplySettings);  // yr 275: round(36) - 1
    EXPECT_EQ(bg.A1_Zero, 35);
    EXPECT_DOUBLE_EQ(bg.Lev_A1, 100.0 - 85);
    pointer.Release(kLeft);

    EXPECT_EQ(Press(LeftStrip(), 306), PointerAction::ApplySettings);
    ASSERT_EQ(pointer.DragMode(), DragTarget::BackgroundA2Zero);
    EXPECT_EQ(bg.A2_Zero, 30);  // yr 281: round(31.2) - 1
    EXPECT_EQ(Move(LeftStrip(), 320), PointerAction::ApplySettings);  // yr 295: round(20) - 1
    EXPECT_EQ(bg.A2_Zero, 19);
    EXPECT_DOUBLE_EQ(bg.Lev_A2, 40.0 - 11);
    EXPECT_EQ(s, before);  // the live channels stay where they are
}

TEST_F(PointerTest, ZeroHandleTiesGoToA1ThenA2ThenTheBackground) {
    struct Case {
        bool a1Shown;
        std::int32_t bgA1;
        std::int32_t bgA2;
        int y;
        DragTarget target;
    } const cases[] = {
        {true, 191, 30, 105, DragTarget::A1_Zero},            // background A1 on the A1 handle
        {true, 63, 30, 265, DragTarget::A2_Zero},             // background A1 on the A2 handle
        {true, 120, 120, 194, DragTarget::BackgroundA1Zero},  // both background zeros on one row
        {false, 120, 30, 194, DragTarget::A2_Zero},           // a hidden channel's background zero is not taken
    };
    for (const Case& c : cases) {
        Reset();
        bgHasData = s.View.BG_View = true;
        s.Common.CH_A1 = c.a1Shown;
        bg.A1_Zero = c.bgA1;
        bg.A2_Zero = c.bgA2;
        Press(LeftStrip(), c.y);
        EXPECT_EQ(pointer.DragMode(), c.target) << c.y;
    }
}

TEST_F(PointerTest, RightStripGrabsTheNearestTriggerLevel) {
    struct Case {
        double levA1;
        double levA2;
        bool a1Shown;
        bool a2Shown;
        int y;
        DragTarget target;
        double level;
    } const cases[] = {
        {191, 63, true, true, 185, DragTarget::Lev_A1, 127},  // half way: A1
        {191, 63, true, true, 186, DragTarget::Lev_A2, 126},
        // Levels off the screen count from the edge they are beyond: A1 at 400 is
        // on the top line, 5 rows away; A2 at 220 39 rows. yr 5: round(252) - 1.
        {400, 220, true, true, 30, DragTarget::Lev_A1, 251},
        // Levels are rounded before they are placed: 190.6 sits with 191 on row 105,
        // 194 on row 101, so row 103 is half way.  yr 78: round(193.6) - 1.
        {190.6, 194, true, true, 103, DragTarget::Lev_A1, 193},
        {191, 63, true, false, 265, DragTarget::Lev_A1, 63},  // right on the hidden A2 level
        {191, 63, false, true, 105, DragTarget::Lev_A2, 191},
        {191, 63, true, true, 10, DragTarget::Lev_A1, 255},   // above the grid
        {191, 63, true, true, 400, DragTarget::Lev_A2, 0},    // below it
    };
    for (const Case& c : cases) {
        Reset();
        s.Trigger.Lev_A1 = c.levA1;
        s.Trigger.Lev_A2 = c.levA2;
        s.Common.CH_A1 = c.a1Shown;
        s.Common.CH_A2 = c.a2Shown;
        EXPECT_EQ(Press(RightStrip(), c.y), PointerAction::ApplyAndRestart) << c.y;
        EXPECT_EQ(pointer.DragMode(), c.target) << c.y;
        const bool a1 = c.target == DragTarget::Lev_A1;
        EXPECT_DOUBLE_EQ(a1 ? s.Trigger.Lev_A1 : s.Trigger.Lev_A2, c.level) << c.y;
        EXPECT_DOUBLE_EQ(a1 ? s.Trigger.Lev_A2 : s.Trigger.Lev_A1, a1 ? c.levA2 : c.levA1) << c.y;
        EXPECT_EQ(s.Scope.A1_Zero, 191);  // levels move alone
    }
}

TEST_F(PointerTest, TriggerLevelDragStaysOnTheGrid) {
    Press(RightStrip(), 105);
    ASSERT_EQ(pointer.DragMode(), DragTarget::Lev_A1);
    struct Step {
        int y;
        double level;
    } const steps[] = {{0, 255}, {1000, 0}, {g.Y0 + 160, 127}, {g.Y0 + g.H, 0}};
    for (const Step& step : steps) {
        EXPECT_EQ(Move(RightStrip(), step.y), PointerAction::ApplyAndRestart) << step.y;
        EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, step.level) << step.y;
    }
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, 63.0);
}

// Default markers: Marker1 (25, 240) on column 69 and row 325, Marker2 (475, 16)
// on column 663 and row 45.
TEST_F(PointerTest, TwoMarkersTheNearestLineIsTakenTiesInLineOrder) {
    struct Case {
        int x;
        int y;
        DragTarget target;
        std::int32_t value;
    } const cases[] = {
        {70, 200, DragTarget::Marker1_x, 26},   // xr 34: round(25.76)
        {300, 320, DragTarget::Marker1_y, 236},  // yr 295: round(236)
        {660, 200, DragTarget::Marker2_x, 473},  // xr 624: round(472.7)
        {300, 50, DragTarget::Marker2_y, 20},    // yr 25: round(20)
        {79, 315, DragTarget::Marker1_x, 33},    // 10 from Marker1_x and Marker1_y; xr 43: round(32.6)
        {648, 310, DragTarget::Marker1_y, 228},  // 15 from Marker1_y and Marker2_x
        {656, 52, DragTarget::Marker2_x, 470},   // 7 from Marker2_x and Marker2_y; xr 620: round(469.7)
        {g.X0, 105, DragTarget::Marker1_x, 0},   // the grid's own edges belong to the markers
        {g.X0 + g.W, 105, DragTarget::Marker2_x, 500},
        {300, g.Y0, DragTarget::Marker2_y, 0},
        {300, g.Y0 + g.H, DragTarget::Marker1_y, 256},
    };
    for (const Case& c : cases) {
        Reset();
        EXPECT_EQ(Press(c.x, c.y), PointerAction::ApplySettings) << c.x << "," << c.y;
        ASSERT_EQ(pointer.DragMode(), c.target) << c.x << "," << c.y;
        CommonSection expected;
        switch (c.target) {
            case DragTarget::Marker1_x: expected.Marker1_x = c.value; break;
            case DragTarget::Marker1_y: expected.Marker1_y = c.value; break;
            case DragTarget::Marker2_x: expected.Marker2_x = c.value; break;
            default: expected.Marker2_y = c.value; break;
        }
        EXPECT_EQ(s.Common, expected) << c.x << "," << c.y;
        EXPECT_EQ(s.Scope.A1_Zero, 191);
        EXPECT_DOUBLE_EQ(s.Trigger.Lev_A1, 191.0);
    }
}

// Marker (100, 100) on column 168 and row 150.
TEST_F(PointerTest, OneMarkerEqualDistancesTakeTheVerticalLine) {
    struct Case {
        int x;
        int y;
        DragTarget target;
        std::int32_t markerX;
        std::int32_t markerY;
    } const cases[] = {
        {188, 170, DragTarget::Marker_x, 115, 100},  // 20 and 20; xr 152: round(115.2)
        {189, 170, DragTarget::Marker_y, 100, 116},  // 21 and 20; yr 145: round(116)
        {168, 300, DragTarget::Marker_x, 100, 100},
    };
    for (const Case& c : cases) {
        Reset();
        s.Common.Markers_1 = true;
        s.Common.Markers_2 = false;
        s.Common.Marker_x = s.Common.Marker_y = 100;
        EXPECT_EQ(Press(c.x, c.y), PointerAction::ApplySettings);
        EXPECT_EQ(pointer.DragMode(), c.target) << c.x;
        EXPECT_EQ(s.Common.Marker_x, c.markerX) << c.x;
        EXPECT_EQ(s.Common.Marker_y, c.markerY) << c.x;
        EXPECT_EQ(s.Common.Marker1_x, 25);  // the pair of the other mode stays
    }
}

TEST_F(PointerTest, GridPressesGrabNothingWithoutMarkersOrOutsideTheGrid) {
    struct Case {
        bool markers2;
        int y;
    } const cases[] = {{false, 200}, {true, g.Y0 - 1}, {true, g.Y0 + g.H + 1}};
    for (const Case& c : cases) {
        Reset();
        s.Common.Markers_2 = c.markers2;
        const ScopeState before = s;
        EXPECT_EQ(Press(300, c.y), PointerAction::None) << c.y;
        EXPECT_EQ(pointer.DragMode(), DragTarget::None) << c.y;
        EXPECT_EQ(s, before) << c.y;
    }
}

TEST_F(PointerTest, MarkerDragsStayWithinTheGrid) {
    Press(70, 200);
    ASSERT_EQ(pointer.DragMode(), DragTarget::Marker1_x);
    struct Step {
        int x;
        std::int32_t value;
    } const xs[] = {{-100, 0}, {2000, 500}, {g.X0 + 200, 152}};  // round(151.5)
    for (const Step& step : xs) {
        EXPECT_EQ(Move(step.x, 900), PointerAction::ApplySettings);
        EXPECT_EQ(s.Common.Marker1_x, step.value) << step.x;
    }
    EXPECT_EQ(s.Common.Marker1_y, 240);
    pointer.Release(kLeft);

    Press(300, 50);
    ASSERT_EQ(pointer.DragMode(), DragTarget::Marker2_y);
    const Step ys[] = {{-30, 0}, {2000, 256}, {g.Y0 + 100, 80}};
    for (const Step& step : ys) {
        EXPECT_EQ(Move(-500, step.x), PointerAction::ApplySettings);
        EXPECT_EQ(s.Common.Marker2_y, step.value) << step.x;
    }
    EXPECT_EQ(s.Common.Marker2_x, 475);
}

// Half divisions are 33 pixels (25 marker points) across and 20 pixels
// (16 marker points) down; the snap adds a quarter division (16 and 10).
TEST_F(PointerTest, RightButtonSnapsMarkersToHalfDivisions) {
    EXPECT_EQ(Press(71, 200, kRight), PointerAction::ApplySettings);  // xr 35 -> 33
    ASSERT_EQ(pointer.DragMode(), DragTarget::Marker1_x);
    EXPECT_EQ(s.Common.Marker1_x, 25);
    struct Step {
        int x;
        PointerButtons buttons;
        std::int32_t value;
    } const steps[] = {
        {g.X0 + 150, kRight, 125},  // 150 -> 165
        {g.X0 + 148, kRight, 100},  // 148 -> 132
        {g.X0 + 700, kRight, 500},  // 693, then the grid's edge
        {g.X0 + 150, kLeft, 114},   // not snapped: round(113.6)
    };
    for (const Step& step : steps) {
        Move(step.x, 200, step.buttons);
        EXPECT_EQ(s.Common.Marker1_x, step.value) << step.x;
    }
    pointer.Release(kRight);

    Press(300, 320, kRight);  // yr 295 -> 300
    ASSERT_EQ(pointer.DragMode(), DragTarget::Marker1_y);
    EXPECT_EQ(s.Common.Marker1_y, 240);
    Move(300, g.Y0 + 109, kRight);  // 109 -> 100
    EXPECT_EQ(s.Common.Marker1_y, 80);
    Move(300, g.Y0 + 111, kRight);  // 111 -> 120
    EXPECT_EQ(s.Common.Marker1_y, 96);
}

TEST_F(PointerTest, RightButtonSnapsLevelsButHandlesAreFoundUnsnapped) {
    // Row 186 is nearer A2 (79 against 81); snapped it would be row 185, half way.
    Press(LeftStrip(), 186, kRight);
    EXPECT_EQ(pointer.DragMode(), DragTarget::A2_Zero);
    EXPECT_EQ(s.Scope.A2_Zero, 127);  // yr 161 -> 160: round(128) - 1
    Move(LeftStrip(), g.Y0 + 94, kRight);  // 94 -> 100: round(176) - 1
    EXPECT_EQ(s.Scope.A2_Zero, 175);

    Reset();
    Press(RightStrip(), 186, kRight);
    EXPECT_EQ(pointer.DragMode(), DragTarget::Lev_A2);
    EXPECT_DOUBLE_EQ(s.Trigger.Lev_A2, 127.0);
}

TEST_F(PointerTest, DoubleClickAboveTheGridTogglesCompactViewAndSkipsItsSecondPress) {
    EXPECT_EQ(Press(g.X0 + 100, g.Y0 - 5), PointerAction::None);
    EXPECT_TRUE(pointer.PointerInTopStrip());
    pointer.Release(kLeft);
    EXPECT_EQ(pointer.DoubleClick(s, kLeft), PointerAction::ArrangePanels);
    EXPECT_TRUE(s.View.Compact);
    EXPECT_TRUE(pointer.SkipNextMouseDown());

    // The press that ends the double click moves nothing, even on a marker crossing.
    const ScopeState toggled = s;
    EXPECT_EQ(Press(69, 325), PointerAction::None);
    EXPECT_EQ(pointer.DragMode(), DragTarget::None);
    EXPECT_EQ(s, toggled);
    EXPECT_FALSE(pointer.SkipNextMouseDown());
    EXPECT_EQ(Press(69, 325), PointerAction::ApplySettings);  // the next one does
    EXPECT_EQ(pointer.DragMode(), DragTarget::Marker1_x);

    // A second double click above the grid turns the compact view off again.
    Press(g.X0 + 100, g.Y0 - 5);
    pointer.DoubleClick(s, kLeft);
    EXPECT_FALSE(s.View.Compact);
}

TEST_F(PointerTest, DoubleClickBelowTheGridTogglesTheGeneratorOnlyOnGeneratorModels) {
    struct Case {
        std::int32_t model;
        bool generator;
    } const cases[] = {{31, false}, {28, false}, {25, true}};  // 25 has no generator
    for (const Case& c : cases) {
        Reset();
        s.System.Device_Type_Code = c.model;
        Press(g.X0 + 100, g.Y0 + g.H + 5);
        EXPECT_TRUE(pointer.PointerInBottomStrip());
        EXPECT_EQ(pointer.DoubleClick(s, kLeft), PointerAction::ArrangePanels) << c.model;
        EXPECT_EQ(s.Common.Generator, c.generator) << c.model;
        EXPECT_FALSE(s.View.Compact);
        EXPECT_TRUE(pointer.SkipNextMouseDown()) << c.model;
    }
}

TEST_F(PointerTest, DoubleClickElsewhereTogglesNothingAndKeepsTheNextPress) {
    struct Case {
        int x;
        int y;
    } const cases[] = {
        {g.X0 + 100, g.Y0 + 100},      // in the grid
        {g.X0, g.Y0 - 5},              // the strips end short of the grid's edges
        {g.X0 + g.W, g.Y0 + g.H + 5},
        {LeftStrip(), g.Y0 - 5},       // beside the grid, above it
    };
    for (const Case& c : cases) {
        Reset();
        Press(c.x, c.y);
        EXPECT_FALSE(pointer.PointerInTopStrip() || pointer.PointerInBottomStrip()) << c.x << "," << c.y;
        pointer.Release(kLeft);
        const ScopeState before = s;
        EXPECT_EQ(pointer.DoubleClick(s, kLeft), PointerAction::ArrangePanels);
        EXPECT_EQ(s, before);
        EXPECT_FALSE(pointer.SkipNextMouseDown());
        EXPECT_NE(Press(69, 325), PointerAction::None);
    }
}

TEST_F(PointerTest, StripFlagsComeFromTheLastPress) {
    Press(g.X0 + 100, g.Y0 - 5);
    Press(g.X0 + 100, g.Y0 + 100);
    pointer.DoubleClick(s, kLeft);
    EXPECT_FALSE(s.View.Compact);
    EXPECT_FALSE(pointer.SkipNextMouseDown());
}

TEST_F(PointerTest, OtherButtonsNeitherDoubleClickNorUseUpTheSkip) {
    Press(g.X0 + 100, g.Y0 - 5);
    EXPECT_EQ(pointer.DoubleClick(s, kNoButton), PointerAction::None);
    EXPECT_FALSE(s.View.Compact);
    EXPECT_FALSE(pointer.SkipNextMouseDown());

    pointer.DoubleClick(s, kLeft);
    ASSERT_TRUE(pointer.SkipNextMouseDown());
    Press(69, 325, kNoButton);
    EXPECT_TRUE(pointer.SkipNextMouseDown());
    EXPECT_EQ(Press(69, 325), PointerAction::None);
    EXPECT_FALSE(pointer.SkipNextMouseDown());
}

}  // namespace
}  // namespace qx40
