// The simulated instrument's trigger comparator: it arms when the source
// goes past one threshold and fires when it then crosses the other (the
// hysteresis window of the trigger registers). An edge qualifies when it
// also meets the T+ conditions in force: the duration of the pulse that
// the edge ends, the slew time through the window, and the logic levels of
// the other channels at the edge. The trigger fires on the N-th qualifying
// edge.
//
// The search looks at the signal in steps that cannot miss an edge and
// finds each crossing tick by bisection, so a search over a long wait costs
// little; where noise alone could arm and fire the comparator it looks at
// every tick, as the comparator does. It resumes where it stopped as time
// goes on.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "device/usb/sim/sim_signal_model.h"

namespace qx40 {

struct SimTriggerSettings {
    SimInput source = SimInput::A1;
    bool falling = false;
    // Comparator thresholds in codes of each analog channel; the source's
    // pair is the trigger window. A logic source uses low 1, high 0.
    std::array<std::int32_t, 2> low{};
    std::array<std::int32_t, 2> high{};
    std::int32_t count = 1;  // fires on this qualifying edge
    // Pulse duration in ticks, inside or outside [pulseMin, pulseMax].
    bool pulseOn = false;
    bool pulseInside = false;
    std::int64_t pulseMin = 0;
    std::int64_t pulseMax = 0;
    // Slew time in ticks, at most or above slewLimit; analog sources only.
    bool slewOn = false;
    bool slewAtMost = false;
    std::int64_t slewLimit = 0;
    // Bit k (A1, A2, D1, D2) of levelMask: channel k must be at bit k of
    // levels. An analog channel is '1' above the middle of its window. The
    // source's own bit is left out: the edge decides its level.
    std::uint8_t levelMask = 0;
    std::uint8_t levels = 0;
};

// The crossing that fired and what the instrument measures about it.
struct SimTriggerHit {
    std::int64_t before = 0;  // the crossing lies between this tick and the next
    std::uint8_t levelBefore = 0;
    std::uint8_t levelAfter = 0;
    std::int64_t edgePs = kSimPsPerTick;  // logic source: the edge's place after before
    std::int64_t slewTicks = 0;  // analog: from the last tick on the armed side to the crossing
    // Time on the armed side before the crossing: the pulse the edge ends.
    std::int64_t widthTicks = 0;
};

class SimTriggerSearch {
public:
    SimTriggerSearch() = default;
    // Edges are counted from tick from on.
    SimTriggerSearch(const SimTriggerSettings& settings, const SimSignalModel& inputs,
                     std::int64_t from);

    // Looks at the signal up to tick limit, or stops after maxLooks looks
    // and goes on from there next time; true once the trigger has fired.
    bool Scan(const SimSignalModel& inputs, std::int64_t limit,
              std::int64_t maxLooks = std::numeric_limits<std::int64_t>::max());
    bool Fired() const { return fired_; }
    const SimTriggerHit& Hit() const { return hit_; }

private:
    enum class Reach { Never, NoiseOnly, Signal };
    bool Arms(std::int32_t v) const { return settings_.falling ? v > high_ : v < low_; }
    bool Fires(std::int32_t v) const { return settings_.falling ? v < low_ : v > high_; }
    // Whether noise alone could arm and fire the comparator between the
    // looks at from and to.
    bool NoiseMayChatter(const SimSignalModel& inputs, std::int64_t from, std::int64_t to) const;
    // Armed already at the first look: since when, as far as a bounded look
    // back finds (the comparator has been running before the search).
    void FindArmedSince(const SimSignalModel& inputs, std::int64_t first);
    SimTriggerHit Measure(const SimSignalModel& inputs, std::int64_t crossing) const;
    bool Qualifies(const SimSignalModel& inputs, const SimTriggerHit& hit,
                   std::int64_t crossing) const;

    SimTriggerSettings settings_;
    std::int32_t low_ = 0;
    std::int32_t high_ = 0;
    Reach reach_ = Reach::Never;
    bool mayChatter_ = false;  // the noise is wider than the window
    std::int64_t pos_ = 0;
    std::int64_t prev_ = 0;
    std::int64_t tickByTickUntil_ = 0;
    bool hasPrev_ = false;
    bool armed_ = false;
    bool armedSinceSeen_ = false;  // false: armed for longer than the look back
    std::int64_t armedSince_ = 0;
    std::int64_t lastArmedLook_ = 0;
    std::int32_t edges_ = 0;
    bool fired_ = false;
    SimTriggerHit hit_;
};

}  // namespace qx40
