// The window's layout as a user resizes it and switches what it shows: the
// order of the right column at every size, the smallest size, and no menu
// left popped up on its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "device/usb/sim/simulated_link.h"
#include "files/data_file.h"
#include "resources/fpga_image.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

class MainWindowLayoutTest : public testing::Test {
protected:
    explicit MainWindowLayoutTest(std::string programSettings = "[Common]\nRussian=0\n")
        : harness(std::move(programSettings)) {}

    MainWindow& Build() { return harness.Build(fake, image, false, NoWait); }
    QWidget* Widget(const QString& name) { return harness.Window().findChild<QWidget*>(name); }

    // Every visible top-level window but the main window: a menu that was
    // shown as a window of its own, say.
    QStringList StrayWindows() {
        QApplication::processEvents();
        QStringList stray;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != harness.window.get())
                stray << w->objectName() + " (" + w->metaObject()->className() + ")";
        return stray;
    }

    FakeLink fake;
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    WindowHarness harness;
};

// The rows of the right column from the top down, as the user reads them.
std::vector<std::vector<QString>> ColumnRows(bool twoAnalog) {
    std::vector<QString> timeDiv = {"StaticText_TimeDiv"};
    for (const std::string_view key : kTimebaseKeys)
        timeDiv.push_back("SpeedButton_" + QString::fromLatin1(key.data(), key.size()));
    const auto channel = [](const QString& suffix) {
        std::vector<QString> row = {"SpeedButton_VoltsDiv" + suffix, "SpeedButton_ACDC" + suffix,
                                    "Panel_Color" + suffix};
        for (const std::string_view v : kVoltsDivKeySuffixes)
            row.push_back("SpeedButton_" + QString::fromLatin1(v.data(), v.size()) + suffix);
        return row;
    };
    std::vector<std::vector<QString>> rows = {
        {"SpeedButton_Run", "SpeedButton_Sngl"}, timeDiv, channel("_A1")};
    if (twoAnalog) rows.push_back(channel("_A2"));
    rows.push_back({"SpeedButton_Trig", "Panel_Color_Trig", "SpeedButton_TrigA1",
                    "SpeedButton_TrigEdge", "SpeedButton_Auto", "SpeedButton_TrigD1",
                    "SpeedButton_TPLUS", "SpeedButton_ret_trig"});
    return rows;
}

TEST_F(MainWindowLayoutTest, RightColumnReadsScopeTimeA1A2TriggerAtEverySize) {
    MainWindow& w = Build();
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    const QSize smallest = w.minimumSize();
    for (const auto& [code, twoAnalog] : {std::pair{31, true}, {28, false}}) {
        w.SelectDeviceModel(code);
        for (const QSize size : {smallest, QSize(1340, 860), QSize(1920, 1080), smallest}) {
            w.resize(size);
            QApplication::processEvents();
            SCOPED_TRACE("model " + std::to_string(code) + " at " + std::to_string(w.width()) +
                         " x " + std::to_string(w.height()));
            ASSERT_EQ(w.size(), size);
            const QWidget* column = Widget("GroupBox1");
            int above = 0;  // the bottom of the rows so far
            for (const std::vector<QString>& row : ColumnRows(twoAnalog)) {
                int top = column->height(), bottom = 0;
                for (const QString& name : row) {
                    const QWidget* item = Widget(name);
                    ASSERT_NE(item, nullptr) << name.toStdString();
                    top = std::min(top, item->y());
                    bottom = std::max(bottom, item->y() + item->height());
                }
                EXPECT_GE(top, above) << row.front().toStdString() << " overlaps the row above it";
                above = bottom;
            }
            EXPECT_LE(above, column->height()) << "the trigger controls fall out of the column";
        }
    }
}

TEST_F(MainWindowLayoutTest, WindowShrinksNoFurtherThanTheDesign) {
    MainWindow& w = Build();
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    const auto expectDesignClientArea = [&](const char* when) {
        w.resize(100, 100);
        QApplication::processEvents();
        SCOPED_TRACE(when);
        // The design's client area, 731 x 499, under the menu bar.
        EXPECT_GE(w.width(), 731);
        EXPECT_GE(w.height(), 499 + w.menuBar()->height());
        EXPECT_GE(w.centralWidget()->height(), 499);
    };
    // The desktop gets the same limit for the frame it draws.
    ASSERT_NE(w.windowHandle(), nullptr);
    EXPECT_EQ(w.windowHandle()->minimumSize(), w.minimumSize());
    expectDesignClientArea("at start");
    harness.Action("Menu_Compact")->trigger();
    harness.Action("Menu_Compact")->trigger();
    expectDesignClientArea("after compact view");
    harness.Action("Menu_Gen_View")->trigger();
    expectDesignClientArea("without the generator strip");
    EXPECT_EQ(w.windowHandle()->minimumSize(), w.minimumSize());
}

// The one-channel model, whose frequency-meter inputs read "CH A", "CH D"
// and "CH D (HF)", with its settings file and a data file.
class StrayMenuTest : public MainWindowLayoutTest {
protected:
    StrayMenuTest() : MainWindowLayoutTest("[Common]\nRussian=0\n[System]\nDevice_Type_Code=28\n") {
        SampleRecord r;
        r.Info[fi::DeviceTypeCode] = 28;
        r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 50;
        r.Info[fi::Channels] = 1;
        for (std::size_t i = 0; i < 50; ++i) r.Min[kA1][i] = r.Max[kA1][i] = 128;
        std::string error;
        EXPECT_EQ(WriteDataFile(harness.dir.File("record.qxd"), r, error), DataFileError::None);
        harness.dir.Write("one.qxs", "[Common]\nCH_D1=1\nFM_D1_HF=1\nGrid=0\n");
        harness.dir.Write("two.qxs", "[Common]\nCH_D1=1\nFM_D2=1\n");
    }
};

TEST_F(StrayMenuTest, NoMenuPopsUpWhenTheModelOrTheLanguageChanges) {
    harness.arguments = {harness.dir.File("one.qxs")};
    MainWindow& w = Build();
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    ASSERT_FALSE(w.Model().state.Common.Grid) << "the file on the command line was opened";
    EXPECT_EQ(StrayWindows(), QStringList()) << "after the command-line settings file";

    const std::pair<const char*, std::function<void()>> steps[] = {
        {"QX4003", [&] { harness.Action("Menu_4003")->trigger(); }},
        {"QX4002", [&] { harness.Action("Menu_4002")->trigger(); }},
        {"QX4001A", [&] { harness.Action("Menu_4001A")->trigger(); }},
        {"a settings file on the QX4001A",
         [&] { w.OpenSettingsFile(harness.dir.File("two.qxs")); }},
        {"QX4003", [&] { harness.Action("Menu_4003")->trigger(); }},
        {"a settings file on the QX4003", [&] { w.OpenSettingsFile(harness.dir.File("one.qxs")); }},
        {"compact view", [&] { harness.Action("Menu_Compact")->trigger(); }},
        {"full view", [&] { harness.Action("Menu_Compact")->trigger(); }},
        {"Russian", [&] { harness.Action("Menu_Russian")->trigger(); }},
        {"English", [&] { harness.Action("Menu_English")->trigger(); }},
    };
    for (const auto& [what, step] : steps) {
        step();
        EXPECT_EQ(StrayWindows(), QStringList()) << "after " << what;
    }
}

// The frame pipeline's model change, for a data file on the command line.
TEST_F(StrayMenuTest, NoMenuPopsUpWhenADataFileOfAnotherModelChangesTheLayout) {
    harness.arguments = {harness.dir.File("record.qxd")};
    MainWindow& w = Build();
    harness.Action("Menu_4003")->trigger();
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return w.Model().state.System.Device_Type_Code == 28; }, 20000))
        << "the data file's model was taken over";
    EXPECT_EQ(StrayWindows(), QStringList());
}

// The question at the first frames of an instrument of another model,
// answered Yes: the one-channel instrument on a window set up for QX4003.
TEST_F(StrayMenuTest, NoMenuPopsUpWhenTheInstrumentsModelIsTakenOver) {
    SimulatedLink sim;
    struct CloseFirst {  // the window goes before the link, on every way out
        WindowHarness& h;
        ~CloseFirst() { h.window.reset(); }
    } closeFirst{harness};
    sim.SetModelCode(28);
    harness.dir.Write("qx40.ini", "[Common]\nRussian=0\n[System]\nDevice_Type_Code=31\n");
    harness.dialogs.answers = {MessageAnswer::Yes};
    MainWindow& w = harness.Build(sim, EmbeddedFpgaImage(), true);
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    ASSERT_EQ(w.Model().state.System.Device_Type_Code, 31);
    harness.Button("SpeedButton_Run")->click();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return w.Model().state.System.Device_Type_Code == 28; }, 20000))
        << "the instrument's model was taken over";
    ASSERT_EQ(harness.dialogs.shown.size(), 1u);
    EXPECT_EQ(harness.dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(StrayWindows(), QStringList());
}

}  // namespace
}  // namespace qx40
