#include "device/usb/sim/sim_generator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "base/little_endian.h"
#include "device/usb/sim/sim_noise.h"

namespace qx40 {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr std::uint64_t kPhaseMask = (std::uint64_t{1} << 48) - 1;
constexpr double kPhaseScale = 281474976710656.0;  // 2^48
// With nothing that oscillates, the search only needs to look now and then.
constexpr std::int64_t kQuietStep = std::int64_t{1} << 20;
// Looks per period of the fastest component: enough for every waveform
// edge, and the search refines the crossing tick by tick afterwards.
constexpr double kLooksPerPeriod = 64.0;
// The noise waveform changes every 5 ticks (a 0..10 MHz spectrum).
constexpr std::int64_t kNoiseTicks = 5;
constexpr std::uint64_t kCarrierNoiseStream = 1;
constexpr std::uint64_t kModulatingNoiseStream = 2;

enum Mode { kPlain = 0, kSweep = 1, kAm = 2, kFm = 3, kSum = 4, kPulse = 7 };
enum Shape {
    kSine = 0,
    kRampUp = 1,
    kRampDown = 2,
    kRect = 3,
    kTriangle = 4,
    kConstant = 5,
    kConstantCarrier = 6,
    kNoise = 7
};

// The accumulator's position after tick ticks, as a fraction of a cycle.
// Unsigned arithmetic wraps modulo 2^64, of which 2^48 is a divisor, so the
// low 48 bits are exact for any tick.
double PhaseFraction(std::int64_t tick, std::uint64_t word) {
    return static_cast<double>((static_cast<std::uint64_t>(tick) * word) & kPhaseMask) /
           kPhaseScale;
}

bool Oscillates(int shape) {
    return shape <= kTriangle || shape == kNoise;
}

// One cycle of a waveform, phase in [0, 1), value in [-1, 1].
double Wave(int shape, double phase) {
    switch (shape) {
        case kSine:
            return std::sin(kTwoPi * phase);
        case kRampUp:
            return 2.0 * phase - 1.0;
        case kRampDown:
            return 1.0 - 2.0 * phase;
        case kRect:
            return phase < 0.5 ? 1.0 : -1.0;
        case kTriangle:
            return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        case kConstantCarrier:
            return 1.0;
        default:
            return 0.0;
    }
}

struct Range {
    double lo, hi;
};

Range ShapeRange(int shape) {
    if (Oscillates(shape)) return {-1.0, 1.0};
    return shape == kConstantCarrier ? Range{1.0, 1.0} : Range{0.0, 0.0};
}

double Period(std::uint64_t word) {
    return word ? kPhaseScale / static_cast<double>(word) : 0.0;
}

}  // namespace

SimGenerator::SimGenerator(const std::array<std::uint8_t, 128>& regs, std::uint64_t seed)
    : seed_(seed) {
    off_ = regs[70] & 0x08;
    mode_ = regs[96] & 0x07;
    invert_ = regs[96] & 0x80;
    shape_ = regs[97] & 0x0F;
    modShape_ = regs[97] >> 4;
    freqWord_ = GetLE<6>(&regs[98]);
    secondWord_ = GetLE<6>(&regs[104]);
    modWord_ = GetLE<6>(&regs[112]);
    const auto amplitudeWord = std::min<std::uint64_t>(GetLE<2>(&regs[110]), 4095);
    // (word - 1) mV peak to peak.
    halfAmplitude_ = amplitudeWord > 0 ? static_cast<double>(amplitudeWord - 1) / 2000.0 : 0.0;
    if (off_) {
        scanStep_ = kQuietStep;
        return;
    }

    // The words as the program computes them: depth and level in parts of
    // 32767.75, the deviation in steps of 4192256 phase units.
    amDepth_ = static_cast<double>(secondWord_) * 4096.0 /
               (32767.75 * static_cast<double>(std::max<std::uint64_t>(amplitudeWord, 1)));
    sumLevel_ = static_cast<double>(secondWord_) / 32767.75;
    const double deviationWord = static_cast<double>(secondWord_) * 4192256.0;
    fmIndex_ = modWord_ ? deviationWord / static_cast<double>(modWord_) / kTwoPi : 0.0;
    sweepPoint_ = std::max<std::int64_t>(1, static_cast<std::int64_t>(GetLE<4>(&regs[4])));
    sweepCycle_ =
        std::max<std::int64_t>(1, static_cast<std::int64_t>(GetLE<2>(&regs[10]))) * sweepPoint_;
    pulsePeriod_ = static_cast<std::int64_t>(freqWord_) + 1;
    pulseWidth_ = std::min(static_cast<std::int64_t>(secondWord_), pulsePeriod_);

    const double a = halfAmplitude_;
    const Range c = ShapeRange(shape_);
    const bool modulated = Oscillates(modShape_) && (modWord_ != 0 || modShape_ == kNoise);
    const Range w = modulated ? Range{-1.0, 1.0} : Range{0.0, 0.0};
    const double cMean = shape_ == kConstantCarrier ? 1.0 : 0.0;
    switch (mode_) {
        case kAm: {
            double lo = std::numeric_limits<double>::max(), hi = -lo;
            for (double cv : {c.lo, c.hi})
                for (double wv : {w.lo, w.hi}) {
                    const double v = a / 2.0 * cv * (1.0 + amDepth_ * wv);
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                }
            min_ = lo, max_ = hi, dc_ = a / 2.0 * cMean;
            break;
        }
        case kSum:
            min_ = a / 2.0 * (c.lo + sumLevel_ * w.lo);
            max_ = a / 2.0 * (c.hi + sumLevel_ * w.hi);
            dc_ = a / 2.0 * cMean;
            break;
        case kPulse:
            min_ = pulseWidth_ >= pulsePeriod_ ? a : -a;
            max_ = pulseWidth_ <= 0 ? -a : a;
            dc_ = a * (2.0 * static_cast<double>(pulseWidth_) / static_cast<double>(pulsePeriod_) -
                       1.0);
            break;
        default:
            min_ = a * c.lo, max_ = a * c.hi, dc_ = a * cMean;
            break;
    }

    // The fastest component decides how far the trigger search may step.
    double fastest = 0.0;  // shortest period in ticks, 0: none
    const auto consider = [&fastest](double period) {
        if (period > 0.0 && (fastest == 0.0 || period < fastest)) fastest = period;
    };
    if (mode_ == kPulse) {
        consider(static_cast<double>(pulsePeriod_));
    } else if (shape_ == kNoise) {
        consider(2.0 * kNoiseTicks);
    } else if (Oscillates(shape_)) {
        double word = static_cast<double>(freqWord_);
        if (mode_ == kSweep)
            word +=
                static_cast<double>(secondWord_) * static_cast<double>(sweepCycle_ / sweepPoint_);
        if (mode_ == kFm) word += deviationWord;
        consider(word > 0.0 ? kPhaseScale / word : 0.0);
    }
    if ((mode_ == kAm || mode_ == kSum) && modulated)
        consider(modShape_ == kNoise ? 2.0 * kNoiseTicks : Period(modWord_));
    scanStep_ = fastest > 0.0
                    ? std::clamp<std::int64_t>(static_cast<std::int64_t>(fastest / kLooksPerPeriod),
                                               1, kQuietStep)
                    : kQuietStep;
}

double SimGenerator::Carrier(std::int64_t tick) const {
    if (shape_ == kNoise)
        return SimNoise(seed_, kCarrierNoiseStream, SimFloorDiv(tick, kNoiseTicks));
    if (!Oscillates(shape_)) return Wave(shape_, 0.0);
    double phase = PhaseFraction(tick, freqWord_);
    if (mode_ == kSweep) {
        // The frequency word grows by the second word every record point and
        // starts again after the post-trigger points.
        const std::int64_t tau = tick - SimFloorDiv(tick, sweepCycle_) * sweepCycle_;
        const long double t = static_cast<long double>(tau);
        const long double extra = static_cast<long double>(secondWord_) * t * t /
                                  (2.0L * static_cast<long double>(sweepPoint_)) /
                                  281474976710656.0L;
        phase = PhaseFraction(tau, freqWord_) + static_cast<double>(extra - std::floor(extra));
    } else if (mode_ == kFm && modWord_ != 0) {
        const double sign = invert_ ? -1.0 : 1.0;
        phase += sign * fmIndex_ * (1.0 - std::cos(kTwoPi * PhaseFraction(tick, modWord_)));
    }
    return Wave(shape_, phase - std::floor(phase));
}

double SimGenerator::Modulating(std::int64_t tick) const {
    double w = 0.0;
    if (modShape_ == kNoise)
        w = SimNoise(seed_, kModulatingNoiseStream, SimFloorDiv(tick, kNoiseTicks));
    else if (Oscillates(modShape_) && modWord_ != 0)
        w = Wave(modShape_, PhaseFraction(tick, modWord_));
    return invert_ ? -w : w;
}

double SimGenerator::Volts(std::int64_t tick) const {
    if (off_) return 0.0;
    const double a = halfAmplitude_;
    switch (mode_) {
        case kAm:
            return a / 2.0 * Carrier(tick) * (1.0 + amDepth_ * Modulating(tick));
        case kSum:
            return a / 2.0 * (Carrier(tick) + sumLevel_ * Modulating(tick));
        case kPulse: {
            const std::int64_t r = tick - SimFloorDiv(tick, pulsePeriod_) * pulsePeriod_;
            return r < pulseWidth_ ? a : -a;
        }
        default:
            return a * Carrier(tick);
    }
}

double SimGenerator::PeriodTicks() const {
    if (off_ || halfAmplitude_ <= 0.0) return 0.0;
    if (mode_ == kPulse)
        return pulseWidth_ > 0 && pulseWidth_ < pulsePeriod_ ? static_cast<double>(pulsePeriod_)
                                                             : 0.0;
    if (shape_ == kNoise) return 0.0;
    if (Oscillates(shape_)) return Period(freqWord_);
    // A constant carrier under AM or SUM shows the modulating signal.
    if ((mode_ == kAm || mode_ == kSum) && modShape_ != kNoise && Oscillates(modShape_))
        return Period(modWord_);
    return 0.0;
}

bool SimGenerator::Pulses() const {
    return !off_ && mode_ == kPulse && pulseWidth_ > 0 && pulseWidth_ < pulsePeriod_;
}

std::int64_t SimGenerator::NextChange(std::int64_t t) const {
    if (!Pulses()) return std::numeric_limits<std::int64_t>::max();
    const std::int64_t r = t - SimFloorDiv(t, pulsePeriod_) * pulsePeriod_;
    return r < pulseWidth_ ? t - r + pulseWidth_ : t - r + pulsePeriod_;
}

std::int64_t SimGenerator::LastChange(std::int64_t t) const {
    if (!Pulses()) return std::numeric_limits<std::int64_t>::min();
    const std::int64_t r = t - SimFloorDiv(t, pulsePeriod_) * pulsePeriod_;
    return r < pulseWidth_ ? t - r : t - r + pulseWidth_;
}

}  // namespace qx40
