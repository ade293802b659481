// Cost of an apply: building the register image and framing the settings
// command, against copying the image alone (the baseline of the same run).
#include <benchmark/benchmark.h>

#include "scope/build_device_settings.h"
#include "device/command_framing.h"

namespace {

void BM_CopyImage(benchmark::State& state) {
    qx40::DeviceSettings image;
    image.reg[5] = 1;
    for (auto _ : state) {
        qx40::DeviceSettings copy = image;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyImage);

void BM_BuildAndFrame(benchmark::State& state) {
    qx40::ScopeModel model;
    qx40::RecordLevels background;
    std::uint8_t seq = 0;
    model.state.Generator.GenOn = true;
    model.state.Generator.Mode = qx40::GenMode::Mod;
    for (auto _ : state) {
        qx40::BuildDeviceSettings(model, true, false, background);
        const qx40::EncodedCommand command = qx40::SettingsCommand(model.registers, seq, nullptr);
        benchmark::DoNotOptimize(command);
    }
}
BENCHMARK(BM_BuildAndFrame);

}  // namespace
