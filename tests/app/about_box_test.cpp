// The About box on the window, before any instrument reported itself and
// after one did through its status frames.
#include "dialogs/about_box.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <deque>

#include "../device/frame_bytes.h"
#include "device/usb/fake_link.h"
#include "dialog_harness.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using namespace std::chrono_literals;
using testing_support::WhileOpen;
using testing_support::WindowHarness;

struct AboutSeen {
    std::string title, productName, version, version1, version2, serial;
    bool serialVisible = false;
    bool iconShown = false;
    bool okFocused = false;
    bool busy = false;
    QPoint centreOffset;
};

class AboutBoxTest : public testing::Test {
protected:
    // Opens the box, reads it and closes it with OK.
    AboutSeen Open() {
        AboutSeen seen;
        WhileOpen(W(), Action("Menu_About"), "AboutBox", [&](QDialog& d) {
            const auto text = [&](const char* name) {
                return d.findChild<QLabel*>(name)->text().toStdString();
            };
            seen.title = d.windowTitle().toStdString();
            seen.productName = text("ProductName");
            seen.version = text("Version");
            seen.version1 = text("Version1");
            seen.version2 = text("Version2");
            seen.serial = text("Label_SN");
            seen.serialVisible = d.findChild<QLabel*>("Label_SN")->isVisibleTo(&d);
            const QLabel* icon = d.findChild<QLabel*>("ProgramIcon");
            seen.iconShown = icon && !icon->pixmap().isNull() && icon->isVisibleTo(&d);
            seen.okFocused = d.focusWidget() == d.findChild<QWidget*>("OKButton");
            seen.busy = W().IsBusy();
            seen.centreOffset = d.frameGeometry().center() - W().frameGeometry().center();
            testing_support::ExpectNothingClipped(d);
            d.findChild<QAbstractButton*>("OKButton")->click();
        });
        EXPECT_FALSE(W().IsBusy());
        return seen;
    }
    // answers: to the questions the window asks while it opens the instrument.
    void Build(std::string programSettings, SleepFunction sleep = {},
               std::deque<MessageAnswer> answers = {}) {
        harness_ = std::make_unique<WindowHarness>(std::move(programSettings));
        harness_->dialogs.answers = std::move(answers);
        harness_->Build(fake, image, false, std::move(sleep));
        ASSERT_TRUE(harness_->ShowAndWaitIdle());
    }
    MainWindow& W() { return harness_->Window(); }
    QAction* Action(const char* name) { return harness_->Action(name); }

    FakeLink fake;        // outlives the window
    StatusRecord status;  // what the instrument answers an FPGA load with
    std::atomic<int> waits{0};
    std::vector<std::uint8_t> image = std::vector<std::uint8_t>(1024, 0x11);
    std::unique_ptr<WindowHarness> harness_;
};

TEST_F(AboutBoxTest, BeforeAnyInstrumentReportedItself) {
    Build("[Common]\nRussian=0\n");
    const AboutSeen en = Open();
    EXPECT_EQ(en.title, "About");
    EXPECT_EQ(en.productName, "QX40");
    EXPECT_EQ(en.version, "Software Version  2.08");
    EXPECT_EQ(en.version1, "Firmware Version  ...");
    EXPECT_EQ(en.version2, "FPGA Version  ...");
    EXPECT_FALSE(en.serialVisible) << "only in debug mode";
    EXPECT_TRUE(en.iconShown);
    EXPECT_TRUE(en.okFocused);
    EXPECT_TRUE(en.busy);
    EXPECT_LE(en.centreOffset.manhattanLength(), 4);

    Action("Menu_Russian")->trigger();
    const AboutSeen ru = Open();
    EXPECT_EQ(ru.title, "О программе");
    EXPECT_EQ(ru.productName, "QX40");
    EXPECT_EQ(ru.version, "Версия программы  2.08");
    EXPECT_EQ(ru.version1, "Версия ПО устройства  ...");
    EXPECT_EQ(ru.version2, "Версия FPGA устройства  ...");
}

TEST_F(AboutBoxTest, AfterTheInstrumentReportedItself) {
    // A QX4002 with firmware 0.15, FPGA 2.08 and serial 1A2B - 00012345,
    // answering every FPGA load with a status frame.
    status = testing_support::ConfiguredStatus(25);
    status.bytes[0] = 15;
    status.bytes[3] = 208;
    const std::uint8_t serial[] = {0x45, 0x23, 0x01,
                                   0x00, 0x2B, 0x1A};  // 32-bit part, then the 16-bit part
    std::copy(std::begin(serial), std::end(serial), status.bytes.begin() + 17);
    fake.AddDevice({0x0A41, "Digital Oscilloscope QX40"});
    // In debug mode the window asks before it opens the instrument found.
    Build("[Common]\nRussian=0\n[System]\nDebug_qx=1\n",
          [&](std::chrono::milliseconds ms) {
              if (ms == 200ms && ++waits % 2 == 0)
                  fake.QueueRead(testing_support::StatusFrameBytes(status));
          },
          {MessageAnswer::Yes});
    ASSERT_TRUE(QTest::qWaitFor([&] { return W().Shared().flags.DeviceInfoValid.load(); }, 20000));

    const AboutSeen en = Open();
    EXPECT_EQ(en.productName, "QX40   Device - QX4002");
    EXPECT_EQ(en.version, "Software Version  2.08");
    EXPECT_EQ(en.version1, "Firmware Version  0.15");
    EXPECT_EQ(en.version2, "FPGA Version  2.08");
    EXPECT_TRUE(en.serialVisible);
    EXPECT_EQ(en.serial, "Serial Number  1A2B - 00012345");

    Action("Menu_Russian")->trigger();
    const AboutSeen ru = Open();
    EXPECT_EQ(ru.productName, "QX40   Устройство - QX4002");
    EXPECT_EQ(ru.version1, "Версия ПО устройства  0.15");
    EXPECT_EQ(ru.serial, "Серийный номер устройства  1A2B - 00012345");
}

}  // namespace
}  // namespace qx40
