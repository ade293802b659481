// The program's FFT at the largest spectrum size against FFTW with an
// FFTW_ESTIMATE plan (the baseline, measured in the same run) on the same
// input; each iteration copies the input in, since both transform in place.
// Compare the two times: FftOwn / FftwEstimate is the ratio to watch.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <complex>
#include <cstring>
#include <random>
#include <vector>

#include "device/sample_record.h"
#include "spectrum/fft.h"
#include "spectrum/spectrum_analyzer.h"

namespace {

constexpr std::int32_t kOrder = 15;
constexpr std::size_t kPoints = std::size_t{1} << kOrder;

std::vector<std::complex<double>> Input() {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    std::vector<std::complex<double>> x(kPoints);
    for (auto& v : x) v = {d(rng), 0.0};
    return x;
}

void BM_FftOwn(benchmark::State& state) {
    const std::vector<std::complex<double>> input = Input();
    std::vector<std::complex<double>> x(kPoints);
    qx40::FftTwiddles twiddles(kOrder);
    for (auto _ : state) {
        std::copy(input.begin(), input.end(), x.begin());
        qx40::Fft(kOrder, x.data(), twiddles);
        benchmark::DoNotOptimize(x.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FftOwn)->Name("Fft32768/Own");

void BM_FftwEstimate(benchmark::State& state) {
    const std::vector<std::complex<double>> input = Input();
    auto* x = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * kPoints));
    const fftw_plan plan =
        fftw_plan_dft_1d(static_cast<int>(kPoints), x, x, FFTW_FORWARD, FFTW_ESTIMATE);
    for (auto _ : state) {
        std::memcpy(x, input.data(), sizeof(fftw_complex) * kPoints);
        fftw_execute(plan);
        benchmark::DoNotOptimize(x);
        benchmark::ClobberMemory();
    }
    fftw_destroy_plan(plan);
    fftw_free(x);
}
BENCHMARK(BM_FftwEstimate)->Name("Fft32768/FftwEstimate");

// The whole spectrum of a full 32768-point record (flat-top window, the
// default), for scale against the transform alone.
void BM_ComputeSpectrum(benchmark::State& state) {
    std::vector<std::int32_t> buffer(qx40::kRecordSlots, qx40::kEmptySample);
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> code(0, 254);
    for (std::size_t i = 0; i < kPoints; ++i) buffer[i] = code(rng);
    qx40::FrameInfo main;
    main[qx40::fi::RingLength] = main[qx40::fi::ValidPoints] = static_cast<std::int32_t>(kPoints);
    qx40::SpectrumAnalyzer analyzer;
    const qx40::SpectrumArgs args{.SizeIndex = 5, .Window = 2, .Averaging = true};
    for (auto _ : state)
        benchmark::DoNotOptimize(analyzer.ComputeSpectrum(args, buffer, 1000000, main).PeakLevel);
}
BENCHMARK(BM_ComputeSpectrum)->Name("ComputeSpectrum32768");

}  // namespace
