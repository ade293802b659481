// The whole program in one process: the main window on the simulated
// instrument with its real-time clock and the real acquisition thread. The
// test only waits for what a user would see; the machine may be slow, so
// every wait is long and nothing is timed.
#include <gtest/gtest.h>

#include <QTest>

#include "app/main_window.h"
#include "device/usb/sim/simulated_link.h"
#include "files/ini_document.h"
#include "resources/fpga_image.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

constexpr int kPatience = 20000;  // ms for anything the instrument and the threads do

bool WaitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, kPatience);
}

class MainWindowEndToEndTest : public testing::Test {
protected:
    MainWindow& W() { return harness.Window(); }
    LinkFlags& Flags() { return W().Shared().flags; }
    std::uint32_t InstrumentDivider() {
        return static_cast<std::uint32_t>(link.Registers().Get<4>(reg::kSampleDivider));
    }
    bool InstrumentRunning() { return (link.Registers().reg[reg::kChanEnable] & kEnableRun) != 0; }

    // Grid columns that hold at least one pixel of the A1 trace colour.
    int ColumnsWithA1Colour() {
        const std::uint32_t bgr = W().Model().state.Colors[ColourSlot::CH_A1];
        const QRgb a1 = qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
        const QImage& bitmap = W().Bitmap();
        const ScreenGeometry& g = W().Geometry();
        int columns = 0;
        for (int x = g.X0 + 1; x < g.X0 + g.W; ++x)
            for (int y = g.Y0 + 1; y < g.Y0 + g.H; ++y)
                if ((bitmap.pixel(x, y) & 0xFFFFFF) == (a1 & 0xFFFFFF)) {
                    ++columns;
                    break;
                }
        return columns;
    }

    SimulatedLink link;  // outlives the window
    WindowHarness harness;
};

TEST_F(MainWindowEndToEndTest, RunTimeBaseSingleAndClose) {
    harness.Build(link, EmbeddedFpgaImage(), true);

    // First paint: the instrument is opened and configured.
    ASSERT_TRUE(harness.ShowAndWaitIdle(kPatience));
    ASSERT_TRUE(WaitFor([&] { return link.FpgaConfigured() && Flags().DeviceReady; }));
    EXPECT_TRUE(W().windowTitle().endsWith(" [simulated]")) << W().windowTitle().toStdString();
    EXPECT_FALSE(W().MainRecord().HasData());
    EXPECT_LT(ColumnsWithA1Colour(), W().Geometry().W / 2) << "no trace before RUN";

    // RUN: frames arrive and are drawn.
    harness.Button("SpeedButton_Run")->click();
    EXPECT_TRUE(harness.Button("SpeedButton_Run")->isChecked());
    ASSERT_TRUE(WaitFor([&] { return W().FramesShown() >= 3; }))
        << "frames shown: " << W().FramesShown();
    EXPECT_TRUE(InstrumentRunning());
    EXPECT_TRUE(W().MainRecord().HasData());
    EXPECT_FALSE(harness.Action("Menu_Open")->isEnabled()) << "a record opened now is lost at once";
    EXPECT_EQ(W().MainRecord().Info[fi::Divider], 200);  // 1 ms/div over 5000 samples
    EXPECT_TRUE(WaitFor([&] { return ColumnsWithA1Colour() > W().Geometry().W * 9 / 10; }))
        << "A1 trace columns: " << ColumnsWithA1Colour() << " of " << W().Geometry().W;

    // A new time base reaches the instrument with a new sequence number, and
    // the frames shown then were taken with it.
    const std::int32_t seqBefore = link.LastCmdSeq();
    harness.Button("SpeedButton_2mS")->click();
    EXPECT_TRUE(harness.Button("SpeedButton_2mS")->isChecked());
    EXPECT_EQ(W().Model().derived.SampleDivider, 400);
    ASSERT_TRUE(WaitFor([&] {
        return link.LastCmdSeq() != seqBefore && InstrumentDivider() == 400;
    })) << "sequence "
        << link.LastCmdSeq() << ", divider " << InstrumentDivider();
    const std::int32_t framesAt2mS = W().FramesShown();
    EXPECT_TRUE(WaitFor([&] {
        return W().FramesShown() > framesAt2mS + 1 && W().MainRecord().Info[fi::Divider] == 400;
    }));

    // SINGLE: one complete record, then the button springs back and the
    // instrument is told to stop.
    const std::int32_t framesBeforeSingle = W().FramesShown();
    harness.Button("SpeedButton_Sngl")->click();
    EXPECT_FALSE(harness.Button("SpeedButton_Run")->isChecked());
    ASSERT_TRUE(WaitFor([&] { return !harness.Button("SpeedButton_Sngl")->isChecked(); }))
        << "SINGLE still down";
    EXPECT_FALSE(Flags().RunFlag);
    EXPECT_FALSE(Flags().SingleFlag);
    EXPECT_TRUE(harness.Action("Menu_Open")->isEnabled())
        << "the file commands return with the stop";
    EXPECT_GT(W().FramesShown(), framesBeforeSingle);
    EXPECT_EQ(W().MainRecord().Info[fi::ValidPoints], W().MainRecord().Info[fi::RingLength]);
    EXPECT_EQ(W().MainRecord().Info[fi::Divider], 400);
    EXPECT_TRUE(WaitFor([&] { return !InstrumentRunning(); }))
        << "the stop never reached the instrument";
    const std::int32_t framesAfterSingle = W().FramesShown();
    QTest::qWait(300);
    EXPECT_EQ(W().FramesShown(), framesAfterSingle)
        << "no frame is shown once SINGLE has completed";
    EXPECT_GT(ColumnsWithA1Colour(), W().Geometry().W * 9 / 10)
        << "the single record stays on the screen";

    // Closing writes the program settings file.
    W().close();
    const IniDocument ini = IniDocument::Parse(harness.dir.Read("qx40.ini"));
    EXPECT_EQ(ini.Get("Scope", "2mS"), "1");
    EXPECT_EQ(ini.Get("Scope", "1mS"), "0");
    EXPECT_EQ(ini.Get("System", "QX40_INI_FILE"), "1");

    for (const UserMessage& m : harness.dialogs.shown)
        ADD_FAILURE() << "message box: " << m.caption << ": " << m.text;
}

}  // namespace
}  // namespace qx40
