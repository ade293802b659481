// A full screen refresh at 1280 x 720: four channels of 10000 points at the
// full sample rate in sin(x)/x mode, markers and every read-out. Baselines
// of the same run: a plain fill of the same image, and the same refresh in
// dots mode (no interpolation, no joining lines).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>

#include "display/screen_renderer.h"

namespace {

constexpr std::int32_t kPoints = 10000;

struct Scene {
    qx40::ScopeState state;
    qx40::DerivedQuantities derived;
    std::unique_ptr<qx40::SampleRecord> main = std::make_unique<qx40::SampleRecord>();
    std::unique_ptr<qx40::SampleRecord> background = std::make_unique<qx40::SampleRecord>();
    QImage image{1280, 720, QImage::Format_RGB32};
    qx40::ScreenRenderer renderer;

    // timePerDivNs 1000: 100 samples per division, 1.22 px apart, so
    // sin(x)/x interpolates; 10000: the whole record on screen.
    Scene(qx40::DrawMode mode, std::int64_t timePerDivNs) {
        using namespace qx40;
        state.Common.DrawMode = mode;
        state.Common.Extra_Info = true;
        state.Common.Trig_PT = true;
        state.System.Debug_qx = true;
        state.Trigger.Source = TriggerSource::CH_A1;
        derived.DrawMode = static_cast<std::int32_t>(mode);
        derived.MarkerMode = 2;
        derived.TimePerDivNs = timePerDivNs;
        derived.VoltsDivA1 = derived.VoltsDivA2 = 1000000;
        derived.TriggerCount = 1;

        FrameInfo& f = main->Info;
        f[fi::Divider] = 1;
        f[fi::VoltsDivA1] = f[fi::VoltsDivA2] = 1000000;
        f[fi::ZeroA1] = 191;
        f[fi::ZeroA2] = 63;
        f[fi::RingLength] = f[fi::ValidPoints] = kPoints;
        f[fi::PreTrigger] = 1000;
        f[fi::TrigSource] = 1;
        f[fi::TrigLevel] = 200;
        f[fi::Channels] = 0xF;
        f[fi::FmData] = 1;
        f[fi::FmData + 1] = 1001;
        f[fi::FmData + 2] = 100000000;
        f[fi::PeakToPeakA1] = f[fi::PeakToPeakA2] = 100;
        f[fi::SumA1] = 191 * kPoints;
        f[fi::SumA2] = 63 * kPoints;
        f[fi::TrigEcho] = 1234;
        for (std::size_t i = 0; i < kPoints; ++i) {
            const double t = static_cast<double>(i);
            const auto a1 = static_cast<std::int32_t>(191 + 50 * std::sin(t * 2 * M_PI / 37.0));
            const auto a2 = static_cast<std::int32_t>(63 + 40 * std::sin(t * 2 * M_PI / 23.0 + 1));
            main->Min[kA1][i] = main->Max[kA1][i] = std::clamp(a1, 0, 254);
            main->Min[kA2][i] = main->Max[kA2][i] = std::clamp(a2, 0, 254);
            main->Min[kD1][i] = main->Max[kD1][i] = static_cast<std::int32_t>((i / 13) % 2);
            main->Min[kD2][i] = main->Max[kD2][i] = static_cast<std::int32_t>((i / 7) % 2);
        }
    }

    void Refresh() {
        const qx40::ScreenInput in{.State = state,
                                   .Derived = derived,
                                   .Main = *main,
                                   .Background = *background,
                                   .BackgroundLevels = {},
                                   .Geometry = qx40::ComputeScreenGeometry(image.width(), image.height()),
                                   .ScrollIndex = 0,
                                   .BgLaneSwap = false,
                                   .Dragging = qx40::DraggedLevel::None,
                                   .LinkPerSecond = {25, 25, 10, 0, 0, 250000, 4096},
                                   .VccCentivolts = 507,
                                   .Activity = {.FrameArrived = true, .StatusArrived = true, .Running = true},
                                   .SpectrumNewData = false,
                                   .SettingsChanged = false,
                                   .DecimalSeparator = '.'};
        renderer.Render(in, image);
    }
};

void BM_ImageFill(benchmark::State& st) {
    QImage image(1280, 720, QImage::Format_RGB32);
    std::uint32_t c = 0;
    for (auto _ : st) {
        image.fill(c++);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_ImageFill)->Unit(benchmark::kMicrosecond);

void BM_RefreshDots(benchmark::State& st) {
    Scene scene(qx40::DrawMode::Dots, 1000);
    for (auto _ : st) scene.Refresh();
}
BENCHMARK(BM_RefreshDots)->Unit(benchmark::kMicrosecond);

void BM_RefreshSinxInterpolated(benchmark::State& st) {
    Scene scene(qx40::DrawMode::Sinxx, 1000);
    for (auto _ : st) scene.Refresh();
}
BENCHMARK(BM_RefreshSinxInterpolated)->Unit(benchmark::kMicrosecond);

void BM_RefreshSinxWholeRecord(benchmark::State& st) {
    Scene scene(qx40::DrawMode::Sinxx, 10000);
    for (auto _ : st) scene.Refresh();
}
BENCHMARK(BM_RefreshSinxWholeRecord)->Unit(benchmark::kMicrosecond);

}  // namespace

// Text needs a QGuiApplication; the offscreen platform needs no display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
