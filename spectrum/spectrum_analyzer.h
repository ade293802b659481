// The spectrum of one analog channel: a windowed FFT of the record scaled
// to dBV or dBm, optionally power-averaged over successive frames, reduced
// to one display height per bin, with the level and interpolated frequency
// of the strongest line. All working storage is allocated once.
#pragma once

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

#include "device/frame_info.h"
#include "spectrum/fft.h"

namespace qx40 {

// Largest spectrum: N = 2^15 points.
inline constexpr std::int32_t kSpectrumMaxOrder = 15;

// K of the peak estimate for n samples in an N-point transform: the bins
// up to K - 1 either side of the peak hold the line that the window and the
// zero padding spread.
std::int32_t PeakEstimateReach(std::int32_t n, std::int32_t size);

struct SpectrumArgs {
    std::int32_t SizeIndex = 0;  // N = 2^(10 + SizeIndex); outside 1..5 means 1024
    std::int32_t Window = 2;     // FFT Win, 0..8
    std::int32_t Scale = 0;      // 0 dBV, 1/2/3 dBm into 50/75/600 ohm
    bool Averaging = false;      // add to the running power average; false restarts it
};

// The last spectrum, in the form the screen and the read-outs use.
struct SpectrumResult {
    std::int32_t SizeIndex = 0;  // N = 2^(10 + SizeIndex)
    // N/2 bin heights in codes above the bottom grid line (3.2 codes per dB,
    // 0 for a bin without power); empty when nothing could be analysed.
    std::span<const std::int32_t> Columns;
    std::int32_t TopDb = 0;  // dB of the top grid line, a multiple of 5
    bool PeakValid = false;
    double PeakFreq = 0.0;   // fraction of the Nyquist frequency
    double PeakLevel = 0.0;  // dB of the scale
    std::int32_t AverageCount = 1;
};

class SpectrumAnalyzer {
public:
    SpectrumAnalyzer();
    SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
    SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

    // Recomputes the spectrum of `buffer` (a channel's minimum buffer, ADC
    // codes, kEmptySample where a slot holds none). voltsPerDiv is the
    // record's microvolts per division of that channel; main gives the
    // record length, valid count, write position and roll flag. At most N
    // slots are analysed: the first ones, or the newest of a roll record.
    // Slots without a sample are left out. With fewer than two samples, no
    // volts per division or a roll ring that does not fit the buffer there
    // is nothing to draw: no columns, no peak, the average kept as it was.
    const SpectrumResult& ComputeSpectrum(const SpectrumArgs& args,
                                          std::span<const std::int32_t> buffer,
                                          std::int32_t voltsPerDiv, const FrameInfo& main);

    // The last spectrum, for a refresh that does not recompute it.
    const SpectrumResult& Result() const { return result_; }

    // The working storage, to show that calls allocate nothing.
    const std::complex<double>* SpectrumBuffer() const { return spectrum_.data(); }
    const double* SpectrumPower() const { return power_.data(); }
    const std::int32_t* SpectrumColumns() const { return columns_.data(); }

private:
    // Collects the analysed codes into spectrum_ (mean removed, windowed,
    // zero-padded to n); returns the number of samples analysed, 0 when the
    // record cannot be read.
    std::int32_t LoadSamples(std::span<const std::int32_t> buffer, const FrameInfo& main,
                             std::int32_t window, std::int32_t size);
    // Caches the weights of (window, n) and their sum.
    void PrepareWindow(std::int32_t window, std::int32_t n);
    void EstimatePeak(std::int32_t peak, double pmax, std::int32_t n, std::int32_t size, double ref,
                      std::int32_t window);

    std::vector<std::complex<double>> spectrum_;  // SpectrumBuffer
    std::vector<double> power_;                   // SpectrumPower: the running sum while averaging
    std::vector<std::int32_t> columns_;           // SpectrumColumns
    std::vector<double> weights_;
    std::int32_t weightsWindow_ = -1;
    std::int32_t weightsCount_ = 0;
    double weightSum_ = 0.0;
    std::int32_t averageCount_ = 0;   // SpectrumAverageCount
    std::int32_t averageOrder_ = -1;  // transform order of the spectra in power_
    FftTwiddles twiddles_;
    SpectrumResult result_;
};

}  // namespace qx40
