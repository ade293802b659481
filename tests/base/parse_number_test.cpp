#include "base/parse_number.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace qx40 {
namespace {

struct IntegerCase {
    const char* text;
    std::int64_t min;
    std::int64_t max;
    std::optional<std::int64_t> value;  // nothing: refused
};

TEST(ParseInteger, AcceptsOnlyAWholeNumberInRange) {
    constexpr auto kLow = std::numeric_limits<std::int64_t>::min();
    constexpr auto kHigh = std::numeric_limits<std::int64_t>::max();
    for (const IntegerCase& c : {
             IntegerCase{"1", 1, 1000000, 1},
             {"1000000", 1, 1000000, 1000000},
             {"007", 0, 10, 7},
             {"-5", -10, 10, -5},
             {"-9223372036854775808", kLow, kHigh, kLow},
             {"9223372036854775807", kLow, kHigh, kHigh},
             // Out of range, at both ends.
             {"0", 1, 1000000, std::nullopt},
             {"1000001", 1, 1000000, std::nullopt},
             {"-11", -10, 10, std::nullopt},
             // More digits than any integer holds: refused, not wrapped or clamped.
             {"9223372036854775808", kLow, kHigh, std::nullopt},
             {"99999999999999999999999", 1, 1000000, std::nullopt},
             {"4294967297", 1, 1000000, std::nullopt},  // 2^32 + 1 wraps to 1 in 32 bits
             // Signs where the range has none, and '+' anywhere.
             {"-1", 0, 10, std::nullopt},
             {"-0", 0, 10, std::nullopt},
             {"+5", 0, 10, std::nullopt},
             {"-", -10, 10, std::nullopt},
             {"--1", -10, 10, std::nullopt},
             // Empty, spaces and junk.
             {"", 0, 10, std::nullopt},
             {" 5", 0, 10, std::nullopt},
             {"5 ", 0, 10, std::nullopt},
             {"5x", 0, 10, std::nullopt},
             {"5.0", 0, 10, std::nullopt},
             {"1e3", 0, 10000, std::nullopt},
             {"0x10", 0, 100, std::nullopt},
         }) {
        EXPECT_EQ(ParseInteger(c.text, c.min, c.max), c.value)
            << '"' << c.text << "\" in " << c.min << ".." << c.max;
    }
}

TEST(ParseInteger, HexadecimalDigits) {
    EXPECT_EQ(ParseInteger("1F", 0, 0xFFFF, 16), 31);
    EXPECT_EQ(ParseInteger("1f", 0, 0xFFFF, 16), 31);
    EXPECT_EQ(ParseInteger("10000", 0, 0xFFFF, 16), std::nullopt);
    EXPECT_EQ(ParseInteger("1G", 0, 0xFFFF, 16), std::nullopt);
}

struct DecimalCase {
    const char* text;
    std::optional<double> value;
};

TEST(ParseDecimal, AcceptsOnlyAWholeFiniteNumberInRange) {
    for (const DecimalCase& c : {
             DecimalCase{"10", 10.0},
             {"2.5", 2.5},
             {".5", 0.5},
             {"1e3", 1000.0},
             {"0.001", 0.001},
             {"86400", 86400.0},
             {"0", std::nullopt},
             {"0.0009", std::nullopt},
             {"86400.5", std::nullopt},
             {"1e400", std::nullopt},
             {"inf", std::nullopt},
             {"nan", std::nullopt},
             {"-1", std::nullopt},
             {"+1", std::nullopt},
             {"", std::nullopt},
             {" 1", std::nullopt},
             {"1 ", std::nullopt},
             {"1s", std::nullopt},
             {"2,5", std::nullopt},
         }) {
        EXPECT_EQ(ParseDecimal(c.text, 0.001, 86400.0), c.value) << '"' << c.text << '"';
    }
}

TEST(ParseIntegerPair, BothHalvesMustBeNumbersInRange) {
    const auto size = ParseIntegerPair("1280x720", 50, 10000);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->first, 1280);
    EXPECT_EQ(size->second, 720);
    EXPECT_TRUE(ParseIntegerPair("50X10000", 50, 10000));
    for (const char* text :
         {"1280", "1280x", "x720", "1280x720x5", "1280*720", "1280 x 720", "49x720", "1280x10001",
          "99999999999x720", "4294968576x720", "-1280x720", "+1280x720", "1280x720 ", ""})
        EXPECT_FALSE(ParseIntegerPair(text, 50, 10000)) << '"' << text << '"';
}

}  // namespace
}  // namespace qx40
