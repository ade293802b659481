#include "device/acquisition_thread.h"

#include <gtest/gtest.h>

#include "device/apply_operations.h"
#include "device/command_framing.h"
#include "base/little_endian.h"
#include "device/usb/fake_link.h"
#include "frame_bytes.h"
#include "sent_settings.h"

namespace qx40 {
namespace {

using testing_support::ConfiguredStatus;
using testing_support::DataFrameBytes;
using testing_support::LastSentRegisters;
using testing_support::StatusFrameBytes;

class AcquisitionThreadTest : public testing::Test {
protected:
    AcquisitionThreadTest() {
        fake.AddDevice({.location = 7, .description = "Digital Oscilloscope QX40"});
        handle.Replace([&](UsbHandle& h) { return fake.OpenByLocation(7, h); });
        model.state.Common.CH_A2 = model.state.Common.CH_D1 = model.state.Common.CH_D2 = false;
        model.state.Common.SampleCount = SampleCountChoice::Smpl_N_2000;
        steps.refreshScreen = [this] { ++refreshes; };
        steps.drawIndicator = [this] { ++indicators; };
        steps.singleShotDone = [this] { ++singleDone; };
    }

    AcquisitionThread& Thread() {
        if (!thread)
            thread = std::make_unique<AcquisitionThread>(fake, handle, shared, stats, mainRecord, queue, steps,
                                                         fpgaImage, [this](std::chrono::milliseconds ms) {
                                                             if (ms.count() == 200 && ++longSleeps == 2 && onSecondWait)
                                                                 onSecondWait();
                                                         });
        return *thread;
    }
    void Press(RunButton run) {
        model.state.View.Run = run;
        ApplyAndRestart(model, background, shared);
    }
    void Ready() {
        shared.flags.DeviceReady = true;
        shared.flags.StatusValid = true;
    }
    // A frame of the settings in force, echoing sequence number seq.
    std::vector<std::uint8_t> Frame(std::uint8_t seq, std::uint8_t value = 100) {
        const DeviceSettings& r = model.registers;
        RegisterEcho echo{};
        std::copy(r.reg.begin(), r.reg.end(), echo.begin());
        echo[69] = seq;
        const std::int32_t count = model.derived.SampleCount;
        std::vector<std::uint8_t> samples(static_cast<std::size_t>(count), value);
        return DataFrameBytes(static_cast<std::uint8_t>(0x80 | (r.reg[reg::kChanEnable] & 0x0F)), samples, echo);
    }

    FakeLink fake;
    DeviceHandle handle;
    SharedLink shared;
    UsbStats stats;
    SampleRecord mainRecord;
    MainThreadQueue queue{[this] { queue.Drain(); }};  // the test thread is the main thread
    MainThreadSteps steps;
    std::vector<std::uint8_t> fpgaImage = std::vector<std::uint8_t>(1024, 0x33);
    std::function<void()> onSecondWait;
    int longSleeps = 0;
    int refreshes = 0, indicators = 0, singleDone = 0;
    ScopeModel model;
    RecordLevels background;
    std::unique_ptr<AcquisitionThread> thread;
};

TEST_F(AcquisitionThreadTest, FramesOfOlderSettingsAreIgnored) {
    Ready();
    Press(RunButton::Run);
    Thread().RunOnce();  // sends the settings: CmdSeq 1
    ASSERT_EQ(Thread().CmdSeq(), 1);
    EXPECT_EQ(LastSentRegisters(fake).reg[reg::kChanEnable] & kEnableRun, kEnableRun);

    fake.QueueRead(Frame(0, 50));
    Thread().RunOnce();
    EXPECT_EQ(Thread().FramesDecoded(), 0);
    fake.QueueRead(Frame(1, 60));
    Thread().RunOnce();
    EXPECT_EQ(Thread().FramesDecoded(), 1);
    EXPECT_EQ(stats.FramesAccepted, 1);

    Thread().RunOnce();  // the hand-over shows it
    EXPECT_EQ(refreshes, 2);  // the apply's redraw, then the frame
    EXPECT_EQ(mainRecord.Min[kA1][0], 60);
    EXPECT_EQ(mainRecord.Info[fi::RingLength], 2000);
    EXPECT_EQ(stats.FramesShown, 1);
}

// Two frames in one read are both shown, one per hand-over, without
// reading the device again in between.
TEST_F(AcquisitionThreadTest, EveryFrameOfAReadIsShown) {
    Ready();
    Press(RunButton::Run);
    Thread().RunOnce();
    std::vector<std::uint8_t> both = Frame(1, 10);
    const std::vector<std::uint8_t> second = Frame(1, 20);
    both.insert(both.end(), second.begin(), second.end());
    fake.QueueRead(both);
    const auto reads = [&] {
        const auto calls = fake.Calls();
        return std::count_if(calls.begin(), calls.end(), [](const FakeLink::Call& c) { return c.op == "Read"; });
    };
    Thread().RunOnce();
    EXPECT_EQ(Thread().FramesDecoded(), 1);
    EXPECT_EQ(reads(), 1);
    Thread().RunOnce();  // shows the first, then takes the second from what was read
    EXPECT_EQ(mainRecord.Min[kA1][0], 10);
    EXPECT_EQ(Thread().FramesDecoded(), 2);
    EXPECT_EQ(reads(), 1);
    Thread().RunOnce();
    EXPECT_EQ(mainRecord.Min[kA1][0], 20);
    EXPECT_EQ(stats.FramesShown, 2);
}

TEST_F(AcquisitionThreadTest, NothingIsAcceptedWhileStopped) {
    Ready();
    Press(RunButton::None);
    Thread().RunOnce();
    fake.QueueRead(Frame(1));
    Thread().RunOnce();
    EXPECT_EQ(Thread().FramesDecoded(), 0);
}

// The thread leaves the run state to the main thread: it only stops taking
// frames of the finished single shot and says so in the next hand-over.
TEST_F(AcquisitionThreadTest, FinishedSingleShotIsSignalledAndTakesNoMoreFrames) {
    Ready();
    Press(RunButton::Single);
    Thread().RunOnce();
    const std::size_t writesBefore = fake.Writes().size();
    fake.QueueRead(Frame(1));
    Thread().RunOnce();  // decoded: the single shot is complete
    EXPECT_TRUE(shared.flags.RunFlag);  // the main thread's to change
    EXPECT_TRUE(shared.flags.SingleFlag);
    EXPECT_FALSE(shared.flags.SettingsDirty);
    Thread().RunOnce();  // the hand-over tells the main thread
    EXPECT_EQ(singleDone, 1);
    EXPECT_EQ(fake.Writes().size(), writesBefore);

    fake.QueueRead(Frame(1));  // the instrument goes on until the stop arrives; nothing more is taken
    Thread().RunOnce();
    Thread().RunOnce();
    EXPECT_EQ(Thread().FramesDecoded(), 1);
    EXPECT_EQ(singleDone, 1);

    Press(RunButton::Single);  // pressed again: the next settings take a frame again
    Thread().RunOnce();
    fake.QueueRead(Frame(2));
    Thread().RunOnce();
    EXPECT_EQ(Thread().FramesDecoded(), 2);
}

TEST_F(AcquisitionThreadTest, StatusFramesSetReadinessAndErrors) {
    StatusRecord status = ConfiguredStatus(25);
    status.bytes[1] = 2;  // a power failure before the FPGA was ready is not an error
    status.bytes[17] = 0x78;
    status.bytes[21] = 0x12;
    // Before the device is ready only the FPGA load reads, once, after its
    // second wait: the instrument answers then.
    onSecondWait = [&] { fake.QueueRead(StatusFrameBytes(status)); };
    shared.flags.FpgaLoadRequest = true;
    Thread().RunOnce();
    EXPECT_FALSE(shared.flags.FpgaLoadRequest);
    EXPECT_TRUE(shared.flags.StatusSeen);
    EXPECT_TRUE(shared.flags.DeviceReady);
    EXPECT_TRUE(shared.flags.DeviceInfoValid);
    EXPECT_FALSE(shared.flags.ErrPower);
    EXPECT_FALSE(shared.flags.ErrNoStatus);
    EXPECT_FALSE(shared.flags.ErrFpgaConfig);
    const DeviceFacts facts = shared.facts.Get();
    EXPECT_EQ(facts.DeviceTypeReported, 25);
    EXPECT_EQ(facts.FirmwareVersion, 7);
    EXPECT_EQ(facts.FpgaVersion, 12);
    EXPECT_EQ(facts.SerialNumber, 0x78u);
    EXPECT_EQ(facts.SerialNumberHi, 0x12u);
    EXPECT_EQ(facts.VccCentivolts, 330);

    fake.QueueRead(StatusFrameBytes(status));  // now ready: the same status is a power failure
    Thread().RunOnce();
    EXPECT_TRUE(shared.flags.ErrPower);
    StatusRecord lost = ConfiguredStatus(25);
    lost.bytes[2] = 0;
    fake.QueueRead(StatusFrameBytes(lost));
    Thread().RunOnce();
    EXPECT_TRUE(shared.flags.ErrFpgaLost);
    Thread().RunOnce();
    EXPECT_GE(indicators, 1);
}

TEST_F(AcquisitionThreadTest, FpgaLoadWithoutAnswerRaisesNoStatus) {
    shared.flags.FpgaLoadRequest = true;
    Thread().RunOnce();
    EXPECT_TRUE(shared.flags.ErrNoStatus);
    EXPECT_FALSE(shared.flags.DeviceReady);
}

TEST_F(AcquisitionThreadTest, FrequencyMeterResultReachesTheShownRecord) {
    Ready();
    model.state.Calibrate.Time = 5;
    Press(RunButton::Run);
    Thread().RunOnce();
    StatusRecord status = ConfiguredStatus();
    status.bytes[7] = 1;
    PutLE<4>(&status.bytes[8], 1001);
    PutLE<4>(&status.bytes[12], 100000000);
    fake.QueueRead(StatusFrameBytes(status));
    fake.QueueRead(Frame(1));
    Thread().RunOnce();
    Thread().RunOnce();
    EXPECT_EQ(mainRecord.Info[fi::FmData], 1);
    EXPECT_EQ(mainRecord.Info[fi::FmData + 1], 1001);
    EXPECT_EQ(mainRecord.Info[fi::FmData + 2], 100000000);
    EXPECT_EQ(mainRecord.Info[fi::FmData + 3], 5);
}

TEST_F(AcquisitionThreadTest, NoUsbCallWithoutAHandle) {
    handle.Replace([&](UsbHandle& h) {
        fake.Close(h);
        h = kNoHandle;
        return 0;
    });
    Ready();
    Press(RunButton::Run);
    const std::size_t calls = fake.Calls().size();
    Thread().RunOnce();
    EXPECT_EQ(fake.Calls().size(), calls);
}

// The real thread against a device feeding frames from another thread.
TEST_F(AcquisitionThreadTest, RunsFramesThroughTheHandOverAndStops) {
    std::atomic<bool> draining{true};
    MainThreadQueue mainQueue([] {});
    AcquisitionThread worker(fake, handle, shared, stats, mainRecord, mainQueue, steps, fpgaImage,
                             [](std::chrono::milliseconds) {});
    Ready();
    Press(RunButton::Run);
    worker.Start();
    std::thread device([&] {
        // Wait until the settings went out, then send frames of them.
        while (worker.CmdSeq() == 0 && draining) std::this_thread::yield();
        for (int i = 0; draining; ++i) {
            const std::int32_t before = worker.FramesDecoded();
            fake.QueueRead(Frame(1, static_cast<std::uint8_t>(i)));
            while (worker.FramesDecoded() == before && draining) std::this_thread::yield();
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (stats.FramesShown.load() < 5 && std::chrono::steady_clock::now() < deadline) {
        mainQueue.Drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    draining = false;
    device.join();
    worker.Stop();
    EXPECT_GE(stats.FramesShown.load(), 5);
    EXPECT_TRUE(mainRecord.HasData());
}

}  // namespace
}  // namespace qx40
