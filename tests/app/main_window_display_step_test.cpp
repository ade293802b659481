// The display step under the window: what it asks comes after the hand-over,
// and a file handed over meanwhile waits its turn.
#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QTimer>

#include "device/usb/fake_link.h"
#include "device/usb/sim/simulated_link.h"
#include "files/data_file.h"
#include "resources/fpga_image.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

SampleRecord RecordOfModel(std::int32_t code) {
    SampleRecord r;
    r.Info[fi::DeviceTypeCode] = code;
    r.Info[fi::RingLength] = r.Info[fi::ValidPoints] = 50;
    r.Info[fi::Channels] = 1;
    for (std::size_t i = 0; i < 50; ++i) r.Min[kA1][i] = r.Max[kA1][i] = static_cast<std::int32_t>(100 + i);
    return r;
}

TEST(MainWindowDisplayStep, QuestionsWaitForTheHandOverAndAHandedOverFileWaitsItsTurn) {
    FakeLink fake;  // outlives the window
    WindowHarness harness;
    const std::vector<std::uint8_t> image(1024, 0x11);
    MainWindow& w = harness.Build(fake, image);
    ASSERT_TRUE(harness.ShowAndWaitIdle());

    std::string error;
    SampleRecord other = RecordOfModel(25), next = RecordOfModel(31);
    ASSERT_EQ(WriteDataFile(harness.dir.File("other.qxd"), other, error), DataFileError::None);
    ASSERT_EQ(WriteDataFile(harness.dir.File("next.qxd"), next, error), DataFileError::None);
    std::vector<bool> inHandOver;
    harness.dialogs.onShow = [&](const UserMessage& m) {
        inHandOver.push_back(w.Session().InHandOver());
        // A second copy of the program hands a file over while the model
        // warning of the display step is open.
        if (m.text.find("Interface will be changed") != std::string::npos)
            w.HandleCopyData(1, QString::fromStdString(harness.dir.File("next.qxd")));
    };
    harness.dialogs.answers = {MessageAnswer::No};
    w.OpenDataFile(harness.dir.File("other.qxd"));  // a QX4002 file in a QX4003 window

    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.dialogs.shown.size() >= 2; }, 20000));
    EXPECT_EQ(harness.dialogs.shown[0].text, "Interface will be changed for QX4002. ");
    EXPECT_EQ(harness.dialogs.shown[1].text, harness.dir.File("next.qxd") + "\r\nOpen data file?");
    EXPECT_EQ(inHandOver, (std::vector<bool>{false, false}));
    EXPECT_EQ(w.Model().state.System.Device_Type_Code, 25);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.IsBusy(); }, 20000));
}

// Frames of another model while a settings dialog is open: the question waits
// until the dialog has closed, so it never changes the model under the dialog.
TEST(MainWindowDisplayStep, TheModelQuestionWaitsForAnOpenDialog) {
    SimulatedLink sim;  // outlives the window
    sim.SetModelCode(28);
    WindowHarness harness("[Common]\nRussian=0\n[System]\nDevice_Type_Code=31\n");
    harness.dialogs.answers = {MessageAnswer::Yes};
    MainWindow& w = harness.Build(sim, EmbeddedFpgaImage(), true);
    struct CloseFirst {
        WindowHarness& h;
        ~CloseFirst() { h.window.reset(); }
    } closeFirst{harness};
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    auto* dialog = w.findChild<QDialog*>("Form_TrigSet");
    ASSERT_NE(dialog, nullptr);

    bool framesWhileOpen = false;
    std::size_t questionsWhileOpen = 99;
    QTimer::singleShot(0, dialog, [&] {
        const std::int32_t before = w.FramesShown();
        framesWhileOpen = QTest::qWaitFor([&] { return w.FramesShown() >= before + 3; }, 20000);
        questionsWhileOpen = harness.dialogs.shown.size();
        dialog->reject();
    });
    harness.Button("SpeedButton_Run")->click();
    harness.Action("Menu_Trigger")->trigger();

    EXPECT_TRUE(framesWhileOpen);
    EXPECT_EQ(questionsWhileOpen, 0u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Model().state.System.Device_Type_Code == 28; }, 20000))
        << "asked once the dialog had closed";
    ASSERT_EQ(harness.dialogs.shown.size(), 1u);
    EXPECT_EQ(harness.dialogs.shown[0].text, "Change interface for QX4001A? ");
}

}  // namespace
}  // namespace qx40
