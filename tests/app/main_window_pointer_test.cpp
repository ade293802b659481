// The pointer on the paint area and the keys of the main window, driven
// through the real window with mouse and key events. Positions come from the
// window's screen geometry: a level's handle sits on row
// Y0 + H - 1 - round(level * Vs), a row yr below the grid top means level
// round((H - yr) / Vs) - 1, a marker x line sits at X0 + round(x * Hs) and a
// y line at Y0 + round(y * Vs).
#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "base/round_nearest.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

class MainWindowPointerTest : public testing::Test {
protected:
    void SetUp() override {
        harness.Build(fake, image, false, NoWait);
        ASSERT_TRUE(harness.ShowAndWaitIdle());
        screen = harness.Window().findChild<QWidget*>("Image_M");
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(screen->size(), harness.Window().Bitmap().size());
    }

    MainWindow& W() { return harness.Window(); }
    ScopeState& State() { return W().Model().state; }
    const ScreenGeometry& G() { return W().Geometry(); }

    // Columns of the three areas: left of the grid, over it, right of it.
    int LeftStrip() { return G().X0 / 2; }
    int RightStrip() { return (G().X0 + G().W + screen->width()) / 2; }
    int HandleRow(double level) { return G().Y0 + G().H - 1 - RoundNearest(level * G().Vs); }
    std::int32_t LevelAtRow(int y) {
        const int yr = y - G().Y0;
        if (yr < 0) return 255;
        if (yr > G().H - 1) return 0;
        return RoundNearest((G().H - yr) / G().Vs) - 1;
    }
    // The row whose level is the given one (nearest from the top).
    int RowOfLevel(std::int32_t level) {
        for (int y = G().Y0; y < G().Y0 + G().H; ++y)
            if (LevelAtRow(y) == level) return y;
        ADD_FAILURE() << "no row shows level " << level;
        return G().Y0;
    }
    int MarkerColumn(std::int32_t x) { return G().X0 + RoundNearest(x * G().Hs); }
    int MarkerRow(std::int32_t y) { return G().Y0 + RoundNearest(y * G().Vs); }

    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mousePress(screen, b, {}, p);
    }
    void Move(QPoint p) { QTest::mouseMove(screen, p); }
    void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
        QTest::mouseRelease(screen, b, {}, p);
    }
    // What the window gets from a double click: press, release, the double
    // click in place of the second press, release.
    void DoubleClick(QPoint p) {
        Press(p);
        Release(p);
        QTest::mouseDClick(screen, Qt::LeftButton, {}, p);
        Release(p);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&W(), key, modifiers);
    }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
    QWidget* screen = nullptr;
};

// --- Zero and trigger-level handles --------------------------------------

TEST_F(MainWindowPointerTest, OnlyA2ShownGrabsTheA2ZeroHoweverFar) {
    harness.Action("Menu_CH_A1")->trigger();
    ASSERT_FALSE(State().Common.CH_A1);
    // Right on the hidden A1 handle, far from A2's.
    const QPoint p(LeftStrip(), HandleRow(State().Scope.A1_Zero));
    Press(p);
    Release(p);
    EXPECT_EQ(State().Scope.A1_Zero, 191);
    EXPECT_EQ(State().Scope.A2_Zero, LevelAtRow(p.y()));
    EXPECT_GT(State().Scope.A2_Zero, 150);
}

TEST_F(MainWindowPointerTest, ExactlyBetweenTheZeroHandlesGrabsA1) {
    // Zeros whose handle rows are an even number of rows apart, so that one
    // row lies exactly between them.
    State().Scope.A1_Zero = 160;
    State().Scope.A2_Zero = 100;
    if ((HandleRow(160) - HandleRow(100)) % 2 != 0) State().Scope.A2_Zero = 101;
    ASSERT_EQ((HandleRow(State().Scope.A1_Zero) - HandleRow(State().Scope.A2_Zero)) % 2, 0);
    W().ApplySettings();
    const int between = (HandleRow(State().Scope.A1_Zero) + HandleRow(State().Scope.A2_Zero)) / 2;
    const std::int32_t a2 = State().Scope.A2_Zero;
    const double levelA1 = State().Trigger.Lev_A1;

    Press({LeftStrip(), between});
    Release({LeftStrip(), between});
    EXPECT_EQ(State().Scope.A1_Zero, LevelAtRow(between));
    EXPECT_EQ(State().Scope.A2_Zero, a2);
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A1, levelA1 + LevelAtRow(between) - 160);
}

TEST_F(MainWindowPointerTest, ZeroDraggedPastTheGridStopsAtTopAndBottom) {
    const int above = G().Y0 - 5;
    const int below = G().Y0 + G().H + 20;
    Press({LeftStrip(), above});  // nearest handle: A1 at 191
    EXPECT_EQ(State().Scope.A1_Zero, 255);
    Move({LeftStrip(), below});
    EXPECT_EQ(State().Scope.A1_Zero, 0);
    Move({LeftStrip(), G().Y0 - 40});
    EXPECT_EQ(State().Scope.A1_Zero, 255);
    Release({LeftStrip(), G().Y0 - 40});
    EXPECT_EQ(State().Scope.A2_Zero, 63);

    Press({LeftStrip(), below});  // nearest handle now: A2 at 63
    EXPECT_EQ(State().Scope.A2_Zero, 0);
    Release({LeftStrip(), below});
    EXPECT_EQ(State().Scope.A1_Zero, 255);
}

TEST_F(MainWindowPointerTest, MovingTheA1ZeroCarriesItsTriggerLevel) {
    State().Trigger.Lev_A1 = 150.0;
    W().ApplySettings();
    const int row = HandleRow(State().Scope.A1_Zero);
    Press({LeftStrip(), row});
    const std::int32_t zero = State().Scope.A1_Zero;
    const double level = State().Trigger.Lev_A1;
    EXPECT_EQ(level - zero, 150.0 - 191);

    W().Shared().flags.SettingsDirty = false;
    Move({LeftStrip(), RowOfLevel(zero - 10)});
    EXPECT_EQ(State().Scope.A1_Zero, zero - 10);
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A1, level - 10);
    EXPECT_TRUE(W().Shared().flags.SettingsDirty) << "the instrument must see the new zero";
    Move({LeftStrip(), RowOfLevel(zero + 10)});
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A1, level + 10);
    Release({LeftStrip(), RowOfLevel(zero + 10)});
    EXPECT_EQ(State().Scope.A2_Zero, 63);
}

TEST_F(MainWindowPointerTest, RightStripGrabsTheNearerTriggerLevel) {
    Press({RightStrip(), HandleRow(70)});  // near A2's level 63
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A2, LevelAtRow(HandleRow(70)));
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A1, 191.0);
    Move({RightStrip(), G().Y0 + G().H + 30});
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A2, 0.0);
    Release({RightStrip(), G().Y0 + G().H + 30});
    // Released: moving on changes nothing.
    Move({RightStrip(), G().Y0});
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A2, 0.0);
}

// --- Markers ------------------------------------------------------------

TEST_F(MainWindowPointerTest, OneMarkerPairTiesGoToTheVerticalLine) {
    harness.Action("Menu_Markers_1")->trigger();
    ASSERT_EQ(W().Model().derived.MarkerMode, 1);
    struct Case {
        int dx, dy;
        bool vertical;
    };
    for (const Case c : {Case{7, 7, true}, Case{7, 6, false}, Case{6, 7, true}}) {
        State().Common.Marker_x = 25;
        State().Common.Marker_y = 240;
        const QPoint p(MarkerColumn(25) + c.dx, MarkerRow(240) - c.dy);
        Press(p);
        Release(p);
        if (c.vertical) {
            EXPECT_EQ(State().Common.Marker_x, RoundNearest((p.x() - G().X0) / G().Hs))
                << c.dx << "," << c.dy;
            EXPECT_NE(State().Common.Marker_x, 25);
            EXPECT_EQ(State().Common.Marker_y, 240);
        } else {
            EXPECT_EQ(State().Common.Marker_y, RoundNearest((p.y() - G().Y0) / G().Vs))
                << c.dx << "," << c.dy;
            EXPECT_NE(State().Common.Marker_y, 240);
            EXPECT_EQ(State().Common.Marker_x, 25);
        }
    }
}

TEST_F(MainWindowPointerTest, RightButtonPutsMarkersOnHalfDivisions) {
    ASSERT_EQ(W().Model().derived.MarkerMode, 2);
    const int halfX = G().Px / 2, halfY = G().Py / 2;
    const auto snappedX = [&](int x) {
        return RoundNearest(((x - G().X0 + G().Px / 4) / halfX) * halfX / G().Hs);
    };
    const auto snappedY = [&](int y) {
        return RoundNearest(((y - G().Y0 + G().Py / 4) / halfY) * halfY / G().Vs);
    };

    // Nearest line: Marker2_x (475). Half a division is 25 marker points.
    const QPoint p(G().X0 + G().W * 83 / 100, G().Y0 + G().H * 4 / 10);
    Press(p, Qt::RightButton);
    EXPECT_EQ(State().Common.Marker2_x, snappedX(p.x()));
    EXPECT_EQ(State().Common.Marker2_x % 25, 0);
    const QPoint q(G().X0 + G().W * 61 / 100 + 3, p.y());
    Move(q);
    EXPECT_EQ(State().Common.Marker2_x, snappedX(q.x()));
    EXPECT_EQ(State().Common.Marker2_x % 25, 0);
    Release(q, Qt::RightButton);

    // Nearest line: Marker2_y (16). Half a division is 16 levels.
    const QPoint r(G().X0 + G().W / 2, MarkerRow(16) + 13);
    Press(r, Qt::RightButton);
    EXPECT_EQ(State().Common.Marker2_y, snappedY(r.y()));
    EXPECT_EQ(State().Common.Marker2_y % 16, 0);
    const QPoint s(r.x(), G().Y0 + G().H * 6 / 10 + 3);
    Move(s);
    EXPECT_EQ(State().Common.Marker2_y, snappedY(s.y()));
    EXPECT_EQ(State().Common.Marker2_y % 16, 0);
    Release(s, Qt::RightButton);

    // The left button puts it where the pointer is.
    Press(s);
    EXPECT_EQ(State().Common.Marker2_y, RoundNearest((s.y() - G().Y0) / G().Vs));
    EXPECT_NE(State().Common.Marker2_y % 16, 0);
    Release(s);
}

// --- Double clicks ------------------------------------------------------

// Everything a stray press could move.
struct Handles {
    ScopeSection scope;
    double levA1, levA2;
    CommonSection common;
    bool operator==(const Handles&) const = default;
};

TEST_F(MainWindowPointerTest, DoubleClickAboveTheGridTogglesCompactViewAndMovesNothing) {
    const Handles before{State().Scope, State().Trigger.Lev_A1, State().Trigger.Lev_A2,
                         State().Common};
    const ScreenGeometry design = G();
    DoubleClick({G().X0 + G().W / 2, G().Y0 - 3});
    EXPECT_TRUE(W().CompactView());
    EXPECT_TRUE(harness.Action("Menu_Compact")->isChecked());
    EXPECT_FALSE(harness.Window().findChild<QWidget*>("GroupBox1")->isVisible());

    // Widened in compact view, the grid reaches over the column that is the
    // trigger-level strip of the design layout. Leaving compact view from
    // there, the second press of the double click falls on that strip.
    W().resize(W().width() + 100, W().height());
    ASSERT_TRUE(QTest::qWaitFor([&] { return G().W > design.W + 40; }, 20000));
    const QPoint p(design.X0 + design.W + 10, G().Y0 - 3);
    ASSERT_LT(p.x(), G().X0 + G().W);
    DoubleClick(p);
    EXPECT_FALSE(W().CompactView());
    EXPECT_FALSE(harness.Action("Menu_Compact")->isChecked());
    EXPECT_TRUE(harness.Window().findChild<QWidget*>("GroupBox1")->isVisible());
    ASSERT_GT(p.x(), G().X0 + G().W) << "the second press falls on the trigger-level strip";
    EXPECT_TRUE((Handles{State().Scope, State().Trigger.Lev_A1, State().Trigger.Lev_A2,
                         State().Common} == before));

    // The press after the double click acts again.
    Press(p);
    Release(p);
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A1, 255.0);
}

TEST_F(MainWindowPointerTest, DoubleClickBelowTheGridTogglesTheGeneratorStripAndMovesNothing) {
    const Handles before{State().Scope, State().Trigger.Lev_A1, State().Trigger.Lev_A2,
                         State().Common};
    // Near Marker1_x: without the strip the paint area grows and this row
    // falls inside the grid, where a press would move that marker.
    const QPoint p(MarkerColumn(25) + 2, G().Y0 + G().H + 3);
    DoubleClick(p);

    EXPECT_FALSE(State().Common.Generator);
    EXPECT_FALSE(harness.Action("Menu_Gen_View")->isChecked());
    EXPECT_FALSE(harness.Window().findChild<QWidget*>("GroupBox2")->isVisible());
    EXPECT_LE(p.y(), G().Y0 + G().H) << "the second press now falls inside the grid";
    Handles after{State().Scope, State().Trigger.Lev_A1, State().Trigger.Lev_A2, State().Common};
    after.common.Generator = true;
    EXPECT_TRUE(after == before);
}

// --- Keys ---------------------------------------------------------------

TEST_F(MainWindowPointerTest, TimeBaseKeysStopAtTheEndsAndStillRestart) {
    struct Case {
        const char* start;
        Qt::Key key;
        const char* down;
    };
    for (const Case c : {Case{"SpeedButton_20S", Qt::Key_Left, "SpeedButton_20S"},
                         Case{"SpeedButton_50nS", Qt::Key_Right, "SpeedButton_50nS"},
                         Case{"SpeedButton_1mS", Qt::Key_Left, "SpeedButton_2mS"},
                         Case{"SpeedButton_1mS", Qt::Key_Right, "SpeedButton_05mS"},
                         Case{"SpeedButton_100mS", Qt::Key_Left, "SpeedButton_200mS"},
                         Case{"SpeedButton_01mS", Qt::Key_Right, "SpeedButton_50uS"}}) {
        QToolButton* start = harness.Button(c.start);
        ASSERT_NE(start, nullptr) << c.start;
        start->click();
        const ScopeState before = State();
        W().Shared().flags.SettingsDirty = false;
        Key(c.key);
        EXPECT_TRUE(harness.Button(c.down)->isChecked()) << c.start;
        if (std::string(c.start) == c.down) {
            EXPECT_TRUE(State() == before) << c.start << ": nothing changes at the end of the row";
        } else {
            EXPECT_FALSE(start->isChecked()) << c.start;
        }
        EXPECT_TRUE(W().Shared().flags.SettingsDirty) << c.start << ": every step restarts";
    }
}

TEST_F(MainWindowPointerTest, ArrowKeysStepVoltsPerDivisionAndTheLevelsKeepTheirVoltage) {
    State().Trigger.Lev_A1 = 150.0;
    State().Trigger.Lev_A2 = 100.0;
    W().ApplySettings();
    Key(Qt::Key_Up);
    EXPECT_TRUE(harness.Button("SpeedButton_2V_A1")->isChecked());
    EXPECT_FALSE(harness.Button("SpeedButton_1V_A1")->isChecked());
    EXPECT_TRUE(harness.Button("SpeedButton_1V_A2")->isChecked());
    W().Shared().flags.SettingsDirty = false;
    Key(Qt::Key_Up);  // already at 2V
    EXPECT_TRUE(harness.Button("SpeedButton_2V_A1")->isChecked());
    EXPECT_TRUE(W().Shared().flags.SettingsDirty);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_TRUE(harness.Button("SpeedButton_05V_A1")->isChecked());
    // 41 codes below the zero at 1 V/div are 82 codes below it at 0.5 V/div.
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A1, 191 - 82);

    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(harness.Button("SpeedButton_2V_A2")->isChecked());
    EXPECT_TRUE(harness.Button("SpeedButton_05V_A1")->isChecked());
    for (int i = 0; i < 6; ++i) Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(harness.Button("SpeedButton_50mV_A2")->isChecked());
    EXPECT_DOUBLE_EQ(State().Trigger.Lev_A2, 63 + 37 * 20);  // from 1 V/div to 50 mV/div
    EXPECT_EQ(W().Model().derived.VoltsDivA2, 50000);
}

TEST_F(MainWindowPointerTest, SpaceAndEnterWorkRunAndSingle) {
    fake.AddDevice({0x0A41, "Digital Oscilloscope QX40"});
    Key(Qt::Key_Space);
    EXPECT_TRUE(harness.Button("SpeedButton_Run")->isChecked());
    // The instrument opens without holding up the window; RUN is in force then.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !W().IsBusy(); }, 20000));
    EXPECT_TRUE(harness.Button("SpeedButton_Run")->isChecked());
    EXPECT_TRUE(W().Shared().flags.RunFlag);
    EXPECT_FALSE(W().Shared().flags.SingleFlag);
    Key(Qt::Key_Enter);
    EXPECT_FALSE(harness.Button("SpeedButton_Run")->isChecked());
    EXPECT_TRUE(harness.Button("SpeedButton_Sngl")->isChecked());
    EXPECT_TRUE(W().Shared().flags.SingleFlag);
    Key(Qt::Key_Return);
    EXPECT_FALSE(harness.Button("SpeedButton_Sngl")->isChecked());
    EXPECT_FALSE(W().Shared().flags.RunFlag);
    Key(Qt::Key_Space);
    Key(Qt::Key_Space);
    EXPECT_FALSE(harness.Button("SpeedButton_Run")->isChecked());
    EXPECT_FALSE(W().Shared().flags.RunFlag);
    EXPECT_TRUE(harness.dialogs.shown.empty()) << harness.dialogs.shown.front().text;
}

TEST_F(MainWindowPointerTest, FCyclesTheSpectrumViews) {
    QAction* a1 = harness.Action("Menu_FFT_A1");
    QAction* a2 = harness.Action("Menu_FFT_A2");
    Key(Qt::Key_F);
    EXPECT_TRUE(a1->isChecked());
    EXPECT_FALSE(a2->isChecked());
    Key(Qt::Key_F);
    EXPECT_FALSE(a1->isChecked());
    EXPECT_TRUE(a2->isChecked());
    Key(Qt::Key_F);
    EXPECT_FALSE(a1->isChecked());
    EXPECT_FALSE(a2->isChecked());

    // Without A2 its spectrum item is disabled and unchecked, and F goes
    // between A1's and none.
    Key(Qt::Key_F);
    Key(Qt::Key_F);
    ASSERT_TRUE(a2->isChecked());
    harness.Action("Menu_CH_A2")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a2->isEnabled(); }, 20000));
    EXPECT_FALSE(State().FFT.View_A2);
    EXPECT_FALSE(a2->isChecked()) << "the menu shows a spectrum that is not drawn";
    Key(Qt::Key_F);
    EXPECT_TRUE(a1->isChecked());
    EXPECT_TRUE(State().FFT.View_A1);
    Key(Qt::Key_F);
    EXPECT_FALSE(a1->isChecked());
    EXPECT_FALSE(a2->isChecked());
    EXPECT_FALSE(State().FFT.View_A2);
}

}  // namespace
}  // namespace qx40
