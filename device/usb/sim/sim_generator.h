// The built-in generator as the simulated instrument runs it from registers
// 96..117: a 48-bit phase accumulator advanced every 10 ns tick, a waveform
// and an amplitude, a second accumulator for the modulating signal, the
// pulse counter. The modulation modes are modelled plainly: AM as carrier
// times (1 + depth x modulating signal), FM as a sine deviation of the
// carrier phase, SUM as carrier plus modulating signal; an external
// modulation source is taken as the internal one.
#pragma once

#include <array>
#include <cstdint>

namespace qx40 {

class SimGenerator {
public:
    SimGenerator() = default;  // output off
    SimGenerator(const std::array<std::uint8_t, 128>& regs, std::uint64_t seed);

    double Volts(std::int64_t tick) const;
    double DcVolts() const { return dc_; }  // mean output, what AC coupling removes
    double MinVolts() const { return min_; }
    double MaxVolts() const { return max_; }
    // Period of the output for the frequency meter, in ticks; 0 when the
    // output has no regular edges (off, constant, noise).
    double PeriodTicks() const;
    // A step between looks at the output that cannot step over an edge.
    std::int64_t ScanStep() const { return scanStep_; }
    // The first tick after t at which a pulse output changes level, or
    // INT64_MAX outside pulse mode: a narrow pulse is never stepped over.
    std::int64_t NextChange(std::int64_t t) const;
    // The last tick at or before t at which a pulse output changed level,
    // or INT64_MIN outside pulse mode.
    std::int64_t LastChange(std::int64_t t) const;

private:
    bool Pulses() const;  // a pulse output that changes level
    double Carrier(std::int64_t tick) const;
    double Modulating(std::int64_t tick) const;

    std::uint64_t seed_ = 0;
    bool off_ = true;
    int mode_ = 0;
    int shape_ = 5;
    int modShape_ = 5;
    bool invert_ = false;
    std::uint64_t freqWord_ = 0;
    std::uint64_t secondWord_ = 0;
    std::uint64_t modWord_ = 0;
    double halfAmplitude_ = 0.0;  // volts: half the peak-to-peak output
    double amDepth_ = 0.0;
    double sumLevel_ = 0.0;
    double fmIndex_ = 0.0;         // carrier cycles of deviation per modulating radian
    std::int64_t sweepPoint_ = 1;  // ticks per record point
    std::int64_t sweepCycle_ = 1;  // ticks of one sweep
    std::int64_t pulsePeriod_ = 1;
    std::int64_t pulseWidth_ = 0;
    double dc_ = 0.0, min_ = 0.0, max_ = 0.0;
    std::int64_t scanStep_ = 1;
};

}  // namespace qx40
