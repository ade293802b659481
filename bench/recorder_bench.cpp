// The recorder from the acquisition thread's queue to the disk at the
// highest rate roll mode can deliver, one block per displayed frame at the
// shortest frame interval, each flushed to the disk once per second of
// recording as the program does. The clock the session sees advances by a
// frame interval per frame, so every flush of the recording is paid; the
// counter x_instrument says how many times faster than the instrument the
// recorder writes. The baseline writes the same blocks with plain write()
// and the same fdatasync cadence in the same run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "recorder/recorder_queue.h"
#include "recorder/recorder_session.h"
#include "scope/derived_quantities.h"
#include "scope/value_tables.h"

namespace {

using namespace qx40;

struct RollRate {
    double bytesPerSecond = 0;
    std::int32_t divider = 0;
    bool peak = false;
};

// The fastest A1 byte stream over every roll time base and sample geometry,
// as the recorder's information box computes it.
RollRate HighestRollRate() {
    RollRate best;
    for (std::size_t t = 0; t < kTimebaseCount; ++t) {
        const auto timebase = static_cast<TimebaseIndex>(t);
        if (!IsRollTimebase(timebase)) continue;
        for (const auto count : {SampleCountChoice::Smpl_N_2000, SampleCountChoice::Smpl_N_5000,
                                 SampleCountChoice::Smpl_N_10000, SampleCountChoice::Smpl_N_20000})
            for (const auto length :
                 {SignalLength::Sig_10_Div, SignalLength::Sig_20_Div, SignalLength::Sig_50_Div,
                  SignalLength::Sig_100_Div, SignalLength::Sig_200_Div})
                for (const bool peak : {false, true})
                    for (const bool single : {false, true}) {
                        ScopeState s;
                        s.Common.SampleCount = count;
                        s.Common.SignalLength = length;
                        s.Common.SmplPeakDet = peak;
                        s.Common.CH_A2 = s.Common.CH_D2 = !single;
                        DerivedQuantities d;
                        d.TimePerDivNs = TimePerDivNsOf(timebase);
                        ComputeSampleGeometry(s, d);
                        const double rate = 1e8 / d.SampleDivider * (peak ? 2 : 1);
                        if (rate > best.bytesPerSecond) best = {rate, d.SampleDivider, peak};
                    }
    }
    return best;
}

constexpr int kFrameIntervalMs = 10;  // FPS_NO_LIM, the shortest

class BenchDir {
public:
    BenchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qx40-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~BenchDir() { std::filesystem::remove_all(path_); }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::size_t BlockBytes(const RollRate& r) {
    return static_cast<std::size_t>(r.bytesPerSecond * kFrameIntervalMs / 1000);
}

void Report(benchmark::State& state, const RollRate& r, std::size_t block) {
    const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(block);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.counters["x_instrument"] =
        benchmark::Counter(bytes / r.bytesPerSecond, benchmark::Counter::kIsRate);
    state.counters["block_bytes"] = static_cast<double>(block);
    state.counters["instrument_Bps"] = r.bytesPerSecond;
}

void BM_PlainWriteBaseline(benchmark::State& state) {
    const RollRate r = HighestRollRate();
    const std::size_t block = BlockBytes(r);
    const std::vector<std::uint8_t> bytes(block, 0x80);
    BenchDir dir;
    const int fd = ::open(dir.File("plain.bin").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int frame = 0;
    for (auto _ : state) {
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            std::abort();
        if (++frame % (1000 / kFrameIntervalMs) == 0) ::fdatasync(fd);
    }
    ::close(fd);
    Report(state, r, block);
}
BENCHMARK(BM_PlainWriteBaseline)->UseRealTime()->MinTime(2.0);

void BM_RecorderQueueToFile(benchmark::State& state) {
    const RollRate r = HighestRollRate();
    const std::size_t block = BlockBytes(r);
    BenchDir dir;
    std::atomic<bool> active{false};
    RecorderTime now{};
    RecorderEnvironment env = DefaultRecorderEnvironment();
    env.now = [&] { return now; };
    RecorderSession session(active, env);
    FrameInfo info;
    info[fi::Divider] = r.divider;
    info[fi::PeakDetect] = r.peak ? 1 : 0;
    session.Show(dir.File(""), info, false, '.');
    session.SetFile(dir.File("recorder.bin"), info);
    struct NoQuestions : UserDialogs {
        MessageAnswer Show(const UserMessage&) override { return MessageAnswer::Yes; }
        std::optional<std::string> ChooseFile(const FileRequest&) override { return std::nullopt; }
        std::optional<std::uint32_t> ChooseColour(std::uint32_t, const std::string&) override { return std::nullopt; }
    } dialogs;
    if (!session.Start(info, dialogs)) std::abort();
    RecorderQueue queue;
    for (auto _ : state) {
        for (std::size_t i = 0; i < block; ++i) queue.Append(static_cast<std::uint8_t>(i));
        session.Write(queue.Pending());
        queue.Clear();
        session.Tick(dialogs);  // the window's timer, which flushes once a second
        now += std::chrono::milliseconds(kFrameIntervalMs);
    }
    if (!session.Recording() || session.Total() != state.iterations() * block)
        state.SkipWithError("write failed");
    Report(state, r, block);
}
BENCHMARK(BM_RecorderQueueToFile)->UseRealTime()->MinTime(2.0);

}  // namespace
