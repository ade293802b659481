// An instrument that is attached but keeps this program out (no permission,
// or another program holds it): the caption says so in the window's language
// until an open succeeds, and RUN reports the failure.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "device/usb/fake_link.h"
#include "window_harness.h"

namespace qx40 {
namespace {

using testing_support::WindowHarness;

void NoWait(std::chrono::milliseconds) {}

constexpr std::uint32_t kLocation = 0x01240000;

struct Case {
    bool russian;
    InstrumentAccess access;
    const char* suffix;
};

TEST(MainWindowAccess, CaptionSaysThatTheInstrumentCannotBeOpened) {
    const std::vector<std::uint8_t> image(1024, 0x11);
    for (const Case& c :
         {Case{false, InstrumentAccess::NoPermission, " [no access to the instrument]"},
          Case{true, InstrumentAccess::InUse, " [нет доступа к прибору]"}}) {
        FakeLink fake;
        fake.SetKind(LinkKind::Hardware);
        fake.AddDevice({kLocation, "Digital Oscilloscope QX40", kUsbOk, kUsbOk, kUsbDeviceNotOpened,
                        c.access});
        WindowHarness harness(c.russian ? "[Common]\nRussian=1\n" : "[Common]\nRussian=0\n");
        MainWindow& w = harness.Build(fake, image, false, NoWait);
        ASSERT_TRUE(harness.ShowAndWaitIdle());
        const QString suffix = QString::fromUtf8(c.suffix);
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.windowTitle().endsWith(suffix); }, 5000))
            << w.windowTitle().toStdString();
        EXPECT_FALSE(w.windowTitle().contains("[simulated]"));

        QToolButton* run = harness.Button("SpeedButton_Run");
        run->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.dialogs.shown.empty(); }, 5000))
            << "RUN reported nothing";
        EXPECT_EQ(harness.dialogs.shown[0].icon, MessageIcon::Error);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !run->isChecked(); }, 5000))
            << "RUN stayed down without an instrument";
        EXPECT_EQ(harness.dialogs.shown.size(), 1u);
        EXPECT_TRUE(w.windowTitle().endsWith(suffix));
    }
}

TEST(MainWindowAccess, NoSuchWordsWhileTheInstrumentOpens) {
    const std::vector<std::uint8_t> image(1024, 0x11);
    FakeLink fake;
    fake.SetKind(LinkKind::Hardware);
    fake.AddDevice({kLocation, "Digital Oscilloscope QX40"});
    WindowHarness harness;
    MainWindow& w = harness.Build(fake, image, false, NoWait);
    ASSERT_TRUE(harness.ShowAndWaitIdle());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.windowTitle().startsWith("QX4003"); }, 5000));
    EXPECT_FALSE(w.windowTitle().contains("access")) << w.windowTitle().toStdString();
}

}  // namespace
}  // namespace qx40
