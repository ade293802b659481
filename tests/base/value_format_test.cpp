#include "base/value_format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/round_nearest.h"

namespace qx40 {
namespace {

struct FormatCase {
    double value;
    ValueKind kind;
    int digits;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.value << " / " << c.digits << " -> " << c.text; }

class FormatValueTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatValueTest, Text) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatValue(c.value, c.kind, c.digits, '.'), c.text);
}

using enum ValueKind;

INSTANTIATE_TEST_SUITE_P(
    Examples, FormatValueTest,
    testing::Values(FormatCase{1500, Frequency, -5, "1.5000 KHz"}, FormatCase{500000, Voltage, 0, "500 mV"},
                    FormatCase{2000000, Voltage, 0, "2 V"}, FormatCase{50, Time, 0, "50 nS"},
                    FormatCase{0.5, Frequency, -3, "500 mHz"}, FormatCase{0.5, Time, -3, "0.50 nS"},
                    FormatCase{5, Voltage, -4, "0.005 mV"}, FormatCase{-2500, Time, -4, "-2.500 uS"},
                    FormatCase{999.96, Frequency, -4, "1000.0 Hz"}, FormatCase{1e12, Frequency, -3, "1000 GHz"},
                    // More of the table and the rounding.
                    FormatCase{1000000, Time, 0, "1 mS"}, FormatCase{20000000000.0, Time, 0, "20 S"},
                    FormatCase{0.005, Frequency, -3, "5.00 mHz"}, FormatCase{0.05, Frequency, -3, "50.0 mHz"},
                    FormatCase{12345.678, Frequency, 2, "12.35 KHz"}, FormatCase{2675, Voltage, 2, "2.68 mV"},
                    FormatCase{-0.0001, Time, 2, "0.00 nS"}, FormatCase{0, Voltage, -4, "0.000 mV"},
                    FormatCase{999999999, Frequency, -3, "1000 MHz"}, FormatCase{1e7, Frequency, -7, "10.00000 MHz"},
                    FormatCase{std::nan(""), Time, 0, "..."}, FormatCase{INFINITY, Frequency, -4, "..."}));

TEST(FormatValue, LocaleSeparator) {
    EXPECT_EQ(FormatValue(1500, ValueKind::Frequency, -5, ','), "1,5000 KHz");
    EXPECT_EQ(FixedText(-3.25, 3, ','), "-3,250");
}

TEST(FixedText, HalvesAwayFromZero) {
    EXPECT_EQ(FixedText(2.5, 0), "3");
    EXPECT_EQ(FixedText(-2.5, 0), "-3");
    EXPECT_EQ(FixedText(1.005, 2), "1.01");
    EXPECT_EQ(FixedText(0.045, 2), "0.05");
    EXPECT_EQ(FixedText(50.0, 3), "50.000");
    EXPECT_EQ(FixedText(1e17, 1), "100000000000000000.0");
    EXPECT_EQ(FixedText(123456789.125, 2), "123456789.13");
}

TEST(RoundNearest, HalvesAwayFromZero) {
    EXPECT_EQ(RoundNearest(2.5), 3);
    EXPECT_EQ(RoundNearest(-2.5), -3);
    EXPECT_EQ(RoundNearest(-0.4), 0);
    EXPECT_EQ(RoundNearest(2.4999), 2);
    EXPECT_EQ(RoundNearest(1e20), 2147483647);
    EXPECT_EQ(RoundNearest(-1e20), -2147483647 - 1);
}

}  // namespace
}  // namespace qx40
