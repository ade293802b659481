#include "device/device_session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device/usb/fake_link.h"
#include "scripted_dialogs.h"

namespace qx40 {
namespace {

using testing_support::ScriptedDialogs;
using enum MessageAnswer;

class DeviceSessionTest : public testing::Test {
protected:
    DeviceSession& Session(bool placeholder = false) {
        if (!session) {
            SessionHooks hooks;
            hooks.setBusy = [this](bool on) { busy.push_back(on); };
            hooks.applyAndRestart = [this] { ++restarts; };
            hooks.applySettings = [this] { ++applies; };
            hooks.releaseButton = [this](DeviceButton b) { released.push_back(b); };
            hooks.armModelQuestion = [this] { ++armed; };
            hooks.runLater = [this](std::chrono::milliseconds ms, std::function<void()> fn) {
                later.push_back(ms.count());
                fn();
            };
            session = std::make_unique<DeviceSession>(fake, handle, shared, stats, dialogs, state, "qx40", placeholder,
                                                      hooks);
        }
        return *session;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const UserMessage& m : dialogs.shown) t.push_back(m.text);
        return t;
    }
    std::vector<std::string> CallNames() const {
        std::vector<std::string> names;
        for (const auto& c : fake.Calls()) names.push_back(c.op);
        return names;
    }

    FakeLink fake;
    DeviceHandle handle;
    SharedLink shared;
    UsbStats stats;
    ScriptedDialogs dialogs;
    ScopeState state;
    std::unique_ptr<DeviceSession> session;
    std::vector<bool> busy;
    std::vector<DeviceButton> released;
    int restarts = 0, applies = 0, armed = 0;
    std::vector<long> later;  // the delays asked of runLater
};

TEST_F(DeviceSessionTest, RunWithoutDeviceSaysNotFoundAndSpringsBack) {
    state.Common.Russian = false;
    Session().ButtonClicked(DeviceButton::Run, true);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "USB Error");
    EXPECT_EQ(dialogs.shown[0].text, "Device not found.");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(released, std::vector<DeviceButton>{DeviceButton::Run});
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(busy, (std::vector<bool>{true, true, false, false}));  // the click, and the open inside it
    EXPECT_EQ(shared.flags.LastUsbStatus, kUsbDeviceNotFound);
}

TEST_F(DeviceSessionTest, GeneratorButtonAppliesAroundTheError) {
    state.Common.Russian = true;
    Session().ButtonClicked(DeviceButton::GenOn, true);
    EXPECT_EQ(applies, 2);
    EXPECT_EQ(dialogs.shown.at(0).caption, "Ошибка USB");
    EXPECT_EQ(dialogs.shown.at(0).text, "Устройство не найдено.");
}

TEST_F(DeviceSessionTest, OpensTheFirstInstrumentThatOpensAndConfiguresIt) {
    fake.AddDevice({.location = 0x10, .description = "FT232R USB UART"});
    fake.AddDevice({.location = 0x20, .description = "Digital Oscilloscope QX40", .openStatus = kUsbDeviceNotOpened});
    fake.AddDevice({.location = 0x30, .description = "Digital Oscilloscope QX40"});
    EXPECT_EQ(Session().OpenDevice(), kUsbOk);
    EXPECT_TRUE(fake.IsOpen(handle.Get()));
    const std::vector<std::string> calls = CallNames();
    const std::vector<std::string> tail(calls.end() - 9, calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"OpenByLocation", "ResetDevice", "SetBaudRate", "SetDataCharacteristics",
                                              "SetFlowControl", "SetTimeouts", "SetLatencyTimer", "SetEventNotification",
                                              "Purge"}));
    const auto all = fake.Calls();
    EXPECT_EQ(all[all.size() - 9].arg, 0x30u);  // the third device
    EXPECT_EQ(all[all.size() - 8 + 1].arg, 2000000u);
    EXPECT_EQ(all.back().arg, kPurgeRx | kPurgeTx);
    EXPECT_TRUE(dialogs.shown.empty());
}

// A bridge that refuses a line setting would never deliver a frame: the open
// fails with the refusal, the device is closed again, and RUN says so.
TEST_F(DeviceSessionTest, RefusedLineSettingFailsTheOpen) {
    state.Common.Russian = false;
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope QX40"});
    fake.FailSetting("SetBaudRate", kUsbIoError);
    Session().ButtonClicked(DeviceButton::Run, true);
    EXPECT_EQ(handle.Get(), kNoHandle);
    EXPECT_EQ(shared.flags.LastUsbStatus, kUsbIoError);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Error - 4"});
    EXPECT_EQ(released, std::vector<DeviceButton>{DeviceButton::Run});
    const std::vector<std::string> calls = CallNames();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Close"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetDataCharacteristics"), 0);  // nothing after the refusal
    EXPECT_FALSE(shared.flags.FpgaLoadRequest);
}

// RUN on an instrument this user may not open names the cause and the remedy.
TEST_F(DeviceSessionTest, RunOnAnInstrumentWithoutPermissionSaysHowToFixIt) {
    state.Common.Russian = false;
    fake.AddDevice({.location = 0x10,
                    .description = "Digital Oscilloscope QX40",
                    .openStatus = kUsbDeviceNotOpened,
                    .access = InstrumentAccess::NoPermission});
    Session().ButtonClicked(DeviceButton::Run, true);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "USB Error");
    EXPECT_NE(dialogs.shown[0].text.find("no permission"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find("70-qx40.rules"), std::string::npos);
    EXPECT_EQ(released, std::vector<DeviceButton>{DeviceButton::Run});
}

TEST_F(DeviceSessionTest, FailedOpenKeepsItsStatus) {
    fake.AddDevice({.location = 0x20, .description = "Digital Oscilloscope QX40", .openStatus = kUsbDeviceNotOpened});
    EXPECT_EQ(Session().OpenDevice(), kUsbDeviceNotOpened);
    fake.SetListStatus(kUsbIoError);
    EXPECT_EQ(Session().OpenDevice(), kUsbIoError);
}

TEST_F(DeviceSessionTest, DebugModeAsksForEachDevice) {
    state.Common.Russian = false;
    state.System.Debug_qx = true;
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope QX40"});
    fake.AddDevice({.location = 0x20, .description = "Digital Oscilloscope QX40"});
    dialogs.answers = {No, Yes};
    EXPECT_EQ(Session().OpenDevice(), kUsbOk);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].text, "Number of devices = 2. ");
    EXPECT_EQ(dialogs.shown[0].caption, "qx40");
    EXPECT_EQ(dialogs.shown[1].text,
              "True device found.\r\nDescription = 'Digital Oscilloscope QX40'  \r\nDev_Index = 0\r\nDev_Loc = 16\r\nOpen ?");
    EXPECT_EQ(dialogs.shown[2].icon, MessageIcon::Question);
    EXPECT_EQ(fake.Calls()[fake.Calls().size() - 9].arg, 0x20u);
}

TEST_F(DeviceSessionTest, DebugModeOffersOtherDevices) {
    state.System.Debug_qx = true;
    fake.AddDevice({.location = 0x10, .description = "Something"});
    dialogs.answers = {Yes};
    EXPECT_EQ(Session().OpenDevice(), kUsbOk);
    EXPECT_EQ(dialogs.shown.at(0).text,
              "Найдено другое устройство.\r\nDescription = 'Something'  \r\nDev_Index = 0\r\nDev_Loc = 16"
              "\r\nПопробовать открыть ?");
    EXPECT_EQ(dialogs.shown.at(0).icon, MessageIcon::Warning);
}

TEST_F(DeviceSessionTest, OlderModelIsNamedAndNotOpened) {
    state.Common.Russian = false;
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope"});
    Session().ButtonClicked(DeviceButton::Run, true);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"QX4001 device found. \r\nPlease, use QX4001 software.",
                                                 "Device not found."}));
    EXPECT_FALSE(fake.IsOpen(1));
}

TEST_F(DeviceSessionTest, OtherDeviceIsTriedWithoutDebug) {
    fake.AddDevice({.location = 0x10, .description = "USB <-> Serial"});
    EXPECT_EQ(Session().OpenDevice(), kUsbOk);
}

TEST_F(DeviceSessionTest, RunReopensALostDevice) {
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope QX40"});
    shared.flags.ErrFpgaLost = true;
    shared.flags.DeviceReady = true;
    Session().ButtonClicked(DeviceButton::Run, true);  // no handle yet: the queue check fails
    EXPECT_TRUE(fake.IsOpen(handle.Get()));
    EXPECT_TRUE(shared.flags.FpgaLoadRequest);
    EXPECT_FALSE(shared.flags.ErrFpgaLost);
    EXPECT_FALSE(shared.flags.DeviceReady);
    EXPECT_EQ(armed, 1);
    EXPECT_EQ(restarts, 1);
    EXPECT_TRUE(released.empty());

    // With a working link nothing is reopened.
    shared.flags.FpgaLoadRequest = false;
    const UsbHandle h = handle.Get();
    Session().ButtonClicked(DeviceButton::Single, true);
    EXPECT_EQ(handle.Get(), h);
    EXPECT_FALSE(shared.flags.FpgaLoadRequest);
    // Releasing a button only applies.
    Session().ButtonClicked(DeviceButton::Run, false);
    EXPECT_EQ(restarts, 3);
    EXPECT_EQ(armed, 2);
}

TEST_F(DeviceSessionTest, PlaceholderImageIsRefusedForHardware) {
    fake.SetKind(LinkKind::Hardware);
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope QX40"});
    Session(true).ButtonClicked(DeviceButton::Run, true);
    EXPECT_FALSE(shared.flags.FpgaLoadRequest);
    EXPECT_EQ(handle.Get(), kNoHandle);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("qx40_fpga.bin"), std::string::npos);
    EXPECT_EQ(released, std::vector<DeviceButton>{DeviceButton::Run});
}

TEST_F(DeviceSessionTest, SimulatedInstrumentTakesThePlaceholder) {
    fake.SetKind(LinkKind::Simulated);
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope QX40"});
    Session(true).OpenOnFirstPaint();
    EXPECT_TRUE(shared.flags.FpgaLoadRequest);
    EXPECT_EQ(restarts, 1);
}

TEST_F(DeviceSessionTest, FirstPaintIsSilentWithoutDevice) {
    Session().OpenOnFirstPaint();
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_FALSE(shared.flags.FpgaLoadRequest);
    EXPECT_EQ(restarts, 0);
}

TEST_F(DeviceSessionTest, ChecksumWarningAboveFourPerSecond) {
    state.Common.Russian = false;
    for (const int errors : {4, 5}) {
        dialogs.shown.clear();
        stats.ChecksumErrors = errors;
        Session().Timer1Timer();
        EXPECT_EQ(dialogs.shown.size(), errors > 4 ? 1u : 0u) << errors;
    }
    EXPECT_EQ(dialogs.shown.at(0).text, "Unstable USB connection.\r\nError code 5");
    EXPECT_EQ(dialogs.shown.at(0).caption, "Warning");
    Session().Timer1Timer();  // the counters restart every second
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(DeviceSessionTest, TwoFailuresTwoQuestionsTheLastAnswerCounts) {
    state.Common.Russian = false;
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope QX40"});
    ASSERT_EQ(Session().OpenDevice(), kUsbOk);

    shared.flags.ErrPower = true;
    shared.flags.ErrFpgaLost = true;
    dialogs.answers = {Yes, No};
    Session().Timer1Timer();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Recover after Power failure.\r\nError code 3",
                                                 "Recover after FPGA configuration lost.\r\nError code 4"}));
    EXPECT_EQ(handle.Get(), kNoHandle);  // No: closed
    EXPECT_EQ(released.size(), 3u);
    EXPECT_FALSE(shared.flags.ErrPower);
    EXPECT_FALSE(shared.flags.ErrFpgaLost);

    dialogs.shown.clear();
    released.clear();
    shared.flags.ErrNoStatus = true;
    shared.flags.ErrFpgaConfig = true;
    dialogs.answers = {No, Yes};
    Session().Timer1Timer();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Recover after ATMEGA failure.\r\nError code 6",
                                                 "Recover after FPGA configuration failure.\r\nError code 2"}));
    EXPECT_TRUE(fake.IsOpen(handle.Get()));  // Yes: reconnected
    EXPECT_TRUE(shared.flags.FpgaLoadRequest);
    EXPECT_EQ(later, std::vector<long>{1500});
    EXPECT_TRUE(released.empty());
}

TEST_F(DeviceSessionTest, LostDeviceIsNoticedByTheTimer) {
    state.Common.Russian = true;
    fake.AddDevice({.location = 0x10, .description = "Digital Oscilloscope QX40"});
    ASSERT_EQ(Session().OpenDevice(), kUsbOk);
    shared.flags.DeviceReady = true;
    fake.SetQueueStatusResult(kUsbIoError);
    dialogs.answers = {No};
    Session().Timer1Timer();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Восстановление после потери связи с устройством.\r\nКод ошибки 1");
    EXPECT_EQ(dialogs.shown[0].caption, "Предупреждение");
    EXPECT_TRUE(shared.flags.RedrawRequest);
}

TEST_F(DeviceSessionTest, TimerDoesNotReenterWhileAQuestionIsOpen) {
    shared.flags.ErrPower = true;
    struct Reentering : ScriptedDialogs {
        DeviceSession* session = nullptr;
        MessageAnswer Show(const UserMessage& m) override {
            if (session) session->Timer1Timer();  // the next tick fires while the box is open
            return ScriptedDialogs::Show(m);
        }
    } reentering;
    SessionHooks hooks;
    DeviceSession s(fake, handle, shared, stats, reentering, state, "qx40", false, hooks);
    reentering.session = &s;
    s.Timer1Timer();
    EXPECT_EQ(reentering.shown.size(), 1u);
}

TEST_F(DeviceSessionTest, ReconnectFailureReportsAndReleases) {
    state.Common.Russian = false;
    Session().ReconnectDevice();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Device not found."});
    EXPECT_EQ(released.size(), 3u);
}

}  // namespace
}  // namespace qx40
