// The simulated instrument's trigger comparator: it arms when the source
// goes past one threshold and fires when it then crosses the other (the
// hysteresis window of the trigger registers), and fires the trigger on the
// N-th such edge. It looks at the signal in steps that cannot miss an edge
// and finds the crossing tick exactly by bisection, so a search over a long
// wait costs little. The search resumes where it stopped as time goes on.
#pragma once

#include <cstdint>

#include "device/usb/sim/sim_signal_model.h"

namespace qx40 {

struct SimTriggerSettings {
    SimInput source = SimInput::A1;
    bool falling = false;
    // Comparator thresholds in codes; a logic source uses low 1, high 0.
    std::int32_t low = 0;
    std::int32_t high = 0;
    std::int32_t count = 1;  // fires on this qualifying edge
};

// The crossing that fired and what the instrument measures about it.
struct SimTriggerHit {
    std::int64_t before = 0;  // the crossing lies between this tick and the next
    std::uint8_t levelBefore = 0;
    std::uint8_t levelAfter = 0;
    double edgeFraction = 1.0;   // logic source: where the edge lies in (before, before + 1]
    std::int64_t slewTicks = 0;  // analog: from the last tick on the armed side to the crossing
    std::int64_t widthTicks =
        0;  // time on the armed side before the crossing: the pulse before the edge
};

class SimTriggerSearch {
public:
    SimTriggerSearch() = default;
    // Edges are counted from tick from on.
    SimTriggerSearch(const SimTriggerSettings& settings, const SimSignalModel& inputs,
                     std::int64_t from);

    // Looks at the signal up to tick limit; true once the trigger has fired.
    bool Scan(const SimSignalModel& inputs, std::int64_t limit);
    bool Fired() const { return fired_; }
    const SimTriggerHit& Hit() const { return hit_; }

private:
    enum class Reach { Never, NoiseOnly, Signal };
    bool Arms(std::int32_t v) const {
        return settings_.falling ? v > settings_.high : v < settings_.low;
    }
    bool Fires(std::int32_t v) const {
        return settings_.falling ? v < settings_.low : v > settings_.high;
    }
    void Fire(const SimSignalModel& inputs, std::int64_t crossing);

    SimTriggerSettings settings_;
    Reach reach_ = Reach::Never;
    std::int64_t pos_ = 0;
    std::int64_t prev_ = 0;
    bool hasPrev_ = false;
    bool armed_ = false;
    std::int64_t armedSince_ = 0;
    std::int64_t lastArmedLook_ = 0;
    std::int32_t edges_ = 0;
    bool fired_ = false;
    SimTriggerHit hit_;
};

}  // namespace qx40
