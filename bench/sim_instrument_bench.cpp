// Cost of the simulated instrument: one simulated second of its output for
// a few typical settings and two that keep the trigger search busy, against
// the program's receiver taking the same bytes (the baseline of the same
// run). With the real-time clock the producer thread spends this much per
// second of wall time.
#include <benchmark/benchmark.h>

#include <vector>

#include "scope/build_device_settings.h"
#include "device/command_framing.h"
#include "device/frame_receiver.h"
#include "device/usb/sim/simulated_link.h"
#include "resources/fpga_image.h"

namespace {

using qx40::ScopeModel;

ScopeModel Settings(int which) {
    ScopeModel m;
    m.state.Calibrate = {0, 3357, 725, 0, 3357, 725, 0};
    m.state.Generator.GenOn = true;
    m.state.View.Run = qx40::RunButton::Run;
    m.state.Trigger.Source = qx40::TriggerSource::CH_A1;
    switch (which) {
        case 0:  // the defaults: 1 ms/div, four channels, 25 frames a second
            break;
        case 1:  // peak detect at 10 ms/div
            m.state.Scope.TimebaseIndex = qx40::TimebaseIndex::T10mS;
            m.state.Common.SmplPeakDet = true;
            break;
        case 2:  // 50 ns/div, no frame-rate limit
            m.state.Scope.TimebaseIndex = qx40::TimebaseIndex::T50nS;
            m.state.Common.FrameRate = qx40::FrameRate::FPS_NO_LIM;
            break;
        case 3:  // roll at 100 ms/div
            m.state.Scope.TimebaseIndex = qx40::TimebaseIndex::T100mS;
            m.state.Trigger.Source = qx40::TriggerSource::None;
            break;
        case 4:  // deepest record: one analog channel, 20000 samples
            m.state.Common.CH_A2 = m.state.Common.CH_D2 = false;
            m.state.Common.SampleCount = qx40::SampleCountChoice::Smpl_N_20000;
            break;
        case 5:  // a pulse window no edge meets: the search looks all the time
            m.state.Trigger.TPLUS = true;
            m.state.Trigger.PTMode = 1;
            m.state.Trigger.PTmax = 10;
            break;
        default:  // noise reject off on A2's noisy sine: tick by tick near the level
            m.state.Trigger.Source = qx40::TriggerSource::CH_A2;
            m.state.Trigger.Hyst = 0;
            m.state.Scope.A2_Zero = 128;
            m.state.Trigger.Lev_A2 = 128.0;
            break;
    }
    qx40::RecordLevels background;
    qx40::BuildDeviceSettings(m, true, false, background);
    return m;
}

struct Instrument {
    explicit Instrument(int which) : link(Options()), model(Settings(which)) {
        link.OpenByLocation(qx40::SimulatedLink::kLocation, handle);
        Write({&start, 1});
        Write(qx40::FpgaLoadCommand().view());
        std::vector<std::uint8_t> image(2 * qx40::kFpgaImageSize);
        qx40::NibbleEncode(qx40::EmbeddedFpgaImage(), image.data());
        Write(image);
        Write({&start, 1});
        Write(qx40::SettingsCommand(model.registers, seq, nullptr).view());
    }
    static qx40::SimulatedLinkOptions Options() {
        qx40::SimulatedLinkOptions o;
        o.Clock = qx40::SimClockMode::Manual;
        return o;
    }
    void Write(std::span<const std::uint8_t> bytes) {
        std::uint32_t n = 0;
        link.Write(handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()), n);
    }
    std::vector<std::uint8_t>& OneSecond() {
        link.AdvanceTime(1000000);
        std::uint32_t rx = 0, got = 0;
        link.GetQueueStatus(handle, rx);
        bytes.resize(rx);
        link.Read(handle, bytes.data(), rx, got);
        return bytes;
    }

    qx40::SimulatedLink link;
    ScopeModel model;
    qx40::UsbHandle handle = qx40::kNoHandle;
    std::uint8_t seq = 0;
    const std::uint8_t start = qx40::kCommandStart;
    std::vector<std::uint8_t> bytes;
};

class Discard : public qx40::FrameSink {
public:
    void OnDataFrame(std::span<const std::uint8_t>, const qx40::RegisterEcho&) override {
        ++frames;
    }
    void OnStatusFrame(const qx40::StatusRecord&) override {}
    int frames = 0;
};

void BM_ReceiveOneSecond(benchmark::State& state) {
    Instrument sim(static_cast<int>(state.range(0)));
    const std::vector<std::uint8_t> bytes = sim.OneSecond();
    qx40::UsbStats stats;
    qx40::FrameReceiver receiver(stats);
    receiver.SetGeometry(sim.model.derived.SampleCount, sim.model.derived.SingleChannelMode);
    Discard sink;
    for (auto _ : state) receiver.Feed(bytes, sink);
    state.counters["frames"] = sink.frames / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReceiveOneSecond)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

void BM_SimulateOneSecond(benchmark::State& state) {
    Instrument sim(static_cast<int>(state.range(0)));
    std::size_t total = 0;
    for (auto _ : state) total += sim.OneSecond().size();
    state.SetBytesProcessed(static_cast<std::int64_t>(total));
}
BENCHMARK(BM_SimulateOneSecond)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

}  // namespace
