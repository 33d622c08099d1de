#include "NumberRule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct NumberCase {
    const char *text;
    double number;
};

TEST(NumberRule, ReadsTheNumberOfATextAsTypedOrStoredInAFile)
{
    const NumberCase cases[] = {
        // Typed previous-race and odds fields.
        {"3.5", 3.5},
        {"2.5", 2.5},
        {" 7", 7},
        {"1 2", 12},
        {"12x", 12},
        {"x12", 0},
        {"", 0},
        {"1.35", 1.35},
        // SPAT4 file fields.
        {"  1.5", 1.5},
        {"10.0 ", 10},
        {"     ", 0},
        {"1.2.3", 1.2},
        {" 9", 9},
        {"9 ", 9},
        {" 1.2", 1.2},
        {"12.5", 12.5},
        // Signs, points and exponents.
        {"-1", -1},
        {"+4", 4},
        {"- 3", -3},
        {".5", 0.5},
        {"-.5", -0.5},
        {"5.", 5},
        {"1E2", 100},
        {"1e2", 100},
        {"1.5E+1", 15},
        {"25E-1", 2.5},
        {"1E", 1},
        {"1E+", 1},
        {"1Ex", 1},
        {"E5", 0},
        {"+", 0},
        {"-", 0},
        {"+-1", 0},
        {"1-2", 1},
        {"0.000", 0},
        // Prefixed radixes.
        {"&H1F", 31},
        {"&hff", 255},
        {"&O17", 15},
        {"&o8", 0},
        {"&H", 0},
        {"&HG", 0},
        {"& H 1 0", 16},
        {"&X12", 0},
        // Tabs and line feeds are ignored like blanks; a carriage return is not.
        {"\t4\n2", 42},
        {"1\r2", 1},
        // Full-width digits are not the number rule's: they stop the reading.
        {"３", 0},
        {"1３", 1},
        {"\xE3\x80\x80"
         "5",
         0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(engine::numberOf(c.text), c.number) << '"' << c.text << '"';
}

TEST(NumberRule, ReadsNeitherNegativeZeroNorNaN)
{
    for (const char *text : {"-0", "-0.0", "-", "-E", "-0E99999"}) {
        const double value = engine::numberOf(text);
        EXPECT_EQ(value, 0) << text;
        EXPECT_FALSE(std::signbit(value)) << text;
    }
}

// What tells a field that reads 0 because it holds 0 from one that holds no number at all.
TEST(NumberRule, TellsATextWithoutANumberFromOneThatHoldsZero)
{
    for (const char *text :
         {"0", " 0", "-0", "+.5", ".0", "7.", "1E", "-8", "&H1f", "&o7", "1 2", "\t9", "3円"})
        EXPECT_TRUE(engine::holdsNumber(text)) << text;
    for (const char *text : {"", "  ", "-", "+", ".", "-.", "..1", "&H", "&HG", "&O8", "E5", "十二",
                             "ー8", "\r8", "&"})
        EXPECT_FALSE(engine::holdsNumber(text)) << text;
}

TEST(NumberRule, NumbersBeyondADoubleBecomeInfinityAndTinyOnesZero)
{
    EXPECT_EQ(engine::numberOf("9E999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(engine::numberOf("-9E999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(engine::numberOf("1E99999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(engine::numberOf("9E-999"), 0);
    EXPECT_EQ(engine::numberOf("1.7976931348623157E308"), std::numeric_limits<double>::max());
    // A long run of digits stays correctly rounded.
    EXPECT_EQ(engine::numberOf("0.1000000000000000000000000001"), 0.1);
    EXPECT_EQ(engine::numberOf("00000000000000000000012"), 12);
}

TEST(NumberRule, WholeNumbersRoundHalfToEven)
{
    const std::pair<const char *, int> cases[] = {
        {"3.5", 4},         {"2.5", 2},
        {"0.5", 0},         {"1.5", 2},
        {"-2.5", -2},       {"-3.5", -4},
        {"2.4", 2},         {"2.6", 3},
        {"-0.4", 0},        {" 7", 7},
        {"1 2", 12},        {"12x", 12},
        {"x12", 0},         {"", 0},
        {"&H10", 16},       {"1E2", 100},
        {"32767", 32767},   {"-32768", -32768},
        {"32767.4", 32767}, {"-32768.5", -32768},
    };
    for (const auto &[text, whole] : cases) {
        const auto value = engine::wholeNumberOf(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, whole) << text;
    }
}

TEST(NumberRule, WholeNumbersOutsideSixteenBitsAreOverflowsNotWrapped)
{
    for (const char *text : {"32768", "-32769", "32767.5", "-32768.6", "65536", "&HFFFF", "1E5",
                             "9E999", "-9E999", "99999"})
        EXPECT_FALSE(engine::wholeNumberOf(text).has_value()) << text;
}

TEST(NumberRule, ShortestDecimalReadsBackAsTheSameNumber)
{
    const std::pair<double, const char *> cases[] = {
        {1.2, "1.2"},       {10, "10"},
        {0, "0"},           {-0.0, "0"},
        {12.5, "12.5"},     {1.35, "1.35"},
        {0.001, "0.001"},   {-3, "-3"},
        {100000, "100000"}, {2.0 / 3.0, "0.6666666666666666"},
    };
    for (const auto &[value, text] : cases) {
        EXPECT_EQ(engine::shortestDecimal(value), text);
        EXPECT_EQ(engine::numberOf(engine::shortestDecimal(value)), value == 0 ? 0 : value);
    }
    // Found by fuzzing: far from 1 the plain text is long, and must still read back exactly.
    for (double value : {9.37e-67, 4.9e-324, 1.7976931348623157e308, -2.5e-300})
        EXPECT_EQ(engine::numberOf(engine::shortestDecimal(value)), value) << value;
}

} // namespace
