// The bench as the simulated instrument's inputs see it, for one register
// image: the generator on A1, a sine on A2, square waves on D1 and D2, and
// the analog front end that turns volts into ADC codes (range, coupling,
// offset DAC, input offset, converter noise). Every value is a pure function
// of the tick, so the trigger search and the record agree sample for sample.
//
// The person at the bench follows the zero calibration's instruction: while
// the instrument is set up as that procedure sets it up, the analog inputs
// are unplugged and carry nothing but the converter's noise (unless the
// InputConnected fault keeps them connected).
#pragma once

#include <array>
#include <cstdint>

#include "device/usb/sim/sim_config.h"
#include "device/usb/sim/sim_generator.h"

namespace qx40 {

enum class SimInput { A1 = 0, A2 = 1, D1 = 2, D2 = 3 };

inline constexpr std::int64_t kSimTicksPerSecond = 100000000;  // 10 ns ticks
inline constexpr std::int64_t kSimPsPerTick = 10000;

inline bool SimIsLogic(SimInput in) {
    return in == SimInput::D1 || in == SimInput::D2;
}

class SimSignalModel {
public:
    SimSignalModel(const std::array<std::uint8_t, 128>& regs, const SimInstrumentConfig& config);

    // Analog inputs: ADC code 0..254; logic inputs: 0 or 1.
    std::uint8_t Level(SimInput in, std::int64_t tick) const;
    // An analog input's code before the noise is added and before rounding.
    double CleanCode(SimInput in, std::int64_t tick) const;
    // The largest amount by which noise moves an analog input's code.
    double NoiseCodes(SimInput in) const;
    // Smallest and largest level over the ticks [from, from + span): a peak
    // detect point. Long spans are looked at in a bounded number of places
    // plus every level change of a pulse, so a narrow pulse is kept.
    void Extremes(SimInput in, std::int64_t from, std::int64_t span, std::uint8_t& lo,
                  std::uint8_t& hi) const;
    // The levels the input can reach, with or without its noise.
    void LevelRange(SimInput in, bool withNoise, std::int32_t& lo, std::int32_t& hi) const;
    // The next tick a comparator search should look at after tick; it never
    // steps over an edge of the signal.
    std::int64_t NextLook(SimInput in, std::int64_t tick) const;
    // The same backwards: the previous tick to look at before tick.
    std::int64_t PreviousLook(SimInput in, std::int64_t tick) const;
    // A logic input that changes between tick and tick + 1 does so this many
    // picoseconds (1 .. 10000) after tick.
    std::int64_t LogicEdgePs(SimInput in, std::int64_t tick) const;
    // Period of the input's signal in ticks, 0 without a regular one.
    double PeriodTicks(SimInput in) const;

    // The logic oscillators drift against the instrument's clock: for one
    // record their edges lie this far (0 .. 9999 ps) after whole ticks.
    void SetLogicOffsetPs(std::int64_t ps) { logicOffsetPs_ = ps; }

private:
    struct FrontEnd {
        double zero = 0.0;          // code of 0 V
        double codesPerVolt = 0.0;  // 32 codes per division
        double removedDc = 0.0;     // AC coupling
    };
    struct Logic {
        std::int64_t halfPs = 0;  // half period, whole ticks; 0: no signal
        std::int64_t phasePs = 0;
    };

    double CleanVolts(int channel, std::int64_t tick) const;
    std::int64_t LookStep(SimInput in) const;
    std::int64_t LogicHalfIndex(const Logic& l, std::int64_t tick) const;
    bool HasGenerator() const { return bench_.GeneratorToA1 && !unplugged_; }
    bool HasA2() const { return bench_.A2Connected && !unplugged_; }

    SimBench bench_;
    std::uint64_t seed_;
    bool unplugged_ = false;
    bool hum_ = false;
    SimGenerator generator_;
    std::array<FrontEnd, 2> front_{};
    std::array<Logic, 2> logic_{};
    double a2PeriodTicks_ = 0.0;
    std::int64_t logicOffsetPs_ = 0;
};

}  // namespace qx40
