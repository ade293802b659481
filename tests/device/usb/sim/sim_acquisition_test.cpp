// The program's acquisition thread against the simulated instrument: the
// FPGA load, the settings and the frames go through the real sender,
// receiver and decoder, with the instrument's clock moved by the thread's
// own waits.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "device/acquisition_thread.h"
#include "device/apply_operations.h"
#include "device/usb/sim/simulated_link.h"
#include "resources/fpga_image.h"

namespace qx40 {
namespace {

SimulatedLinkOptions Quiet() {
    SimulatedLinkOptions o;
    o.Clock = SimClockMode::Manual;
    o.Instrument.Bench.AdcNoiseCodes = 0.0;
    o.Instrument.Bench.A2NoiseVolts = 0.0;
    return o;
}

class SimAcquisitionTest : public testing::Test {
protected:
    SimAcquisitionTest() : link(Quiet()) {
        handle.Replace(
            [&](UsbHandle& h) { return link.OpenByLocation(SimulatedLink::kLocation, h); });
        EXPECT_EQ(
            link.SetEventNotification(handle.Get(), kEventRxChar, &shared.AcquisitionWakeEvent),
            kUsbOk);
        // The program calibrated for this instrument.
        const auto z = Quiet().Instrument.Zero;
        model.state.Calibrate = {0, z[0].P1, z[0].P2, z[0].SH, z[1].P1, z[1].P2, z[1].SH};
        steps.refreshScreen = [] {};
        steps.drawIndicator = [] {};
        steps.singleShotDone = [] {};
        thread = std::make_unique<AcquisitionThread>(
            link, handle, shared, stats, mainRecord, queue, steps, EmbeddedFpgaImage(),
            [this](std::chrono::milliseconds ms) { link.AdvanceTime(ms.count() * 1000); });
    }

    void Connect() {
        shared.flags.FpgaLoadRequest = true;
        thread->RunOnce();
        ASSERT_TRUE(shared.flags.DeviceReady);
    }
    void Press(RunButton run) {
        model.state.View.Run = run;
        ApplyAndRestart(model, background, shared);
    }
    // Rounds of the loop while the instrument runs for ms.
    void Run(int ms) {
        for (int t = 0; t < ms; t += 20) {
            link.AdvanceTime(20000);
            thread->RunOnce();
        }
    }

    SimulatedLink link;
    DeviceHandle handle;
    SharedLink shared;
    UsbStats stats;
    SampleRecord mainRecord;
    MainThreadQueue queue{[this] { queue.Drain(); }};  // the test thread is the main thread
    MainThreadSteps steps;
    ScopeModel model;
    RecordLevels background;
    std::unique_ptr<AcquisitionThread> thread;
};

TEST_F(SimAcquisitionTest, FpgaLoadBringsTheInstrumentUp) {
    Connect();
    const DeviceFacts facts = shared.facts.Get();
    EXPECT_EQ(facts.DeviceTypeReported, 31);
    EXPECT_EQ(facts.VccCentivolts, 330);
    EXPECT_FALSE(shared.flags.ErrNoStatus);
    EXPECT_FALSE(shared.flags.ErrFpgaConfig);
    EXPECT_TRUE(link.FpgaConfigured());
}

TEST_F(SimAcquisitionTest, TriggeredFramesPutTheCrossingAtThePreTriggerPoint) {
    Connect();
    model.state.Generator.GenOn = true;  // 1 kHz, 4 Vpp into A1
    model.state.Common.CH_A2 = model.state.Common.CH_D1 = model.state.Common.CH_D2 = false;
    model.state.Scope.A1 = VoltsDiv::V2;
    model.state.Scope.A1_Zero = 128;
    model.state.Trigger.Source = TriggerSource::CH_A1;
    model.state.Trigger.Lev_A1 = 140.0;  // Hyst 1: window 138..142
    Press(RunButton::Run);
    Run(400);
    ASSERT_GE(thread->FramesDecoded(), 5);
    EXPECT_EQ(stats.ChecksumErrors, 0);
    EXPECT_EQ(stats.LostBytes, 0);
    thread->SyncToMain();
    const FrameInfo& info = mainRecord.Info;
    EXPECT_EQ(info[fi::TrigSource], 1);
    EXPECT_EQ(info[fi::RingLength], 5000);
    const auto pre = static_cast<std::size_t>(info[fi::PreTrigger]);
    EXPECT_EQ(pre, 500u);
    EXPECT_LE(mainRecord.Min[kA1][pre], 142);
    EXPECT_GT(mainRecord.Min[kA1][pre + 1], 142);
    EXPECT_GE(info[fi::TrigFine], 0);
    EXPECT_LE(info[fi::TrigFine], 10);
    EXPECT_EQ(info[fi::DeviceTypeCode], 31);
}

TEST_F(SimAcquisitionTest, ZeroLineOfAQuietInputIsWhereTheProgramAskedForIt) {
    Connect();
    SimBench bench = Quiet().Instrument.Bench;
    bench.A2Connected = false;
    link.SetBench(bench);
    model.state.Scope.A1_Zero = 100;
    model.state.Scope.A2_Zero = 37;
    model.state.Scope.A2 = VoltsDiv::mV50;
    Press(RunButton::Run);
    Run(200);
    ASSERT_GE(thread->FramesDecoded(), 1);
    thread->SyncToMain();
    const FrameInfo& info = mainRecord.Info;
    ASSERT_GT(info[fi::ValidPoints], 0);
    EXPECT_EQ(info[fi::SumA1] / info[fi::ValidPoints], 100);
    EXPECT_EQ(info[fi::SumA2] / info[fi::ValidPoints], 37);
    EXPECT_EQ(info[fi::PeakToPeakA1], 0);
}

TEST_F(SimAcquisitionTest, RollFramesGrowUntilTheRingIsFull) {
    Connect();
    model.state.Scope.TimebaseIndex = TimebaseIndex::T100mS;
    model.state.Common.CH_A2 = model.state.Common.CH_D1 = model.state.Common.CH_D2 = false;
    Press(RunButton::Run);
    std::int32_t previous = 0;
    for (int round = 0; round < 8; ++round) {
        Run(120);
        thread->SyncToMain();
        const FrameInfo& info = mainRecord.Info;
        ASSERT_EQ(info[fi::RollFrame], 1);
        EXPECT_GT(info[fi::ValidPoints], previous) << round;
        previous = info[fi::ValidPoints];
    }
}

// Both threads for real: the instrument's producer and the acquisition
// thread, woken by the link's event. Only that frames get through is
// checked, not when.
TEST(SimAcquisitionRealTime, TheThreadDecodesWhatTheProducerSends) {
    SimulatedLink link;
    DeviceHandle handle;
    SharedLink shared;
    UsbStats stats;
    SampleRecord mainRecord;
    MainThreadQueue queue{[&queue] { queue.Drain(); }};
    MainThreadSteps steps;
    steps.refreshScreen = steps.drawIndicator = steps.singleShotDone = [] {};
    handle.Replace([&](UsbHandle& h) { return link.OpenByLocation(SimulatedLink::kLocation, h); });
    ASSERT_EQ(link.SetEventNotification(handle.Get(), kEventRxChar, &shared.AcquisitionWakeEvent),
              kUsbOk);
    ScopeModel model;
    RecordLevels background;
    model.state.View.Run = RunButton::Run;
    ApplyAndRestart(model, background, shared);
    shared.flags.FpgaLoadRequest = true;
    AcquisitionThread thread(link, handle, shared, stats, mainRecord, queue, steps, EmbeddedFpgaImage(),
                             [](std::chrono::milliseconds ms) { std::this_thread::sleep_for(ms); });
    thread.Start();
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (thread.FramesDecoded() < 3 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    thread.Stop();
    EXPECT_GE(thread.FramesDecoded(), 3);
    EXPECT_TRUE(shared.flags.DeviceReady);
    EXPECT_EQ(stats.ChecksumErrors, 0);
    handle.Replace([&](UsbHandle& h) { return link.Close(h); });
}

}  // namespace
}  // namespace qx40
