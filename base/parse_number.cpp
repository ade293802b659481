#include "base/parse_number.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace qx40 {
namespace {

// from_chars takes a '-' for signed types even when the range has no room
// for it ("-0"), and never a '+' or a space; the first character decides.
bool StartsWell(std::string_view text, bool negativeAllowed) {
    if (text.empty()) return false;
    if (text.front() == '-') return negativeAllowed && text.size() > 1;
    return true;
}

template <typename T, typename... Format>
std::optional<T> WholeText(std::string_view text, Format... format) {
    T value{};
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value, format...);
    if (ec != std::errc() || stop != end) return std::nullopt;  // overflow or junk
    return value;
}

}  // namespace

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max,
                                         int base) {
    if (!StartsWell(text, min < 0)) return std::nullopt;
    const auto value = WholeText<std::int64_t>(text, base);
    if (!value || *value < min || *value > max) return std::nullopt;
    return value;
}

std::optional<double> ParseDecimal(std::string_view text, double min, double max) {
    if (!StartsWell(text, min < 0)) return std::nullopt;
    const auto value = WholeText<double>(text, std::chars_format::general);
    if (!value || !std::isfinite(*value) || *value < min || *value > max) return std::nullopt;
    return value;
}

std::optional<IntegerPair> ParseIntegerPair(std::string_view text, std::int64_t min,
                                            std::int64_t max) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return std::nullopt;
    const auto first = ParseInteger(text.substr(0, x), min, max);
    const auto second = ParseInteger(text.substr(x + 1), min, max);
    if (!first || !second) return std::nullopt;
    return IntegerPair{*first, *second};
}

}  // namespace qx40
