#include "app/cli/screenshot_command.h"

#include <gtest/gtest.h>

#include <QImage>
#include <sstream>

#include "app/cli/capture_command.h"
#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "device/usb/sim/simulated_link.h"
#include "files/data_file.h"
#include "resources/fpga_image.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::ScriptedDialogs;
using testing_support::TempDir;

std::string SaveRecord(const TempDir& dir) {
    SampleRecord r;
    r.Info[fi::DeviceTypeCode] = 31;
    r.Info[fi::Divider] = 200;
    r.Info[fi::VoltsDivA1] = r.Info[fi::VoltsDivA2] = 1000000;
    r.Info[fi::ZeroA1] = 191;
    r.Info[fi::ZeroA2] = 63;
    r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 5000;
    r.Info[fi::PreTrigger] = 500;
    r.Info[fi::Channels] = 1 | 2;
    for (std::size_t i = 0; i < 5000; ++i) {
        r.Min[kA1][i] = r.Max[kA1][i] = static_cast<std::int32_t>(191 + 40 * ((i / 250) % 2));
        r.Min[kA2][i] = r.Max[kA2][i] = static_cast<std::int32_t>(63 + (i % 500) / 20);
    }
    std::string error;
    EXPECT_EQ(WriteDataFile(dir.File("rec.qxd"), r, error), DataFileError::None) << error;
    return dir.File("rec.qxd");
}

TEST(ScreenshotCommand, DataFileScreenIsTheWindowsScreen) {
    TempDir dir;
    const std::string record = SaveRecord(dir);

    // The window at its design size, showing the same file.
    dir.Write("qx40.ini", "[Common]\nRussian=0\n");
    FakeLink fake;
    ScriptedDialogs dialogs;
    MainWindowOptions o;
    o.link = &fake;
    o.dialogs = &dialogs;
    o.settingsPath = dir.File("qx40.ini");
    o.threadSleep = [](std::chrono::milliseconds) {};
    MainWindow window(o);
    window.show();
    const QWidget* paintArea = window.findChild<QWidget*>("Image_M");
    ScreenshotOptions options;
    EXPECT_EQ(paintArea->size(), QSize(options.width, options.height)) << "the default size is the window's";
    window.OpenDataFile(record);
    window.RefreshScreen();

    options.inputPath = record;
    options.outputPath = dir.File("shot.bmp");
    std::ostringstream err;
    ASSERT_EQ(RunScreenshot(options, nullptr, {}, false, err), kExitOk) << err.str();
    const QImage shot(QString::fromStdString(options.outputPath), "BMP");
    ASSERT_EQ(shot.size(), window.Bitmap().size());
    // The activity wheel is the window's own; everything else must match.
    const ScreenGeometry& g = window.Geometry();
    int differing = 0;
    for (int y = g.Y0; y <= g.Y0 + g.H; ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != window.Bitmap().pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}

TEST(ScreenshotCommand, SizeAndTracesFromTheInstrument) {
    TempDir dir;
    SimulatedLink sim;
    ScreenshotOptions options;
    options.width = 1280;
    options.height = 720;
    options.outputPath = dir.File("live.bmp");
    std::ostringstream err;
    ASSERT_EQ(RunScreenshot(options, &sim, EmbeddedFpgaImage(), true, err), kExitOk) << err.str();
    const QImage shot(QString::fromStdString(options.outputPath), "BMP");
    ASSERT_EQ(shot.size(), QSize(1280, 720));
    const ScreenGeometry g = ComputeScreenGeometry(1280, 720);
    int a2 = 0;  // the 1 kHz sine on A2 is drawn in its colour
    for (int y = g.Y0; y < g.Y0 + g.H; ++y)
        for (int x = g.X0; x < g.X0 + g.W; ++x)
            if (shot.pixel(x, y) == qRgb(255, 255, 0)) ++a2;
    EXPECT_GT(a2, g.W);
}

TEST(ScreenshotCommand, Failures) {
    TempDir dir;
    std::ostringstream err;
    ScreenshotOptions options;
    options.inputPath = dir.File("missing.qxd");
    options.outputPath = dir.File("x.bmp");
    EXPECT_EQ(RunScreenshot(options, nullptr, {}, false, err), kExitFile);
    EXPECT_NE(err.str().find("File not found."), std::string::npos);
    options.inputPath = SaveRecord(dir);
    options.settingsPath = dir.Write("bad.qxs", "[Common]\nGrid=0\n");
    EXPECT_EQ(RunScreenshot(options, nullptr, {}, false, err), kExitUsage) << "a settings file refused";
    options.settingsPath = dir.File("none.qxs");
    EXPECT_EQ(RunScreenshot(options, nullptr, {}, false, err), kExitFile);
    options.settingsPath.clear();
    options.outputPath = dir.File("none/x.bmp");
    EXPECT_EQ(RunScreenshot(options, nullptr, {}, false, err), kExitFile);
}

}  // namespace
}  // namespace qx40
