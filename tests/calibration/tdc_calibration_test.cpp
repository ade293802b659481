// The TDC calibration's state machine, fed with hand-made frames: the
// acquisition of each stage, the maxima it takes, and its failures.
#include "calibration/tdc_calibration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "calibration_test_port.h"

namespace qx40 {
namespace {

using testing_support::TestCalibrationPort;

class TdcCalibrationTest : public testing::Test {
protected:
    // Frames with the counts count(stage, frame) until the procedure ends.
    void Run(const std::function<std::int32_t(std::int32_t stage, std::int32_t frame)>& count) {
        for (int guard = 0; tdc.Measuring() && guard < 1000; ++guard) {
            frame.TdcFine = count(tdc.Stage(), tdc.Progress() % TdcCalibration::kFramesPerStage);
            tdc.OnFrame(frame);
        }
    }
    // Every count from 0 to the stage's maximum, each more than once.
    static std::int32_t Sweep(std::int32_t maximum, std::int32_t frame) { return frame * 11 % (maximum + 1); }

    TestCalibrationPort port;
    TdcCalibration tdc{port};
    SampleRecord frame;
};

TEST_F(TdcCalibrationTest, ProgramsTheGeneratorAndEachStage) {
    port.model.registers.reg[reg::kGainCodeA1] = 0x1F;  // generator off, AC, range 7
    tdc.Start();
    const DeviceSettings& r = port.sent.at(0);
    EXPECT_EQ(r.reg[reg::kGainCodeA1], 0x17) << "generator on, the rest kept";
    EXPECT_EQ(r.reg[reg::kGenMode], 0);
    EXPECT_EQ(r.reg[reg::kGenShape], 0);
    // 98765432 x 281474.976710656 = 27799997672017.88: 9.8765432 MHz.
    EXPECT_EQ(r.Get<6>(reg::kGenFrequency), 27799997672018u);
    EXPECT_EQ(r.Get<2>(reg::kGenAmplitude), 4000u);
    EXPECT_EQ(r.Get<4>(reg::kSampleDivider), 1u);
    EXPECT_EQ(r.Get<2>(reg::kPreTrigCount), 0u);
    EXPECT_EQ(r.Get<2>(reg::kPostTrigCount), 1000u);
    EXPECT_EQ(r.reg[reg::kTriggerCount], 1);
    EXPECT_EQ(r.reg[reg::kChanMode], 0);
    EXPECT_EQ(r.reg[reg::kChanEnable], 0x8C);
    EXPECT_EQ(r.reg[reg::kRollFlags], 0);
    EXPECT_EQ(port.sentDerived.at(0).SampleCount, 1000);

    Run([](std::int32_t, std::int32_t f) { return Sweep(20, f); });
    ASSERT_EQ(port.sent.size(), 4u);
    const std::uint8_t flags[] = {2, 18, 6, 22};  // D1 rise, D1 fall, D2 rise, D2 fall
    const std::uint8_t meter[] = {3, 3, 4, 4};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(port.sent[i].reg[reg::kTrigFlags], flags[i]) << i;
        EXPECT_EQ(port.sent[i].reg[reg::kFreqMeterSource], meter[i]) << i;
    }
}

TEST_F(TdcCalibrationTest, StoresTheMaximumOfEachStage) {
    const std::int32_t maxima[] = {23, 22, 25, 17};
    tdc.Start();
    EXPECT_EQ(tdc.ProgressMaximum(), 200);
    Run([&](std::int32_t stage, std::int32_t f) {
        if (stage == 1 && f == 10) {  // the running values, for the read-out
            const TdcReading r = tdc.Reading();
            EXPECT_EQ(r[0], 23);
            std::int32_t soFar = 0;
            for (std::int32_t j = 0; j < 10; ++j) soFar = std::max(soFar, Sweep(22, j));
            EXPECT_EQ(r[1], soFar) << "the maximum of frames 0..9 of D1 fall";
            EXPECT_FALSE(r[2].has_value());
        }
        return Sweep(maxima[stage], f);
    });
    ASSERT_EQ(tdc.Phase(), CalibrationPhase::Done);
    EXPECT_EQ(tdc.Measured(), (TdcSteps{23, 22, 25, 17}));
    EXPECT_EQ(tdc.Progress(), 200);
    EXPECT_EQ(port.restores, 1);
}

TEST_F(TdcCalibrationTest, OutOfRangeCountsFail) {
    struct Case {
        const char* name;
        std::int32_t stage, frame, count;  // one frame with this count, 20 elsewhere
        std::int32_t framesTaken;          // when it fails, 0: it succeeds
    };
    const Case cases[] = {
        {"28AtTheFirstFrame", 0, 0, 28, 1},
        {"31InTheThirdStage", 2, 30, 31, 131},
        {"27IsInRange", 1, 5, 27, 0},
    };
    for (const Case& c : cases) {
        tdc.Start();
        std::int32_t taken = 0;
        Run([&](std::int32_t stage, std::int32_t f) {
            ++taken;
            return stage == c.stage && f == c.frame ? c.count : 20;
        });
        if (c.framesTaken == 0) {
            EXPECT_EQ(tdc.Phase(), CalibrationPhase::Done) << c.name;
            continue;
        }
        EXPECT_EQ(tdc.Phase(), CalibrationPhase::Failed) << c.name;
        EXPECT_EQ(taken, c.framesTaken) << c.name << ": at once";
        EXPECT_EQ(tdc.Progress(), 0) << c.name;
    }
}

TEST_F(TdcCalibrationTest, NoCountReachingTwelveFailsTheStage) {
    tdc.Start();
    Run([](std::int32_t stage, std::int32_t f) { return stage == 0 ? Sweep(11, f) : 20; });
    EXPECT_EQ(tdc.Phase(), CalibrationPhase::Failed);
    EXPECT_EQ(port.sent.size(), 1u) << "after the 50 frames of the first stage";
    EXPECT_EQ(port.restores, 1);
}

TEST_F(TdcCalibrationTest, SingleDigitalChannelRunsTwoStagesAndStores20ForD2) {
    port.reported = 25;  // QX4002: no D2
    EXPECT_EQ(tdc.ProgressMaximum(), 100);
    tdc.Start();
    Run([](std::int32_t stage, std::int32_t f) { return Sweep(stage == 0 ? 24 : 13, f); });
    ASSERT_EQ(tdc.Phase(), CalibrationPhase::Done);
    EXPECT_EQ(port.sent.size(), 2u);
    EXPECT_EQ(tdc.Measured(), (TdcSteps{24, 13, 20, 20}));
    EXPECT_EQ(tdc.Progress(), 100);
}

TEST_F(TdcCalibrationTest, SettingsReplacedMidRunFailIt) {
    tdc.Start();
    for (int i = 0; i < 60; ++i) {  // into the second stage
        frame.TdcFine = 21;
        tdc.OnFrame(frame);
    }
    port.model.registers.reg[reg::kTrigFlags] = 0;  // a reconnect applied the window's trigger
    frame.TdcFine = 21;
    tdc.OnFrame(frame);
    EXPECT_EQ(tdc.Phase(), CalibrationPhase::Failed);
    EXPECT_EQ(port.restores, 1);
    EXPECT_EQ(port.sent.size(), 2u);
}

TEST_F(TdcCalibrationTest, AbortStoresNothing) {
    tdc.Start();
    for (int i = 0; i < 60; ++i) {
        frame.TdcFine = 21;
        tdc.OnFrame(frame);
    }
    tdc.Abort();
    EXPECT_EQ(tdc.Phase(), CalibrationPhase::Aborted);
    EXPECT_EQ(port.restores, 1);
    tdc.OnFrame(frame);
    EXPECT_EQ(tdc.Progress(), 60) << "no frame taken after the abort";
    EXPECT_EQ(port.sent.size(), 2u);
}

}  // namespace
}  // namespace qx40
