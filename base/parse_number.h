// Numbers a user types (command-line options, device names). The whole text
// must be the number: no spaces, no '+', no trailing characters, and a '-'
// only where the range goes below zero. A value outside [min, max], however
// many digits it has, is refused rather than wrapped or saturated.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qx40 {

// Digits in the given base (10 or 16; hexadecimal without a "0x" prefix).
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max,
                                         int base = 10);

// Decimal notation with '.' as the separator whatever the locale, optionally
// with an exponent ("2.5", ".5", "1e3"); infinities and NaN are refused.
std::optional<double> ParseDecimal(std::string_view text, double min, double max);

struct IntegerPair {
    std::int64_t first = 0;
    std::int64_t second = 0;
};

// Two integers joined by 'x' or 'X', as in a size "1280x720"; each within
// [min, max].
std::optional<IntegerPair> ParseIntegerPair(std::string_view text, std::int64_t min,
                                            std::int64_t max);

}  // namespace qx40
