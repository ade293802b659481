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
// Where D2's square wave starts.
constexpr std::int64_t kD2PhaseTicks = 123;
// The hum of the InputConnected fault.
constexpr double kHumPeriodTicks = kSimTicksPerSecond / 50.0;
constexpr double kHumPeakVolts = 0.5;
// The DAC of each offset register takes its 12 low bits.
constexpr std::uint64_t kOffsetDacMask = 0x0FFF;

int Channel(SimInput in) {
    return static_cast<int>(in) & 1;
}

std::uint8_t ToCode(double code) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(code, 0.0, 254.0)));
}

std::int64_t StepFor(double periodTicks) {
    if (periodTicks <= 0.0) return kQuietStep;
    return std::clamp<std::int64_t>(static_cast<std::int64_t>(periodTicks / 64.0), 1, kQuietStep);
}

// The zero calibration asks for its ranges with bits 3..5 set in both gain
// codes (0x3B, 0x38); nothing else sets bit 3 of A2's.
bool ZeroCalibrationSetup(const std::array<std::uint8_t, 128>& regs) {
    return (regs[70] & 0x38) == 0x38 && (regs[71] & 0x38) == 0x38;
}

double Sine(double tick, double periodTicks) {
    const double cycles = tick / periodTicks;
    return std::sin(2.0 * std::numbers::pi * (cycles - std::floor(cycles)));
}

}  // namespace

SimSignalModel::SimSignalModel(const std::array<std::uint8_t, 128>& regs,
                               const SimInstrumentConfig& config)
    : bench_(config.Bench),
      seed_(config.Seed),
      unplugged_(ZeroCalibrationSetup(regs) && !config.Faults.InputConnected),
      hum_(config.Faults.InputConnected),
      generator_(regs, config.Seed) {
    for (std::size_t ch = 0; ch < 2; ++ch) {
        const std::uint8_t gain = regs[70 + ch];
        const double microVolts = kRangeMicroVolts[gain & 0x07];
        const auto offset = static_cast<double>(GetLE<2>(&regs[72 + 2 * ch]) & kOffsetDacMask);
        // The zero line moves linearly with the DAC code, and the input
        // offset adds in proportion to the gain: the inverse of the
        // program's offset computation.
        const SimZeroCalibration& z = config.Zero[ch];
        const double sixteenths =
            z.P1 + (offset - 1360.0) * (z.P2 - z.P1) / 1680.0 + z.SH * 50000.0 / microVolts;
        FrontEnd& f = front_[ch];
        f.zero = sixteenths / 16.0;
        f.codesPerVolt = kCodesPerDivision * 1e6 / microVolts;
        if (gain & 0x10)
            f.removedDc = ch == 0 ? (HasGenerator() ? generator_.DcVolts() : 0.0)
                                  : (HasA2() ? bench_.A2OffsetVolts : 0.0);
    }
    if (bench_.A2Connected && bench_.A2FrequencyHz > 0.0)
        a2PeriodTicks_ = kSimTicksPerSecond / bench_.A2FrequencyHz;
    if (bench_.DigitalConnected) {
        const auto half = [](double hz) {
            return hz > 0.0 ? std::llround(kSimTicksPerSecond / 2.0 / hz) * kSimPsPerTick : 0;
        };
        logic_[0] = {half(bench_.D1FrequencyHz), 0};
        logic_[1] = {half(bench_.D2FrequencyHz), kD2PhaseTicks * kSimPsPerTick};
    }
}

double SimSignalModel::CleanVolts(int channel, std::int64_t tick) const {
    double v = hum_ ? kHumPeakVolts * Sine(static_cast<double>(tick), kHumPeriodTicks) : 0.0;
    if (channel == 0) return v + (HasGenerator() ? generator_.Volts(tick) : 0.0);
    if (!HasA2()) return v;
    v += bench_.A2OffsetVolts;
    if (a2PeriodTicks_ > 0.0)
        v += bench_.A2AmplitudeVpp / 2.0 * Sine(static_cast<double>(tick), a2PeriodTicks_);
    return v;
}

double SimSignalModel::CleanCode(SimInput in, std::int64_t tick) const {
    const int ch = Channel(in);
    const FrontEnd& f = front_[static_cast<std::size_t>(ch)];
    return f.zero + (CleanVolts(ch, tick) - f.removedDc) * f.codesPerVolt;
}

double SimSignalModel::NoiseCodes(SimInput in) const {
    if (SimIsLogic(in)) return 0.0;
    double noise = bench_.AdcNoiseCodes;
    if (in == SimInput::A2 && HasA2()) noise += bench_.A2NoiseVolts * front_[1].codesPerVolt;
    return noise;
}

std::int64_t SimSignalModel::LogicHalfIndex(const Logic& l, std::int64_t tick) const {
    return SimFloorDiv(tick * kSimPsPerTick - l.phasePs - logicOffsetPs_, l.halfPs);
}

std::uint8_t SimSignalModel::Level(SimInput in, std::int64_t tick) const {
    const int ch = Channel(in);
    if (!SimIsLogic(in)) {
        double code = CleanCode(in, tick) +
                      bench_.AdcNoiseCodes *
                          SimNoise(seed_, kAdcNoiseStream + static_cast<std::uint64_t>(ch), tick);
        if (in == SimInput::A2 && HasA2())
            code += bench_.A2NoiseVolts * front_[1].codesPerVolt *
                    SimNoise(seed_, kA2NoiseStream, tick);
        return ToCode(code);
    }
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
    if (SimIsLogic(in)) {
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
    if (in == SimInput::A1 && HasGenerator()) {
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
    if (SimIsLogic(in)) {
        lo = 0;
        hi = logic_[static_cast<std::size_t>(Channel(in))].halfPs > 0 ? 1 : 0;
        return;
    }
    const int ch = Channel(in);
    const FrontEnd& f = front_[static_cast<std::size_t>(ch)];
    double vlo = hum_ ? -kHumPeakVolts : 0.0, vhi = -vlo;
    if (ch == 0 && HasGenerator()) vlo += generator_.MinVolts(), vhi += generator_.MaxVolts();
    if (ch == 1 && HasA2()) {
        vlo += bench_.A2OffsetVolts - bench_.A2AmplitudeVpp / 2.0;
        vhi += bench_.A2OffsetVolts + bench_.A2AmplitudeVpp / 2.0;
    }
    const double noise = withNoise ? NoiseCodes(in) : 0.0;
    const double clo = f.zero + (vlo - f.removedDc) * f.codesPerVolt - noise;
    const double chi = f.zero + (vhi - f.removedDc) * f.codesPerVolt + noise;
    lo = ToCode(std::floor(clo));
    hi = ToCode(std::ceil(chi));
}

std::int64_t SimSignalModel::LookStep(SimInput in) const {
    std::int64_t step = kQuietStep;
    if (in == SimInput::A1 && HasGenerator()) {
        step = generator_.ScanStep();
    } else if (in == SimInput::A2 && HasA2()) {
        step = StepFor(a2PeriodTicks_);
    } else if (SimIsLogic(in)) {
        const Logic& l = logic_[static_cast<std::size_t>(Channel(in))];
        if (l.halfPs > 0)
            step = std::clamp<std::int64_t>(l.halfPs / kSimPsPerTick / 4, 1, kQuietStep);
    }
    if (hum_ && !SimIsLogic(in)) step = std::min(step, StepFor(kHumPeriodTicks));
    return step;
}

std::int64_t SimSignalModel::NextLook(SimInput in, std::int64_t tick) const {
    const std::int64_t step = LookStep(in);
    if (in == SimInput::A1 && HasGenerator()) {
        // Look at the tick before a pulse edge and at the edge itself.
        const std::int64_t change = generator_.NextChange(tick);
        if (change <= tick + step) return change - 1 > tick ? change - 1 : change;
    }
    return tick + step;
}

std::int64_t SimSignalModel::PreviousLook(SimInput in, std::int64_t tick) const {
    const std::int64_t step = LookStep(in);
    if (in == SimInput::A1 && HasGenerator()) {
        // The tick before the last pulse edge shows the level before it.
        const std::int64_t change = generator_.LastChange(tick);
        if (change > tick - step) return change - 1;
    }
    return tick - step;
}

std::int64_t SimSignalModel::LogicEdgePs(SimInput in, std::int64_t tick) const {
    const Logic& l = logic_[static_cast<std::size_t>(Channel(in))];
    if (!SimIsLogic(in) || l.halfPs <= 0) return kSimPsPerTick;
    const std::int64_t edgePs = l.phasePs + logicOffsetPs_ + LogicHalfIndex(l, tick + 1) * l.halfPs;
    return edgePs - tick * kSimPsPerTick;
}

double SimSignalModel::PeriodTicks(SimInput in) const {
    switch (in) {
        case SimInput::A1:
            return HasGenerator() ? generator_.PeriodTicks() : 0.0;
        case SimInput::A2:
            return HasA2() && bench_.A2AmplitudeVpp > 0.0 ? a2PeriodTicks_ : 0.0;
        default: {
            const Logic& l = logic_[static_cast<std::size_t>(Channel(in))];
            return l.halfPs > 0 ? 2.0 * static_cast<double>(l.halfPs) / kSimPsPerTick : 0.0;
        }
    }
}

}  // namespace qx40
