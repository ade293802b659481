// Every time, voltage and frequency the program shows: an engineering unit
// prefix chosen from the magnitude, then decimals or significant digits.
#pragma once

#include <cstdint>
#include <string>

namespace qx40 {

enum class ValueKind { Time = 0, Voltage = 1, Frequency = 2 };  // ns, uV, Hz

// digits >= 0: that many decimals; digits < 0: |digits| significant digits.
// decimalSeparator is the user's locale's (the front end passes it in).
std::string FormatValue(double value, ValueKind kind, int digits, char decimalSeparator = '.');

// Fixed-point text with exactly `decimals` decimals, halves away from zero.
std::string FixedText(double value, int decimals, char decimalSeparator = '.');

}  // namespace qx40
