// qx40cli capture against the simulated instrument: the data file must hold
// exactly the samples of the frame the instrument sent, placed as the frame
// says, for several kinds of frames.
#include "app/cli/capture_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "calibration/zero_offset_code.h"
#include "device/recording_link.h"
#include "device/usb/sim/sim_test_support.h"
#include "device/usb/sim/simulated_link.h"
#include "files/data_file.h"
#include "files/settings_file.h"
#include "resources/fpga_image.h"
#include "scope/value_tables.h"
#include "temp_dir.h"

namespace qx40 {
namespace {

using testing_support::RecordingLink;
using testing_support::TempDir;

// The points of one channel as the frame places them, worked out from the
// frame format alone: unpacking, min/max pairs, the trigger at PreTrigger,
// or in scroll display the newest point last.
struct Expected {
    std::vector<std::int32_t> min, max;
    std::int32_t valid = 0;
};

std::array<Expected, 4> Place(const sim_test::Frame& f, std::int32_t sampleCount, bool lenta) {
    std::array<bool, 4> present{};
    for (int c = 0; c < 4; ++c) present[c] = f.echo[28] >> c & 1;
    if (f.echo[2] & 1) {
        present[0] = present[0] && !(f.echo[2] & 2), present[1] = present[1] && (f.echo[2] & 2);
        present[2] = present[2] && !(f.echo[2] & 4), present[3] = present[3] && (f.echo[2] & 4);
    }
    std::array<std::vector<std::int32_t>, 4> raw;
    std::size_t at = 0;
    int bits = 0;
    for (std::int32_t i = 0; i < sampleCount; ++i) {
        for (int c = 0; c < 2; ++c)
            if (present[c]) raw[c].push_back(f.samples.at(at++));
        bits += present[2] + present[3];
        if (bits == 4) {
            const std::uint8_t x = f.samples.at(at++);
            while (bits > 0)
                for (int c = 2; c < 4; ++c)
                    if (present[c]) raw[c].push_back(x >> --bits & 1);
        }
    }
    const bool peak = f.echo[1] & 1;
    const int div = peak ? 2 : 1;
    const std::int32_t pre = static_cast<std::int32_t>(f.Echo16(8)) / div;
    const std::int32_t ring = (static_cast<std::int32_t>(f.Echo16(8)) + static_cast<std::int32_t>(f.Echo16(10))) / div;
    const std::int32_t w = static_cast<std::int32_t>(f.Echo16(40)) / div;
    const std::int32_t tp = static_cast<std::int32_t>(f.Echo16(42)) / div;
    const bool rollData = (f.echo[29] & 1) && (f.echo[0] & 1);
    const bool full = f.echo[0] & 2;
    const bool scroll = rollData && full && lenta;
    std::array<Expected, 4> out;
    for (int c = 0; c < 4; ++c) {
        out[c].min.assign(static_cast<std::size_t>(ring), kEmptySample);
        out[c].max.assign(static_cast<std::size_t>(ring), kEmptySample);
        out[c].valid = rollData && !full ? w : ring;
        if (!present[c]) continue;
        for (std::int32_t k = 0; k < ring; ++k) {
            const std::int32_t o = ((scroll ? ring - w + k : pre - tp + k) % ring + ring) % ring;
            out[c].min[static_cast<std::size_t>(o)] = raw[c][static_cast<std::size_t>(k * div)];
            out[c].max[static_cast<std::size_t>(o)] = raw[c][static_cast<std::size_t>(k * div + div - 1)];
        }
    }
    return out;
}

struct CaptureCase {
    const char* name;
    std::function<void(ScopeState&)> settings;
    int frames;
};

void PrintTo(const CaptureCase& c, std::ostream* os) { *os << c.name; }

class CaptureCommandTest : public testing::TestWithParam<CaptureCase> {};

TEST_P(CaptureCommandTest, DataFileHoldsTheFrameTheInstrumentSent) {
    const CaptureCase& c = GetParam();
    TempDir dir;
    ScopeState wanted;
    c.settings(wanted);
    std::string error;
    ASSERT_TRUE(WriteSettings(dir.File("s.qxs"), SettingsKind::User, wanted, DeviceFacts{}, error)) << error;

    SimulatedLink sim;
    RecordingLink link(sim);
    CaptureOptions options;
    options.settingsPath = dir.File("s.qxs");
    options.outputPath = dir.File("out.qxd");
    options.frames = c.frames;
    options.timeoutSeconds = 20;
    std::ostringstream err;
    ASSERT_EQ(RunCapture(options, link, EmbeddedFpgaImage(), true, err), kExitOk) << err.str();
    EXPECT_TRUE(err.str().empty()) << err.str();

    SampleRecord saved;
    ASSERT_EQ(ReadDataFile(dir.File("out.qxd"), saved), DataFileError::None);
    const FrameInfo& info = saved.Info;
    EXPECT_EQ(info[fi::DeviceTypeCode], 31);
    ASSERT_GE(info[fi::FrameCounter], c.frames);

    // The instrument's frames of the settings the capture ran with; the
    // saved one is the frame counter's.
    const std::int32_t sampleCount = info[fi::PeakDetect] ? 2 * info[fi::RingLength] : info[fi::RingLength];
    const bool single = !(wanted.Common.CH_A1 && wanted.Common.CH_A2) && !(wanted.Common.CH_D1 && wanted.Common.CH_D2);
    std::vector<sim_test::Frame> accepted;
    for (const sim_test::Frame& f : sim_test::SplitFrames(link.BytesRead(), sampleCount, single))
        if (!f.status && f.checksumOk && f.echo[69] == sim.LastCmdSeq()) accepted.push_back(f);
    ASSERT_GE(accepted.size(), static_cast<std::size_t>(info[fi::FrameCounter]));
    const sim_test::Frame& frame = accepted[static_cast<std::size_t>(info[fi::FrameCounter] - 1)];
    const auto expected = Place(frame, sampleCount, wanted.Common.Lenta);

    EXPECT_EQ(info[fi::ValidPoints], expected[0].valid);
    for (std::size_t ch = 0; ch < 4; ++ch) {
        if (!(info[fi::Channels] >> ch & 1)) continue;
        const auto n = static_cast<std::size_t>(info[fi::ValidPoints]);
        const std::vector<std::int32_t> mins(saved.Min[ch].begin(), saved.Min[ch].begin() + n);
        const std::vector<std::int32_t> maxs(saved.Max[ch].begin(), saved.Max[ch].begin() + n);
        EXPECT_EQ(mins, std::vector<std::int32_t>(expected[ch].min.begin(), expected[ch].min.begin() + n)) << ch;
        EXPECT_EQ(maxs, std::vector<std::int32_t>(expected[ch].max.begin(), expected[ch].max.begin() + n)) << ch;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CaptureCommandTest,
    testing::Values(
        CaptureCase{"FourChannelsAt1ms", [](ScopeState&) {}, 1},
        CaptureCase{"TriggeredAt50ns",
                    [](ScopeState& s) {
                        s.Scope.TimebaseIndex = TimebaseIndex::T50nS;
                        s.Trigger.Source = TriggerSource::CH_D1;
                        s.Common.SampleCount = SampleCountChoice::Smpl_N_2000;
                    },
                    2},
        CaptureCase{"TriggeredOnA2At200us",
                    [](ScopeState& s) {
                        s.Scope.TimebaseIndex = TimebaseIndex::T02mS;
                        s.Trigger.Source = TriggerSource::CH_A2;
                        s.Trigger.Lev_A2 = 63;
                        s.Trigger.Pre = 3;
                    },
                    1},
        CaptureCase{"PeakDetect",
                    [](ScopeState& s) {
                        s.Scope.TimebaseIndex = TimebaseIndex::T2mS;
                        s.Common.SmplPeakDet = true;
                    },
                    1},
        CaptureCase{"SingleChannel20000",
                    [](ScopeState& s) {
                        s.Common.CH_A2 = false;
                        s.Common.CH_D2 = false;
                        s.Common.SampleCount = SampleCountChoice::Smpl_N_20000;
                        s.Scope.TimebaseIndex = TimebaseIndex::T02mS;
                    },
                    1},
        CaptureCase{"Roll",
                    [](ScopeState& s) {
                        s.Scope.TimebaseIndex = TimebaseIndex::T100mS;
                        s.Common.SampleCount = SampleCountChoice::Smpl_N_2000;
                    },
                    3}),
    [](const testing::TestParamInfo<CaptureCase>& info) { return info.param.name; });

TEST(CaptureCommand, SingleShot) {
    TempDir dir;
    SimulatedLink sim;
    CaptureOptions options;
    options.outputPath = dir.File("one.qxd");
    options.single = true;
    options.frames = 2;
    std::ostringstream err;
    ASSERT_EQ(RunCapture(options, sim, EmbeddedFpgaImage(), true, err), kExitOk) << err.str();
    SampleRecord saved;
    ASSERT_EQ(ReadDataFile(dir.File("one.qxd"), saved), DataFileError::None);
    EXPECT_EQ(saved.Info[fi::ValidPoints], saved.Info[fi::RingLength]);
    // As the window leaves it: the settings went out once more without the run bit.
    EXPECT_FALSE(sim.Registers().reg[reg::kChanEnable] & kEnableRun) << "the instrument still runs";
}

// The generator output feeds A1 on the bench: with it on A1 swings, without
// it A1 stays at its zero line.
TEST(CaptureCommand, GeneratorOnForTheCapture) {
    TempDir dir;
    std::int32_t swing[2] = {};
    for (const bool on : {false, true}) {
        SimulatedLink sim;
        CaptureOptions options;
        options.outputPath = dir.File("g.qxd");
        options.generatorOn = on;
        std::ostringstream err;
        ASSERT_EQ(RunCapture(options, sim, EmbeddedFpgaImage(), true, err), kExitOk) << err.str();
        EXPECT_EQ((sim.Registers().reg[reg::kGainCodeA1] & 0x08) == 0, on) << "output switch, on=" << on;
        SampleRecord saved;
        ASSERT_EQ(ReadDataFile(dir.File("g.qxd"), saved), DataFileError::None);
        const auto n = static_cast<std::ptrdiff_t>(saved.Info[fi::ValidPoints]);
        swing[on] = *std::max_element(saved.Max[kA1].begin(), saved.Max[kA1].begin() + n) -
                    *std::min_element(saved.Min[kA1].begin(), saved.Min[kA1].begin() + n);
    }
    EXPECT_LT(swing[0], 5) << "output off";
    EXPECT_GT(swing[1], 40) << "output on";

    // A model without a generator has nothing to switch on.
    SimulatedLink sim;
    CaptureOptions options;
    options.outputPath = dir.File("none.qxd");
    options.generatorOn = true;
    options.programSettingsPath = dir.Write("qx40.ini", "[System]\nDevice_Type_Code=25\n");
    std::ostringstream err;
    EXPECT_EQ(RunCapture(options, sim, EmbeddedFpgaImage(), true, err), kExitUsage);
    EXPECT_EQ(err.str(), "qx40cli: the QX4002 has no generator\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.qxd")));
}

// qx40cli reads the window's program settings file: its zero calibration
// sets the offset codes the instrument gets, exactly as the window's would.
TEST(CaptureCommand, TheProgramSettingsCalibrationSetsTheOffsets) {
    TempDir dir;
    const std::string ini = dir.Write("qx40.ini",
                                      "[Calibrate]\nZ_A1P1=3100\nZ_A1P2=900\nZ_A1SH=300\n"
                                      "Z_A2P1=3500\nZ_A2P2=500\nZ_A2SH=-200\n");
    ScopeState window;
    ReadSettings(ini, SettingsKind::Program, window);
    const std::uint64_t expected[2] = {
        static_cast<std::uint64_t>(ZeroOffsetCode(window.Scope.A1_Zero, 1, BaseMicroVoltsOf(window.Scope.A1),
                                                  window.Calibrate)),
        static_cast<std::uint64_t>(ZeroOffsetCode(window.Scope.A2_Zero, 2, BaseMicroVoltsOf(window.Scope.A2),
                                                  window.Calibrate))};
    ScopeState defaults;
    ASSERT_NE(expected[0], static_cast<std::uint64_t>(ZeroOffsetCode(defaults.Scope.A1_Zero, 1,
                                                                     BaseMicroVoltsOf(defaults.Scope.A1),
                                                                     defaults.Calibrate)))
        << "the file must give other offsets than the defaults";

    SimulatedLink sim;
    CaptureOptions options;
    options.outputPath = dir.File("c.qxd");
    options.programSettingsPath = ini;
    std::ostringstream err;
    ASSERT_EQ(RunCapture(options, sim, EmbeddedFpgaImage(), true, err), kExitOk) << err.str();
    EXPECT_EQ(sim.Registers().Get<2>(reg::kOffsetA1) & 0x0FFF, expected[0]);
    EXPECT_EQ(sim.Registers().Get<2>(reg::kOffsetA2) & 0x0FFF, expected[1]);
}

TEST(CaptureCommand, Failures) {
    TempDir dir;
    std::ostringstream err;
    CaptureOptions options;
    options.outputPath = dir.File("x.qxd");
    options.timeoutSeconds = 1;

    SimulatedLink unplugged;
    unplugged.Unplug();
    EXPECT_EQ(RunCapture(options, unplugged, EmbeddedFpgaImage(), true, err), kExitDevice);
    EXPECT_NE(err.str().find("device not found"), std::string::npos) << err.str();

    err.str("");
    SimulatedLink silent;
    silent.SetMicrocontrollerSilent(true);
    EXPECT_EQ(RunCapture(options, silent, EmbeddedFpgaImage(), true, err), kExitDevice);
    EXPECT_NE(err.str().find("error code 6"), std::string::npos) << err.str();

    err.str("");
    SimulatedLink sim;
    options.settingsPath = dir.Write("bad.qxs", "[Common]\nGrid=1\n");
    EXPECT_EQ(RunCapture(options, sim, EmbeddedFpgaImage(), true, err), kExitUsage) << "refused";
    EXPECT_NE(err.str().find("Invalid file format."), std::string::npos) << err.str();
    err.str("");
    options.settingsPath = dir.File("missing.qxs");
    EXPECT_EQ(RunCapture(options, sim, EmbeddedFpgaImage(), true, err), kExitFile) << "missing";
    EXPECT_NE(err.str().find("missing.qxs: file not found"), std::string::npos) << err.str();

    err.str("");
    options.settingsPath.clear();
    options.outputPath = dir.File("no/such/dir/x.qxd");
    EXPECT_EQ(RunCapture(options, sim, EmbeddedFpgaImage(), true, err), kExitFile);
    const std::string lines = err.str();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;

    err.str("");
    options.outputPath = dir.File("x.qxd");
    ScopeState untriggerable;
    untriggerable.Trigger.Source = TriggerSource::CH_A1;
    untriggerable.Trigger.Lev_A1 = 250;  // above anything the generator reaches
    std::string error;
    WriteSettings(dir.File("never.qxs"), SettingsKind::User, untriggerable, DeviceFacts{}, error);
    options.settingsPath = dir.File("never.qxs");
    SimulatedLink idle;
    EXPECT_EQ(RunCapture(options, idle, EmbeddedFpgaImage(), true, err), kExitTimeout);
}

TEST(CaptureCommand, PlaceholderImageNeverGoesToHardware) {
    TempDir dir;
    SimulatedLink sim;
    struct HardwareLink : RecordingLink {
        using RecordingLink::RecordingLink;
        LinkKind Kind() const override { return LinkKind::Hardware; }
    } hardware(sim);
    CaptureOptions options;
    options.outputPath = dir.File("x.qxd");
    std::ostringstream err;
    EXPECT_EQ(RunCapture(options, hardware, EmbeddedFpgaImage(), true, err), kExitDevice);
    EXPECT_NE(err.str().find("qx40_fpga.bin"), std::string::npos) << err.str();
    EXPECT_FALSE(sim.FpgaConfigured());
}

}  // namespace
}  // namespace qx40
