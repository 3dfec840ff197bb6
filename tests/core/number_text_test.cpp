#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/units.h"

namespace quintrel {
namespace {

struct ParseCase {
    const char* text;
    const char* separator;
    std::optional<double> expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ParseNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseNumberTest, ReadsExactlyTheDocumentedSyntax) {
    const ParseCase& c = GetParam();
    const std::optional<double> value = ParseNumber(c.text, c.separator);
    EXPECT_EQ(value.has_value(), c.expected.has_value()) << '"' << c.text << '"';
    EXPECT_EQ(isNumeric(c.text, c.separator), c.expected.has_value()) << '"' << c.text << '"';
    if (value && c.expected) {
        EXPECT_EQ(*value, *c.expected) << '"' << c.text << '"';
    }
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ParseNumberTest,
    ::testing::Values(
        // accepted forms
        ParseCase{"1", ".", 1.0}, ParseCase{"1.0", ".", 1.0}, ParseCase{" 8 ", ".", 8.0},
        ParseCase{"\t-2.5\t", ".", -2.5}, ParseCase{"+7", ".", 7.0}, ParseCase{".5", ".", 0.5},
        ParseCase{"5.", ".", 5.0}, ParseCase{"1e-9", ".", 1e-9}, ParseCase{"1E+15", ".", 1e15},
        ParseCase{"2.5e3", ".", 2500.0}, ParseCase{"0.125", ".", 0.125}, ParseCase{"1,5", ",", 1.5},
        ParseCase{"-0,001e3", ",", -1.0}, ParseCase{"1e-400", ".", 0.0},  // underflow reads as zero
        ParseCase{"1.7976931348623157e308", ".", std::numeric_limits<double>::max()},
        ParseCase{"1.5e-9\r\n", ".", 1.5e-9}, ParseCase{"\n 8\r", ".", 8.0},  // pasted
        // rejected forms
        ParseCase{"", ".", std::nullopt}, ParseCase{"   ", ".", std::nullopt},
        ParseCase{".", ".", std::nullopt}, ParseCase{"-", ".", std::nullopt},
        ParseCase{"1e", ".", std::nullopt}, ParseCase{"1e+", ".", std::nullopt},
        ParseCase{"1e-", ".", std::nullopt}, ParseCase{"2.5E-\r\n", ".", std::nullopt},
        ParseCase{"-e-", ".", std::nullopt}, ParseCase{"1e-+2", ".", std::nullopt},
        ParseCase{"e5", ".", std::nullopt}, ParseCase{"abc", ".", std::nullopt},
        ParseCase{"1 2", ".", std::nullopt}, ParseCase{"1.5", ",", std::nullopt},
        ParseCase{"1,5", ".", std::nullopt}, ParseCase{"1,000", ".", std::nullopt},
        ParseCase{"0x10", ".", std::nullopt}, ParseCase{"inf", ".", std::nullopt},
        ParseCase{"nan", ".", std::nullopt}, ParseCase{"--1", ".", std::nullopt},
        ParseCase{"1e400", ".", std::nullopt}, ParseCase{"-1e400", ".", std::nullopt},
        ParseCase{"1.8e308", ".", std::nullopt}, ParseCase{"4 .5", ".", std::nullopt},
        ParseCase{"1\r\n2", ".", std::nullopt},
        ParseCase{"\xd9\xab"
                  "5",
                  ".", std::nullopt}));

TEST(ParseNumber, TakesAMultiByteSeparator) {
    // Arabic decimal separator U+066B, two bytes in UTF-8.
    EXPECT_EQ(ParseNumber("2\xd9\xab"
                          "5",
                          "\xd9\xab"),
              2.5);
    EXPECT_FALSE(ParseNumber("2.5", "\xd9\xab"));
}

// Out of range and not a number are told apart by the size the digits and the exponent give
// together, however many digits there are.
TEST(ReadNumber, OutOfRangeIsJudgedByDigitsAndExponentTogether) {
    const std::string zeros(200000, '0');
    const struct {
        std::string text;
        NumberStatus status;
    } cases[] = {
        {"1e400", NumberStatus::OutOfRange},
        {"-1e400", NumberStatus::OutOfRange},
        {"0." + zeros + "1e1000000", NumberStatus::OutOfRange},  // about 1E+799999
        {"0." + zeros + "1e200000", NumberStatus::Ok},           // 0.1
        {"1" + zeros + "e-300000", NumberStatus::Ok},            // about 1E-100000: zero
        {"1e-99999999999999999999999", NumberStatus::Ok},
        {"1e99999999999999999999999", NumberStatus::OutOfRange},
        {"1e400x", NumberStatus::NotANumber},
        {"", NumberStatus::NotANumber},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(readNumber(c.text, ".").status, c.status);
    }
    EXPECT_EQ(readNumber("1" + zeros + "e-300000", ".").value, 0.0);
    EXPECT_EQ(readNumber("0." + zeros + "1e200000", ".").value, 0.1);
}

struct FormatCase {
    double value;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.expected;
}

class FormatGeneralTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatGeneralTest, WritesFifteenDigitsInTheGeneralForm) {
    EXPECT_EQ(FormatGeneral(GetParam().value, "."), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, FormatGeneralTest,
    ::testing::Values(
        FormatCase{124.99999999999999, "125"}, FormatCase{374.99999999999994, "375"},
        FormatCase{499.99999999999994, "500"}, FormatCase{0.125, "0.125"},
        FormatCase{0.001, "0.001"}, FormatCase{0.0001, "0.0001"}, FormatCase{0.00001, "1E-05"},
        FormatCase{1e-9, "1E-09"}, FormatCase{1e15, "1E+15"},
        FormatCase{999999999999999.0, "999999999999999"}, FormatCase{999999999999999.9, "1E+15"},
        FormatCase{1e14, "100000000000000"}, FormatCase{125000000.0, "125000000"},
        FormatCase{1.0 / 3.0 * 1e9, "333333333.333333"}, FormatCase{-375.0, "-375"},
        FormatCase{-0.0, "0"}, FormatCase{0.0, "0"}, FormatCase{2.5e-6, "2.5E-06"},
        FormatCase{1.5e300, "1.5E+300"}, FormatCase{-1.25e-100, "-1.25E-100"},
        FormatCase{1e308, "1E+308"},
        FormatCase{std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        FormatCase{22.5, "22.5"}, FormatCase{1000.0, "1000"},
        // 15-digit rounding would pass the double range; the text must still read back.
        FormatCase{std::numeric_limits<double>::max(), "1.79769313486231E+308"},
        FormatCase{-std::numeric_limits<double>::max(), "-1.79769313486231E+308"}));

TEST(FormatGeneral, UsesTheLocaleSeparatorAndRoundTrips) {
    EXPECT_EQ(FormatGeneral(0.125, ","), "0,125");
    EXPECT_EQ(FormatGeneral(-2.5e-6, ","), "-2,5E-06");
    for (double v : {0.1, 1.0 / 3.0, 2.0 / 3.0 * 1e-12, 6.02214076e23, 123456.789012345}) {
        const std::string text = FormatGeneral(v, ",");
        const std::optional<double> back = ParseNumber(text, ",");
        ASSERT_TRUE(back) << text;
        EXPECT_NEAR(*back, v, std::abs(v) * 1e-14) << text;
    }
}

// The unit scales are the exact powers of ten, whatever the platform's pow would give.
TEST(UnitScales, AreTheDecimalPowersOfAThousand) {
    constexpr double kDown[] = {1.0, 1e-3, 1e-6, 1e-9, 1e-12, 1e-15};
    constexpr double kUp[] = {1.0, 1e3, 1e6, 1e9, 1e12, 1e15};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(timeInputScale(i), kDown[i]) << i;
        EXPECT_EQ(timeDisplayScale(i), kUp[i]) << i;
        if (i < 5) {
            EXPECT_EQ(frequencyInputScale(i), kUp[i]) << i;
            EXPECT_EQ(frequencyDisplayScale(i), kDown[i]) << i;
        }
    }
    EXPECT_EQ(FormatGeneral(7.0 * timeInputScale(3) * timeDisplayScale(3), "."), "7");
}

TEST(Whole16, HoldsForWholeValuesInTheSixteenBitRange) {
    struct Case {
        const char* text;
        bool whole;
    };
    for (const Case& c : {Case{"3", true}, Case{"4", true}, Case{"4.0", true}, Case{"1e2", true},
                          Case{"32767", true}, Case{"-32768", true}, Case{"4.5", false},
                          Case{"40000", false}, Case{"32767.5", false}, Case{"32768", false},
                          Case{"-32768.5", false}, Case{"-32769", false}, Case{"1e300", false},
                          Case{"abc", false}, Case{"", false}, Case{"0.9999999999999999", false}}) {
        EXPECT_EQ(whole16(c.text, "."), c.whole) << c.text;
    }
}

TEST(RoundToInt16, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundToInt16(2.5), 2);
    EXPECT_EQ(roundToInt16(3.5), 4);
    EXPECT_EQ(roundToInt16(-2.5), -2);
    EXPECT_EQ(roundToInt16(-3.5), -4);
    EXPECT_EQ(roundToInt16(2.4999), 2);
    EXPECT_EQ(roundToInt16(-32768.5), -32768);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_FALSE(roundToInt16(32767.5));
    EXPECT_FALSE(roundToInt16(-32768.6));
    EXPECT_FALSE(roundToInt16(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(roundToInt16(std::numeric_limits<double>::infinity()));
}

}  // namespace
}  // namespace quintrel
