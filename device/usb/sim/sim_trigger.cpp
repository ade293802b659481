#include "device/usb/sim/sim_trigger.h"

#include <algorithm>
#include <cmath>

namespace qx40 {
namespace {

// Noise alone crosses the window at random ticks; look often enough to
// catch it without looking at every tick.
constexpr std::int64_t kNoiseLookStep = 97;
// How many looks the search takes back in time to find where a pulse began.
constexpr int kLookBackLooks = 4096;

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

SimTriggerSearch::SimTriggerSearch(const SimTriggerSettings& settings, const SimSignalModel& inputs,
                                   std::int64_t from)
    : settings_(settings), pos_(from) {
    settings_.count = std::max(settings_.count, 1);
    const SimInput src = settings_.source;
    const bool logic = SimIsLogic(src);
    const auto ch = static_cast<std::size_t>(src) & 1;
    low_ = logic ? 1 : settings_.low[ch];
    high_ = logic ? 0 : settings_.high[ch];
    // Rounded, noise spans 2 x noise + 1 codes; only a window narrower than
    // that can be crossed both ways by noise alone.
    mayChatter_ = 2.0 * inputs.NoiseCodes(src) + 1.0 >= high_ - low_;
    // A level the signal never reaches never fires: the search need not look.
    const auto reaches = [&](bool withNoise) {
        std::int32_t lo, hi;
        inputs.LevelRange(src, withNoise, lo, hi);
        return lo < low_ && hi > high_;
    };
    reach_ = reaches(false) ? Reach::Signal : reaches(true) ? Reach::NoiseOnly : Reach::Never;
}

bool SimTriggerSearch::NoiseMayChatter(const SimSignalModel& inputs, std::int64_t from,
                                       std::int64_t to) const {
    const double noise = inputs.NoiseCodes(settings_.source);
    const double a = inputs.CleanCode(settings_.source, from);
    const double b = inputs.CleanCode(settings_.source, to);
    return std::floor(std::min(a, b) - noise) < low_ && std::ceil(std::max(a, b) + noise) > high_;
}

bool SimTriggerSearch::Scan(const SimSignalModel& inputs, std::int64_t limit,
                            std::int64_t maxLooks) {
    if (fired_) return true;
    if (reach_ == Reach::Never) return false;
    const SimInput src = settings_.source;
    for (std::int64_t looks = 0; pos_ <= limit && looks < maxLooks; ++looks) {
        const std::int32_t v = inputs.Level(src, pos_);
        if (armed_ && Fires(v)) {
            // Armed at an earlier look, so prev_ exists and did not fire.
            const std::int64_t crossing =
                Bisect(prev_, pos_, [&](std::int64_t t) { return Fires(inputs.Level(src, t)); });
            armed_ = false;
            const SimTriggerHit hit = Measure(inputs, crossing);
            if (Qualifies(inputs, hit, crossing) && ++edges_ == settings_.count) {
                hit_ = hit;
                fired_ = true;
                return true;
            }
        }
        if (Arms(v)) {
            if (!armed_ && hasPrev_) {
                armedSinceSeen_ = true;
                armedSince_ =
                    Bisect(prev_, pos_, [&](std::int64_t t) { return Arms(inputs.Level(src, t)); });
            } else if (!armed_) {
                FindArmedSince(inputs, pos_);
            }
            armed_ = true;
            lastArmedLook_ = pos_;
        }
        prev_ = pos_;
        hasPrev_ = true;
        if (pos_ < tickByTickUntil_) {
            ++pos_;
            continue;
        }
        std::int64_t next = inputs.NextLook(src, pos_);
        if (reach_ == Reach::NoiseOnly) {
            next = std::min(next, pos_ + kNoiseLookStep);
        } else if (mayChatter_ && NoiseMayChatter(inputs, pos_, next)) {
            tickByTickUntil_ = next;
            next = pos_ + 1;
        }
        pos_ = next;
    }
    return false;
}

void SimTriggerSearch::FindArmedSince(const SimSignalModel& inputs, std::int64_t first) {
    const SimInput src = settings_.source;
    const auto arms = [&](std::int64_t t) { return Arms(inputs.Level(src, t)); };
    std::int64_t later = first;
    for (int i = 0; i < kLookBackLooks; ++i) {
        const std::int64_t earlier = inputs.PreviousLook(src, later);
        if (!arms(earlier)) {
            armedSinceSeen_ = true;
            armedSince_ = Bisect(earlier, later, arms);
            return;
        }
        later = earlier;
    }
    armedSinceSeen_ = false;
    armedSince_ = first;
}

SimTriggerHit SimTriggerSearch::Measure(const SimSignalModel& inputs, std::int64_t crossing) const {
    const SimInput src = settings_.source;
    SimTriggerHit hit;
    hit.before = crossing - 1;
    hit.levelBefore = inputs.Level(src, crossing - 1);
    hit.levelAfter = inputs.Level(src, crossing);
    hit.widthTicks = crossing - armedSince_;
    if (SimIsLogic(src)) {
        hit.edgePs = inputs.LogicEdgePs(src, crossing - 1);
        return hit;
    }
    // The last tick still on the armed side: the edge took from there to
    // the crossing to pass through the window.
    const std::int64_t leftArmed = Bisect(
        lastArmedLook_, crossing, [&](std::int64_t t) { return !Arms(inputs.Level(src, t)); });
    hit.slewTicks = crossing - (leftArmed - 1);
    return hit;
}

bool SimTriggerSearch::Qualifies(const SimSignalModel& inputs, const SimTriggerHit& hit,
                                 std::int64_t crossing) const {
    const SimTriggerSettings& s = settings_;
    if (s.pulseOn) {
        // A pulse that began before the search started has no known length.
        if (!armedSinceSeen_) return false;
        const bool inside = hit.widthTicks >= s.pulseMin && hit.widthTicks <= s.pulseMax;
        if (inside != s.pulseInside) return false;
    }
    if (s.slewOn && !SimIsLogic(s.source) && (hit.slewTicks <= s.slewLimit) != s.slewAtMost)
        return false;
    for (std::size_t k = 0; k < 4; ++k) {
        const auto in = static_cast<SimInput>(k);
        if (!((s.levelMask >> k) & 1) || in == s.source) continue;
        const std::int32_t level = inputs.Level(in, crossing);
        const bool high = SimIsLogic(in) ? level != 0 : 2 * level > s.low[k] + s.high[k];
        if (high != (((s.levels >> k) & 1) != 0)) return false;
    }
    return true;
}

}  // namespace qx40
