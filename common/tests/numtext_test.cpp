#include "common/errors.h"
#include "common/numtext.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace velmora;
using namespace velmora::numtext;

TEST(NumText, GeneralFormat) {
    struct Case { double x; const char* text; } cases[] = {
        {0, "0"}, {-0.0, "0"}, {1, "1"}, {-2.5, "-2.5"}, {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"}, {123456789012345.0, "123456789012345"}, {1e15, "1E15"},
        {1.5e20, "1.5E20"}, {1e-7, "1E-7"}, {0.00001, "0.00001"}, {0.000001, "1E-6"}, {0.0001234, "0.0001234"},
        {1234.5, "1234.5"}, {100, "100"}, {0.022, "0.022"}, {-1.25e-8, "-1.25E-8"}, {99.99999999999999, "100"},
    };
    for (const auto& c : cases) EXPECT_EQ(format_general(c.x), c.text) << c.x;
}

TEST(NumText, FixedPatternsRoundTiesToEvenOnTheBinaryValue) {
    struct Case { double x; const char* pattern; const char* text; } cases[] = {
        {0.125, "0.00", "0.12"}, {0.135, "0.00", "0.14"}, {0.375, "0.00", "0.38"}, {2.675, "0.00", "2.67"},
        {1234.5, "#,##0.00", "1,234.50"}, {1234567.891, "#,##0.000", "1,234,567.891"}, {-1234.5, "%.2n", "-1,234.50"},
        {999.9999, "#,##0.00", "1,000.00"}, {0.5, "0", "0"}, {1.5, "0", "2"}, {-0.001, "0.00", "0.00"},
        {-0.0, "#,##0.00", "0.00"}, {12.3456, "#,##0.0000", "12.3456"}, {1234.5, "%.2f", "1234.50"},
        {1e-7, "0.000", "0.000"}, {100, "0.000", "100.000"}, {123, "#,##0.00", "123.00"},
    };
    for (const auto& c : cases) EXPECT_EQ(format_pattern(c.x, c.pattern), c.text) << c.x << " " << c.pattern;
}

TEST(NumText, RoundToScalesAndRoundsHalfToEven) {
    EXPECT_EQ(round_to(0.125, 2), 0.12);
    EXPECT_EQ(round_to(0.135, 2), 0.14);
    EXPECT_EQ(round_to(2.5, 0), 2.0);
    EXPECT_EQ(round_to(3.5, 0), 4.0);
    EXPECT_EQ(round_to(-2.5, 0), -2.0);
    EXPECT_EQ(round_to(1.25, 1), 1.2);
    EXPECT_EQ(round_to(12.3456, 3), 12.346);
}

TEST(NumText, ReadingLenientStrictAndVal) {
    struct Case { const char* text; bool valid; double value; double val; } cases[] = {
        {"12.5", true, 12.5, 12.5}, {" 7 ", true, 7, 7}, {"-3", true, -3, -3}, {"+4.", true, 4, 4},
        {".5", true, 0.5, 0.5}, {"1E3", true, 1000, 1000}, {"2.5e-2", true, 0.025, 0.025},
        {"", false, 0, 0}, {"abc", false, 0, 0}, {"12abc", false, 0, 12}, {"1,234.5", false, 0, 1},
        {"3.2.1", false, 0, 3.2}, {"-", false, 0, 0}, {"1e", false, 0, 1}, {"nan", false, 0, 0}, {"inf", false, 0, 0},
        {"1e999", false, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(is_number(c.text), c.valid) << c.text;
        EXPECT_EQ(read_lenient(c.text), c.value) << c.text;
        EXPECT_EQ(val(c.text), c.val) << c.text;
        if (c.valid) EXPECT_EQ(read_strict(c.text), c.value) << c.text;
        else EXPECT_THROW(read_strict(c.text), ConversionError) << c.text;
    }
}

TEST(NumText, StrictErrorsCarryTheUsersMessage) {
    try {
        read_strict("abc");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
    }
    try {
        read_int_strict("4.5");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'4.5' is not a valid integer value");
    }
    EXPECT_EQ(read_int_strict(" 42 "), 42);
    EXPECT_EQ(read_int_lenient("x"), 0);
}

TEST(NumText, GeneralTextRoundTrips) {
    for (double x : {0.1 + 0.2, 1.0 / 3, 1e-7, 123.456, 1e300, -7.0 / 9}) {
        double y = roundtrip_general(x);
        EXPECT_EQ(format_general(y), format_general(x));
        EXPECT_NEAR(y, x, std::abs(x) * 1e-14);
    }
    EXPECT_EQ(roundtrip_general(0.1 + 0.2), 0.3);
}

TEST(NumText, OtherDecimalSeparator) {
    EXPECT_EQ(read_lenient("1,5", ','), 1.5);
    EXPECT_EQ(format_general(1.5, ','), "1,5");
    EXPECT_EQ(read_lenient("1.5", ','), 0);
}
