// The recorder window inside the program, on the simulated instrument in
// roll mode: refused outside it, then Start, a Stop declined, a close box
// declined, Stop and Exit, each answered through the dialog service. What
// the bytes are is tested on the recorder's core and on qx40cli record.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/main_window.h"
#include "device/usb/sim/simulated_link.h"
#include "resources/fpga_image.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;
using enum MessageAnswer;

constexpr int kPatience = 20000;  // ms for anything the instrument and the threads do

std::uintmax_t FileSize(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

TEST(MainWindowRecorder, TheMenuItemIsShownOnlyWithTheDebugFlag) {
    for (const bool debug : {false, true}) {
        SimulatedLink link;
        WindowHarness harness(std::string("[Common]\nRussian=0\n[System]\nDebug_qx=") +
                              (debug ? "1" : "0") + "\n");
        harness.Build(link, EmbeddedFpgaImage(), true);
        EXPECT_EQ(harness.Action("Menu_Recorder")->isVisible(), debug);
    }
}

class MainWindowRecorderTest : public testing::Test {
protected:
    MainWindowRecorderTest() : harness("[Common]\nRussian=0\n[System]\nDebug_qx=1\n") {}
    MainWindow& W() { return harness.Window(); }
    QDialog* Recorder() { return W().findChild<QDialog*>("Form_Recorder"); }
    template <typename T>
    T* In(const char* name) {
        return Recorder()->findChild<T*>(name);
    }
    // Opens the recorder and runs script while it is open; the recorder is
    // closed afterwards whatever the script did, so a failure never hangs.
    void WithRecorder(const std::function<void()>& script) {
        QTimer::singleShot(0, [&] {
            script();
            if (Recorder()->isVisible()) Recorder()->done(QDialog::Rejected);
        });
        harness.Action("Menu_Recorder")->trigger();
    }

    SimulatedLink link;  // outlives the window
    WindowHarness harness;
};

TEST_F(MainWindowRecorderTest, RecordsInRollModeAndAsksBeforeEndingARecording) {
    harness.dialogs.answers = {Yes};  // the debug flag asks before opening the instrument
    harness.Build(link, EmbeddedFpgaImage(), true);
    ASSERT_TRUE(harness.ShowAndWaitIdle(kPatience));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return link.FpgaConfigured() && W().Shared().flags.DeviceReady; }, kPatience))
        << (harness.dialogs.shown.empty() ? "" : harness.dialogs.shown.back().text);

    // Not running, and then running at 1 ms/div: refused.
    for (const bool run : {false, true}) {
        if (run) harness.Button("SpeedButton_Run")->click();
        harness.dialogs.shown.clear();
        harness.Action("Menu_Recorder")->trigger();
        ASSERT_EQ(harness.dialogs.shown.size(), 1u) << "run " << run;
        EXPECT_EQ(harness.dialogs.shown[0].caption, "Recorder");
        EXPECT_EQ(harness.dialogs.shown[0].text, "Run 0.1 .. 20 S/Div. Disable Trigger.");
        EXPECT_EQ(harness.dialogs.shown[0].icon, MessageIcon::Error);
        EXPECT_FALSE(Recorder()->isVisible());
    }

    harness.Button("SpeedButton_100mS")->click();
    ASSERT_TRUE(W().Model().derived.RollActive);
    const auto shown = W().FramesShown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return W().FramesShown() > shown + 1; }, kPatience));

    const std::string data = harness.dir.File("rec.bin");
    harness.dialogs.shown.clear();
    bool opened = false;
    WithRecorder([&] {
        opened = Recorder()->isVisible();
        ASSERT_TRUE(opened);
        EXPECT_TRUE(W().IsBusy()) << "the single-instance flag while the recorder is open";
        EXPECT_EQ(Recorder()->windowTitle(), "Recorder");
        EXPECT_EQ(In<QLabel>("Label_Size")->text(), "Size = ...");
        EXPECT_FALSE(In<QPushButton>("Button_Stop")->isEnabled());
        EXPECT_TRUE(In<QLineEdit>("Edit_File")->text().endsWith("recorder.bin"));

        In<QLineEdit>("Edit_File")->setText(QString::fromStdString(data));
        In<QPushButton>("Button_Start")->click();
        ASSERT_TRUE(W().Shared().flags.RecorderActive);
        for (const char* idle : {"Button_Start", "Button_File", "Button_Exit"})
            EXPECT_FALSE(In<QPushButton>(idle)->isEnabled()) << idle;
        ASSERT_TRUE(QTest::qWaitFor([&] { return FileSize(data) >= 1000; }, kPatience));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return In<QLabel>("Label_Size")->text().contains("Bytes    Time = 0  00:00:"); },
            kPatience))
            << In<QLabel>("Label_Size")->text().toStdString();

        // Stop declined, then the close box declined: still recording.
        harness.dialogs.answers = {No, No};
        In<QPushButton>("Button_Stop")->click();
        Recorder()->close();
        ASSERT_EQ(harness.dialogs.shown.size(), 2u);
        for (const UserMessage& m : harness.dialogs.shown) {
            EXPECT_EQ(m.caption, "Warning");
            EXPECT_EQ(m.text, "Stop recording?");
            EXPECT_EQ(m.buttons, MessageButtons::YesNo);
        }
        EXPECT_TRUE(Recorder()->isVisible());
        EXPECT_TRUE(W().Shared().flags.RecorderActive);
        EXPECT_TRUE(In<QPushButton>("Button_Stop")->isEnabled());
        const std::uintmax_t before = FileSize(data);
        EXPECT_TRUE(QTest::qWaitFor([&] { return FileSize(data) > before; }, kPatience))
            << "the file still grows";

        // Minimising the recorder minimises the program.
        Recorder()->setWindowState(Qt::WindowMinimized);
        EXPECT_TRUE(QTest::qWaitFor([&] { return W().isMinimized(); }, kPatience));
        W().showNormal();

        harness.dialogs.answers = {Yes};
        In<QPushButton>("Button_Stop")->click();
        EXPECT_FALSE(W().Shared().flags.RecorderActive);
        EXPECT_TRUE(In<QPushButton>("Button_Exit")->isEnabled());
        In<QPushButton>("Button_Exit")->click();
        EXPECT_FALSE(Recorder()->isVisible()) << "no question once stopped";
    });
    ASSERT_TRUE(opened);
    EXPECT_FALSE(W().IsBusy());

    const std::string text = harness.dir.Read("rec.txt");
    EXPECT_EQ(text.rfind("Oscilloscope recorder file = rec.bin\r\n\r\nSampling rate = ", 0), 0u)
        << text;
    EXPECT_NE(text.find("\r\nSize = " + std::to_string(FileSize(data)) + " Bytes\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(harness.dialogs.shown.size(), 3u) << "no box but the three questions";
}

}  // namespace
}  // namespace qx40
