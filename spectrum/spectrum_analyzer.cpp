#include "spectrum/spectrum_analyzer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "device/sample_record.h"
#include "spectrum/fft_window.h"
#include "base/round_nearest.h"

namespace qx40 {
namespace {

constexpr std::size_t kMaxPoints = std::size_t{1} << kSpectrumMaxOrder;

// dBm = dBV + 10 log10(1000 / R) for 50, 75 and 600 ohm.
constexpr std::array<double, 4> kScaleOffsetDb = {0.0, 13.0102999566, 11.2493873661, 2.2184874961};

// The RMS of a full-scale sine (peaks 128 codes from the middle), in codes.
constexpr double kFullScaleRmsCodes = 90.50966799187808;

// The top grid line: the first multiple of 5 from -120 to 115 above the
// full-scale level less half a dB, else 120.
std::int32_t TopLineDb(double fullScaleDb) {
    for (std::int32_t db = -120; db <= 115; db += 5)
        if (db > fullScaleDb - 0.5) return db;
    return 120;
}

}  // namespace

std::int32_t PeakEstimateReach(std::int32_t n, std::int32_t size) {
    const double fill = static_cast<double>(n) / size;
    return static_cast<std::int32_t>(4 / fill);
}

SpectrumAnalyzer::SpectrumAnalyzer()
    : spectrum_(kRecordSlots),
      power_(kMaxPoints / 2),
      columns_(kRecordSlots, kEmptySample),
      weights_(kMaxPoints),
      twiddles_(kSpectrumMaxOrder) {}

const SpectrumResult& SpectrumAnalyzer::ComputeSpectrum(const SpectrumArgs& args,
                                                        std::span<const std::int32_t> buffer,
                                                        std::int32_t voltsPerDiv,
                                                        const FrameInfo& main) {
    const std::int32_t sizeIndex = args.SizeIndex >= 1 && args.SizeIndex <= 5 ? args.SizeIndex : 0;
    const std::int32_t m = 10 + sizeIndex;
    const std::int32_t size = 1 << m;
    const std::int32_t bins = size / 2;
    // Settings read from a file may be out of range; the read-outs clamp the
    // scale the same way, so the numbers always match the label.
    const std::int32_t window = std::clamp(args.Window, 0, kFftWindowCount - 1);
    const std::int32_t scale = std::clamp(args.Scale, 0, 3);

    std::fill(columns_.begin(), columns_.end(), kEmptySample);
    result_ = SpectrumResult{};
    result_.SizeIndex = sizeIndex;
    result_.AverageCount = std::max(averageCount_, 1);

    const std::int32_t n = LoadSamples(buffer, main, window, size);
    // Without two samples there is no window, without a scale no level.
    if (n < 2 || voltsPerDiv <= 0) return result_;
    Fft(m, spectrum_.data(), twiddles_);

    const double fullScaleDb =
        20 * std::log10(static_cast<double>(voltsPerDiv) * 4 * 1e-6 * 0.7071067811865475) +
        kScaleOffsetDb[scale];
    const double ref = fullScaleDb + 10 * std::log10(2.0) - 20 * std::log10(weightSum_) -
                       20 * std::log10(kFullScaleRmsCodes);
    const std::int32_t topDb = TopLineDb(fullScaleDb);
    const double yoff = (ref + 80 - topDb) * 32 * 0.1;

    // Spectra of another size cannot be summed bin by bin: such a spectrum
    // starts a new average.
    const bool averaging = args.Averaging && averageOrder_ == m;
    averageCount_ = averaging ? averageCount_ + 1 : 1;
    averageOrder_ = m;

    double pmax = 0.0;
    std::int32_t peak = 0;
    for (std::int32_t k = 0; k < bins; ++k) {
        const std::complex<double> v = spectrum_[k];
        double p = v.real() * v.real() + v.imag() * v.imag();
        if (averaging) {
            power_[k] += p;
            p = power_[k] / averageCount_;
        } else {
            power_[k] = p;
        }
        columns_[k] = p == 0 ? 0 : std::max(0, RoundNearest(32 * std::log10(p) + yoff));
        if (p > pmax) {
            pmax = p;
            peak = k;
        }
    }

    result_.Columns =
        std::span<const std::int32_t>(columns_.data(), static_cast<std::size_t>(bins));
    result_.TopDb = topDb;
    result_.AverageCount = averageCount_;
    if (pmax == 0) return result_;
    EstimatePeak(peak, pmax, n, size, ref, window);
    return result_;
}

std::int32_t SpectrumAnalyzer::LoadSamples(std::span<const std::int32_t> buffer,
                                           const FrameInfo& main, std::int32_t window,
                                           std::int32_t size) {
    std::fill(spectrum_.begin(), spectrum_.begin() + size, std::complex<double>{});
    const std::int32_t bufferSlots =
        static_cast<std::int32_t>(std::min<std::size_t>(buffer.size(), kRecordSlots));
    std::int32_t n = std::min(main[fi::ValidPoints], size);

    // A roll record is read newest first, from the slot before the write
    // position backwards round the ring. The ring must lie in the buffer.
    const bool roll = main[fi::RollFrame] == 1;
    const std::int32_t ring = main[fi::RingLength];
    std::int32_t newest = 0;
    if (roll) {
        if (ring < 1 || ring > bufferSlots) return 0;
        n = std::min(n, ring);
        newest = static_cast<std::int32_t>(((std::int64_t{main[fi::WritePos]} - 1) % ring + ring) %
                                           ring);
    } else {
        n = std::min(n, bufferSlots);
    }
    if (n < 2) return 0;
    const auto code = [&](std::int32_t i) {
        if (!roll) return buffer[i];
        const std::int32_t slot = newest - i;
        return buffer[slot < 0 ? slot + ring : slot];
    };

    // A slot without data is left out of the mean and adds nothing.
    std::int64_t sum = 0;
    std::int32_t present = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t c = code(i);
        if (c == kEmptySample) continue;
        sum += c;
        ++present;
    }
    if (present == 0) return 0;
    const double mean = static_cast<double>(sum) / present;

    PrepareWindow(window, n);
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t c = code(i);
        const double x = c == kEmptySample ? 0.0 : c - mean;
        spectrum_[i] = {x * weights_[i], 0.0};
    }
    return n;
}

void SpectrumAnalyzer::PrepareWindow(std::int32_t window, std::int32_t n) {
    if (window == weightsWindow_ && n == weightsCount_) return;
    double sum = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
        weights_[i] = FftWindowWeight(window, i, n);
        sum += weights_[i];
    }
    weightSum_ = sum;
    weightsWindow_ = window;
    weightsCount_ = n;
}

// The level sums the power of the bins around the peak that the window and
// the zero padding spread the line over (K - 1 on either side) and scales
// it by the window's level factor; the frequency is the power-weighted
// centre of the same bins. The flat-top window holds a line's level in its
// peak bin, wherever the line falls between bins.
void SpectrumAnalyzer::EstimatePeak(std::int32_t peak, double pmax, std::int32_t n,
                                    std::int32_t size, double ref, std::int32_t window) {
    const std::int32_t bins = size / 2;
    const double fill = static_cast<double>(n) / size;
    const std::int32_t k = PeakEstimateReach(n, size);
    double s = pmax;
    double moment = 0.0;
    for (std::int32_t j = 1; j < k; ++j) {
        if (peak - j < 0 || peak + j >= bins) break;
        const double pl = power_[peak - j] / averageCount_;
        const double ph = power_[peak + j] / averageCount_;
        s += pl + ph;
        moment += j * (ph - pl);
    }
    result_.PeakFreq = (peak + moment / s) * 2 / size;
    s *= fill;
    result_.PeakLevel = window == kWindowFlatTop
                            ? 10 * std::log10(pmax) + ref
                            : 10 * std::log10(s * FftWindowLevelFactor(window)) + ref;
    result_.PeakValid = true;
}

}  // namespace qx40
