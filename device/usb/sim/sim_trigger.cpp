#include "device/usb/sim/sim_trigger.h"

#include <algorithm>

namespace qx40 {
namespace {

// Noise alone crosses the window at random ticks; look often enough to
// catch it without looking at every tick.
constexpr std::int64_t kNoiseLookStep = 97;

bool IsLogic(SimInput in) {
    return in == SimInput::D1 || in == SimInput::D2;
}

// The first tick in (lo, hi] where pred holds, given that it fails at lo and
// holds at hi.
template <typename Pred>
std::int64_t Bisect(std::int64_t lo, std::int64_t hi, Pred pred) {
    while (hi - lo > 1) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        (pred(mid) ? hi : lo) = mid;
    }
    return hi;
}

}  // namespace

SimTriggerSearch::SimTriggerSearch(const SimTriggerSettings& settings,
                                   const SimSignalModel& inputs, std::int64_t from)
    : settings_(settings), pos_(from) {
    settings_.count = std::max(settings_.count, 1);
    // A level the signal never reaches never fires: the search need not look.
    const auto reaches = [&](bool withNoise) {
        std::int32_t lo, hi;
        inputs.LevelRange(settings_.source, withNoise, lo, hi);
        return settings_.falling ? hi > settings_.high && lo < settings_.low
                                 : lo < settings_.low && hi > settings_.high;
    };
    reach_ = reaches(false) ? Reach::Signal : reaches(true) ? Reach::NoiseOnly : Reach::Never;
}

bool SimTriggerSearch::Scan(const SimSignalModel& inputs, std::int64_t limit) {
    if (fired_) return true;
    if (reach_ == Reach::Never) return false;
    const SimInput src = settings_.source;
    while (pos_ <= limit) {
        const std::int32_t v = inputs.Level(src, pos_);
        if (armed_ && Fires(v)) {
            // Armed at an earlier look, so prev_ exists and did not fire.
            const std::int64_t crossing =
                Bisect(prev_, pos_, [&](std::int64_t t) { return Fires(inputs.Level(src, t)); });
            armed_ = false;
            if (++edges_ == settings_.count) {
                Fire(inputs, crossing);
                return true;
            }
        }
        if (Arms(v)) {
            if (!armed_) {
                armedSince_ =
                    hasPrev_ ? Bisect(prev_, pos_,
                                      [&](std::int64_t t) { return Arms(inputs.Level(src, t)); })
                             : pos_;
                armed_ = true;
            }
            lastArmedLook_ = pos_;
        }
        prev_ = pos_;
        hasPrev_ = true;
        const std::int64_t next = inputs.NextLook(src, pos_);
        pos_ = reach_ == Reach::NoiseOnly ? std::min(next, pos_ + kNoiseLookStep) : next;
    }
    return false;
}

void SimTriggerSearch::Fire(const SimSignalModel& inputs, std::int64_t crossing) {
    const SimInput src = settings_.source;
    fired_ = true;
    hit_.before = crossing - 1;
    hit_.levelBefore = inputs.Level(src, crossing - 1);
    hit_.levelAfter = inputs.Level(src, crossing);
    hit_.widthTicks = crossing - armedSince_;
    if (IsLogic(src)) {
        hit_.edgeFraction = inputs.LogicEdgeFraction(src, crossing - 1);
        hit_.slewTicks = 0;
        return;
    }
    // The last tick still on the armed side: the edge took from there to
    // the crossing to pass through the window.
    const std::int64_t leftArmed = Bisect(
        lastArmedLook_, crossing, [&](std::int64_t t) { return !Arms(inputs.Level(src, t)); });
    hit_.slewTicks = crossing - (leftArmed - 1);
}

}  // namespace qx40
