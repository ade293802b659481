#include "device/usb/sim/sim_signal_model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "base/little_endian.h"
#include "device/usb/sim/sim_noise.h"

namespace qx40 {
namespace {

// Volts per division of each gain range code, in microvolts. Codes 2 and 5
// are not used by the program; the instrument treats them as its least
// sensitive range.
constexpr std::array<double, 8> kRangeMicroVolts{50000,  100000,  2000000, 2000000,
                                                 200000, 2000000, 500000,  1000000};
constexpr double kCodesPerDivision = 32.0;
constexpr std::int64_t kQuietStep = std::int64_t{1} << 20;
constexpr int kPeakLooks = 32;  // places looked at in a long peak-detect span
constexpr std::uint64_t kA2NoiseStream = 3;
constexpr std::uint64_t kAdcNoiseStream = 10;  // + channel
constexpr std::int64_t kPsPerTick = 10000;
// Where D2's square wave starts, so that its edges fall between ticks.
constexpr std::int64_t kD2PhasePs = 1234567;

int Channel(SimInput in) {
    return static_cast<int>(in) & 1;
}
bool IsAnalog(SimInput in) {
    return in == SimInput::A1 || in == SimInput::A2;
}

std::uint8_t ToCode(double code) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(code, 0.0, 254.0)));
}

std::int64_t StepFor(double periodTicks) {
    if (periodTicks <= 0.0) return kQuietStep;
    return std::clamp<std::int64_t>(static_cast<std::int64_t>(periodTicks / 64.0), 1, kQuietStep);
}

}  // namespace

SimSignalModel::SimSignalModel(const std::array<std::uint8_t, 128>& regs, const SimBench& bench,
                               const std::array<SimZeroCalibration, 2>& zero, std::uint64_t seed)
    : bench_(bench), seed_(seed), generator_(regs, seed) {
    for (std::size_t ch = 0; ch < 2; ++ch) {
        const std::uint8_t gain = regs[70 + ch];
        const double microVolts = kRangeMicroVolts[gain & 0x07];
        const auto offset =
            static_cast<double>(std::min<std::uint64_t>(GetLE<2>(&regs[72 + 2 * ch]), 4095));
        // The inverse of the program's offset computation: the zero line
        // moves linearly with the DAC code between the two calibration
        // points, and the input offset adds in proportion to the gain.
        const SimZeroCalibration& z = zero[ch];
        const double sixteenths =
            z.P1 + (offset - 1360.0) * (z.P2 - z.P1) / 1680.0 + z.SH * 50000.0 / microVolts;
        FrontEnd& f = front_[ch];
        f.zero = sixteenths / 16.0;
        f.codesPerVolt = kCodesPerDivision * 1e6 / microVolts;
        if (gain & 0x10)
            f.removedDc = ch == 0 ? (bench.GeneratorToA1 ? generator_.DcVolts() : 0.0)
                                  : (bench.A2Connected ? bench.A2OffsetVolts : 0.0);
    }
    if (bench.A2Connected && bench.A2FrequencyHz > 0.0)
        a2PeriodTicks_ = kSimTicksPerSecond / bench.A2FrequencyHz;
    if (bench.DigitalConnected) {
        const auto half = [](double hz) { return hz > 0.0 ? std::llround(5e11 / hz) : 0; };
        logic_[0] = {half(bench.D1FrequencyHz), 0};
        logic_[1] = {half(bench.D2FrequencyHz), kD2PhasePs};
    }
}

double SimSignalModel::Volts(int channel, std::int64_t tick) const {
    if (channel == 0) return bench_.GeneratorToA1 ? generator_.Volts(tick) : 0.0;
    if (!bench_.A2Connected) return 0.0;
    double v = bench_.A2OffsetVolts + bench_.A2NoiseVolts * SimNoise(seed_, kA2NoiseStream, tick);
    if (a2PeriodTicks_ > 0.0) {
        const double cycles = static_cast<double>(tick) / a2PeriodTicks_;
        v += bench_.A2AmplitudeVpp / 2.0 *
             std::sin(2.0 * std::numbers::pi * (cycles - std::floor(cycles)));
    }
    return v;
}

double SimSignalModel::Code(int channel, double volts, std::int64_t tick) const {
    const FrontEnd& f = front_[static_cast<std::size_t>(channel)];
    return f.zero + (volts - f.removedDc) * f.codesPerVolt +
           bench_.AdcNoiseCodes *
               SimNoise(seed_, kAdcNoiseStream + static_cast<std::uint64_t>(channel), tick);
}

std::int64_t SimSignalModel::LogicHalfIndex(const Logic& l, std::int64_t tick) const {
    return SimFloorDiv(tick * kPsPerTick - l.phasePs, l.halfPs);
}

std::uint8_t SimSignalModel::Level(SimInput in, std::int64_t tick) const {
    const int ch = Channel(in);
    if (IsAnalog(in)) return ToCode(Code(ch, Volts(ch, tick), tick));
    const Logic& l = logic_[static_cast<std::size_t>(ch)];
    if (l.halfPs <= 0) return 0;
    return (LogicHalfIndex(l, tick) & 1) ? 0 : 1;  // high in the first half of each period
}

void SimSignalModel::Extremes(SimInput in, std::int64_t from, std::int64_t span, std::uint8_t& lo,
                              std::uint8_t& hi) const {
    span = std::max<std::int64_t>(span, 1);
    const std::int64_t last = from + span - 1;
    lo = hi = Level(in, from);
    const auto look = [&](std::int64_t t) {
        const std::uint8_t v = Level(in, t);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    };
    if (!IsAnalog(in)) {
        const Logic& l = logic_[static_cast<std::size_t>(Channel(in))];
        if (l.halfPs > 0 && LogicHalfIndex(l, from) != LogicHalfIndex(l, last)) lo = 0, hi = 1;
        return;
    }
    if (span <= kPeakLooks) {
        for (std::int64_t t = from + 1; t <= last; ++t) look(t);
        return;
    }
    for (int i = 1; i < kPeakLooks; ++i)
        look(from + span * i / (kPeakLooks - 1) - (i == kPeakLooks - 1 ? 1 : 0));
    if (in == SimInput::A1 && bench_.GeneratorToA1) {
        for (std::int64_t t = generator_.NextChange(from), n = 0; t <= last && n < 2;
             t = generator_.NextChange(t), ++n)
            look(t);
    }
    // A span of a whole period holds the signal's extremes.
    const double period = PeriodTicks(in);
    if (period > 0.0 && static_cast<double>(span) >= period) {
        std::int32_t rlo, rhi;
        LevelRange(in, false, rlo, rhi);
        lo = std::min(lo, static_cast<std::uint8_t>(rlo));
        hi = std::max(hi, static_cast<std::uint8_t>(rhi));
    }
}

void SimSignalModel::LevelRange(SimInput in, bool withNoise, std::int32_t& lo,
                                std::int32_t& hi) const {
    if (!IsAnalog(in)) {
        lo = 0;
        hi = logic_[static_cast<std::size_t>(Channel(in))].halfPs > 0 ? 1 : 0;
        return;
    }
    const int ch = Channel(in);
    const FrontEnd& f = front_[static_cast<std::size_t>(ch)];
    double vlo = 0.0, vhi = 0.0, noise = withNoise ? bench_.AdcNoiseCodes : 0.0;
    if (ch == 0 && bench_.GeneratorToA1) vlo = generator_.MinVolts(), vhi = generator_.MaxVolts();
    if (ch == 1 && bench_.A2Connected) {
        vlo = bench_.A2OffsetVolts - bench_.A2AmplitudeVpp / 2.0;
        vhi = bench_.A2OffsetVolts + bench_.A2AmplitudeVpp / 2.0;
        if (withNoise) noise += bench_.A2NoiseVolts * f.codesPerVolt;
    }
    const double clo = f.zero + (vlo - f.removedDc) * f.codesPerVolt - noise;
    const double chi = f.zero + (vhi - f.removedDc) * f.codesPerVolt + noise;
    lo = ToCode(std::floor(clo));
    hi = ToCode(std::ceil(chi));
}

std::int64_t SimSignalModel::NextLook(SimInput in, std::int64_t tick) const {
    std::int64_t step = kQuietStep;
    if (in == SimInput::A1 && bench_.GeneratorToA1) {
        step = generator_.ScanStep();
        const std::int64_t change = generator_.NextChange(tick);
        // Look at the tick before a pulse edge and at the edge itself.
        if (change <= tick + step) return change - 1 > tick ? change - 1 : change;
    } else if (in == SimInput::A2) {
        step = StepFor(a2PeriodTicks_);
    } else if (!IsAnalog(in)) {
        const Logic& l = logic_[static_cast<std::size_t>(Channel(in))];
        if (l.halfPs > 0) step = std::clamp<std::int64_t>(l.halfPs / kPsPerTick / 4, 1, kQuietStep);
    }
    return tick + step;
}

double SimSignalModel::LogicEdgeFraction(SimInput in, std::int64_t tick) const {
    const Logic& l = logic_[static_cast<std::size_t>(Channel(in))];
    if (IsAnalog(in) || l.halfPs <= 0) return 1.0;
    const std::int64_t edgePs = l.phasePs + LogicHalfIndex(l, tick + 1) * l.halfPs;
    return static_cast<double>(edgePs - tick * kPsPerTick) / kPsPerTick;
}

double SimSignalModel::PeriodTicks(SimInput in) const {
    switch (in) {
        case SimInput::A1:
            return bench_.GeneratorToA1 ? generator_.PeriodTicks() : 0.0;
        case SimInput::A2:
            return bench_.A2AmplitudeVpp > 0.0 ? a2PeriodTicks_ : 0.0;
        default: {
            const Logic& l = logic_[static_cast<std::size_t>(Channel(in))];
            return l.halfPs > 0 ? 2.0 * static_cast<double>(l.halfPs) / kPsPerTick : 0.0;
        }
    }
}

}  // namespace qx40
