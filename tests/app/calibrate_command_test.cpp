// qx40cli calibrate against the simulated instrument with known constants:
// what the zero and TDC calibrations find, what they write and send, and
// how they fail.
#include "app/cli/calibrate_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/cli/cli_exit.h"
#include "app/cli/console_dialogs.h"
#include "app/cli/headless_scope.h"
#include "calibration/tdc_calibration.h"
#include "calibration/zero_calibration.h"
#include "device/recording_link.h"
#include "device/usb/sim/simulated_link.h"
#include "resources/fpga_image.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::RecordingLink;
using testing_support::TempDir;

// The frame rate without a limit keeps the runs short.
constexpr const char* kFastFrames = "[Common]\r\nFPS_NO_LIM=1\r\n";

SimulatedLinkOptions Instrument(const SimInstrumentConfig& config) {
    SimulatedLinkOptions o;
    o.Instrument = config;
    return o;
}

struct Outcome {
    int exit = -1;
    std::string out, err;
};

Outcome Calibrate(CalibrateKind kind, UsbLink& link, const std::string& ini) {
    CalibrateOptions o;
    o.kind = kind;
    o.iniPath = ini;
    std::ostringstream out, err;
    const int exit = RunCalibrate(o, link, EmbeddedFpgaImage(), true, out, err);
    return {exit, out.str(), err.str()};
}

// The settings commands written, each as its decoded body (length byte
// first), in order.
std::vector<std::vector<std::uint8_t>> SettingsCommands(const std::vector<std::uint8_t>& written) {
    std::vector<std::vector<std::uint8_t>> bodies;
    for (std::size_t at = 0; at < written.size(); ++at) {
        if (written[at] != 0xFA) continue;
        std::vector<std::uint8_t> body;
        for (std::size_t i = at + 1; i + 1 < written.size() && written[i] <= 0x0F && written[i + 1] <= 0x0F; i += 2)
            body.push_back(static_cast<std::uint8_t>(written[i + 1] << 4 | written[i]));
        if (body.size() > 2 && body[0] + 1u == body.size() && body[1] >= 4) bodies.push_back(body);
    }
    return bodies;
}

struct ZeroCase {
    const char* name;
    std::int32_t model;
    std::string expected;  // the file afterwards
    std::string printed;
};

void PrintTo(const ZeroCase& c, std::ostream* os) { *os << c.name; }

class CalibrateZero : public testing::TestWithParam<ZeroCase> {};

// A1 P1 3500, P2 620, SH 160; A2 3100, 800, -48. The instrument puts the
// zero line at (P1 + (code - 1360) (P2 - P1) / 1680 + SH x 50 mV / range) / 16.
// A1: the codes 19 either side of 1360 average to the position at 1360,
// (3500 + 160/40) / 16 = 219.0 codes at 2 V/div; at 3040 (620 + 4) / 16 =
// 39.0; at 2200 and 50 mV/div ((3500 + 620) / 2 + 160) / 16 = 138.75. In
// sixteenths 3504, 624, 2220: D = 2220 - 2064 = 156, so P1 = 3504 - 156/39 =
// 3500, P2 = 624 - 4 = 620, SH = 40 x 156 / 39 = 160.
// A2: 3098.8, 798.8 and 1950 - 48 = 1902: D = 1902 - 1948.8 = -46.8, so
// P1 = 3098.8 + 1.2 = 3100, P2 = 800, SH = 40 x -46.8 / 39 = -48.
TEST_P(CalibrateZero, StoresTheInstrumentsConstants) {
    const ZeroCase& c = GetParam();
    SimInstrumentConfig config;
    config.ModelCode = c.model;
    config.Zero[0] = {3500, 620, 160};
    config.Zero[1] = {3100, 800, -48};
    SimulatedLink sim(Instrument(config));
    TempDir dir;
    const std::string ini = dir.Write(
        "qx40.ini",
        "; kept by hand\r\n[Common]\r\nFPS_NO_LIM=1\r\n\r\n[Calibrate]\r\nTime=5\r\n; from the factory\r\n"
        "Z_A1P1=3357\r\nZ_A1P2=725\r\nZ_A1SH=0\r\nZ_A2P1=1\r\nZ_A2P2=2\r\nZ_A2SH=3\r\n\r\n[Mine]\r\nx=1\r\n");
    const Outcome run = Calibrate(CalibrateKind::Zero, sim, ini);
    ASSERT_EQ(run.exit, kExitOk) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, c.printed);
    EXPECT_EQ(dir.Read("qx40.ini"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Models, CalibrateZero,
    testing::Values(
        ZeroCase{"TwoChannels", 31,
                 "; kept by hand\r\n[Common]\r\nFPS_NO_LIM=1\r\n\r\n[Calibrate]\r\nTime=5\r\n; from the factory\r\n"
                 "Z_A1P1=3500\r\nZ_A1P2=620\r\nZ_A1SH=160\r\nZ_A2P1=3100\r\nZ_A2P2=800\r\nZ_A2SH=-48\r\n\r\n"
                 "[Mine]\r\nx=1\r\n",
                 "Z_A1P1=3500\nZ_A1P2=620\nZ_A1SH=160\nZ_A2P1=3100\nZ_A2P2=800\nZ_A2SH=-48\n"},
        ZeroCase{"SingleChannelKeepsA2", 28,
                 "; kept by hand\r\n[Common]\r\nFPS_NO_LIM=1\r\n\r\n[Calibrate]\r\nTime=5\r\n; from the factory\r\n"
                 "Z_A1P1=3500\r\nZ_A1P2=620\r\nZ_A1SH=160\r\nZ_A2P1=1\r\nZ_A2P2=2\r\nZ_A2SH=3\r\n\r\n"
                 "[Mine]\r\nx=1\r\n",
                 "Z_A1P1=3500\nZ_A1P2=620\nZ_A1SH=160\n"}),
    [](const testing::TestParamInfo<ZeroCase>& info) { return info.param.name; });

TEST(CalibrateCommand, ZeroWithAnInputConnectedFailsAndWritesNothing) {
    SimInstrumentConfig config;
    config.Faults.InputConnected = true;
    SimulatedLink sim(Instrument(config));
    TempDir dir;
    const std::string ini = dir.Write("qx40.ini", kFastFrames);
    const Outcome run = Calibrate(CalibrateKind::Zero, sim, ini);
    EXPECT_EQ(run.exit, kExitCalibration);
    EXPECT_EQ(run.err, "qx40cli: Calibration failed.\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(dir.Read("qx40.ini"), kFastFrames);
}

TEST(CalibrateCommand, UnpluggedInstrumentIsNotFound) {
    SimulatedLink sim;
    sim.Unplug();
    TempDir dir;
    const Outcome run = Calibrate(CalibrateKind::Zero, sim, dir.Write("qx40.ini", kFastFrames));
    EXPECT_EQ(run.exit, kExitDevice);
    EXPECT_NE(run.err.find("device not found"), std::string::npos) << run.err;
}

struct TdcCase {
    const char* name;
    std::int32_t model;
    TdcSteps stored;
};

void PrintTo(const TdcCase& c, std::ostream* os) { *os << c.name; }

class CalibrateTdc : public testing::TestWithParam<TdcCase> {};

TEST_P(CalibrateTdc, StoresTheStepCountsInTheInstrument) {
    const TdcCase& c = GetParam();
    SimInstrumentConfig config;  // 23, 22, 25, 17 steps; it reports 20, 19, 21, 18
    config.ModelCode = c.model;
    SimulatedLink sim(Instrument(config));
    RecordingLink link(sim);
    TempDir dir;
    const Outcome run = Calibrate(CalibrateKind::Tdc, link, dir.Write("qx40.ini", kFastFrames));
    ASSERT_EQ(run.exit, kExitOk) << run.err;
    const TdcSteps& s = c.stored;
    EXPECT_EQ(run.out, "TDC_D1_RISE=" + std::to_string(s[0]) + "\nTDC_D1_FALL=" + std::to_string(s[1]) +
                           "\nTDC_D2_RISE=" + std::to_string(s[2]) + "\nTDC_D2_FALL=" + std::to_string(s[3]) + "\n");

    // On the wire: one settings command with a fifth segment, 4 bytes for
    // calibration memory (space 0x80) at address 8.
    int withSegment = 0;
    for (const std::vector<std::uint8_t>& body : SettingsCommands(link.BytesWritten())) {
        if (body[1] != 5) continue;
        ++withSegment;
        ASSERT_EQ(body[0], 84);
        const std::size_t at = 84 - 7;  // the last segment: count, space, address, 4 bytes
        EXPECT_EQ(body[at], 4);
        EXPECT_EQ(body[at + 1], 0x80);
        EXPECT_EQ(body[at + 2], 8);
        EXPECT_EQ((TdcSteps{body[at + 3], body[at + 4], body[at + 5], body[at + 6]}), s);
    }
    EXPECT_EQ(withSegment, 1);
    const auto memory = sim.CalibrationMemory();
    EXPECT_EQ((TdcSteps{memory[8], memory[9], memory[10], memory[11]}), s);
}

INSTANTIATE_TEST_SUITE_P(Models, CalibrateTdc,
                         testing::Values(TdcCase{"TwoDigitalChannels", 31, {23, 22, 25, 17}},
                                         TdcCase{"WithoutD2", 28, {23, 22, 20, 20}}),
                         [](const testing::TestParamInfo<TdcCase>& info) { return info.param.name; });

TEST(CalibrateCommand, TdcFaultsStoreNothing) {
    for (const auto fault : {&SimFaults::TdcOverrange, &SimFaults::TdcNoSignal}) {
        SimInstrumentConfig config;
        config.Faults.*fault = true;
        SimulatedLink sim(Instrument(config));
        RecordingLink link(sim);
        TempDir dir;
        const Outcome run = Calibrate(CalibrateKind::Tdc, link, dir.Write("qx40.ini", kFastFrames));
        EXPECT_EQ(run.exit, kExitCalibration);
        EXPECT_EQ(run.err, "qx40cli: Calibration failed.\n");
        EXPECT_EQ(run.out, "");
        for (const std::vector<std::uint8_t>& body : SettingsCommands(link.BytesWritten())) EXPECT_EQ(body[1], 4);
        const auto memory = sim.CalibrationMemory();
        EXPECT_EQ((TdcSteps{memory[8], memory[9], memory[10], memory[11]}), config.Tdc);
    }
}

TEST(CalibrateCommand, FmSetsTheTimeCorrection) {
    TempDir dir;
    const std::string ini = dir.Write("qx40.ini", "[Calibrate]\nZ_A1P1=3430\nTime=0\n[Scope]\nTime=1\n");
    CalibrateOptions o;
    o.iniPath = "unused";
    std::ostringstream err;
    ASSERT_EQ(ParseCalibrateOptions({"fm", "--ppm-steps", "-250", "--ini", ini}, o, err), kExitOk) << err.str();
    std::ostringstream out;
    EXPECT_EQ(RunCalibrateFm(o, out, err), kExitOk) << err.str();
    EXPECT_EQ(out.str(), "Time=-250\n");
    EXPECT_EQ(dir.Read("qx40.ini"), "[Calibrate]\nZ_A1P1=3430\nTime=-250\n[Scope]\nTime=1\n");
}

TEST(CalibrateCommand, OptionsRefused) {
    struct Case {
        std::vector<std::string> args;
        const char* problem;
    };
    const Case cases[] = {
        {{}, "zero, tdc or fm is needed"},
        {{"offset"}, "unknown calibration offset"},
        {{"fm", "--ppm-steps", "251"}, "--ppm-steps needs a number from -250 to 250"},
        {{"fm", "--ppm-steps", "-251"}, "--ppm-steps needs a number from -250 to 250"},
        {{"fm", "--ppm-steps", "1.5"}, "--ppm-steps needs a number from -250 to 250"},
        {{"fm"}, "fm needs --ppm-steps N"},
        {{"fm", "--ppm-steps", "3", "--device", "sim"}, "unknown option --device"},
        {{"zero", "--ppm-steps", "3"}, "unknown option --ppm-steps"},
        {{"zero", "--timeout", "0"}, "--timeout needs seconds"},
        {{"tdc", "--ini"}, "--ini needs a value"},
    };
    for (const Case& c : cases) {
        CalibrateOptions o;
        o.iniPath = "qx40.ini";
        std::ostringstream err;
        EXPECT_EQ(ParseCalibrateOptions(c.args, o, err), kExitUsage) << c.problem;
        EXPECT_NE(err.str().find(c.problem), std::string::npos) << err.str();
    }
}

// A1's mean code and A2's over the record the program decoded.
std::array<double, 2> ZeroLines(const SampleRecord& r) {
    std::array<double, 2> mean{};
    const auto n = static_cast<std::size_t>(r.Info[fi::ValidPoints]);
    for (std::size_t c = 0; c < 2; ++c) {
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += r.Min[c][i];
        mean[c] = sum / static_cast<double>(n);
    }
    return mean;
}

TEST(CalibrateCommand, CalibratedInstrumentShowsItsZeroLinesWhereTheStateSays) {
    // Its offsets differ from what an uncalibrated program assumes; nothing
    // on the inputs but the converter's noise.
    SimInstrumentConfig config;
    config.Bench.A2Connected = false;
    SimulatedLink sim(Instrument(config));
    ConsoleDialogs dialogs(std::cerr);
    HeadlessScope scope(sim, EmbeddedFpgaImage(), true, dialogs);
    ScopeSession& session = scope.Session();
    session.State().Common.FrameRate = FrameRate::FPS_NO_LIM;
    std::string error;
    ASSERT_TRUE(scope.Open(error)) << error;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const auto frames = [&](int n) {
        scope.Press(RunButton::Run);
        const int wanted = scope.FramesShown() + n;
        EXPECT_TRUE(scope.WaitFor([&] { return scope.FramesShown() >= wanted; }, deadline, error)) << error;
        scope.Press(RunButton::None);
        return ZeroLines(scope.MainRecord());
    };
    const auto before = frames(3);
    EXPECT_GT(std::abs(before[0] - 191.0), 3.0) << before[0];
    EXPECT_GT(std::abs(before[1] - 63.0), 3.0) << before[1];

    ASSERT_TRUE(scope.WaitFor([&] { return bool(session.Shared().flags.DeviceInfoValid); }, deadline, error));
    ZeroCalibration zero(session);
    session.SetFrameObserver([&](const SampleRecord& f) { zero.OnFrame(f); });
    zero.Start();
    ASSERT_TRUE(scope.WaitFor([&] { return !zero.Measuring(); }, deadline, error)) << error;
    session.SetFrameObserver({});
    ASSERT_EQ(zero.Phase(), CalibrationPhase::Done);

    const auto after = frames(3);
    EXPECT_NEAR(after[0], 191.0, 0.5);
    EXPECT_NEAR(after[1], 63.0, 0.5);
}

}  // namespace
}  // namespace qx40
