#include "base/value_format.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qx40 {
namespace {

struct Range {
    double limit;       // applies while |value| < limit
    std::uint8_t kinds;  // bit per ValueKind
    double scale;
    int unit;
    int integerDigits;
};

constexpr std::uint8_t kTime = 1, kVoltage = 2, kFrequency = 4, kAll = kTime | kVoltage | kFrequency;

constexpr std::array<Range, 15> kRanges = {{
    {0.01, kFrequency, 1000, 0, 1},
    {0.1, kFrequency, 1000, 0, 2},
    {1, kFrequency, 1000, 0, 3},
    {10, kTime | kFrequency, 1, 1, 1},
    {100, kTime | kFrequency, 1, 1, 2},
    {1000, kTime | kFrequency, 1, 1, 3},
    {1e4, kAll, 1e-3, 2, 1},
    {1e5, kAll, 1e-3, 2, 2},
    {1e6, kAll, 1e-3, 2, 3},
    {1e7, kAll, 1e-6, 3, 1},
    {1e8, kAll, 1e-6, 3, 2},
    {1e9, kAll, 1e-6, 3, 3},
    {1e10, kAll, 1e-9, 4, 1},
    {1e11, kAll, 1e-9, 4, 2},
    {INFINITY, kAll, 1e-9, 4, 3},
}};

constexpr std::array<std::array<const char*, 5>, 3> kUnits = {{
    {"pS", "nS", "uS", "mS", "S"},
    {"nV", "uV", "mV", "V", "KV"},
    {"mHz", "Hz", "KHz", "MHz", "GHz"},
}};

}  // namespace

std::string FixedText(double value, int decimals, char decimalSeparator) {
    if (!std::isfinite(value)) return "...";
    decimals = std::max(decimals, 0);
    const double scale = std::pow(10.0, decimals);
    const double scaled = std::fabs(value) * scale;
    if (scaled >= 1e12) {  // too large for the nudge below to stay under half a unit
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        std::string text = buffer;
        if (const auto dot = text.find('.'); dot != std::string::npos) text[dot] = decimalSeparator;
        return text;
    }
    // Halves away from zero, on the decimal value the user typed or the
    // arithmetic meant: 2.675 is stored as 2.67499999..., and must give 2.68.
    // A nudge of a few units in the last place covers that error.
    const auto rounded = static_cast<long long>(std::floor(scaled * (1 + 1e-15) + 0.5));
    const auto unit = static_cast<long long>(scale);
    std::string text = rounded != 0 && value < 0 ? "-" : "";
    text += std::to_string(rounded / unit);
    if (decimals > 0) {
        std::string fraction = std::to_string(rounded % unit);
        text += decimalSeparator;
        text += std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return text;
}

std::string FormatValue(double value, ValueKind kind, int digits, char decimalSeparator) {
    if (!std::isfinite(value)) return "...";
    const auto kindIndex = static_cast<std::size_t>(kind);
    const std::uint8_t kindBit = static_cast<std::uint8_t>(1u << kindIndex);
    const double a = std::fabs(value);
    for (const Range& r : kRanges) {
        if (!(r.kinds & kindBit) || !(a < r.limit)) continue;
        const int decimals = digits >= 0 ? digits : std::max(0, -digits - r.integerDigits);
        return FixedText(value * r.scale, decimals, decimalSeparator) + " " + kUnits[kindIndex][static_cast<std::size_t>(r.unit)];
    }
    return "...";  // not reached: the last range has no bound
}

}  // namespace qx40
