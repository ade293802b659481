#include "screen/window_placement.h"

#include <algorithm>

namespace qx40 {
namespace {

// Enough of the top edge to grab the window by its title bar.
constexpr std::int64_t kGripWidth = 100;
constexpr std::int64_t kGripHeight = 24;

// The length of the overlap of [a, a + la) and [b, b + lb); in 64 bits, as
// saved coordinates come from a file and may be anything.
std::int64_t Overlap(std::int64_t a, std::int64_t la, std::int64_t b, std::int64_t lb) {
    return std::max<std::int64_t>(0, std::min(a + la, b + lb) - std::max(a, b));
}

bool Reachable(const WindowRect& w, const WindowRect& s) {
    const std::int64_t top = w.top;
    const bool topOnScreen = top >= s.top && top + kGripHeight <= std::int64_t{s.top} + s.height;
    return topOnScreen &&
           Overlap(w.left, w.width, s.left, s.width) >= std::min<std::int64_t>(kGripWidth, w.width);
}

bool Fits(const WindowRect& w, const WindowRect& s) {
    return w.width <= s.width && w.height <= s.height;
}

std::int64_t Area(const WindowRect& w, const WindowRect& s) {
    return Overlap(w.left, w.width, s.left, s.width) * Overlap(w.top, w.height, s.top, s.height);
}

// Shrinks one side to the screen's and slides it onto the screen.
void FitSpan(std::int32_t& start, std::int32_t& length, std::int32_t screenStart,
             std::int32_t screenLength) {
    length = std::clamp(length, 1, std::max(1, screenLength));
    const std::int64_t last =
        std::max<std::int64_t>(screenStart, std::int64_t{screenStart} + screenLength - length);
    start = static_cast<std::int32_t>(std::clamp<std::int64_t>(start, screenStart, last));
}

}  // namespace

WindowRect VisibleWindowRect(const WindowRect& saved, std::span<const WindowRect> screens) {
    if (screens.empty()) return saved;
    const auto reachable = [&](const WindowRect& s) { return Reachable(saved, s); };
    if (std::any_of(screens.begin(), screens.end(),
                    [&](const auto& s) { return reachable(s) && Fits(saved, s); }))
        return saved;
    auto target = std::find_if(screens.begin(), screens.end(), reachable);
    if (target == screens.end())  // the first of equal overlaps, the primary when none overlaps
        target = std::max_element(
            screens.begin(), screens.end(),
            [&](const auto& a, const auto& b) { return Area(saved, a) < Area(saved, b); });
    WindowRect placed = saved;
    FitSpan(placed.left, placed.width, target->left, target->width);
    FitSpan(placed.top, placed.height, target->top, target->height);
    return placed;
}

}  // namespace qx40
