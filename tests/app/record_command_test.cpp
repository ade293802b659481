// qx40cli record on the simulated instrument in roll mode: the data file must
// be the instrument's A1 samples in time order, taken from the rings of the
// frames it sent, with nothing missing and nothing twice; a lost instrument
// keeps every byte received. Stopping by SIGINT and SIGTERM runs the real
// program.
#include "app/cli/record_command.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "app/cli/cli_exit.h"
#include "device/recording_link.h"
#include "device/usb/sim/sim_test_support.h"
#include "device/usb/sim/simulated_link.h"
#include "files/settings_file.h"
#include "resources/fpga_image.h"
#include "scope/derived_quantities.h"
#include "scope/value_tables.h"
#include "temp_dir.h"

extern char** environ;

namespace qx40 {
namespace {

using namespace std::chrono_literals;
using testing_support::RecordingLink;
using testing_support::TempDir;

// 100 ms/div without a trigger source: roll mode, 2000 samples a second.
// With the generator on, A1 carries a slow sine, so that every stretch of
// the recording differs from its neighbours (a quiet input has runs of
// equal codes that a shifted file would match as well).
ScopeState RollSettings(bool peak) {
    ScopeState s;
    s.Scope.TimebaseIndex = TimebaseIndex::T100mS;
    s.Common.SampleCount = SampleCountChoice::Smpl_N_2000;
    s.Common.CH_D1 = s.Common.CH_D2 = false;  // A1 and A2: one byte each per sample
    s.Common.SmplPeakDet = peak;
    s.Generator.F_fast = 0;
    s.Generator.F_slow = 37;  // 3.7 Hz
    s.Generator.Ampl = 1500;  // about 1 V peak to peak: no clipping at 1 V/div
    return s;
}

std::string WriteSettingsFile(const TempDir& dir, const ScopeState& s,
                              const char* name = "roll.qxs") {
    std::string error;
    EXPECT_TRUE(WriteSettings(dir.File(name), SettingsKind::User, s, DeviceFacts{}, error))
        << error;
    return dir.File(name);
}

std::int32_t RawSampleCount(const ScopeState& s) {
    DerivedQuantities d;
    d.TimePerDivNs = TimePerDivNsOf(s.Scope.TimebaseIndex);
    ComputeSampleGeometry(s, d);
    return d.SampleCount;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::uintmax_t FileSize(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    return ec ? 0 : size;
}

// What the recorder must write from a point on: for every roll frame of the
// settings last sent, the A1 entries of its ring that the instrument wrote
// since the frame before, from that frame's write position up to this one's.
// chunks[k] is what frame k + 1 adds.
std::vector<std::vector<std::uint8_t>> RingSteps(const std::vector<std::uint8_t>& stream,
                                                 std::int32_t sampleCount, std::int32_t sequence) {
    std::vector<std::vector<std::uint8_t>> chunks;
    std::int32_t last = -1;
    for (const sim_test::Frame& f : sim_test::SplitFrames(stream, sampleCount, false)) {
        if (f.status || !f.checksumOk || f.echo[69] != sequence || !(f.echo[0] & 0x01)) continue;
        const std::vector<int> a1 = sim_test::Unpack(f, sampleCount, {true, true, false, false})[0];
        const auto w = static_cast<std::int32_t>(f.Echo16(40));
        if (last >= 0) {
            std::vector<std::uint8_t>& chunk = chunks.emplace_back();
            for (std::int32_t i = last; i != w; i = (i + 1) % sampleCount)
                chunk.push_back(static_cast<std::uint8_t>(a1[static_cast<std::size_t>(i)]));
            EXPECT_LT(chunk.size(), static_cast<std::size_t>(sampleCount) / 2)
                << "frames too far apart to tell the ring's steps";
        }
        last = w;
    }
    return chunks;
}

// Where the recording starts in the frames' steps: the chunk whose bytes
// the file begins with, from which on the file runs through the steps
// without a gap or a repeat. -1 when there is none.
int StartChunk(const std::vector<std::vector<std::uint8_t>>& chunks,
               const std::vector<std::uint8_t>& file, bool toTheEnd) {
    for (std::size_t first = 0; first < chunks.size(); ++first) {
        std::vector<std::uint8_t> joined;
        for (std::size_t k = first; k < chunks.size() && (toTheEnd || joined.size() < file.size());
             ++k)
            joined.insert(joined.end(), chunks[k].begin(), chunks[k].end());
        if (!toTheEnd && joined.size() > file.size()) joined.resize(file.size());
        if (!file.empty() && joined == file) return static_cast<int>(first);
    }
    return -1;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    EXPECT_EQ(at, text.size()) << "every line ends in CR LF";
    return lines;
}

struct RollCase {
    const char* name;
    bool peak;
    bool russian;
    std::vector<std::string> info;  // the information lines of the text file
};

void PrintTo(const RollCase& c, std::ostream* os) {
    *os << c.name;
}

class RecordCommandTest : public testing::TestWithParam<RollCase> {};

TEST_P(RecordCommandTest, DataFileHoldsTheA1RingFromTheFirstFrameOnWithoutGapsOrRepeats) {
    const RollCase& c = GetParam();
    TempDir dir;
    const ScopeState wanted = RollSettings(c.peak);
    const std::int32_t sampleCount = RawSampleCount(wanted);

    SimulatedLink sim;
    RecordingLink link(sim);
    RecordOptions options;
    options.settingsPath = WriteSettingsFile(dir, wanted);
    options.outputPath = dir.File("roll.bin");
    options.bytes = static_cast<std::uint64_t>(sampleCount) * 5 / 2;  // the ring wraps twice
    options.russian = c.russian;
    options.generatorOn = true;
    std::ostringstream err;
    ASSERT_EQ(RunRecord(
                  options, link, EmbeddedFpgaImage(), true, [] { return false; }, err),
              kExitOk)
        << err.str();
    EXPECT_EQ(err.str(), "");

    const std::vector<std::uint8_t> file = Bytes(dir.Read("roll.bin"));
    ASSERT_EQ(file.size(), options.bytes);
    const auto chunks = RingSteps(link.BytesRead(), sampleCount, sim.LastCmdSeq());
    EXPECT_GE(StartChunk(chunks, file, false), 0) << "the file is not the A1 ring, step by step";

    const std::vector<std::string> lines = Lines(dir.Read("roll.txt"));
    ASSERT_EQ(lines.size(), 2 + c.info.size() + 4);
    EXPECT_EQ(lines[0],
              c.russian ? "Файл самописца = roll.bin" : "Oscilloscope recorder file = roll.bin");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(
        std::vector<std::string>(lines.begin() + 2,
                                 lines.begin() + 2 + static_cast<std::ptrdiff_t>(c.info.size())),
        c.info);
    const std::size_t at = 2 + c.info.size();
    EXPECT_EQ(lines[at].rfind(c.russian ? "Начало записи = " : "Start recording = ", 0), 0u)
        << lines[at];
    EXPECT_EQ(lines[at + 1].rfind(c.russian ? "Конец записи = " : "Stop recording = ", 0), 0u)
        << lines[at + 1];
    EXPECT_EQ(lines[at + 2], (c.russian ? "Записано = " : "Size = ") + std::to_string(file.size()) +
                                 (c.russian ? " Байт" : " Bytes"));
    EXPECT_EQ(lines[at + 3].rfind(c.russian ? "Время = 0  00:00:0" : "Time = 0  00:00:0", 0), 0u)
        << lines[at + 3];
}

INSTANTIATE_TEST_SUITE_P(
    Roll, RecordCommandTest,
    testing::Values(RollCase{"OneBytePerSample",
                             false,
                             false,
                             {"Sampling rate = 2.00 KHz", "Peak detector off, bytes per sample = 1",
                              "Write speed = 6.866455 MBytes/hour", "", "Time step = 500.0 uS",
                              "Voltage step = 31.25 mV", "Zero level = 191", ""}},
                    RollCase{
                        "PeakDetectTwoBytesPerPointInRussian",
                        true,
                        true,
                        {"Частота дискретизации = 1.00 KHz",
                         "Пиковый детектор включен, байт на отсчет = 2",
                         "Скорость записи = 6.866455 МБайт/час", "", "Шаг по времени = 1.000 mS",
                         "Шаг по напряжению = 31.25 mV", "Уровень нуля = 191", ""}}),
    [](const testing::TestParamInfo<RollCase>& info) { return info.param.name; });

// The end of the file is the newest sample received, with or without peak
// detect: nothing lags behind the instrument's write position.
class RecordLossTest : public testing::TestWithParam<bool> {};

TEST_P(RecordLossTest, LosingTheInstrumentKeepsEveryByteReceived) {
    TempDir dir;
    const ScopeState wanted = RollSettings(GetParam());
    const std::int32_t sampleCount = RawSampleCount(wanted);
    SimulatedLink sim;
    RecordingLink link(sim);
    RecordOptions options;
    options.settingsPath = WriteSettingsFile(dir, wanted);
    options.outputPath = dir.File("lost.bin");
    options.seconds = 60;
    options.generatorOn = true;
    // The cable is pulled some frames after the recording is under way, so
    // not just after a block that the file size was waiting for; the
    // instrument forgets its settings with the power.
    std::int32_t sequence = -1;
    std::thread unplug([&] {
        const auto give_up = std::chrono::steady_clock::now() + 30s;
        while (FileSize(options.outputPath) < 3000 && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(5ms);
        std::this_thread::sleep_for(250ms);
        sequence = sim.LastCmdSeq();
        sim.Unplug();
    });
    std::ostringstream err;
    const int exit = RunRecord(
        options, link, EmbeddedFpgaImage(), true, [] { return false; }, err);
    unplug.join();
    EXPECT_EQ(exit, kExitDevice) << err.str();

    const std::vector<std::uint8_t> file = Bytes(dir.Read("lost.bin"));
    ASSERT_GE(file.size(), 3000u);
    const std::string lines = err.str();
    EXPECT_NE(lines.find("USB connection lost"), std::string::npos) << lines;
    EXPECT_NE(lines.find(std::to_string(file.size()) + " bytes were kept"), std::string::npos)
        << lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 1) << lines;
    const auto chunks = RingSteps(link.BytesRead(), sampleCount, sequence);
    EXPECT_GE(StartChunk(chunks, file, true), 0)
        << "every frame received up to the loss is in the file";

    EXPECT_NE(dir.Read("lost.txt").find("\r\nSize = " + std::to_string(file.size()) + " Bytes\r\n"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Roll, RecordLossTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "PeakDetect" : "OneBytePerSample");
                         });

TEST(RecordCommand, RefusedBeforeAnythingIsWritten) {
    TempDir dir;
    ScopeState triggered = RollSettings(false);
    triggered.Trigger.Source = TriggerSource::CH_A1;
    ScopeState fast = RollSettings(false);
    fast.Scope.TimebaseIndex = TimebaseIndex::T50mS;
    const std::string refusal = "qx40cli: Recorder: Run 0.1 .. 20 S/Div. Disable Trigger.\n";
    struct Case {
        const char* name;
        std::string settings;
        int exit;
        std::string line;
    };
    const Case cases[] = {
        {"without settings: 1 ms/div", "", kExitUsage, refusal},
        {"a trigger source", WriteSettingsFile(dir, triggered, "t.qxs"), kExitUsage, refusal},
        {"50 ms/div", WriteSettingsFile(dir, fast, "f.qxs"), kExitUsage, refusal},
        {"refused settings", dir.Write("bad.qxs", "[Common]\nGrid=1\n"), kExitUsage,
         "qx40cli: " + dir.File("bad.qxs") + " Invalid file format.\n"},
        {"missing settings", dir.File("none.qxs"), kExitFile,
         "qx40cli: " + dir.File("none.qxs") + ": file not found\n"},
    };
    for (const Case& c : cases) {
        SimulatedLink sim;
        RecordOptions options;
        options.settingsPath = c.settings;
        options.outputPath = dir.File("out.bin");
        options.seconds = 1;
        std::ostringstream err;
        EXPECT_EQ(RunRecord(
                      options, sim, EmbeddedFpgaImage(), true, [] { return false; }, err),
                  c.exit)
            << c.name;
        EXPECT_EQ(err.str(), c.line) << c.name;
        EXPECT_EQ(sim.LastCmdSeq(), -1) << c.name << ": the instrument was not even opened";
        EXPECT_FALSE(std::filesystem::exists(dir.File("out.bin"))) << c.name;
    }
}

TEST(RecordCommand, Options) {
    struct Case {
        std::vector<std::string> args;
        const char* line;  // empty: accepted
    };
    const Case cases[] = {
        {{"--seconds", "2.5", "--output", "a.bin"}, ""},
        {{"--bytes", "1000", "--lang", "ru", "--output", "a.bin"}, ""},
        {{"--output", "a.bin"}, "qx40cli: record: needs --seconds S or --bytes N\n"},
        {{"--seconds", "1", "--bytes", "1", "--output", "a.bin"},
         "qx40cli: record: needs --seconds S or --bytes N\n"},
        {{"--seconds", "0", "--output", "a.bin"},
         "qx40cli: record: --seconds needs seconds from 0.001 to 100000000\n"},
        {{"--bytes", "-5", "--output", "a.bin"},
         "qx40cli: record: --bytes needs a number from 1 to 1125899906842624\n"},
        {{"--bytes", "99999999999999999999", "--output", "a.bin"},
         "qx40cli: record: --bytes needs a number from 1 to 1125899906842624\n"},
        {{"--seconds", "1", "--lang", "de", "--output", "a.bin"},
         "qx40cli: record: --lang needs en or ru\n"},
        {{"--seconds", "1"}, "qx40cli: record: --output FILE.bin is needed\n"},
        {{"--seconds", "1", "--frames", "3", "--output", "a.bin"},
         "qx40cli: record: unknown option --frames\n"},
        {{"--seconds", "1", "--output"}, "qx40cli: record: --output needs a value\n"},
    };
    for (const Case& c : cases) {
        RecordOptions o;
        std::ostringstream err;
        const int exit = ParseRecordOptions(c.args, o, err);
        EXPECT_EQ(err.str(), c.line) << c.args.front();
        EXPECT_EQ(exit, *c.line ? kExitUsage : kExitOk) << c.line;
    }
    RecordOptions o;
    std::ostringstream err;
    ASSERT_EQ(ParseRecordOptions({"--bytes", "1000", "--lang", "ru", "--output", "a.bin"}, o, err),
              kExitOk);
    EXPECT_EQ(o.bytes, 1000u);
    EXPECT_EQ(o.seconds, 0.0);
    EXPECT_TRUE(o.russian);
}

// The real program, stopped by a signal as a script or a service manager
// would stop it.
class RecordSignalTest : public testing::TestWithParam<int> {};

TEST_P(RecordSignalTest, StopsAsTheStopButtonDoesAndWritesTheTextFile) {
    TempDir dir;
    const std::string settings = WriteSettingsFile(dir, RollSettings(false));
    const std::string output = dir.File("signal.bin");
    const std::string errors = dir.File("stderr.txt");
    const std::string ini = dir.Write("qx40.ini", "");
    std::vector<std::string> args = {QX40CLI_PATH, "record", "--device",   "sim",
                                     "--ini",      ini,      "--settings", settings,
                                     "--seconds",  "120",    "--output",   output};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    const auto waitUntil = [](const std::function<bool()>& done) {
        const auto give_up = std::chrono::steady_clock::now() + 30s;
        while (!done() && std::chrono::steady_clock::now() < give_up)
            std::this_thread::sleep_for(10ms);
        return done();
    };
    int status = 0;
    bool reaped = false;
    const auto exited = [&] {
        return reaped || (reaped = ::waitpid(pid, &status, WNOHANG) == pid);
    };
    const bool recording = waitUntil([&] { return FileSize(output) >= 1000 || exited(); });
    ::kill(pid, GetParam());
    const bool ended = recording && !reaped && waitUntil(exited);
    if (!reaped) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    ASSERT_TRUE(ended) << dir.Read("stderr.txt");
    ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal itself";
    EXPECT_EQ(WEXITSTATUS(status), kExitOk) << dir.Read("stderr.txt");
    EXPECT_EQ(dir.Read("stderr.txt"), "") << "no terminal, no progress";
    const auto size = std::filesystem::file_size(output);
    EXPECT_GE(size, 1000u);
    EXPECT_NE(dir.Read("signal.txt").find("\r\nSize = " + std::to_string(size) + " Bytes\r\n"),
              std::string::npos)
        << dir.Read("signal.txt");
}

INSTANTIATE_TEST_SUITE_P(Signals, RecordSignalTest, testing::Values(SIGINT, SIGTERM),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT ? "SIGINT" : "SIGTERM");
                         });

}  // namespace
}  // namespace qx40
